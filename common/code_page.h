// Paths and texts between the code pages that the program meets: the ANSI code page in
// which it keeps its paths, and the wide (UTF-16) names that the platform hands out.
// Win32.
#ifndef DUOSCOPE_COMMON_CODE_PAGE_H
#define DUOSCOPE_COMMON_CODE_PAGE_H

#include <windows.h>

#include <cstddef>

#include "common/paths.h"

// Whether code page `codePage` (CP_ACP, CP_OEMCP or a number) lacks a letter of `text`.
bool CodePageLacksLetter(UINT codePage, const wchar_t *text);

// Converts `text` into code page `codePage` (CP_ACP, CP_OEMCP or a number). Returns
// true when every letter has its own counterpart there and the text fits in `outSize`
// bytes; otherwise false, with `out` holding the text with '?' for each missing letter,
// or empty when it does not fit.
bool WideToCodePage(UINT codePage, const wchar_t *text, char *out, size_t outSize);

// Makes the ANSI path that the program keeps of a path that the platform hands out in
// wide characters: the path itself where the ANSI code page holds it, otherwise its short
// (8.3) form. Returns the form taken (AnsiForm::Whole or AnsiForm::Short), or why none
// serves, with `out` empty.
AnsiForm AnsiPathFromWide(const wchar_t *path, char *out, size_t outSize);

// Copies into `out` the name by which the file system spells the ANSI `path`, for
// reading layout tags from it: its long form where `path` is a short (8.3) one, with '?'
// for each letter that the ANSI code page lacks; `path` itself where there is no such
// file or the long form does not fit.
void NameForTags(const char *path, char *out, size_t outSize);

// AnsiPathFromWide for a path that the user or the platform names: where the ANSI code
// page lacks a letter of it and no short form serves, WarnNameCannotPass tells so over
// `owner` with string `textId`. Returns whether `out` holds a path to hand over.
bool TakeAnsiPath(const wchar_t *path, char *out, size_t outSize, HWND owner, unsigned textId);

// Tells the user, in a message box over `owner`, that `name` (a file or folder, named by
// string `textId`) cannot be handed to the player: the ANSI code page lacks a letter of
// it and the volume keeps no short form. A name of any length is said: one longer than
// kPathSize - 1 characters shows its start and its end.
void WarnNameCannotPass(HWND owner, const wchar_t *name, unsigned textId);

// Whether `byte` starts a double-byte character of the ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);

#endif
