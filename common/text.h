// Bounded text helpers for fixed-size character buffers. Portable: no platform headers.
#ifndef DUOSCOPE_COMMON_TEXT_H
#define DUOSCOPE_COMMON_TEXT_H

#include <cstddef>

// A text being built in a fixed buffer. An append that does not fit writes nothing more
// and sets `overflow`; the text stays terminated at all times.
struct TextBuffer {
    char *data;
    size_t size;
    size_t length;
    bool overflow;
};

// Starts an empty text in `data`, which holds `size` bytes (size > 0).
TextBuffer StartText(char *data, size_t size);

// Appends `text` whole, or nothing and sets overflow.
void AppendText(TextBuffer &text, const char *piece);

// Appends `value` in decimal, as "%d" prints it.
void AppendNumber(TextBuffer &text, long value);

// Copies `source` into `dest` of `size` bytes; returns false (and leaves `dest` empty)
// when it does not fit with its terminator.
bool CopyText(char *dest, size_t size, const char *source);

#endif
