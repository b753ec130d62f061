#include "settings/format_catalogue.h"

#include "res/resource.h"
#include "res/string_entries.h"

// The counts and the layout names of format_catalogue.h follow the order of the string
// table's entries; these checks hold them to it when the program is compiled.
namespace {

constexpr bool SameText(const char *a, const char *b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

constexpr bool IsUsed(unsigned id)
{
    return !SameText(StringEntryText(id), "-") && !SameText(StringEntryText(id), "");
}

// How many entries from `first` on, before `end`, are in use: a run, and after it only
// the placeholder "-".
constexpr int UsedEntries(unsigned first, unsigned end)
{
    unsigned id = first;
    while (id < end && IsUsed(id))
        ++id;
    for (unsigned rest = id; rest < end; ++rest)
        if (!SameText(StringEntryText(rest), "-"))
            return -1;
    return static_cast<int>(id - first);
}

// Whether the input codes are in use for the flat layouts, unused for Auto, and in use
// for the spherical layouts, and the rest of their block unused.
constexpr bool InputCodesInUse()
{
    for (int index = 0; index < kInputFormatCount; ++index)
        if (IsUsed(IDS_INPUT_CODE_FIRST + static_cast<unsigned>(index)) !=
            (index != kAutoInputLayout))
            return false;
    return UsedEntries(IDS_INPUT_CODE_FIRST + kInputFormatCount, IDS_OUTPUT_TEXT_FIRST) == 0;
}

constexpr bool InputCodeIs(int index, const char *code)
{
    return SameText(StringEntryText(IDS_INPUT_CODE_FIRST + static_cast<unsigned>(index)), code);
}

} // namespace

static_assert(UsedEntries(IDS_INPUT_TEXT_FIRST, IDS_INPUT_CODE_FIRST) == kInputFormatCount);
static_assert(UsedEntries(IDS_INPUT_CODE_FIRST, IDS_OUTPUT_TEXT_FIRST) == -1 && InputCodesInUse(),
              "every input layout but Auto has a filter code, and no other entry has one");
static_assert(UsedEntries(IDS_OUTPUT_TEXT_FIRST, IDS_OUTPUT_CODE_FIRST) == kOutputFormatCount);
static_assert(UsedEntries(IDS_OUTPUT_CODE_FIRST, IDS_STATUS_TITLE) == kOutputFormatCount);
static_assert(InputCodeIs(kSbsParallel, "sbsl") && InputCodeIs(kSbsCross, "sbsr") &&
                  InputCodeIs(kHalfSbsParallel, "sbs2l") && InputCodeIs(kHalfSbsCross, "sbs2r") &&
                  InputCodeIs(kAboveLeft, "abl") && InputCodeIs(kAboveRight, "abr") &&
                  InputCodeIs(kHalfAboveLeft, "ab2l") && InputCodeIs(kHalfAboveRight, "ab2r") &&
                  InputCodeIs(kAlternatingLeft, "al") && InputCodeIs(kAlternatingRight, "ar") &&
                  InputCodeIs(kRowsLeft, "irl") && InputCodeIs(kRowsRight, "irr") &&
                  InputCodeIs(kColumnsLeft, "icl") && InputCodeIs(kColumnsRight, "icr"),
              "each input layout name stands at the index of its filter code");
static_assert(InputCodeIs(kVr180Sbs, "input=hequirect:in_stereo=sbs") &&
                  InputCodeIs(kSphereTopBottom, "input=equirect:in_stereo=tb") &&
                  InputCodeIs(kSphereSbs, "input=equirect:in_stereo=sbs") &&
                  InputCodeIs(kFisheyeSbs, "input=fisheye:in_stereo=sbs") &&
                  kFisheyeSbs + 1 == kInputFormatCount,
              "each spherical layout name stands at the index of its pictures' description");

static unsigned EntryId(unsigned first, int index, int count)
{
    return first + static_cast<unsigned>(index >= 0 && index < count ? index : 0);
}

bool IsSphereLayout(int index)
{
    return index >= kFirstSphereLayout && index < kInputFormatCount;
}

Sphere SphereOfLayout(int index)
{
    switch (index) {
    case kVr180Sbs:
        return Sphere::HalfEquirectSbs;
    case kSphereTopBottom:
        return Sphere::EquirectTb;
    case kSphereSbs:
        return Sphere::EquirectSbs;
    case kFisheyeSbs:
        return Sphere::FisheyeSbs;
    default:
        return Sphere::None;
    }
}

int LayoutOfSphere(Sphere sphere)
{
    for (int index = kFirstSphereLayout; index < kInputFormatCount; ++index)
        if (SphereOfLayout(index) == sphere)
            return index;
    return kAutoInputLayout;
}

int MirroredInputLayout(int index)
{
    if (IsSphereLayout(index))
        return index;
    return index >= 0 && index < kAutoInputLayout ? index ^ 1 : kSbsCross;
}

unsigned InputTextId(int index)
{
    return EntryId(IDS_INPUT_TEXT_FIRST, index, kInputFormatCount);
}

unsigned InputCodeId(int index)
{
    return EntryId(IDS_INPUT_CODE_FIRST, index == kAutoInputLayout ? 0 : index, kInputFormatCount);
}

unsigned OutputTextId(int index)
{
    return EntryId(IDS_OUTPUT_TEXT_FIRST, index, kOutputFormatCount);
}

unsigned OutputCodeId(int index)
{
    return EntryId(IDS_OUTPUT_CODE_FIRST, index, kOutputFormatCount);
}
