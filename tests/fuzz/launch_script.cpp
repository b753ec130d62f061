// The launch script (BuildPlayerCommand, BuildLaunchScript) and the probe's command lines
// (BuildProbeCommand, BuildTrackListCommand, BuildTrackDumpCommand): read back as cmd.exe (the
// script) and the Windows argument rules read them, a composed line must hand over the media path
// as exactly one argument, unchanged. Input: six bytes of settings, one choosing Auto's options
// and subtitles, then the media path, and after a NUL the player's path (a fixed one without).
#include "fuzz_support.h"

#include "common/path_size.h"
#include "media/probe_command.h"
#include "playback/player_command.h"
#include "res/string_entries.h"
#include "subtitles/track_dump.h"
#include "subtitles/track_list.h"

namespace {

// cmd.exe's reading of one script line: each "%%" gives one '%' (a single '%' would start
// an expansion), and outside double quotes & | < > ^ would end the command, redirect it
// or escape. Returns false for either.
bool ReadAsCmd(const std::string &line, std::string &out)
{
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '%' && (i + 1 == line.size() || line[++i] != '%'))
            return false;
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && strchr("&|<>^", c) != nullptr)
            return false;
        out += c;
    }
    return true;
}

// Whether a path (that fits its buffer) may be refused: it holds a quote or a control
// character, or ends in a backslash, which would make its closing quote a quote mark.
bool MayRefuse(const std::string &path)
{
    for (unsigned char c : path)
        if (c == '"' || c < 0x20)
            return true;
    return !path.empty() && path.back() == '\\';
}

// A composed command line (read by cmd.exe first where it is a script's line) hands over
// the program and, last, the media path, each exactly as given, after as many arguments as
// with a plain name.
void CheckArguments(const std::string &line, bool script, const std::string &program,
                    const std::string &media, const std::string &plainLine)
{
    std::string read = line;
    if (script) {
        read.clear();
        FUZZ_CHECK(ReadAsCmd(line, read));
    }
    const Arguments arguments = ArgumentsOf(read);
    FUZZ_CHECK(arguments.front() == program);
    FUZZ_CHECK(arguments.back() == media);
    FUZZ_CHECK(arguments.size() == ArgumentsOf(plainLine).size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr size_t kHead = 7;
    if (size < kHead)
        return 0;
    const PlayerSettingsRecord settings{static_cast<int8_t>(data[0]), static_cast<int8_t>(data[1]),
                                        static_cast<int8_t>(data[2]), static_cast<int8_t>(data[3]),
                                        static_cast<int8_t>(data[4]), static_cast<int8_t>(data[5])};
    const char *const options[] = {"", "-f mjpeg", "-view_ids -1 -noframedrop"};
    const char *const mediaOptions = options[data[6] % 3];
    const std::string rest(reinterpret_cast<const char *>(data) + kHead, size - kHead);
    const size_t nul = rest.find('\0');
    const std::string media = rest.substr(0, nul);
    const std::string player = nul == std::string::npos
                                   ? "C:\\Apps\\ffplay.exe"
                                   : TextOf(data + kHead + nul + 1, rest.size() - nul - 1);
    // The program's paths fit their buffers (szPlayerExe, szMediaFile).
    if (player.size() >= kPathSize || media.size() >= kPathSize)
        return 0;

    // Every other input burns the media path in as its own subtitles: the graph, quoted,
    // stays one argument.
    const SubtitleDrawing drawing{media.c_str(), kSubtitleSideFile, "", "", data[6] % 7 - 3, 0, 0,
                                  NoLeadBytes};
    const SubtitleDrawing *subtitles = data[6] / 3 % 2 == 0 ? nullptr : &drawing;
    static char command[kCommandSize];
    static char plain[kCommandSize];
    static char script[kScriptTextSize];
    const bool built =
        BuildPlayerCommand(settings, player.c_str(), media.c_str(), 640, 360, StringEntryText,
                           command, sizeof command, mediaOptions, nullptr, subtitles);
    FUZZ_CHECK(built || command[0] == '\0');
    FUZZ_CHECK(built || MayRefuse(media) || MayRefuse(player));
    if (built) {
        FUZZ_CHECK(BuildPlayerCommand(settings, player.c_str(), "m", 640, 360, StringEntryText,
                                      plain, sizeof plain, mediaOptions, nullptr, subtitles));
        FUZZ_CHECK(BuildLaunchScript(settings, command, script, sizeof script));
        // One command line, and the pause line in error-check mode.
        const std::string text = script;
        const size_t newline = text.find('\n');
        FUZZ_CHECK(ShowsConsole(settings.nERCHK) ? text.substr(newline) == "\npause"
                                                 : newline == std::string::npos);
        CheckArguments(text.substr(0, newline), true, player, media, plain);
    }

    char probe[kProbeCommandSize];
    char plainProbe[kProbeCommandSize];
    const bool probed = BuildProbeCommand(player.c_str(), media.c_str(), probe, sizeof probe);
    FUZZ_CHECK(probed || MayRefuse(media) || MayRefuse(player));
    if (probed) {
        FUZZ_CHECK(BuildProbeCommand(player.c_str(), "m", plainProbe, sizeof plainProbe));
        CheckArguments(probe, false, player, media, plainProbe);
    }

    char tracks[kTrackListCommandSize];
    char plainTracks[kTrackListCommandSize];
    const bool listed = BuildTrackListCommand(player.c_str(), media.c_str(), tracks, sizeof tracks);
    FUZZ_CHECK(listed || MayRefuse(media) || MayRefuse(player));
    if (listed) {
        FUZZ_CHECK(BuildTrackListCommand(player.c_str(), "m", plainTracks, sizeof plainTracks));
        CheckArguments(tracks, false, player, media, plainTracks);
    }
    // The dump goes to a file of the player's path here: a third path to hand over whole.
    char dump[kTrackDumpCommandSize];
    char plainDump[kTrackDumpCommandSize];
    const int index = data[6];
    const bool dumped = BuildTrackDumpCommand(player.c_str(), media.c_str(), index, player.c_str(),
                                              dump, sizeof dump);
    FUZZ_CHECK(dumped || MayRefuse(media) || MayRefuse(player));
    if (dumped) {
        FUZZ_CHECK(BuildTrackDumpCommand(player.c_str(), "m", index, player.c_str(), plainDump,
                                         sizeof plainDump));
        CheckArguments(dump, false, player, media, plainDump);
        const Arguments arguments = ArgumentsOf(dump);
        FUZZ_CHECK(arguments[arguments.size() - 2] == player);
    }
    return 0;
}
