#include "subtitles/side_files.h"

#include <cstring>

#include "common/text.h"

namespace {

char Folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
}

// Whether the `length` bytes at `word` are `lower` (lower case), in any case.
bool WordIs(const char *word, size_t length, const char *lower)
{
    if (strlen(lower) != length)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (Folded(word[i]) != lower[i])
            return false;
    return true;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A region or script after a language: two letters ("BR"), four ("Hans") or three
// digits ("419").
bool IsRegion(const char *word, size_t length)
{
    size_t letters = 0, digits = 0;
    for (size_t i = 0; i < length; ++i) {
        letters += IsAsciiLetter(word[i]);
        digits += IsDigit(word[i]);
    }
    return (letters == length && (length == 2 || length == 4)) || (digits == 3 && length == 3);
}

bool IsSeparator(char c)
{
    return c == '.' || c == '_' || c == '-' || c == ' ';
}

// Reads a label's words into `label`; false when a word is none of a label's.
bool ReadLabel(const char *start, size_t length, SideFileLabel &label)
{
    const char *end = start + length;
    bool afterLanguage = false; // the word before was the language
    bool hindiOrFlag = false;   // a "hi" was met
    for (const char *word = start; word <= end;) {
        const char separatorBefore = word == start ? '.' : word[-1];
        const char *wordEnd = word;
        while (wordEnd < end && !IsSeparator(*wordEnd))
            ++wordEnd;
        const size_t size = static_cast<size_t>(wordEnd - word);
        const bool joined = separatorBefore == '-' || separatorBefore == '_';
        bool language = false;
        if (size == 0)
            return false;
        if (WordIs(word, size, "forced")) {
            label.forced = true;
        } else if (WordIs(word, size, "sdh") || WordIs(word, size, "cc")) {
            label.hearingImpaired = true;
        } else if (WordIs(word, size, "hi")) {
            hindiOrFlag = true;
            language = label.language.key[0] == '\0'; // Hindi, if it stays alone: "hi-IN"
        } else if (WordIs(word, size, "default") || WordIs(word, size, "full")) {
            // says nothing the program uses
        } else if (afterLanguage && joined && IsRegion(word, size)) {
            // the language's region or script
        } else if (label.language.key[0] == '\0') {
            label.language = LanguageOfWord(word, size, false);
            if (label.language.key[0] == '\0')
                return false;
            language = true;
        } else {
            return false;
        }
        afterLanguage = language;
        word = wordEnd + 1;
    }
    if (hindiOrFlag) {
        if (label.language.key[0] == '\0')
            label.language = LanguageOfWord("hi", 2, false);
        else
            label.hearingImpaired = true;
    }
    return true;
}

// Whether two names are the same but for the case of ASCII letters.
bool SameNameFolded(const char *a, const char *b)
{
    for (; *a != '\0' && Folded(*a) == Folded(*b); ++a, ++b) {
    }
    return *a == *b;
}

// Compares names as the list orders them: ASCII letters folded, then bytes; a name that
// differs only in case orders by bytes.
int CompareNames(const char *a, const char *b)
{
    for (size_t i = 0;; ++i) {
        const unsigned char x = static_cast<unsigned char>(Folded(a[i]));
        const unsigned char y = static_cast<unsigned char>(Folded(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return strcmp(a, b);
    }
}

} // namespace

bool ReadSideFileName(const char *mediaPath, const char *name, LeadByteTest isLeadByte,
                      SideFileLabel &label)
{
    // The media file's name, and its base name up to its last dot.
    const char *mediaName = mediaPath;
    const char *dot = nullptr;
    const char *p = mediaPath;
    for (; *p != '\0'; ++p) {
        if (isLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') {
            ++p;
        } else if (*p == '\\' || *p == '/') {
            mediaName = p + 1;
            dot = nullptr;
        } else if (*p == '.') {
            dot = p;
        }
    }
    const char *baseEnd = dot != nullptr ? dot : p;
    size_t i = 0;
    for (const char *m = mediaName; m < baseEnd; ++m, ++i) {
        if (isLeadByte(static_cast<unsigned char>(*m)) && m + 1 < baseEnd) {
            if (name[i] != m[0] || name[i + 1] != m[1])
                return false;
            ++m;
            ++i;
        } else if (name[i] == '\0' || Folded(name[i]) != Folded(*m)) {
            return false;
        }
    }
    if (name[i] != '.' || SameNameFolded(name, mediaName))
        return false;
    // The rest: a label and a dot, or nothing; then the extension.
    const char *rest = name + i + 1;
    const char *lastDot = strrchr(rest, '.');
    const char *extension = lastDot != nullptr ? lastDot + 1 : rest;
    const size_t extensionLength = strlen(extension);
    if (!WordIs(extension, extensionLength, "srt") && !WordIs(extension, extensionLength, "ass") &&
        !WordIs(extension, extensionLength, "ssa") && !WordIs(extension, extensionLength, "vtt"))
        return false;
    SideFileLabel read{};
    if (lastDot != nullptr) {
        read.labelled = true;
        if (!ReadLabel(rest, static_cast<size_t>(lastDot - rest), read))
            return false;
    }
    label = read;
    return true;
}

void ClearSideFiles(SideFileList &list)
{
    list.count = 0;
    list.more = false;
}

bool AddSideFile(SideFileList &list, const char *mediaPath, const char *name,
                 LeadByteTest isLeadByte)
{
    SideFileLabel label;
    if (!ReadSideFileName(mediaPath, name, isLeadByte, label) || strlen(name) >= kPathSize)
        return false;
    int place = 0;
    while (place < list.count && CompareNames(list.files[place].name, name) < 0)
        ++place;
    if (place < list.count && strcmp(list.files[place].name, name) == 0)
        return true;
    if (place == kMaxSideFiles) {
        list.more = true;
        return false;
    }
    if (list.count == kMaxSideFiles) {
        list.more = true;
        --list.count;
    }
    for (int j = list.count; j > place; --j)
        list.files[j] = list.files[j - 1];
    CopyText(list.files[place].name, kPathSize, name);
    list.files[place].label = label;
    ++list.count;
    return true;
}

int PreferredSideFile(const SideFileList &list, const Language &preferred)
{
    int inLanguage = -1;
    for (int i = 0; i < list.count; ++i) {
        const SideFileLabel &label = list.files[i].label;
        if (!SameLanguage(label.language, preferred))
            continue;
        if (!label.forced && !label.hearingImpaired)
            return i;
        if (inLanguage < 0)
            inLanguage = i;
    }
    if (inLanguage >= 0)
        return inLanguage;
    for (int i = 0; i < list.count; ++i)
        if (list.files[i].label.language.key[0] == '\0')
            return i;
    return list.count > 0 ? 0 : -1;
}
