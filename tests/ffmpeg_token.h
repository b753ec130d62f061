// How FFmpeg reads a filter graph's text, for the tests: one token at a time.
#ifndef DUOSCOPE_TESTS_FFMPEG_TOKEN_H
#define DUOSCOPE_TESTS_FFMPEG_TOKEN_H

#include <cctype>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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

// One filter of a graph as FFmpeg's graph parser reads it: its name up to an unquoted
// '=', ',', ';' or '[', then after '=' its arguments as one token up to '[', ']', ',' or
// ';'. The links' labels around it are skipped.
struct GraphFilter {
    std::string name;
    std::string arguments;
};

// The filters of `graph` in order; a filter named "(unreadable)" ends the list where the
// text is not a graph (a stray ']', an unclosed label).
inline std::vector<GraphFilter> FiltersOf(const char *graph)
{
    std::vector<GraphFilter> filters;
    const auto skipLabels = [](const char *&p) {
        p += strspn(p, " \n\t\r");
        while (*p == '[') {
            const char *close = strchr(p, ']');
            if (close == nullptr)
                return false;
            p = close + 1;
            p += strspn(p, " \n\t\r");
        }
        return true;
    };
    const char *p = graph;
    while (*p != '\0') {
        GraphFilter filter;
        if (skipLabels(p))
            filter.name = Token(p, "=,;[");
        if (*p == '=')
            filter.arguments = Token(++p, "[],;");
        const bool linked = skipLabels(p) && (*p == '\0' || *p == ',' || *p == ';');
        filters.push_back(linked ? filter : GraphFilter{"(unreadable)", p});
        if (!linked)
            break;
        if (*p != '\0')
            ++p;
    }
    return filters;
}

// A filter's options as it reads them from its arguments: a key (letters, digits and
// "-_/.") and '=', or none (a positional value), then the value up to an unquoted ':'.
inline std::vector<std::pair<std::string, std::string>> OptionsOf(const std::string &arguments)
{
    std::vector<std::pair<std::string, std::string>> options;
    const char *p = arguments.c_str();
    while (*p != '\0') {
        const char *key = p;
        while (*key != '\0' &&
               (isalnum(static_cast<unsigned char>(*key)) || strchr("-_/.", *key) != nullptr))
            ++key;
        std::string name;
        if (*key == '=' && key > p) {
            name.assign(p, key);
            p = key + 1;
        }
        options.emplace_back(name, Token(p, ":"));
        if (*p == ':')
            ++p;
    }
    return options;
}

#endif
