// Composition of the player command line, the launch script text and its path.
// Pure functions of their inputs. Portable.
#ifndef DUOSCOPE_PLAYBACK_PLAYER_COMMAND_H
#define DUOSCOPE_PLAYBACK_PLAYER_COMMAND_H

#include <cstddef>

#include "common/filter_text.h"
#include "common/path_size.h"
#include "media/auto_layout.h"
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
// ("-fs", "-vcodec hevc_cuvid", the filter, Auto's options and their blank) and both
// sizes at 11 characters.
constexpr size_t kLongestCommand =
    59 + kLongestFilter + kLongestAutoOptions + 1 + 2 * (kPathSize - 1);
constexpr size_t kCommandSize = 1408;
static_assert(kLongestCommand < kCommandSize, "the longest command line must fit");
// Longest script text: the longest command with every path character a doubled '%',
// and the pause line.
constexpr size_t kLongestScript =
    59 + kLongestFilter + kLongestAutoOptions + 1 + 4 * (kPathSize - 1) + 6;
constexpr size_t kScriptTextSize = 2432;
static_assert(kLongestScript < kScriptTextSize, "the longest script text must fit");

// Composes the ffplay command line into `out`; `mediaOptions` (Auto's, such as
// "-f mjpeg"), when not empty, stand after the size and a blank, before the media path.
// A spherical film plays as a flat view (playback/view_graph.h) before the stereo3d
// filter: `sphere`'s when it names a sphere, else the default view of a spherical
// input layout; a sphere in 2D plays as its flat view alone, also with nOrg 1. Every
// other launch is as it was without `sphere`.
// Returns false, with `out` empty, when a path holds a double quote or a control
// character (either could leave its quotes or start a new script line), or ends in a
// backslash (the player would read its closing quote as a quote mark), or the line does
// not fit: such a launch is refused.
bool BuildPlayerCommand(const PlayerSettingsRecord &settings, const char *playerExe,
                        const char *mediaFile, long width, long height, StringLookup lookup,
                        char *out, size_t outSize, const char *mediaOptions = "",
                        const SphereView *sphere = nullptr);

// Turns a command line into launch script text: every '%' doubled, so the command
// interpreter hands it on unchanged, and "\npause" after it when nERCHK is exactly 1.
// Returns false, with `out` empty, when it does not fit.
bool BuildLaunchScript(const PlayerSettingsRecord &settings, const char *command, char *out,
                       size_t outSize);

// The launch script's full path: the temporary folder (ending in a backslash) and
// "duoscope.bat". Returns false, with `out` empty, for an empty folder or one too long.
bool LaunchScriptPath(const char *tempDir, char *out, size_t outSize);

#endif
