#include "common/filter_text.h"

#include <cstring>

namespace {

// What the filter's option reader would take for itself: the value's end, escapes,
// quotes; '=' for an option's name; blanks at the ends.
constexpr const char kOptionSpecials[] = "\\':= ";
// What the graph's parser would take for itself, besides the same escapes and quotes.
constexpr const char kGraphSpecials[] = "\\'[],; ";
bool IsIn(const char *set, char c)
{
    return c != '\0' && strchr(set, c) != nullptr;
}

// Appends `c` as the graph's parser must see it.
void AppendForGraph(TextBuffer &text, char c)
{
    const char escaped[3] = {'\\', c, '\0'};
    AppendText(text, IsIn(kGraphSpecials, c) ? escaped : escaped + 1);
}

} // namespace

bool AppendFilterValue(TextBuffer &text, const char *value, LeadByteTest isLeadByte)
{
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(value); *p; ++p) {
        if (*p == '"' || *p < 0x20) {
            text.overflow = true;
            return false;
        }
        if (CharacterBytes(reinterpret_cast<const char *>(p), isLeadByte) == 2) {
            const char letter[3] = {static_cast<char>(p[0]), static_cast<char>(p[1]), '\0'};
            AppendText(text, letter);
            ++p;
            continue;
        }
        const char c = static_cast<char>(*p);
        // The option reader's escape first, then both characters for the graph.
        if (IsIn(kOptionSpecials, c))
            AppendForGraph(text, '\\');
        AppendForGraph(text, c);
    }
    return !text.overflow;
}
