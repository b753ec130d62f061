#include "media/auto_layout.h"

#include <cstring>

#include "settings/format_catalogue.h"

namespace {

constexpr const char kPhotoOptions[] = "-f mjpeg";
constexpr const char kViewsOptions[] = "-view_ids -1 -noframedrop";
static_assert(sizeof kViewsOptions - 1 <= kLongestAutoOptions, "options fit their bound");

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

} // namespace

AutoChoice ChooseAutoLayout(const char *name, LeadByteTest isLeadByte, const ProbeAnswer *answer,
                            PictureLook picture)
{
    AutoChoice choice{0,  false, "", AutoReason::Unread, StereoKind::None, false,
                      {}, 0,     0,  AutoLacks::Nothing};
    const bool read = answer != nullptr && answer->read;
    if (read) {
        choice.width = answer->width;
        choice.height = answer->height;
    }

    // The user's own word.
    const NameLayout tag = LayoutFromFileName(name, isLeadByte);
    if (tag.tag != nullptr && tag.tagLength < sizeof choice.tag) {
        memcpy(choice.tag, tag.tag, tag.tagLength);
        choice.tag[tag.tagLength] = '\0';
        choice.layout = tag.index;
        choice.reason = AutoReason::NameTag;
        if (read && IsBareTag(tag)) {
            const bool sbs = (tag.tag[0] | 0x20) == 's';
            choice.layout =
                HalfOrFull(sbs ? StereoKind::SideBySide : StereoKind::TopBottom, *answer, false);
            choice.reason = AutoReason::TagFrame;
        } else if (IsBareTag(tag)) {
            choice.lacks = AutoLacks::Probe;
        }
        return choice;
    }

    // The file's own description.
    if (read) {
        choice.stereo = answer->stereo;
        choice.inverted = answer->inverted;
        const int right = answer->inverted ? 1 : 0;
        choice.reason = AutoReason::Metadata;
        if (answer->mvcFilm) {
            choice.original = true;
            choice.reason = AutoReason::MvcFilm;
            return choice;
        }
        switch (answer->stereo) {
        case StereoKind::Mono:
            choice.original = true;
            choice.reason = AutoReason::Mono;
            return choice;
        case StereoKind::SideBySide:
        case StereoKind::TopBottom:
            choice.layout = HalfOrFull(answer->stereo, *answer, answer->inverted);
            return choice;
        case StereoKind::FrameAlternate:
            choice.layout = kAlternatingLeft + right;
            return choice;
        case StereoKind::Rows:
            choice.layout = kRowsLeft + right;
            return choice;
        case StereoKind::Columns:
            choice.layout = kColumnsLeft + right;
            return choice;
        case StereoKind::None:
            break;
        }
        choice.inverted = false;
    }

    if (NameHasExtension(name, "mpo", isLeadByte)) {
        choice.layout = kAlternatingLeft;
        choice.options = kPhotoOptions;
        choice.reason = AutoReason::Photo;
        return choice;
    }
    if (!read) {
        choice.reason = AutoReason::Unread;
        choice.lacks = AutoLacks::Probe;
        return choice;
    }
    if (answer->views >= 2) {
        if (answer->rawStream) {
            choice.original = true;
            choice.reason = AutoReason::RawViews;
            return choice;
        }
        choice.inverted = answer->rightViewFirst;
        choice.layout = kAlternatingLeft + (answer->rightViewFirst ? 1 : 0);
        choice.options = kViewsOptions;
        choice.reason = AutoReason::TwoViews;
        return choice;
    }
    choice.reason = AutoReason::Picture;
    switch (picture) {
    case PictureLook::SideBySide:
    case PictureLook::TopBottom:
        choice.stereo =
            picture == PictureLook::SideBySide ? StereoKind::SideBySide : StereoKind::TopBottom;
        choice.layout = HalfOrFull(choice.stereo, *answer, false);
        return choice;
    case PictureLook::Flat:
        choice.stereo = StereoKind::Mono;
        choice.original = true;
        return choice;
    case PictureLook::NotLooked:
        choice.lacks = AutoLacks::Picture;
        break;
    case PictureLook::Unclear:
        break;
    }
    choice.layout = LayoutOfFrame(*answer);
    choice.reason = AutoReason::Frame;
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
