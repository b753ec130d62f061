#include "media/name_layout.h"

#include <cstring>
#include <utility>

#include "media/view_state.h"
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

// The next word at or after `p`, before `end`: the separators before it skipped, `p`
// moved past it; a word of length 0 when none is left.
Word NextWord(const char *&p, const char *end, LeadByteTest isLeadByte)
{
    while (p < end && IsSeparator(*p))
        ++p;
    Word word{p, 0};
    while (p < end && !IsSeparator(*p))
        p += CharacterBytes(p, isLeadByte);
    word.length = static_cast<size_t>(p - word.start);
    return word;
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
    for (const char *p = name;;) {
        const Word word = NextWord(p, stemEnd, isLeadByte);
        if (word.length == 0)
            break;
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

namespace {

// What one word says of a spherical film.
enum class SphereWord {
    None,
    HalfSphere, // 180 degrees of equirectangular picture
    FullSphere, // 360 degrees
    Vr180,      // Google's VR180: a half sphere, side by side
    Fisheye,
    SideBySide,
    TopBottom,
};

struct SphereWordMeaning {
    SphereWord word;
    int lensFov; // Fisheye only
};

constexpr int kLensOfRf52 = 190; // Canon's RF 5.2 mm dual fisheye

struct SphereWordTag {
    const char *text; // lower case
    SphereWordMeaning meaning;
};

constexpr SphereWordTag kSphereWords[] = {
    {"180", {SphereWord::HalfSphere, 0}},
    {"180x180", {SphereWord::HalfSphere, 0}},
    {"vr180", {SphereWord::Vr180, 0}},
    {"360", {SphereWord::FullSphere, 0}},
    {"360x180", {SphereWord::FullSphere, 0}},
    {"180x360", {SphereWord::FullSphere, 0}},
    {"vr360", {SphereWord::FullSphere, 0}},
    {"lr", {SphereWord::SideBySide, 0}},
    {"sbs", {SphereWord::SideBySide, 0}},
    {"3dh", {SphereWord::SideBySide, 0}},
    {"tb", {SphereWord::TopBottom, 0}},
    {"ou", {SphereWord::TopBottom, 0}},
    {"3dv", {SphereWord::TopBottom, 0}},
    {"fisheye", {SphereWord::Fisheye, kDefaultFisheyeLens}},
    {"mkx200", {SphereWord::Fisheye, 200}},
    {"mkx220", {SphereWord::Fisheye, 220}},
    {"vrca220", {SphereWord::Fisheye, 220}},
    {"rf52", {SphereWord::Fisheye, kLensOfRf52}},
};

// A lens field in `length` digits at `digits`, from 90 to 270 degrees, or 0.
int LensDegrees(const char *digits, size_t length)
{
    if (length < 2 || length > 3)
        return 0;
    int value = 0;
    for (size_t i = 0; i < length; ++i) {
        if (digits[i] < '0' || digits[i] > '9')
            return 0;
        value = value * 10 + (digits[i] - '0');
    }
    return value >= kNarrowestFisheyeLens && value <= kWidestFisheyeLens ? value : 0;
}

// What `word` says alone: a word of the table, or a fisheye with its field in degrees
// ("fisheye190", "f190").
SphereWordMeaning SphereWordOf(Word word)
{
    for (const SphereWordTag &tag : kSphereWords)
        if (WordIs(word, tag.text, strlen(tag.text)))
            return tag.meaning;
    for (const char *prefix : {"fisheye", "f"}) {
        const size_t length = strlen(prefix);
        if (word.length > length && WordIs({word.start, length}, prefix, length)) {
            const int lens = LensDegrees(word.start + length, word.length - length);
            if (lens != 0)
                return {SphereWord::Fisheye, lens};
        }
    }
    return {SphereWord::None, 0};
}

// The sphere that one word says alone: VR180, or a fisheye (two side by side).
Sphere SphereOfWord(SphereWordMeaning meaning)
{
    switch (meaning.word) {
    case SphereWord::Vr180:
        return Sphere::HalfEquirectSbs;
    case SphereWord::Fisheye:
        return Sphere::FisheyeSbs;
    default:
        return Sphere::None;
    }
}

// The sphere that two words say together, in either order; None when they say none,
// and `refused` when they name a form that has no input layout (a top and bottom half
// sphere or fisheye), which the words alone then do not say either.
Sphere SphereOfPair(SphereWordMeaning a, SphereWordMeaning b, bool &refused)
{
    refused = false;
    if (b.word == SphereWord::SideBySide || b.word == SphereWord::TopBottom)
        std::swap(a, b);
    if (a.word != SphereWord::SideBySide && a.word != SphereWord::TopBottom)
        return Sphere::None;
    const bool sbs = a.word == SphereWord::SideBySide;
    switch (b.word) {
    case SphereWord::FullSphere:
        return sbs ? Sphere::EquirectSbs : Sphere::EquirectTb;
    case SphereWord::HalfSphere:
    case SphereWord::Vr180:
    case SphereWord::Fisheye:
        refused = !sbs;
        if (!sbs)
            return Sphere::None;
        return b.word == SphereWord::Fisheye ? Sphere::FisheyeSbs : Sphere::HalfEquirectSbs;
    default:
        return Sphere::None;
    }
}

// The sphere that `word` says, alone or as two words joined without a separator
// ("180lr", "tb360"), with the fisheye's lens in `lens`.
Sphere SphereOfFusedWord(Word word, int &lens)
{
    SphereWordMeaning whole = SphereWordOf(word);
    lens = whole.lensFov;
    if (whole.word != SphereWord::None)
        return SphereOfWord(whole);
    for (size_t split = 1; split < word.length; ++split) {
        const SphereWordMeaning first = SphereWordOf({word.start, split});
        const SphereWordMeaning second = SphereWordOf({word.start + split, word.length - split});
        bool refused = false;
        const Sphere sphere = SphereOfPair(first, second, refused);
        if (sphere != Sphere::None) {
            lens = first.lensFov + second.lensFov;
            return sphere;
        }
    }
    return Sphere::None;
}

} // namespace

SphereName SphereFromFileName(const char *path, LeadByteTest isLeadByte)
{
    const NameParts parts = SplitName(path, isLeadByte);
    const char *stemEnd = parts.dot ? parts.dot : parts.end;
    SphereName result{Sphere::None, 0, nullptr, 0};
    Word previous{parts.name, 0};
    SphereWordMeaning previousMeaning{SphereWord::None, 0};
    for (const char *p = parts.name;;) {
        const Word word = NextWord(p, stemEnd, isLeadByte);
        if (word.length == 0)
            break;
        const SphereWordMeaning meaning = SphereWordOf(word);
        const bool joined =
            previous.length > 0 && previous.start + previous.length + 1 == word.start;
        bool refused = false;
        const Sphere pair = joined ? SphereOfPair(previousMeaning, meaning, refused) : Sphere::None;
        int lens = 0;
        const Sphere alone = SphereOfFusedWord(word, lens);
        if (pair != Sphere::None) {
            result = {pair, previousMeaning.lensFov + meaning.lensFov, previous.start,
                      previous.length + 1 + word.length};
        } else if (refused && result.tag == previous.start) {
            result = {Sphere::None, 0, nullptr, 0}; // "F180_OU": not a side-by-side fisheye
        } else if (alone != Sphere::None && !refused) {
            result = {alone, lens, word.start, word.length};
        }
        previous = word;
        previousMeaning = meaning;
    }
    if (result.tagLength > kLongestSphereTag)
        return {Sphere::None, 0, nullptr, 0};
    if (result.sphere != Sphere::FisheyeSbs)
        result.lensFov = 0;
    return result;
}
