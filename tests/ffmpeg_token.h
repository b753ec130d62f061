// How FFmpeg reads a filter graph's text, for the tests: one token at a time.
#ifndef DUOSCOPE_TESTS_FFMPEG_TOKEN_H
#define DUOSCOPE_TESTS_FFMPEG_TOKEN_H

#include <cstring>
#include <string>

// One token as FFmpeg's av_get_token reads it: leading blanks skipped, up to an
// unquoted character of `terms`; a backslash keeps the next character, single quotes
// keep what they enclose; trailing blanks that were neither escaped nor quoted dropped.
// `text` is moved past the token.
inline std::string Token(const char *&text, const char *terms)
{
    const char *blanks = " \n\t\r";
    text += strspn(text, blanks);
    std::string out;
    size_t kept = 0; // the length that trailing blanks may not cut into
    while (*text && !strchr(terms, *text)) {
        const char c = *text++;
        if (c == '\\' && *text) {
            out += *text++;
            kept = out.size();
        } else if (c == '\'') {
            while (*text && *text != '\'')
                out += *text++;
            if (*text) {
                ++text;
                kept = out.size();
            }
        } else {
            out += c;
        }
    }
    while (out.size() > kept && strchr(blanks, out.back()))
        out.pop_back();
    return out;
}

#endif
