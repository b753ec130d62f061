// A name inside a filter graph (AppendFilterValue), the picture probe's command line
// (BuildPictureCommand) and the player's subtitle graph (AppendPlayerGraph, in
// BuildPlayerCommand): read back by the Windows argument rules, then by FFmpeg's two
// rounds (the graph's, then the filter's options), each graph must give back the media
// path exactly, as the movie source's file and as every drawing's file and fonts folder,
// and the options after it must stay options. In a double-byte code page the text is
// only held to its bounds.
#include "fuzz_support.h"

#include "common/filter_text.h"
#include "common/path_size.h"
#include "media/probe_command.h"
#include "playback/player_command.h"
#include "res/string_entries.h"
#include "tests/ffmpeg_token.h"

namespace {

// The value of the first movie source's file name, as FFmpeg reads it from the graph;
// `after` gets what follows the source's options.
std::string MovieFileOf(const std::string &graph, std::string &after)
{
    const char *p = graph.c_str();
    if (strncmp(p, "movie=", 6) != 0)
        return "(no movie source)";
    p += 6;
    const std::string options = Token(p, "[],;");
    after = p;
    const char *q = options.c_str();
    const std::string file = Token(q, ":");
    return *q == ':' ? file : "(no options after the name)";
}

// The subtitle graph of the name's layout pair and depth (chosen by its first byte and
// its length), read back from the player's command line: every drawing must name the
// path as its file and its fonts folder, and be one of as many as the layout has eyes.
void CheckSubtitleGraph(const std::string &media)
{
    const unsigned pick =
        (media.empty() ? 0u : static_cast<unsigned char>(media[0])) + 7 * media.size();
    const bool original = pick % 16 == 15;
    const int input = static_cast<int>(pick % kAutoInputLayout);
    const int output = static_cast<int>(pick % kOutputFormatCount);
    const int depth =
        static_cast<int>(pick % (2 * kSubtitleDepthLimit + 3)) - kSubtitleDepthLimit - 1;
    const SubtitleDrawing drawing{media.c_str(), 2, media.c_str(), "", depth, 0, 0, NoLeadBytes};
    static char command[kCommandSize];
    const PlayerSettingsRecord settings{0, original ? 1 : 0, input, output, 0, 0};
    if (!BuildPlayerCommand(settings, "C:\\Apps\\ffplay.exe", media.c_str(), 640, 360,
                            StringEntryText, command, sizeof command, "", nullptr, &drawing)) {
        FUZZ_CHECK(command[0] == '\0' && PathBreaksQuotes(media.c_str()));
        return;
    }
    const Arguments arguments = ArgumentsOf(command);
    FUZZ_CHECK(arguments.back() == media);
    size_t vf = 0;
    while (vf < arguments.size() && arguments[vf] != "-vf")
        ++vf;
    FUZZ_CHECK(vf + 1 < arguments.size() && arguments[vf - 1] == "-sn");
    size_t drawings = 0;
    for (const GraphFilter &filter : FiltersOf(arguments[vf + 1].c_str())) {
        FUZZ_CHECK(filter.name != "(unreadable)");
        if (filter.name != "subtitles")
            continue;
        ++drawings;
        size_t found = 0; // an empty fonts folder stands for none
        for (const auto &option : OptionsOf(filter.arguments))
            if (option.first == "filename" || option.first == "fontsdir")
                found += option.second == media ? 1 : 100;
        FUZZ_CHECK(found == (media.empty() ? 1u : 2u));
    }
    const bool oneDrawing =
        original || ((input == kAlternatingLeft || input == kAlternatingRight) &&
                     HeldSubtitleDepth(depth) == 0);
    FUZZ_CHECK(drawings == (oneDrawing ? 1u : 2u));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string media = TextOf(data, size);
    if (media.size() >= kPathSize)
        return 0;

    char value[FilterValueSize(kPathSize)];
    for (LeadByteTest isLeadByte : {NoLeadBytes, ShiftJisLeadByte}) {
        TextBuffer text = StartText(value, sizeof value);
        const bool fits = AppendFilterValue(text, media.c_str(), isLeadByte);
        FUZZ_CHECK(fits != text.overflow && strlen(value) < sizeof value);
        bool unsafe = false;
        for (unsigned char c : media)
            unsafe = unsafe || c == '"' || c < 0x20;
        FUZZ_CHECK(fits || unsafe);
    }

    CheckSubtitleGraph(media);

    static char command[kPictureCommandSize];
    const char *const probe = "C:\\Apps\\ffprobe.exe";
    if (!BuildPictureCommand(probe, media.c_str(), NoLeadBytes, command, sizeof command)) {
        FUZZ_CHECK(command[0] == '\0');
        return 0;
    }
    const Arguments arguments = ArgumentsOf(command);
    FUZZ_CHECK(arguments.front() == probe);
    size_t input = 0;
    while (input < arguments.size() && arguments[input] != "-i")
        ++input;
    FUZZ_CHECK(input + 1 < arguments.size());
    std::string after;
    FUZZ_CHECK(MovieFileOf(arguments[input + 1], after) == media);
    FUZZ_CHECK(after.compare(0, 6, ",trim=") == 0);
    return 0;
}
