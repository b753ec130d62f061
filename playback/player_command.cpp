#include "playback/player_command.h"

#include <cstring>

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

// The view of the film: `sphere` when it names one, else the default view of a
// spherical input layout; its sphere is None for a flat film.
static SphereView ViewOfFilm(const PlayerSettingsRecord &settings, const SphereView *sphere)
{
    if (sphere != nullptr && sphere->sphere != Sphere::None)
        return *sphere;
    return DefaultSphereView(settings.nStin);
}

// The input layout whose stereo3d code is `code`; -1 when none is.
static int LayoutOfCode(const char *code, StringLookup lookup)
{
    for (int index = 0; index < kInputFormatCount; ++index)
        if (strcmp(lookup(InputCodeId(index)), code) == 0)
            return index;
    return -1;
}

// The frame a view graph yields for stereo3d code `code` ("" for a sphere in 2D): each
// eye at the size the output needs.
static void FrameOfView(const char *code, long &width, long &height)
{
    const bool twoFull = strncmp(code, "sbs", 3) == 0 && strncmp(code, "sbs2", 4) != 0;
    width = twoFull ? 2 * kEyeWidth : kEyeWidth;
    height = kEyeHeight;
}

// Appends the filter graph: stereo3d from the input layout's code to the output's, a
// spherical film's view graph before it (the graph alone for a sphere in 2D), the
// subtitles' drawings between them, or for the original picture nothing but the
// drawing. Without text the graph is unquoted, as it always was.
static void AppendFilter(TextBuffer &filter, const PlayerSettingsRecord &settings,
                         const SphereView &view, const SubtitleDrawing *subtitles,
                         StringLookup lookup)
{
    const bool flatView =
        view.sphere == Sphere::EquirectMono || view.sphere == Sphere::HalfEquirectMono;
    const bool original = IsOriginalPicture(settings.nOrg) && !flatView;
    const bool text = subtitles != nullptr && subtitles->file != nullptr;
    if (text || (subtitles != nullptr && !original && SplitsPictureSubtitles(settings.nStout)))
        AppendText(filter, "-sn");
    if (original && !text)
        return;
    AppendText(filter, filter.length > 0 ? " -vf " : "-vf ");
    AppendText(filter, text ? "\"" : "");
    if (view.sphere == Sphere::None || original) {
        AppendPlayerGraph(filter, nullptr, original, settings.nStin, settings.nStout, subtitles,
                          lookup);
    } else {
        char viewGraph[kLongestGraphPrefix + 1];
        TextBuffer viewText = StartText(viewGraph, sizeof viewGraph);
        const char *entering = AppendViewGraph(viewText, view, settings.nStout, lookup);
        SubtitleDrawing drawing = text ? *subtitles : SubtitleDrawing{};
        FrameOfView(entering != nullptr ? entering : "", drawing.frameWidth, drawing.frameHeight);
        if (entering == nullptr) {
            filter.overflow = true;
        } else if (entering[0] == '\0') {
            AppendText(filter, viewGraph);
            if (text) {
                AppendText(filter, ",");
                AppendPlayerGraph(filter, nullptr, true, settings.nStin, settings.nStout,
                                  &drawing, lookup);
            }
        } else {
            const GraphPrefix prefix = {viewGraph, LayoutOfCode(entering, lookup)};
            if (prefix.layout < 0)
                filter.overflow = true;
            else
                AppendPlayerGraph(filter, &prefix, false, settings.nStin, settings.nStout,
                                  text ? &drawing : nullptr, lookup);
        }
    }
    AppendText(filter, text ? "\"" : "");
}

bool BuildPlayerCommand(const PlayerSettingsRecord &settings, const char *playerExe,
                        const char *mediaFile, long width, long height, StringLookup lookup,
                        char *out, size_t outSize, const char *mediaOptions,
                        const SphereView *sphere, const SubtitleDrawing *subtitles)
{
    TextBuffer line = StartText(out, outSize);
    if (PathBreaksQuotes(playerExe) || PathBreaksQuotes(mediaFile))
        return false;

    char filter[kCommandSize];
    TextBuffer filterText = StartText(filter, sizeof filter);
    AppendFilter(filterText, settings, ViewOfFilm(settings, sphere), subtitles, lookup);

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
