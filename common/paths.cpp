#include "common/paths.h"

#include <cstring>

bool DirectoryOfPath(char *dest, size_t destSize, const char *source)
{
    const char *lastBackslash = strrchr(source, '\\');
    size_t keep = lastBackslash ? static_cast<size_t>(lastBackslash - source) + 1 : strlen(source);
    if (keep >= destSize) {
        dest[0] = '\0';
        return false;
    }
    memcpy(dest, source, keep);
    dest[keep] = '\0';
    return true;
}

bool MediaPathFromCommandLine(char *dest, size_t destSize, const char *tail)
{
    size_t length = strlen(tail);
    if (tail[0] == '"') {
        ++tail;
        const char *closingQuote = strchr(tail, '"');
        length = closingQuote ? static_cast<size_t>(closingQuote - tail) : strlen(tail);
    }
    if (length >= destSize) {
        dest[0] = '\0';
        return false;
    }
    memcpy(dest, tail, length);
    dest[length] = '\0';
    return true;
}
