#include "playback/player_command.h"

#include "common/filter_text.h"
#include "common/text.h"
#include "playback/subtitle_graph.h"

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
                        char *out, size_t outSize, const char *mediaOptions,
                        const SubtitleDrawing *subtitles)
{
    TextBuffer line = StartText(out, outSize);
    if (PathBreaksQuotes(playerExe) || PathBreaksQuotes(mediaFile))
        return false;

    char filter[kCommandSize];
    TextBuffer filterText = StartText(filter, sizeof filter);
    const bool original = IsOriginalPicture(settings.nOrg);
    const bool text = subtitles != nullptr && subtitles->file != nullptr;
    if (text || (subtitles != nullptr && !original && SplitsPictureSubtitles(settings.nStout)))
        AppendText(filterText, "-sn");
    if (!original || text) {
        AppendText(filterText, filterText.length > 0 ? " -vf " : "-vf ");
        AppendText(filterText, text ? "\"" : "");
        AppendPlayerGraph(filterText, nullptr, original, settings.nStin, settings.nStout, subtitles,
                          lookup);
        AppendText(filterText, text ? "\"" : "");
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

bool BuildLaunchScript(const PlayerSettingsRecord &settings, const char *command, char *out,
                       size_t outSize)
{
    TextBuffer script = StartText(out, outSize);
    for (const char *p = command; *p; ++p) {
        const char piece[3] = {*p, *p == '%' ? '%' : '\0', '\0'};
        AppendText(script, piece);
    }
    const bool lineTooLong = script.length > kLongestScriptLine;
    if (ShowsConsole(settings.nERCHK))
        AppendText(script, "\npause");
    if (script.overflow || lineTooLong) {
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
