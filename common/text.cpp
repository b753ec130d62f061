#include "common/text.h"

#include <cstring>

TextBuffer StartText(char *data, size_t size)
{
    data[0] = '\0';
    return TextBuffer{data, size, 0, false};
}

void AppendText(TextBuffer &text, const char *piece)
{
    size_t pieceLength = strlen(piece);
    if (text.overflow || pieceLength >= text.size - text.length) {
        text.overflow = true;
        return;
    }
    memcpy(text.data + text.length, piece, pieceLength + 1);
    text.length += pieceLength;
}

void AppendNumber(TextBuffer &text, long value)
{
    char digits[24];
    char *p = digits + sizeof digits;
    *--p = '\0';
    // Work on the magnitude as unsigned so that the most negative value is safe.
    unsigned long magnitude =
        value < 0 ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    AppendText(text, p);
}

bool CopyText(char *dest, size_t size, const char *source)
{
    TextBuffer text = StartText(dest, size);
    AppendText(text, source);
    return !text.overflow;
}
