// The launch script in the console's code page. The command interpreter reads a batch
// file in the console's (OEM) code page, which differs from the ANSI code page on
// Western systems (1252 against 437 or 850). Win32.
#ifndef DUOSCOPE_PLAYBACK_CONSOLE_TEXT_H
#define DUOSCOPE_PLAYBACK_CONSOLE_TEXT_H

#include <cstddef>

// Copies into `out` a form of the ANSI `path` that the console code page can hold: the
// path itself where it can, else its short (8.3) form where that one can; otherwise the
// path itself, so that the launch still shows what went wrong. Returns false, with `out`
// empty, when it does not fit in `outSize` bytes.
bool ConsolePath(const char *path, char *out, size_t outSize);

// Converts ANSI text into the console code page: the same bytes for ASCII, and for a
// letter that the console code page lacks, '?'. Returns false, with `out` empty, when
// it does not fit in `outSize` bytes.
bool ToConsoleText(const char *text, char *out, size_t outSize);

#endif
