// The string table as the program's resources hold it, read from the same source.
#ifndef DUOSCOPE_TESTS_STRING_TABLE_H
#define DUOSCOPE_TESTS_STRING_TABLE_H

// Text of string `id`, or "" when there is none.
const char *TableString(unsigned id);

#endif
