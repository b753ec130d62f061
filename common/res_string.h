// Texts of the string table. Win32.
#ifndef DUOSCOPE_COMMON_RES_STRING_H
#define DUOSCOPE_COMMON_RES_STRING_H

#include <windows.h>

// Size of each of LoadResString's two buffers.
constexpr int kResStringSize = 512;

// Loads string `id` (at most 511 characters; empty when there is none) into one of two
// static buffers, alternating on every call, and returns that buffer: the results of
// two consecutive calls are valid together, a third call overwrites the first.
const char *LoadResString(unsigned id);

#endif
