#include "common/paths.h"

#include <cstring>

// Copies the first `length` bytes of `source` and a NUL, or leaves `dest` empty and
// returns false when they do not fit.
static bool CopyPrefix(char *dest, size_t destSize, const char *source, size_t length)
{
    if (length >= destSize) {
        dest[0] = '\0';
        return false;
    }
    memcpy(dest, source, length);
    dest[length] = '\0';
    return true;
}

bool DirectoryOfPath(char *dest, size_t destSize, const char *source)
{
    const char *lastBackslash = strrchr(source, '\\');
    size_t keep = lastBackslash ? static_cast<size_t>(lastBackslash - source) + 1 : strlen(source);
    return CopyPrefix(dest, destSize, source, keep);
}

bool MediaPathFromCommandLine(char *dest, size_t destSize, const char *tail)
{
    size_t length = strlen(tail);
    if (tail[0] == '"') {
        ++tail;
        const char *closingQuote = strchr(tail, '"');
        length = closingQuote ? static_cast<size_t>(closingQuote - tail) : strlen(tail);
    }
    return CopyPrefix(dest, destSize, tail, length);
}
