#include "playback/player_command.h"

#include "common/filter_text.h"
#include "common/text.h"

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

// Appends the filter option: stereo3d from the input layout's code to the output's, a
// spherical film's view graph before it (the graph alone for a sphere in 2D), or
// nothing for the original picture.
static void AppendFilter(TextBuffer &filter, const PlayerSettingsRecord &settings,
                         const SphereView &view, StringLookup lookup)
{
    const bool flatView =
        view.sphere == Sphere::EquirectMono || view.sphere == Sphere::HalfEquirectMono;
    if (IsOriginalPicture(settings.nOrg) && !flatView)
        return;
    AppendText(filter, "-vf ");
    const char *entering = lookup(InputCodeId(settings.nStin));
    if (view.sphere != Sphere::None) {
        entering = AppendViewGraph(filter, view, settings.nStout, lookup);
        if (entering == nullptr || entering[0] == '\0')
            return;
        AppendText(filter, ",");
    }
    AppendText(filter, "stereo3d=");
    AppendText(filter, entering);
    AppendText(filter, ":");
    AppendText(filter, lookup(OutputCodeId(settings.nStout)));
}

bool BuildPlayerCommand(const PlayerSettingsRecord &settings, const char *playerExe,
                        const char *mediaFile, long width, long height, StringLookup lookup,
                        char *out, size_t outSize, const char *mediaOptions,
                        const SphereView *sphere)
{
    TextBuffer line = StartText(out, outSize);
    if (PathBreaksQuotes(playerExe) || PathBreaksQuotes(mediaFile))
        return false;

    char filter[kLongestFilter + 1];
    TextBuffer filterText = StartText(filter, sizeof filter);
    AppendFilter(filterText, settings, ViewOfFilm(settings, sphere), lookup);

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
