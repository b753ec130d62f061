// The setting texts of the registry (ParseSettingText, FormatSettingText).
#include "fuzz_support.h"

#include "settings/player_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text = TextOf(data, size);
    // atol's reading, held at the ends of the 32-bit range.
    long long expected = strtoll(text.c_str(), nullptr, 10);
    expected = expected > INT32_MAX ? INT32_MAX : expected < INT32_MIN ? INT32_MIN : expected;
    const int32_t value = ParseSettingText(text.c_str());
    FUZZ_CHECK(value == expected);

    char written[kSettingTextSize];
    FormatSettingText(value, written);
    char printed[32];
    snprintf(printed, sizeof printed, "%d", static_cast<int>(value));
    FUZZ_CHECK(strcmp(written, printed) == 0 && ParseSettingText(written) == value);
    return 0;
}
