// The string table's entries as the resources hold them, read from the same source.
#ifndef DUOSCOPE_TESTS_STRING_ENTRIES_H
#define DUOSCOPE_TESTS_STRING_ENTRIES_H

struct StringEntry {
    unsigned id;
    const char *text;
};

inline constexpr StringEntry kStringEntries[] = {
#define DUO_STRING(id, text) {id, text},
#include "res/strings.def"
#undef DUO_STRING
};

#endif
