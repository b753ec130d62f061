// Composition of the player command line, the launch script text and its path.
// Pure functions of their inputs. Portable.
#ifndef DUOSCOPE_PLAYBACK_PLAYER_COMMAND_H
#define DUOSCOPE_PLAYBACK_PLAYER_COMMAND_H

#include <cstddef>

#include "common/filter_text.h"
#include "common/path_size.h"
#include "media/auto_layout.h"
#include "playback/subtitle_graph.h"
#include "playback/view_graph.h"
#include "settings/format_catalogue.h"
#include "settings/player_settings.h"

// The temporary folder as the platform reports it, and the launch script's path.
constexpr size_t kTempDirSize = 256;
constexpr size_t kScriptPathSize = 256;
constexpr const char kScriptName[] = "duoscope.bat";

// Longest filter option: "-vf ", a spherical film's view graph, ",stereo3d=", both codes
// at their longest and the ':' between them (a flat film's "-vf stereo3d=sbs2l:aybd" is
// 24 characters).
constexpr size_t kLongestFilter = 4 + kLongestViewGraph + 10 + 5 + 1 + 4;
// Longest command line: both paths at 511 characters, every option at its longest
// ("-fs", "-vcodec hevc_cuvid", Auto's and the tracks' options and their blank, both sizes at 11
// characters) and the filter at its longest: "-sn", the quoted graph with its prefix (a
// spherical film's view graph) and two subtitle drawings (see playback/subtitle_graph.h).
static_assert(kLongestViewGraph <= kLongestGraphPrefix, "a view graph is a graph prefix");
// The options that a film's tracks add after Auto's: the audio and subtitle streams.
constexpr size_t kLongestTrackOptions = sizeof " -ast 2147483647 -sst 2147483647" - 1;
constexpr size_t kLongestMediaOptions = kLongestAutoOptions + kLongestTrackOptions;
constexpr size_t kLongestCommand = 83 + kLongestMediaOptions + 1 + 2 * (kPathSize - 1) +
                                   sizeof "-sn -vf \"\"" - 1 + kLongestPlayerGraph;
constexpr size_t kCommandSize = 11264;
static_assert(kLongestCommand < kCommandSize, "the longest command line must fit");
// Longest script text: the longest command with every character of the quoted paths and
// of the prefix a doubled '%' (a '%' inside a drawing's value takes two bytes, less than
// the four counted for it), and the pause line.
constexpr size_t kLongestScript =
    kLongestCommand + 2 * (kPathSize - 1) + kLongestGraphPrefix + sizeof "\npause" - 1;
constexpr size_t kScriptTextSize = 12544;
static_assert(kLongestScript < kScriptTextSize, "the longest script text must fit");
// The command interpreter reads no longer line (cmd.exe's limit); a longer command is
// refused, only ever with subtitle paths far beyond any real ones.
constexpr size_t kLongestScriptLine = 8191;

// Composes the ffplay command line into `out`; `mediaOptions` (Auto's, such as
// "-f mjpeg"), when not empty, stand after the size and a blank, before the media path.
// A spherical film plays as a flat view (playback/view_graph.h) before the stereo3d
// filter: `sphere`'s when it names a sphere, else the default view of a spherical
// input layout; a sphere in 2D plays as its flat view alone, also with nOrg 1.
// `subtitles`, when given, adds to the filter: its text burnt into each eye (after the
// view, or over the original picture) in a double-quoted graph, with -sn so that the
// player draws none of its own; or, with a null file, -sn where SplitsPictureSubtitles
// says the player's picture subtitles would be cut in two. Without `sphere` and
// `subtitles` the line is as it always was.
// Returns false, with `out` empty, when a path holds a double quote or a control
// character (either could leave its quotes or start a new script line), or ends in a
// backslash (the player would read its closing quote as a quote mark), when the graph
// refuses a value (see AppendPlayerGraph), or the line does not fit: such a launch is
// refused.
bool BuildPlayerCommand(const PlayerSettingsRecord &settings, const char *playerExe,
                        const char *mediaFile, long width, long height, StringLookup lookup,
                        char *out, size_t outSize, const char *mediaOptions = "",
                        const SphereView *sphere = nullptr,
                        const SubtitleDrawing *subtitles = nullptr);

// Turns a command line into launch script text: every '%' doubled, so the command
// interpreter hands it on unchanged, and "\npause" after it when nERCHK is exactly 1.
// Returns false, with `out` empty, when it does not fit or its command line is longer
// than kLongestScriptLine.
bool BuildLaunchScript(const PlayerSettingsRecord &settings, const char *command, char *out,
                       size_t outSize);

// The launch script's full path: the temporary folder (ending in a backslash) and
// "duoscope.bat". Returns false, with `out` empty, for an empty folder or one too long.
bool LaunchScriptPath(const char *tempDir, char *out, size_t outSize);

#endif
