// The player settings and their text form in the registry. Portable.
#ifndef DUOSCOPE_SETTINGS_PLAYER_SETTINGS_H
#define DUOSCOPE_SETTINGS_PLAYER_SETTINGS_H

#include <cstddef>
#include <cstdint>

// The settings in load and save order, each with its value before anything is read;
// each name is both the field and its registry value's name, so it is written here alone.
//   nFull      full screen when not 0
//   nOrg       original picture, no stereo conversion, when exactly 1
//   nStin      index into the input layouts
//   nStout     index into the output layouts
//   nGPU       decoder: 0 CPU, 1 NVIDIA H.264, 2 NVIDIA H.265
//   nERCHK     error-check mode: 0 off, 1 console and pause, others keep the script
//   nSubs      subtitles: 0 off, anything else on (so a store written before it had
//              this value reads as on)
//   nSubDepth  the subtitles' depth in steps, > 0 nearer (held to the graph's limit
//              where it is used)
// clang-format off
#define DUOSCOPE_SETTINGS(X)                                                                \
    X(nFull, 0) X(nOrg, 0) X(nStin, 0) X(nStout, 0) X(nGPU, 0) X(nERCHK, 0)                 \
    X(nSubs, 1) X(nSubDepth, 0)
// clang-format on

// One value per registry value of the same name. No field is range-checked. Fields
// left out of a brace initializer take their start values.
struct PlayerSettingsRecord {
#define DUOSCOPE_SETTING_FIELD(name, start) int32_t name = start;
    DUOSCOPE_SETTINGS(DUOSCOPE_SETTING_FIELD)
#undef DUOSCOPE_SETTING_FIELD
};

// What the values mean. Every reader asks these rather than testing the numbers itself.
constexpr bool IsFullScreen(int32_t nFull)
{
    return nFull != 0;
}
constexpr bool IsOriginalPicture(int32_t nOrg)
{
    return nOrg == 1;
}
// Error-check mode: the console is shown and the script ends in a pause for exactly 1;
// the script is kept for any value but 0.
constexpr bool ShowsConsole(int32_t nERCHK)
{
    return nERCHK == 1;
}
constexpr bool KeepsScript(int32_t nERCHK)
{
    return nERCHK != 0;
}
constexpr bool ShowsSubtitles(int32_t nSubs)
{
    return nSubs != 0;
}
// Decoder values of nGPU; any other value decodes on the CPU.
enum DecoderSetting : int32_t { kDecodeCpu = 0, kDecodeH264 = 1, kDecodeH265 = 2 };

// The one record of the process; the start values until the store is read.
extern PlayerSettingsRecord PlayerSettings;

// A setting's registry value name and its field, in load and save order.
struct SettingField {
    const char *name;
    int32_t PlayerSettingsRecord::*field;
};
constexpr int kSettingCount = 8;
extern const SettingField kSettingFields[kSettingCount];

// Size of the text buffer for one stored value: at most 99 characters and a NUL.
constexpr size_t kSettingTextSize = 100;

// Converts a stored text by the rules of atol: leading white space, an optional sign,
// then decimal digits up to the first non-digit; no digits gives 0. Values beyond the
// 32-bit range are held at its ends.
int32_t ParseSettingText(const char *text);

// Writes `value` as "%d" prints it into `out` (kSettingTextSize bytes).
void FormatSettingText(int32_t value, char *out);

#endif
