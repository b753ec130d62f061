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

// The picture command's texts (BuildPictureCommand puts them together with its numbers
// and labels), so that its longest form is known when the program is compiled.
namespace picture_text {
constexpr const char kHead[] = "\" -v error -f lavfi -i \"";
constexpr const char kSource[] = "movie=";
constexpr const char kSeek[] = ":seek_point=";
constexpr const char kShrink[] = ",trim=end_frame=1,scale=";
constexpr const char kBy[] = ":";
constexpr const char kGrey[] = ":flags=area,format=gray,pad=";
constexpr const char kSplit[] = ":0:0,split=";
constexpr const char kEnd[] = ";";
constexpr const char kCrop[] = "crop=";
constexpr const char kCropTop[] = ":0:";
constexpr const char kUntile[] = ",untile=";
constexpr const char kTiles[] = "x";
constexpr const char kMerge[] = "mergeplanes=0x001020:yuv444p,signalstats";
constexpr const char kJoin[] = "concat=n=";
constexpr const char kTail[] =
    "\" -show_entries packet_tags=lavfi.signalstats.YAVG,lavfi.signalstats.UAVG,"
    "lavfi.signalstats.VAVG -of csv=p=0";
// A label of the graph, "[f" picture kind part "]": at most these characters besides its
// two numbers.
constexpr size_t kLabel = 4;
// The most characters of a number.
constexpr size_t kNumber = 11;
constexpr size_t Length(const char *text)
{
    size_t length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}
// One band: its split label, its crop and untile (five numbers) and its labels.
constexpr size_t kBand = 3 * (kLabel + 2 * kNumber) + Length(kCrop) + 2 * Length(kBy) +
                         Length(kCropTop) + Length(kUntile) + Length(kTiles) + Length(kEnd) +
                         5 * kNumber + (kLabel + 2 * kNumber);
// One picture without its path: source, seek, shrink, pad and split (six numbers), its
// bands, the merge and its label, and its label in the join.
constexpr size_t kPicture = Length(kSource) + Length(kSeek) + Length(kShrink) + Length(kBy) +
                            Length(kGrey) + Length(kBy) + Length(kSplit) + Length(kEnd) +
                            6 * kNumber + kGreyBands * kBand + Length(kMerge) +
                            (kLabel + 2 * kNumber) + Length(kEnd) + (kLabel + 2 * kNumber);
} // namespace picture_text

// The merge takes three planes.
static_assert(kGreyBands == 3, "mergeplanes' mapping names three planes");

// The longest picture command: the program's path in quotes, each picture with the media
// path escaped for the filter graph, the join and the rest.
constexpr size_t kLongestPictureCommand =
    1 + (kPathSize - 1) + picture_text::Length(picture_text::kHead) +
    kPictureFrames * (picture_text::kPicture + FilterValueSize(kPathSize - 1) - 1) +
    picture_text::Length(picture_text::kJoin) + picture_text::kNumber +
    picture_text::Length(picture_text::kTail);
constexpr size_t kPictureCommandSize = kLongestPictureCommand + 1;

// The command line that asks ffprobe for small grey pictures of a media file (see
// media/picture_look.h): a filter graph (lavfi) of one `movie` source per seek point,
// each shrunk to one grey picture, padded and cut into its bands, each band into
// one-pixel frames (untile), the bands' frames merged three into one (mergeplanes)
// whose plane averages signalstats tags, joined; and those tags printed three a line
// (from the packets, which carry the frames' tags: no frame is decoded). The media path
// stands in the graph in its filter-value form (AppendFilterValue, with `isLeadByte`);
// the graph is one double-quoted argument. Returns false, with `out` empty, when a path
// breaks its quotes (PathBreaksQuotes) or the line does not fit.
bool BuildPictureCommand(const char *probeExe, const char *mediaFile, LeadByteTest isLeadByte,
                         char *out, size_t outSize);

#endif
