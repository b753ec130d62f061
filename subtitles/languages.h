// Language codes and names as files and users write them: ISO 639 codes (two letters,
// three letters in both their forms) and the English names of the common languages,
// case-insensitively, each taken to one language. Portable.
#ifndef DUOSCOPE_SUBTITLES_LANGUAGES_H
#define DUOSCOPE_SUBTITLES_LANGUAGES_H

#include <cstddef>

// The languages that have a name of their own in the string table (see
// subtitles/subtitle_choice.h, kTextLanguageFirst), in table order.
constexpr int kNamedLanguageCount = 58;

// The size of a language key: two or three lower-case letters and a NUL.
constexpr size_t kLanguageKeySize = 4;

// One language, whatever form named it: the two-letter code of a language that has one
// ("en" for "eng", "English", "EN"), else the three-letter code as written, lower-case.
// `named` is its index among the named languages, or -1.
struct Language {
    char key[kLanguageKeySize]; // empty: no language
    int named = -1;
};

// The language that the `length` bytes at `word` name: a two-letter ISO 639-1 code, a
// three-letter ISO 639-2 code of a named language (bibliographic or terminology form:
// "fre" and "fra"), or a named language's English name, in any case; with `anyCode`, also
// any other three-letter code of letters (as stream tags hold them). An empty key (and
// -1) when it names none; "und" (undetermined) and "zxx" (no language) name none.
Language LanguageOfWord(const char *word, size_t length, bool anyCode);

// LanguageOfWord of a stream's language tag, which may carry a region after a '-' or
// '_' ("en-US", "pt_BR"), with `anyCode`.
Language LanguageOfTag(const char *tag);

// Whether two languages are the same one (neither empty).
bool SameLanguage(const Language &a, const Language &b);

#endif
