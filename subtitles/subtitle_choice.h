// Which subtitles play over a media file, and the texts that the menus and the status
// text show for them and for the file's tracks. Pure functions of their inputs. Portable.
#ifndef DUOSCOPE_SUBTITLES_SUBTITLE_CHOICE_H
#define DUOSCOPE_SUBTITLES_SUBTITLE_CHOICE_H

#include <cstddef>

#include "common/path_size.h"
#include "settings/format_catalogue.h"
#include "subtitles/side_files.h"
#include "subtitles/track_list.h"

// Where the subtitles come from.
enum class SubtitleSource {
    Off,
    SideFile,     // a file beside the media file: the subtitles filter reads it
    TextTrack,    // a text track of the file: the subtitles filter draws it (si = the
                  // track's kindIndex), from its side file once the dump made one
    PictureTrack, // a picture track of the file: ffplay draws it (-sst = its stream)
};

// The user's pick for a file, held while the program runs. A side file is named, a
// track given by its index among the file's subtitle streams.
struct SubtitlePick {
    bool made; // false: the user has picked nothing for this file
    SubtitleSource source;
    char sideFile[kPathSize];
    int subtitleIndex;
};

struct SubtitleChoice {
    SubtitleSource source;
    int sideFile; // SideFile: index into the side-file list
    int track;    // TextTrack, PictureTrack: index into the track list
    bool picked;  // the user's pick, not the rule
};

// The choice:
// 1. the user's pick, when it still names one of the side files (by name, as they are
//    listed), a text or picture track of the list, or Off;
// 2. otherwise, with subtitles off (`subtitlesOn` false), Off;
// 3. a side file (PreferredSideFile with `preferred`, the user's language);
// 4. a text track flagged default or forced: one in the user's language first, then one
//    flagged default, then the first;
// 5. Off: a picture track or one of another kind plays only when picked.
SubtitleChoice ChooseSubtitles(const SideFileList &sideFiles, const TrackList &tracks,
                               const SubtitlePick &pick, bool subtitlesOn,
                               const Language &preferred);

// The pieces of the texts below, in string-table order from a first id on (the Win32
// layer's `lookup` gives them; see the string table).
enum TrackText : unsigned {
    kTextOff,           // "Off": the menu's first item, and the status text's
    kTextTrack,         // "Track": a track with neither language nor title ("Track 3")
    kTextNumberBefore,  // " (track "
    kTextNumberAfter,   // ")"
    kTextTitleBefore,   // " - ": between the language and the title
    kTextDetail,        // ", ": before each detail
    kTextForced,        // "forced"
    kTextPicture,       // "picture": a picture subtitle track, which the player draws
    kTextMono,          // "mono"
    kTextStereo,        // "stereo"
    kTextChannels,      // " channels", after the count of other layouts than 5.1 and 7.1
    kTextLanguageFirst, // the named languages' names (subtitles/languages.h), in order
    kTrackTextCount = kTextLanguageFirst + kNamedLanguageCount,
};

// The longest label: a language name or code, a title, the details and the number.
constexpr size_t kTrackLabelSize = 320;

// A track's text in the Audio or Subtitles menu, into `out` (kTrackLabelSize bytes):
// its language (the string table's name of a named language, else the tag's code), " - "
// and its title (left out when it repeats the language's name), then its details, then
// its number among the tracks of its kind from 1:
//   "English - Commentary, AC-3 5.1 (track 2)", "French, forced (track 1)",
//   "Japanese, picture (track 3)"; "Track 1, AAC stereo" with neither language nor title.
// An audio track's details are its codec's name and its channels; a subtitle track's
// "forced" and "picture" where they hold. The title is UTF-8 as the file has it; the
// other pieces are the string table's. Returns the length; a label that would not fit
// leaves out the title, and failing that is empty.
size_t ComposeTrackLabel(const MediaTrack &track, StringLookup lookup, unsigned firstId, char *out,
                         size_t outSize);

// The text of a subtitle choice for the status text and the menu's check: "Off", the
// side file's name, or the track's label. Returns the length; empty when it does not
// fit `outSize` (at least kTrackLabelSize holds every track's; a name needs kPathSize).
size_t ComposeSubtitleLabel(const SubtitleChoice &choice, const SideFileList &sideFiles,
                            const TrackList &tracks, StringLookup lookup, unsigned firstId,
                            char *out, size_t outSize);

#endif
