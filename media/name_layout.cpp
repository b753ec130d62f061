#include "media/name_layout.h"

#include <cstring>

#include "settings/format_catalogue.h"

namespace {

struct Tag {
    const char *text; // lower case; a '-' joins the two words of a two-word tag
    int index;
};

// Whole words anywhere in the name. A bare "sbs" or "tab" is half width or height, as
// files so named almost always are; "ou" and "fou" alone are common French words.
constexpr Tag kWordTags[] = {
    {"hsbs", kHalfSbsParallel},    {"h-sbs", kHalfSbsParallel}, {"half-sbs", kHalfSbsParallel},
    {"halfsbs", kHalfSbsParallel}, {"sbs", kHalfSbsParallel},   {"fsbs", kSbsParallel},
    {"f-sbs", kSbsParallel},       {"full-sbs", kSbsParallel},  {"fullsbs", kSbsParallel},
    {"hou", kHalfAboveLeft},       {"h-ou", kHalfAboveLeft},    {"half-ou", kHalfAboveLeft},
    {"halfou", kHalfAboveLeft},    {"htab", kHalfAboveLeft},    {"h-tab", kHalfAboveLeft},
    {"half-tab", kHalfAboveLeft},  {"halftab", kHalfAboveLeft}, {"tab", kHalfAboveLeft},
    {"f-ou", kAboveLeft},          {"full-ou", kAboveLeft},     {"fullou", kAboveLeft},
    {"ftab", kAboveLeft},          {"f-tab", kAboveLeft},       {"full-tab", kAboveLeft},
    {"fulltab", kAboveLeft},
};

// The last word before the extension, after a '-'.
constexpr Tag kSuffixes[] = {
    {"lr", kSbsParallel},      {"rl", kSbsCross},        {"lrh", kHalfSbsParallel},
    {"lrq", kHalfSbsParallel}, {"rlh", kHalfSbsCross},   {"rlq", kHalfSbsCross},
    {"tb", kAboveLeft},        {"ab", kAboveLeft},       {"bt", kAboveRight},
    {"ba", kAboveRight},       {"tbh", kHalfAboveLeft},  {"abq", kHalfAboveLeft},
    {"bth", kHalfAboveRight},  {"baq", kHalfAboveRight},
};

struct Word {
    const char *start;
    size_t length;
};

bool IsSeparator(char c)
{
    switch (c) {
    case '.':
    case '-':
    case '_':
    case ' ':
    case '[':
    case ']':
    case '(':
    case ')':
        return true;
    default:
        return false;
    }
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `word` is `text` (lower-case ASCII, `length` bytes), ignoring case. A word
// with a double-byte letter never is: no lead byte is ASCII.
bool WordIs(Word word, const char *text, size_t length)
{
    if (word.length != length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (Lower(word.start[i]) != text[i])
            return false;
    return true;
}

// The tag that `word` completes, or null: first a two-word tag whose first word is
// `before`, joined to `word` by exactly one separator, so that "Full SBS" is full width
// and not the bare "sbs"; then a one-word tag.
const Tag *WordTag(Word before, Word word, Word &tagText)
{
    const bool joined = before.length > 0 && before.start + before.length + 1 == word.start;
    for (int pass = 0; pass < 2; ++pass)
        for (const Tag &tag : kWordTags) {
            const bool twoWords = pass == 0;
            const char *join = strchr(tag.text, '-');
            const size_t length = strlen(tag.text);
            if (twoWords && join && joined) {
                const size_t first = static_cast<size_t>(join - tag.text);
                if (WordIs(before, tag.text, first) && WordIs(word, join + 1, length - first - 1)) {
                    tagText = {before.start, before.length + 1 + word.length};
                    return &tag;
                }
            } else if (!twoWords && !join && WordIs(word, tag.text, length)) {
                tagText = word;
                return &tag;
            }
        }
    return nullptr;
}

// The last component of a path: where it begins, its last dot (null when it has none)
// and its end.
struct NameParts {
    const char *name;
    const char *dot;
    const char *end;
};

// The name begins after the last separator that is a character of its own; the
// extension after the name's last dot.
NameParts SplitName(const char *path, LeadByteTest isLeadByte)
{
    NameParts parts{path, nullptr, path};
    for (const char *&end = parts.end; *end != '\0'; end += CharacterBytes(end, isLeadByte)) {
        if (*end == '\\' || *end == '/') {
            parts.name = end + 1;
            parts.dot = nullptr;
        } else if (*end == '.') {
            parts.dot = end;
        }
    }
    return parts;
}

} // namespace

bool NameHasExtension(const char *path, const char *extension, LeadByteTest isLeadByte)
{
    const NameParts parts = SplitName(path, isLeadByte);
    return parts.dot != nullptr &&
           WordIs({parts.dot + 1, strlen(parts.dot + 1)}, extension, strlen(extension));
}

NameLayout LayoutFromFileName(const char *path, LeadByteTest isLeadByte)
{
    const NameParts parts = SplitName(path, isLeadByte);
    const char *name = parts.name;
    const char *dot = parts.dot;
    const char *stemEnd = dot ? dot : parts.end;

    // Words, from the first to the last, each a run of bytes up to a separator.
    NameLayout result{0, nullptr, 0};
    Word previous{name, 0};
    for (const char *p = name; p < stemEnd;) {
        if (IsSeparator(*p)) {
            ++p;
            continue;
        }
        Word word{p, 0};
        while (p < stemEnd && !IsSeparator(*p))
            p += CharacterBytes(p, isLeadByte);
        word.length = static_cast<size_t>(p - word.start);
        Word tagText;
        if (const Tag *tag = WordTag(previous, word, tagText))
            result = {tag->index, tagText.start, tagText.length};
        previous = word;
    }

    // The last word, when a '-' leads to it and the extension (or the end) follows it.
    if (previous.start > name && previous.start[-1] == '-' &&
        previous.start + previous.length == stemEnd) {
        for (const Tag &suffix : kSuffixes)
            if (WordIs(previous, suffix.text, strlen(suffix.text)))
                return {suffix.index, previous.start - 1, previous.length + 1};
    }
    if (result.tag == nullptr && NameHasExtension(path, "jps", isLeadByte))
        result = {kSbsCross, dot, 4};
    return result;
}
