// Composition of the main window's status text. Portable.
#ifndef DUOSCOPE_UI_STATUS_TEXT_H
#define DUOSCOPE_UI_STATUS_TEXT_H

#include <cstddef>

#include <initializer_list>

#include "common/path_size.h"
#include "media/auto_layout.h"
#include "media/film.h"
#include "playback/view_graph.h"
#include "res/resource.h"
#include "res/string_entries.h"
#include "settings/format_catalogue.h"

// The longest of the string table's texts `ids`.
constexpr size_t LongestEntry(std::initializer_list<unsigned> ids)
{
    size_t longest = 0;
    for (unsigned id : ids) {
        size_t length = 0;
        for (const char *p = StringEntryText(id); *p != '\0'; ++p)
            ++length;
        longest = length > longest ? length : longest;
    }
    return longest;
}

// The longest of `lengths`.
constexpr size_t Longest(std::initializer_list<size_t> lengths)
{
    size_t longest = 0;
    for (size_t length : lengths)
        longest = length > longest ? length : longest;
    return longest;
}

// The longest of the texts from `first` to `last`.
constexpr size_t LongestEntryFrom(unsigned first, unsigned last)
{
    size_t longest = 0;
    for (unsigned id = first; id <= last; ++id)
        longest = LongestEntry({id}) > longest ? LongestEntry({id}) : longest;
    return longest;
}

// The longest text of each part of the status text, and of the whole. A number takes
// at most 11 characters ("-2147483648").
constexpr size_t kLongestNumberText = 11;
constexpr size_t kLongestFrameText = 2 * kLongestNumberText + 1 + LongestEntry({IDS_AUTO_END});
constexpr size_t kLongestEyeOrder = LongestEntry({IDS_AUTO_RIGHT_FIRST, IDS_AUTO_END});
constexpr size_t kLongestAutoReason =
    Longest({LongestEntry({IDS_AUTO_TAG_BEFORE}) + kLongestAutoTag +
                 LongestEntry({IDS_AUTO_TAG_AFTER, IDS_AUTO_TAG_FRAME}) + kLongestFrameText,
             LongestEntry({IDS_AUTO_SIDE_BY_SIDE, IDS_AUTO_TOP_AND_BOTTOM, IDS_AUTO_ALTERNATING,
                           IDS_AUTO_ROWS, IDS_AUTO_COLUMNS, IDS_AUTO_TWO_VIEWS}) +
                 kLongestEyeOrder,
             LongestEntry({IDS_AUTO_FRAME}) + kLongestFrameText,
             LongestEntry({IDS_AUTO_SPHERE}) +
                 LongestEntryFrom(IDS_INPUT_TEXT_FIRST + kFirstSphereLayout,
                                  IDS_INPUT_TEXT_FIRST + kInputFormatCount - 1) +
                 kLongestEyeOrder,
             LongestEntry({IDS_AUTO_SPHERE_MONO, IDS_AUTO_HALF_SPHERE_MONO}),
             LongestEntry({IDS_AUTO_MONO, IDS_AUTO_MVC_FILM, IDS_AUTO_PHOTO, IDS_AUTO_RAW_VIEWS,
                           IDS_AUTO_UNREAD, IDS_AUTO_PICTURE_SBS, IDS_AUTO_PICTURE_TAB,
                           IDS_AUTO_PICTURE_2D})});

constexpr size_t kLongestFormatLines =
    Longest(
        {LongestEntry({IDS_STATUS_ORIGINAL}) + kLongestAutoReason + 1,
         LongestEntry({IDS_STATUS_INPUT}) +
             LongestEntryFrom(IDS_INPUT_TEXT_FIRST, IDS_INPUT_TEXT_FIRST + kInputFormatCount - 1) +
             kLongestAutoReason + LongestEntry({IDS_EYES_SWAPPED}) + 1 +
             LongestEntry({IDS_STATUS_OUTPUT}) +
             LongestEntryFrom(IDS_OUTPUT_TEXT_FIRST,
                              IDS_OUTPUT_TEXT_FIRST + kOutputFormatCount - 1) +
             2}) +
    kLongestViewText + 1;
// The subtitles line: what is shown (a track's label or a side file's name) and the depth
// or a note.
constexpr size_t kStatusLabelSize = kTrackLabelSize > kPathSize ? kTrackLabelSize : kPathSize;
constexpr size_t kLongestSubtitleLine =
    LongestEntry({IDS_STATUS_SUBTITLES}) + kStatusLabelSize - 1 +
    Longest({LongestEntry({IDS_SUBS_DEPTH}) + 1 + kLongestNumberText,
             LongestEntry({IDS_SUBS_PENDING, IDS_SUBS_CUT})}) +
    1;
constexpr size_t kLongestKeyLines = [] {
    size_t length = 0;
    for (unsigned id = IDS_STATUS_FIRST_LINE; id <= IDS_STATUS_LAST_LINE; ++id)
        length += LongestEntry({id}) + 1;
    return length;
}();
// The title and mode lines, the format lines and the key lines.
constexpr size_t kLongestStatusText = 1 + LongestEntry({IDS_STATUS_TITLE}) + 2 +
                                      LongestEntry({IDS_STATUS_FULL_SCREEN, IDS_STATUS_WINDOW}) +
                                      1 + kLongestFormatLines + kLongestSubtitleLine +
                                      kLongestKeyLines;
constexpr size_t kStatusTextSize = kLongestStatusText + 1;

// Composes the status text for the given settings into `out`: the title line, the mode,
// the formats (or "Play Original Video"), and the player's key list, one per line. With
// the input layout Auto and the choice Auto made for the current media file (null when
// it made none for it), the input line names the layout chosen and why; a choice of the
// original picture shows as "Play Original Video" and why. With `eyesSwapped`, a
// converted picture's input line names the mirrored layout and says so.
// Returns its length; a text that would not fit is cut at a whole piece.
// With `sphere` naming a sphere (SphereViewOfLaunch), a line after the layouts says
// where its flat view looks (AppendViewText).
// With `subtitles`, a line after those says what the film's last launch shows of its
// subtitles: "Subtitles ---> " and the label, then for drawn words their depth (", depth
// +2"), or why none show.
struct SubtitleStatus {
    const char *label; // "Off", a side file's name, a track's label (ANSI)
    ShownSubtitles shown;
    int depth;
};
size_t ComposeStatusText(int nFull, int nOrg, int nStin, int nStout, const AutoChoice *autoChoice,
                         StringLookup lookup, char *out, size_t outSize, bool eyesSwapped = false,
                         const SphereView *sphere = nullptr,
                         const SubtitleStatus *subtitles = nullptr);

#endif
