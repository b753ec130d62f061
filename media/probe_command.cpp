#include "media/probe_command.h"

#include "common/filter_text.h"
#include "common/text.h"

bool BuildProbeCommand(const char *probeExe, const char *mediaFile, char *out, size_t outSize)
{
    TextBuffer line = StartText(out, outSize);
    if (PathBreaksQuotes(probeExe) || PathBreaksQuotes(mediaFile))
        return false;
    AppendText(line, "\"");
    AppendText(line, probeExe);
    AppendText(line, "\" ");
    AppendText(line, kProbeArguments);
    AppendText(line, " \"");
    AppendText(line, mediaFile);
    AppendText(line, "\"");
    if (line.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool BuildPictureCommand(const char *probeExe, const char *mediaFile, LeadByteTest isLeadByte,
                         char *out, size_t outSize)
{
    TextBuffer line = StartText(out, outSize);
    if (PathBreaksQuotes(probeExe) || PathBreaksQuotes(mediaFile))
        return false;
    AppendText(line, "\"");
    AppendText(line, probeExe);
    AppendText(line, "\" -v error -f lavfi -i \"");
    // Each source: the key frame at or before its seek point, one frame, shrunk.
    for (size_t i = 0; i < kPictureFrames; ++i) {
        AppendText(line, "movie=");
        AppendFilterValue(line, mediaFile, isLeadByte);
        AppendText(line, ":seek_point=");
        AppendNumber(line, kPictureSeekPoints[i]);
        AppendText(line, ",trim=end_frame=1,scale=");
        AppendNumber(line, kGreySide);
        AppendText(line, ":");
        AppendNumber(line, kGreySide);
        AppendText(line, ":flags=area,format=gray,untile=");
        AppendNumber(line, kGreySide);
        AppendText(line, "x");
        AppendNumber(line, kGreySide);
        AppendText(line, ",signalstats[f");
        AppendNumber(line, static_cast<long>(i));
        AppendText(line, "];");
    }
    for (size_t i = 0; i < kPictureFrames; ++i) {
        AppendText(line, "[f");
        AppendNumber(line, static_cast<long>(i));
        AppendText(line, "]");
    }
    AppendText(line, "concat=n=");
    AppendNumber(line, static_cast<long>(kPictureFrames));
    AppendText(line, "\" -show_entries frame_tags=lavfi.signalstats.YAVG -of csv=p=0");
    if (line.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}
