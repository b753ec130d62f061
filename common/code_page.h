// Paths and texts between the code pages that the program meets: the ANSI code page in
// which it keeps its paths, and the wide (UTF-16) names that the platform hands out.
// Win32.
#ifndef DUOSCOPE_COMMON_CODE_PAGE_H
#define DUOSCOPE_COMMON_CODE_PAGE_H

#include <windows.h>

#include <cstddef>

// Whether code page `codePage` (CP_ACP, CP_OEMCP or a number) lacks a letter of `text`.
bool CodePageLacksLetter(UINT codePage, const wchar_t *text);

// Converts `text` into code page `codePage` (CP_ACP, CP_OEMCP or a number). Returns
// true when every letter has its own counterpart there and the text fits in `outSize`
// bytes; otherwise false, with `out` holding the text with '?' for each missing letter,
// or empty when it does not fit.
bool WideToCodePage(UINT codePage, const wchar_t *text, char *out, size_t outSize);

// Makes the ANSI path that the program keeps of a path that the platform hands out in
// wide characters: the path itself where the ANSI code page holds it, otherwise its short
// (8.3) form. Returns false, with `out` empty, when neither fits in `outSize` bytes or the
// volume keeps no short form of it.
bool AnsiPathFromWide(const wchar_t *path, char *out, size_t outSize);

// Whether `byte` starts a double-byte character of the ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);

#endif
