#include "media/probe_command.h"

#include "common/filter_text.h"
#include "common/text.h"

bool BuildProbeCommand(const char *probeExe, const char *mediaFile, char *out, size_t outSize)
{
    return BuildFileCommand(probeExe, kProbeArguments, mediaFile, out, outSize);
}

// Appends the label of picture `frame` and, where `part` is not negative, of its `kind`
// (a letter) `part`: "[f0]", "[f0b2]".
static void AppendLabel(TextBuffer &line, long frame, char kind, long part)
{
    AppendText(line, "[f");
    AppendNumber(line, frame);
    if (part >= 0) {
        const char kindText[2] = {kind, '\0'};
        AppendText(line, kindText);
        AppendNumber(line, part);
    }
    AppendText(line, "]");
}

bool BuildPictureCommand(const char *probeExe, const char *mediaFile, LeadByteTest isLeadByte,
                         char *out, size_t outSize)
{
    using namespace picture_text;
    TextBuffer line = StartText(out, outSize);
    if (PathBreaksQuotes(probeExe) || PathBreaksQuotes(mediaFile))
        return false;
    AppendText(line, "\"");
    AppendText(line, probeExe);
    AppendText(line, kHead);
    for (size_t i = 0; i < kPictureFrames; ++i) {
        const long frame = static_cast<long>(i);
        // The key frame at or before the seek point, one frame, shrunk, padded to whole
        // bands and cut into them.
        AppendText(line, kSource);
        AppendFilterValue(line, mediaFile, isLeadByte);
        AppendText(line, kSeek);
        AppendNumber(line, kPictureSeekPoints[i]);
        AppendText(line, kShrink);
        AppendNumber(line, kGreySide);
        AppendText(line, kBy);
        AppendNumber(line, kGreySide);
        AppendText(line, kGrey);
        AppendNumber(line, kGreySide);
        AppendText(line, kBy);
        AppendNumber(line, kGreyBands * kBandRows);
        AppendText(line, kSplit);
        AppendNumber(line, kGreyBands);
        for (long band = 0; band < kGreyBands; ++band)
            AppendLabel(line, frame, 'b', band);
        AppendText(line, kEnd);
        // Each band into one-pixel frames, row after row.
        for (long band = 0; band < kGreyBands; ++band) {
            AppendLabel(line, frame, 'b', band);
            AppendText(line, kCrop);
            AppendNumber(line, kGreySide);
            AppendText(line, kBy);
            AppendNumber(line, kBandRows);
            AppendText(line, kCropTop);
            AppendNumber(line, band * kBandRows);
            AppendText(line, kUntile);
            AppendNumber(line, kGreySide);
            AppendText(line, kTiles);
            AppendNumber(line, kBandRows);
            AppendLabel(line, frame, 'p', band);
            AppendText(line, kEnd);
        }
        // The bands' frames, three into one, and their averages.
        for (long band = 0; band < kGreyBands; ++band)
            AppendLabel(line, frame, 'p', band);
        AppendText(line, kMerge);
        AppendLabel(line, frame, 'f', -1);
        AppendText(line, kEnd);
    }
    for (size_t i = 0; i < kPictureFrames; ++i)
        AppendLabel(line, static_cast<long>(i), 'f', -1);
    AppendText(line, kJoin);
    AppendNumber(line, static_cast<long>(kPictureFrames));
    AppendText(line, kTail);
    if (line.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}
