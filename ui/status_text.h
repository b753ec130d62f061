// Composition of the main window's status text. Portable.
#ifndef DUOSCOPE_UI_STATUS_TEXT_H
#define DUOSCOPE_UI_STATUS_TEXT_H

#include <cstddef>

#include "media/auto_layout.h"
#include "settings/format_catalogue.h"

// Size of the status text buffer; the longest text has 559 characters for a stored
// layout, and under 700 with Auto's longest reason.
constexpr size_t kStatusTextSize = 5000;

// Composes the status text for the given settings into `out`: the title line, the mode,
// the formats (or "Play Original Video"), and the player's key list, one per line. With
// the input layout Auto and the choice Auto made for the current media file (null when
// it made none for it), the input line names the layout chosen and why; a choice of the
// original picture shows as "Play Original Video" and why. With `eyesSwapped`, a
// converted picture's input line names the mirrored layout and says so.
// Returns its length; a text that would not fit is cut at a whole piece.
size_t ComposeStatusText(int nFull, int nOrg, int nStin, int nStout, const AutoChoice *autoChoice,
                         StringLookup lookup, char *out, size_t outSize, bool eyesSwapped = false);

#endif
