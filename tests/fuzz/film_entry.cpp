// The films kept across runs, as the registry gives their texts back (ParseFilmEntry):
// whatever the text, an entry is trusted only as exactly what FormatFilmEntry writes of
// a choice Auto could make, and one not trusted is empty.
#include "fuzz_support.h"

#include "media/film_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text = TextOf(data, size);
    static FilmEntry entry;
    if (!ParseFilmEntry(text.c_str(), entry)) {
        FUZZ_CHECK(entry.path[0] == '\0' && entry.size == 0 &&
                   entry.choice.reason == AutoReason::Unread);
        return 0;
    }
    char again[kFilmEntryTextSize];
    FUZZ_CHECK(FormatFilmEntry(entry, again) && text == again);
    const AutoChoice &choice = entry.choice;
    FUZZ_CHECK(choice.layout >= 0 && choice.layout < kInputFormatCount &&
               choice.layout != kAutoInputLayout);
    FUZZ_CHECK(choice.reason != AutoReason::Unread && entry.path[0] != '\0');
    bool known = false;
    for (const char *options : kAutoOptions)
        known = known || options == choice.options;
    FUZZ_CHECK(known && strlen(choice.tag) <= kLongestAutoTag && choice.width >= 0);
    return 0;
}
