#include "settings/player_settings.h"

#include "common/text.h"

PlayerSettingsRecord PlayerSettings;

#define DUOSCOPE_SETTING_ENTRY(name, start) {#name, &PlayerSettingsRecord::name},
const SettingField kSettingFields[kSettingCount] = {DUOSCOPE_SETTINGS(DUOSCOPE_SETTING_ENTRY)};
#undef DUOSCOPE_SETTING_ENTRY
static_assert(sizeof(PlayerSettingsRecord) == kSettingCount * sizeof(int32_t),
              "every field of the record is a stored setting");

static bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int32_t ParseSettingText(const char *text)
{
    while (IsSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

void FormatSettingText(int32_t value, char *out)
{
    TextBuffer text = StartText(out, kSettingTextSize);
    AppendNumber(text, value);
}
