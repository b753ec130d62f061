// The size of the program's path buffers. Portable: no platform headers.
#ifndef DUOSCOPE_COMMON_PATH_SIZE_H
#define DUOSCOPE_COMMON_PATH_SIZE_H

#include <cstddef>

// Paths handled by the program: at most 511 characters and a NUL.
constexpr size_t kPathSize = 512;

#endif
