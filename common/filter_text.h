// Values inside FFmpeg filter graphs. Portable: no platform headers.
//
// A filter graph handed to the player (-vf) or to ffprobe (-f lavfi -i) is read in two
// rounds: the graph's parser takes each filter's arguments as one token, ending at an
// unquoted '[', ']', ',' or ';', then the filter reads its options from that token,
// each value ending at an unquoted ':'. Each round drops one level of backslashes
// (a backslash keeps the character after it) and trims blanks at a token's ends. A
// file's name (drive colon, backslashes, quotes, brackets, commas, semicolons) must
// pass both rounds unchanged.
#ifndef DUOSCOPE_COMMON_FILTER_TEXT_H
#define DUOSCOPE_COMMON_FILTER_TEXT_H

#include "common/paths.h"
#include "common/text.h"

// Longest escaped form of a value of `length` characters: each may take four bytes
// (a character of both rounds' sets).
constexpr size_t FilterValueSize(size_t length)
{
    return 4 * length + 1;
}

// Appends `value` to `text` as one option value of a filter inside a filter graph, so
// that both rounds give back `value` exactly (so "C:\v\a'b.srt" becomes
// "C\\:\\\\v\\\\a\\\'b.srt"). `isLeadByte` tells the characters of a double-byte code
// page, whose second byte may be 0x5C without being a backslash: they pass unchanged.
// Returns false, and sets text.overflow, when `value` holds a double quote or a control
// character (neither can stand inside the player's quoted argument) or does not fit;
// what was appended of it then stays, as with any text that overflowed. The result ends
// in backslashes when `value` ends in one: inside a double-quoted argument of a Windows
// command line, where backslashes before the closing quote are halved, let something
// follow it.
bool AppendFilterValue(TextBuffer &text, const char *value, LeadByteTest isLeadByte);

#endif
