#include "string_table.h"

#include "tests/string_entries.h"

const char *TableString(unsigned id)
{
    for (const StringEntry &entry : kStringEntries)
        if (entry.id == id)
            return entry.text;
    return "";
}
