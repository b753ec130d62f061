#include "media/auto_layout.h"

#include <cstring>

#include "settings/format_catalogue.h"

namespace {

constexpr bool OptionsFit()
{
    for (const char *options : kAutoOptions) {
        size_t length = 0;
        while (options[length] != '\0')
            ++length;
        if (length > kLongestAutoOptions)
            return false;
    }
    return true;
}
static_assert(OptionsFit(), "Auto's options fit their bound");

// A tag that says side by side or top and bottom without saying half or full.
bool IsBareTag(const NameLayout &tag)
{
    if (tag.tag == nullptr || tag.tagLength != 3)
        return false;
    char lower[4] = {};
    for (int i = 0; i < 3; ++i)
        lower[i] = static_cast<char>(tag.tag[i] | 0x20);
    return strcmp(lower, "sbs") == 0 || strcmp(lower, "tab") == 0;
}

// The frame's shape as it is shown: its width and height, each times its side of the
// sample aspect ratio.
struct DisplaySize {
    long long width;
    long long height;
};

DisplaySize DisplayOf(const ProbeAnswer &answer)
{
    return {static_cast<long long>(answer.width) * answer.sarNum,
            static_cast<long long>(answer.height) * answer.sarDen};
}

// Side by side or top and bottom, half or full by the eye's display aspect: a side by
// side eye narrower than it is high is squeezed, so is a top and bottom eye more than
// 2.5 times wider than it is high.
int HalfOrFull(StereoKind kind, const ProbeAnswer &answer, bool inverted)
{
    const DisplaySize shown = DisplayOf(answer);
    const int right = inverted ? 1 : 0;
    if (kind == StereoKind::SideBySide)
        return (shown.width < 2 * shown.height ? kHalfSbsParallel : kSbsParallel) + right;
    return (4 * shown.width > 5 * shown.height ? kHalfAboveLeft : kAboveLeft) + right;
}

// The layout of a frame that says nothing of its own: at least 2.5 times wider than
// high, two eyes side by side; at most as wide as high, one above the other; between,
// two squeezed eyes side by side, the most common 3D film.
int LayoutOfFrame(const ProbeAnswer &answer)
{
    const DisplaySize shown = DisplayOf(answer);
    if (2 * shown.width >= 5 * shown.height)
        return kSbsParallel;
    if (shown.width <= shown.height)
        return kAboveLeft;
    return kHalfSbsParallel;
}

// What a step of the choice goes by: the name (and how its letters are read), ffprobe's
// answer (null when none was asked; `read` when it described a video stream) and the
// look at the picture.
struct AutoFacts {
    const char *name;
    LeadByteTest isLeadByte;
    const ProbeAnswer *answer;
    bool read;
    PictureLook picture;
};

// A step of the choice: decides (true, with `choice` made) or leaves it to the next.
using AutoStep = bool (*)(const AutoFacts &facts, AutoChoice &choice);

// The user's own word: a tag in the name; a bare one half or full by the frame.
bool FromNameTag(const AutoFacts &facts, AutoChoice &choice)
{
    const NameLayout tag = LayoutFromFileName(facts.name, facts.isLeadByte);
    if (tag.tag == nullptr || tag.tagLength >= sizeof choice.tag)
        return false;
    memcpy(choice.tag, tag.tag, tag.tagLength);
    choice.tag[tag.tagLength] = '\0';
    choice.layout = tag.index;
    choice.reason = AutoReason::NameTag;
    if (IsBareTag(tag) && facts.read) {
        const bool sbs = (tag.tag[0] | 0x20) == 's';
        choice.layout =
            HalfOrFull(sbs ? StereoKind::SideBySide : StereoKind::TopBottom, *facts.answer, false);
        choice.reason = AutoReason::TagFrame;
    } else if (IsBareTag(tag)) {
        choice.lacks = AutoLacks::Probe;
    }
    return true;
}

// The file's own description: its stereo metadata.
bool FromMetadata(const AutoFacts &facts, AutoChoice &choice)
{
    if (!facts.read || (facts.answer->stereo == StereoKind::None && !facts.answer->mvcFilm))
        return false;
    const ProbeAnswer &answer = *facts.answer;
    if (answer.mvcFilm) {
        choice.original = true;
        choice.reason = AutoReason::MvcFilm;
        choice.stereo = answer.stereo;
        choice.inverted = answer.inverted;
        return true;
    }
    // The first layout of each kind; each right-first one follows its left-first one.
    struct KindLayout {
        StereoKind kind;
        int layout;
    };
    static constexpr KindLayout kKindLayouts[] = {{StereoKind::FrameAlternate, kAlternatingLeft},
                                                  {StereoKind::Rows, kRowsLeft},
                                                  {StereoKind::Columns, kColumnsLeft}};
    const int right = answer.inverted ? 1 : 0;
    choice.stereo = answer.stereo;
    choice.inverted = answer.inverted;
    choice.reason = AutoReason::Metadata;
    switch (answer.stereo) {
    case StereoKind::Mono:
        choice.original = true;
        choice.reason = AutoReason::Mono;
        return true;
    case StereoKind::SideBySide:
    case StereoKind::TopBottom:
        choice.layout = HalfOrFull(answer.stereo, answer, answer.inverted);
        return true;
    case StereoKind::None:
    case StereoKind::FrameAlternate:
    case StereoKind::Rows:
    case StereoKind::Columns:
        break;
    }
    for (const KindLayout &entry : kKindLayouts)
        if (entry.kind == answer.stereo)
            choice.layout = entry.layout + right;
    return true;
}

// A 3D photo: two pictures, left eye first, in one .mpo file.
bool FromPhoto(const AutoFacts &facts, AutoChoice &choice)
{
    if (!NameHasExtension(facts.name, "mpo", facts.isLeadByte))
        return false;
    choice.layout = kAlternatingLeft;
    choice.options = kAutoOptions[kPhotoOptions];
    choice.reason = AutoReason::Photo;
    return true;
}

// Nothing read of the file: the first layout.
bool FromNothingRead(const AutoFacts &facts, AutoChoice &choice)
{
    if (facts.read)
        return false;
    choice.reason = AutoReason::Unread;
    choice.lacks = AutoLacks::Probe;
    return true;
}

// Two views in the stream: both, as alternating frames; a raw stream its first only.
bool FromViews(const AutoFacts &facts, AutoChoice &choice)
{
    const ProbeAnswer &answer = *facts.answer;
    if (answer.views < 2)
        return false;
    if (answer.rawStream) {
        choice.original = true;
        choice.reason = AutoReason::RawViews;
        return true;
    }
    choice.inverted = answer.rightViewFirst;
    choice.layout = kAlternatingLeft + (answer.rightViewFirst ? 1 : 0);
    choice.options = kAutoOptions[kViewsOptions];
    choice.reason = AutoReason::TwoViews;
    return true;
}

// The picture's halves: side by side or top and bottom, left first; or 2D.
bool FromPicture(const AutoFacts &facts, AutoChoice &choice)
{
    choice.reason = AutoReason::Picture;
    switch (facts.picture) {
    case PictureLook::SideBySide:
    case PictureLook::TopBottom:
        choice.stereo = facts.picture == PictureLook::SideBySide ? StereoKind::SideBySide
                                                                 : StereoKind::TopBottom;
        choice.layout = HalfOrFull(choice.stereo, *facts.answer, false);
        return true;
    case PictureLook::Flat:
        choice.stereo = StereoKind::Mono;
        choice.original = true;
        return true;
    case PictureLook::NotLooked:
        choice.lacks = AutoLacks::Picture;
        return false;
    case PictureLook::Unclear:
        return false;
    }
    return false;
}

// The frame's shape, when nothing else said.
bool FromFrame(const AutoFacts &facts, AutoChoice &choice)
{
    choice.layout = LayoutOfFrame(*facts.answer);
    choice.reason = AutoReason::Frame;
    return true;
}

// The steps in the order they decide.
constexpr AutoStep kAutoSteps[] = {FromNameTag, FromMetadata, FromPhoto, FromNothingRead,
                                   FromViews,   FromPicture,  FromFrame};

} // namespace

AutoChoice ChooseAutoLayout(const char *name, LeadByteTest isLeadByte, const ProbeAnswer *answer,
                            PictureLook picture)
{
    const AutoFacts facts{name, isLeadByte, answer, answer != nullptr && answer->read, picture};
    AutoChoice choice;
    if (facts.read) {
        choice.width = answer->width;
        choice.height = answer->height;
    }
    for (AutoStep step : kAutoSteps)
        if (step(facts, choice))
            break;
    return choice;
}

bool AutoNeedsProbe(const char *name, LeadByteTest isLeadByte)
{
    return ChooseAutoLayout(name, isLeadByte, nullptr).lacks == AutoLacks::Probe;
}

bool AutoNeedsPicture(const char *name, LeadByteTest isLeadByte, const ProbeAnswer &answer)
{
    return ChooseAutoLayout(name, isLeadByte, &answer).lacks == AutoLacks::Picture;
}
