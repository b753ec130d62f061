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
