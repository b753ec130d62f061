// Path helpers. Portable: no platform headers.
#ifndef DUOSCOPE_COMMON_PATHS_H
#define DUOSCOPE_COMMON_PATHS_H

#include <cstddef>
#include <type_traits>

// Whether a byte starts a double-byte character in the code page of the paths (the
// platform knows; a single-byte code page has none). Its second byte may be 0x5C, the
// backslash, without being one.
using LeadByteTest = bool (*)(unsigned char byte);

// Copies into `dest` the folder part of `source`: everything up to and including its
// last backslash that is a character of its own, or the whole path when it has none. A
// forward slash does not count. Returns false, with `dest` empty, when that part does
// not fit in `destSize` bytes.
bool DirectoryOfPath(char *dest, size_t destSize, const char *source, LeadByteTest isLeadByte);

// The text after the program's name in a whole command line, as the C runtime hands it
// to WinMain: the name ends at the first blank or tab outside double quotes, and the
// blanks and control characters after it are skipped. For narrow and wide text alike.
template <typename Char> const Char *CommandLineTail(const Char *line)
{
    // Compared as unsigned, so that letters beyond ASCII in a narrow text count as text.
    auto code = [](Char c) { return static_cast<typename std::make_unsigned<Char>::type>(c); };
    bool inQuotes = false;
    while (code(*line) > ' ' || (*line != Char(0) && inQuotes)) {
        if (*line == Char('"'))
            inQuotes = !inQuotes;
        ++line;
    }
    while (*line != Char(0) && code(*line) <= ' ')
        ++line;
    return line;
}

// Where the media path lies in the program's command-line tail: between a leading
// double quote and the next one (or the end), otherwise the whole tail, blanks
// included. Sets `length` and returns the path's start. For narrow and wide text alike.
template <typename Char> const Char *CommandLinePath(const Char *tail, size_t &length)
{
    const bool quoted = tail[0] == Char('"');
    const Char *start = quoted ? tail + 1 : tail;
    const Char *end = start;
    while (*end != Char(0) && !(quoted && *end == Char('"')))
        ++end;
    length = static_cast<size_t>(end - start);
    return start;
}

// Takes the media path from the program's command-line tail into `dest` (see
// CommandLinePath). Returns false, with `dest` empty, when the path does not fit in
// `destSize` bytes: a cut path would name another file.
bool MediaPathFromCommandLine(char *dest, size_t destSize, const char *tail);

#endif
