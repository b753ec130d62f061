// Shared by the fuzz targets: the input as text, the checks that stop a run, and the
// properties every Auto choice keeps.
#ifndef DUOSCOPE_TESTS_FUZZ_SUPPORT_H
#define DUOSCOPE_TESTS_FUZZ_SUPPORT_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/auto_layout.h"
#include "playback/view_graph.h"
#include "res/string_entries.h"
#include "settings/format_catalogue.h"

// A property that must hold for every input: when it does not, the input is a finding.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            fprintf(stderr, "%s:%d: does not hold: %s\n", __FILE__, __LINE__, #condition);         \
            abort();                                                                               \
        }                                                                                          \
    } while (0)

// The input as a text: its bytes up to the first NUL, as the program meets such texts.
inline std::string TextOf(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    return bytes.substr(0, bytes.find('\0'));
}

inline bool NoLeadBytes(unsigned char)
{
    return false;
}
// The lead bytes of Shift-JIS (code page 932), whose second bytes may be 0x5C.
inline bool ShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// What every Auto choice keeps: a real input layout (a spherical one exactly for a stereo
// sphere), options that fit their bound and a terminated tag; a sphere's flat view that
// stays inside its picture and whose graph fits its bound.
inline void CheckChoice(const AutoChoice &choice)
{
    FUZZ_CHECK(choice.layout >= 0 && choice.layout < kInputFormatCount &&
               choice.layout != kAutoInputLayout);
    FUZZ_CHECK(IsSphereLayout(choice.layout) ==
               (choice.sphere != Sphere::None && !choice.original));
    FUZZ_CHECK(choice.options != nullptr && strlen(choice.options) <= kLongestAutoOptions);
    FUZZ_CHECK(memchr(choice.tag, '\0', sizeof choice.tag) != nullptr);
    if (choice.sphere == Sphere::None)
        return;
    const ViewAngles view =
        StartView(choice.viewYaw, choice.viewPitch, choice.sphere, choice.lensFov);
    FUZZ_CHECK(view.fov == kDefaultViewFov && view.yaw > -180 && view.yaw <= 180 &&
               view.pitch >= -90 && view.pitch <= 90);
    char graph[kLongestViewGraph + 1];
    TextBuffer text = StartText(graph, sizeof graph);
    const SphereView sphere{choice.sphere, view, choice.lensFov, choice.inverted};
    FUZZ_CHECK(AppendViewGraph(text, sphere, 17, StringEntryText) != nullptr);
}

using Arguments = std::vector<std::string>;

// The arguments of a command line by the rules of CommandLineToArgvW, with which FFmpeg's
// programs read theirs: the program's name up to the next quote or blank; then 2n
// backslashes and a quote give n backslashes and open or close quotes, 2n+1 give n and a
// quote mark, "" within quotes gives a quote mark, other backslashes stand for themselves.
inline Arguments ArgumentsOf(const std::string &line)
{
    Arguments arguments(1);
    size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        const size_t close = line.find('"', 1);
        arguments[0] = line.substr(1, close - 1);
        i = close == std::string::npos ? line.size() : close + 1;
    } else {
        for (; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i)
            arguments[0] += line[i];
    }
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i == line.size())
            return arguments;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\')
                ++backslashes, ++i;
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')))
                    argument += line[i++];
            }
        }
        arguments.push_back(argument);
    }
}

#endif
