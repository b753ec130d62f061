#include "playback/player_command.h"

#include "common/filter_text.h"
#include "common/text.h"

// A path that could break out of its quotes on the script line: a double quote or a
// control character in it, or a backslash at its end, before which the player's
// argument rules would read the closing quote as a quote mark.
static bool IsUnsafePath(const char *path)
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(path);
    for (; *p; ++p)
        if (*p == '"' || *p < 0x20)
            return true;
    return p != reinterpret_cast<const unsigned char *>(path) && p[-1] == '\\';
}

static const char *DecoderOption(int nGPU)
{
    switch (nGPU) {
    case kDecodeH264:
        return "-vcodec h264_cuvid";
    case kDecodeH265:
        return "-vcodec hevc_cuvid";
    default:
        return "";
    }
}

bool BuildPlayerCommand(const PlayerSettingsRecord &settings, const char *playerExe,
                        const char *mediaFile, long width, long height, StringLookup lookup,
                        char *out, size_t outSize, const char *mediaOptions)
{
    TextBuffer line = StartText(out, outSize);
    if (IsUnsafePath(playerExe) || IsUnsafePath(mediaFile))
        return false;

    char filter[64];
    TextBuffer filterText = StartText(filter, sizeof filter);
    if (!IsOriginalPicture(settings.nOrg)) {
        AppendText(filterText, "-vf stereo3d=");
        AppendText(filterText, lookup(InputCodeId(settings.nStin)));
        AppendText(filterText, ":");
        AppendText(filterText, lookup(OutputCodeId(settings.nStout)));
    }

    AppendText(line, "\"");
    AppendText(line, playerExe);
    AppendText(line, "\" ");
    AppendText(line, IsFullScreen(settings.nFull) ? "-fs" : "");
    AppendText(line, " ");
    AppendText(line, DecoderOption(settings.nGPU));
    AppendText(line, " ");
    AppendText(line, filter);
    AppendText(line, " -x ");
    AppendNumber(line, width);
    AppendText(line, " -y ");
    AppendNumber(line, height);
    if (mediaOptions[0] != '\0') {
        AppendText(line, " ");
        AppendText(line, mediaOptions);
    }
    AppendText(line, " \"");
    AppendText(line, mediaFile);
    AppendText(line, "\"");
    if (line.overflow || filterText.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool BuildProbeCommand(const char *probeExe, const char *mediaFile, char *out, size_t outSize)
{
    TextBuffer line = StartText(out, outSize);
    if (IsUnsafePath(probeExe) || IsUnsafePath(mediaFile))
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
    if (IsUnsafePath(probeExe) || IsUnsafePath(mediaFile))
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

bool BuildLaunchScript(const PlayerSettingsRecord &settings, const char *command, char *out,
                       size_t outSize)
{
    TextBuffer script = StartText(out, outSize);
    for (const char *p = command; *p; ++p) {
        const char piece[3] = {*p, *p == '%' ? '%' : '\0', '\0'};
        AppendText(script, piece);
    }
    if (ShowsConsole(settings.nERCHK))
        AppendText(script, "\npause");
    if (script.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool LaunchScriptPath(const char *tempDir, char *out, size_t outSize)
{
    TextBuffer path = StartText(out, outSize);
    AppendText(path, tempDir);
    AppendText(path, kScriptName);
    if (tempDir[0] == '\0' || path.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}
