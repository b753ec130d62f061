#include "media/film_entry.h"

#include <cstring>
#include <initializer_list>

#include "common/text.h"
#include "media/view_state.h"

namespace {

// The entry's first field: what it is and the version of its form.
constexpr const char kEntryMark[] = "duoscope-film 2";
constexpr char kBar = '|';
// FNV-1a, 64 bits.
constexpr uint64_t kHashStart = 14695981039346656037ull;
constexpr uint64_t kHashPrime = 1099511628211ull;
// The most digits of a number a field holds (2^64 has 20).
constexpr size_t kMostDigits = 20;
// The largest frame side an entry may name.
constexpr uint64_t kLargestSide = 1u << 20;
// A view's angles are kept a turn above zero, so that they stand as unsigned fields.
constexpr int kAngleOffset = 360;

void AppendUnsigned(TextBuffer &text, uint64_t value)
{
    char digits[kMostDigits + 1];
    size_t at = sizeof digits - 1;
    digits[at] = '\0';
    do {
        digits[--at] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    AppendText(text, digits + at);
}

void AppendField(TextBuffer &text, uint64_t value)
{
    AppendUnsigned(text, value);
    AppendText(text, "|");
}

// Reads an unsigned decimal field up to the next bar into `value`; false for anything
// else (no digits, a sign, more than kMostDigits, a value over `most`).
bool ReadField(const char *&p, uint64_t most, uint64_t &value)
{
    value = 0;
    const char *start = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (static_cast<size_t>(p - start) >= kMostDigits)
            return false;
        const uint64_t digit = static_cast<uint64_t>(*p - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    if (p == start || *p != kBar || value > most)
        return false;
    ++p;
    return true;
}

// Whether a tag or path can stand in an entry: no bar (for a tag) and no control
// character.
bool FitsEntry(const char *text, bool barAllowed)
{
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p)
        if (*p < 0x20 || (!barAllowed && *p == kBar))
            return false;
    return true;
}

int OptionsNumber(const char *options)
{
    for (int i = 0; i < kAutoOptionsCount; ++i)
        if (options == kAutoOptions[i] || strcmp(options, kAutoOptions[i]) == 0)
            return i;
    return -1;
}

} // namespace

void FilmEntryName(const char *path, char (&name)[kFilmEntryNameSize])
{
    uint64_t hash = kHashStart;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(path); *p; ++p)
        hash = (hash ^ *p) * kHashPrime;
    static constexpr char kHex[] = "0123456789abcdef";
    for (int i = 15; i >= 0; --i, hash >>= 4)
        name[i] = kHex[hash & 0xF];
    name[16] = '\0';
}

bool FormatFilmEntry(const FilmEntry &entry, char (&out)[kFilmEntryTextSize])
{
    const AutoChoice &choice = entry.choice;
    const int options = OptionsNumber(choice.options);
    TextBuffer text = StartText(out, sizeof out);
    if (options < 0 || !FitsEntry(choice.tag, false) || !FitsEntry(entry.path, true) ||
        entry.path[0] == '\0' || choice.width < 0 || choice.height < 0 || choice.lensFov < 0 ||
        choice.viewYaw < -kAngleOffset || choice.viewPitch < -kAngleOffset) {
        out[0] = '\0';
        return false;
    }
    AppendText(text, kEntryMark);
    AppendText(text, "|");
    for (uint64_t field :
         {entry.kept, entry.size, entry.writeTime, static_cast<uint64_t>(choice.layout),
          uint64_t{choice.original}, static_cast<uint64_t>(options),
          static_cast<uint64_t>(choice.reason), static_cast<uint64_t>(choice.stereo),
          uint64_t{choice.inverted}, static_cast<uint64_t>(choice.width),
          static_cast<uint64_t>(choice.height), static_cast<uint64_t>(choice.lacks),
          static_cast<uint64_t>(choice.sphere), static_cast<uint64_t>(choice.lensFov),
          static_cast<uint64_t>(choice.viewYaw + kAngleOffset),
          static_cast<uint64_t>(choice.viewPitch + kAngleOffset)})
        AppendField(text, field);
    AppendText(text, choice.tag);
    AppendText(text, "|");
    AppendText(text, entry.path);
    if (text.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool ParseFilmEntry(const char *text, FilmEntry &entry)
{
    entry = FilmEntry{};
    const size_t markLength = sizeof kEntryMark - 1;
    if (strncmp(text, kEntryMark, markLength) != 0 || text[markLength] != kBar)
        return false;
    const char *p = text + markLength + 1;
    uint64_t layout, original, options, reason, stereo, inverted, width, height, lacks, sphere,
        lens, yaw, pitch;
    const bool read = ReadField(p, UINT64_MAX, entry.kept) &&
                      ReadField(p, UINT64_MAX, entry.size) &&
                      ReadField(p, UINT64_MAX, entry.writeTime) &&
                      ReadField(p, kInputFormatCount - 1, layout) && layout != kAutoInputLayout &&
                      ReadField(p, 1, original) && ReadField(p, kAutoOptionsCount - 1, options) &&
                      ReadField(p, static_cast<uint64_t>(AutoReason::Frame), reason) &&
                      ReadField(p, static_cast<uint64_t>(StereoKind::Columns), stereo) &&
                      ReadField(p, 1, inverted) && ReadField(p, kLargestSide, width) &&
                      ReadField(p, kLargestSide, height) &&
                      ReadField(p, static_cast<uint64_t>(AutoLacks::Picture), lacks) &&
                      ReadField(p, static_cast<uint64_t>(Sphere::HalfEquirectMono), sphere) &&
                      ReadField(p, kWidestFisheyeLens, lens) &&
                      ReadField(p, 2 * kAngleOffset, yaw) && ReadField(p, 2 * kAngleOffset, pitch);
    const char *tagEnd = read ? strchr(p, kBar) : nullptr;
    if (tagEnd == nullptr || static_cast<size_t>(tagEnd - p) > kLongestAutoTag) {
        entry = FilmEntry{};
        return false;
    }
    AutoChoice &choice = entry.choice;
    choice.layout = static_cast<int>(layout);
    choice.original = original != 0;
    choice.options = kAutoOptions[options];
    choice.reason = static_cast<AutoReason>(reason);
    choice.stereo = static_cast<StereoKind>(stereo);
    choice.inverted = inverted != 0;
    choice.width = static_cast<long>(width);
    choice.height = static_cast<long>(height);
    choice.lacks = static_cast<AutoLacks>(lacks);
    choice.sphere = static_cast<Sphere>(sphere);
    choice.lensFov = static_cast<int>(lens);
    choice.viewYaw = static_cast<int>(yaw) - kAngleOffset;
    choice.viewPitch = static_cast<int>(pitch) - kAngleOffset;
    memcpy(choice.tag, p, static_cast<size_t>(tagEnd - p));
    choice.tag[tagEnd - p] = '\0';
    // Exactly the text that the record would be written as, or nothing.
    char again[kFilmEntryTextSize];
    if (!CopyText(entry.path, sizeof entry.path, tagEnd + 1) || !FormatFilmEntry(entry, again) ||
        strcmp(again, text) != 0) {
        entry = FilmEntry{};
        return false;
    }
    return true;
}

bool FilmEntryHolds(const FilmEntry &entry, const char *path, uint64_t size, uint64_t writeTime)
{
    return entry.path[0] != '\0' && strcmp(entry.path, path) == 0 && entry.size == size &&
           entry.writeTime == writeTime;
}
