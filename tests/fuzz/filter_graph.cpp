// A name inside a filter graph (AppendFilterValue) and the picture probe's command line
// (BuildPictureCommand): read back by the Windows argument rules, then by FFmpeg's two
// rounds (the graph's, then the movie source's options), the graph must give back the
// media path exactly, and the options after it must stay options. In a double-byte code
// page the text is only held to its bounds.
#include "fuzz_support.h"

#include "common/filter_text.h"
#include "common/path_size.h"
#include "media/probe_command.h"
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
