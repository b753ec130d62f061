// Path helpers. Portable: no platform headers.
#ifndef DUOSCOPE_COMMON_PATHS_H
#define DUOSCOPE_COMMON_PATHS_H

#include <cstddef>

// Copies into `dest` the folder part of `source`: everything up to and including its
// last backslash, or the whole path when it has none. Only single bytes are looked at;
// a forward slash does not count. Returns false, with `dest` empty, when that part does
// not fit in `destSize` bytes.
bool DirectoryOfPath(char *dest, size_t destSize, const char *source);

// Takes the media path from the program's command-line tail into `dest`: the text
// between a leading double quote and the next one (or the end), otherwise the whole
// tail unchanged, blanks included. Returns false, with `dest` empty, when the path
// does not fit in `destSize` bytes: a cut path would name another file.
bool MediaPathFromCommandLine(char *dest, size_t destSize, const char *tail);

#endif
