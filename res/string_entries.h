// The string table's entries as the resources hold them, read from the same source,
// for code that needs a text when it is compiled.
#ifndef DUOSCOPE_RES_STRING_ENTRIES_H
#define DUOSCOPE_RES_STRING_ENTRIES_H

struct StringEntry {
    unsigned id;
    const char *text;
};

inline constexpr StringEntry kStringEntries[] = {
#define DUO_STRING(id, text) {id, text},
#include "res/strings.def"
#undef DUO_STRING
};

// Text of string `id`, or "" when there is none.
constexpr const char *StringEntryText(unsigned id)
{
    for (const StringEntry &entry : kStringEntries)
        if (entry.id == id)
            return entry.text;
    return "";
}

#endif
