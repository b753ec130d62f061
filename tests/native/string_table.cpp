#include "string_table.h"

#include "res/string_entries.h"

const char *TableString(unsigned id)
{
    return StringEntryText(id);
}
