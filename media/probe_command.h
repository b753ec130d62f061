// The command lines that ask ffprobe about a media file for Auto: the stream probe and
// the look at the picture. Pure functions of their inputs. Portable.
#ifndef DUOSCOPE_MEDIA_PROBE_COMMAND_H
#define DUOSCOPE_MEDIA_PROBE_COMMAND_H

#include <cstddef>

#include "common/filter_text.h"
#include "common/path_size.h"
#include "common/paths.h"
#include "media/picture_look.h"
#include "media/probe_output.h"

// Longest probe command: both paths at 511 characters, their quotes and blanks.
constexpr size_t kProbeCommandSize = sizeof kProbeArguments + 2 * (kPathSize - 1) + 6;

// The command line that asks ffprobe about a media file (kProbeArguments), in `out`:
// the quoted program, the arguments and the quoted media path. Returns false, with `out`
// empty, when BuildPlayerCommand would refuse a path or the line does not fit.
bool BuildProbeCommand(const char *probeExe, const char *mediaFile, char *out, size_t outSize);

// Longest command that asks ffprobe for the picture: the program's path and its quotes,
// the fixed text, and the media path escaped for the filter graph once per frame taken.
constexpr size_t kPictureCommandSize =
    kPathSize + 3 + 200 + 120 * kPictureFrames + kPictureFrames * FilterValueSize(kPathSize - 1);

// The command line that asks ffprobe for small grey pictures of a media file (see
// media/picture_look.h): a filter graph (lavfi) of one `movie` source per seek point,
// each shrunk to one grey frame, cut into one-pixel frames (untile) whose grey level
// signalstats tags as YAVG, joined, and those tags printed one a line. (FFmpeg 7's lavfi
// input hands over whole frames, whose packets hold no pixels.) The media path
// stands in the graph in its filter-value form (AppendFilterValue, with `isLeadByte`);
// the graph is one double-quoted argument. Returns false, with `out` empty, when a path
// holds a double quote or a control character or the line does not fit.
bool BuildPictureCommand(const char *probeExe, const char *mediaFile, LeadByteTest isLeadByte,
                         char *out, size_t outSize);

#endif
