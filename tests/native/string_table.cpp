#include "string_table.h"

namespace {
struct Entry {
    unsigned id;
    const char *text;
};
const Entry kEntries[] = {
#define DUO_STRING(id, text) {id, text},
#include "res/strings.def"
#undef DUO_STRING
};
} // namespace

const char *TableString(unsigned id)
{
    for (const Entry &entry : kEntries)
        if (entry.id == id)
            return entry.text;
    return "";
}
