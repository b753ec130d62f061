// Composition of the main window's status text. Portable.
#ifndef DUOSCOPE_UI_STATUS_TEXT_H
#define DUOSCOPE_UI_STATUS_TEXT_H

#include <cstddef>

#include "common/paths.h"
#include "settings/format_catalogue.h"

// Size of the status text buffer; the longest text has 559 characters for a stored
// layout and 582 with Auto ("Half A/B (left eye above)", by the tag "half-tab").
constexpr size_t kStatusTextSize = 5000;

// Composes the status text for the given settings into `out`: the title line, the mode,
// the formats (or "Play Original Video"), and the player's key list, one per line. With
// the input layout Auto and a current media file, the input line names the layout taken
// from the file's name and the tag that decided it (or that there was none).
// Returns its length; a text that would not fit is cut at a whole piece.
size_t ComposeStatusText(int nFull, int nOrg, int nStin, int nStout, const char *mediaFile,
                         LeadByteTest isLeadByte, StringLookup lookup, char *out, size_t outSize);

#endif
