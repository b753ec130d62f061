#include "settings/format_catalogue.h"

#include "res/resource.h"

static unsigned EntryId(unsigned first, int index, int count)
{
    return first + static_cast<unsigned>(index >= 0 && index < count ? index : 0);
}

unsigned InputTextId(int index)
{
    return EntryId(IDS_INPUT_TEXT_FIRST, index, kInputFormatCount);
}

unsigned InputCodeId(int index)
{
    return EntryId(IDS_INPUT_CODE_FIRST, index, kAutoInputLayout);
}

unsigned OutputTextId(int index)
{
    return EntryId(IDS_OUTPUT_TEXT_FIRST, index, kOutputFormatCount);
}

unsigned OutputCodeId(int index)
{
    return EntryId(IDS_OUTPUT_CODE_FIRST, index, kOutputFormatCount);
}
