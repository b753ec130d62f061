#include "media/auto_layout.h"

#include <cstring>

#include "media/view_state.h"
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

// How much of the full sphere a tile `shown` pixels across shows, between bounds of
// `before` and `after` pixels (left and right, or top and bottom): the whole, half of
// it, or something else.
enum class TileShare { Whole, Half, Other };

TileShare ShareOf(long shown, long before, long after)
{
    // Within 1 in 50: FFmpeg rounds each bound to a whole pixel.
    constexpr long long kTolerance = 50;
    if (shown <= 0 || before < 0 || after < 0)
        return TileShare::Other;
    const long long outside = static_cast<long long>(before) + after;
    const long long whole = shown + outside;
    if (outside * kTolerance <= whole)
        return TileShare::Whole;
    const long long gap = 2LL * shown - whole;
    if ((gap < 0 ? -gap : gap) * kTolerance <= whole)
        return TileShare::Half;
    return TileShare::Other;
}

// The sphere's form: what each eye's picture covers.
enum class SphereForm { None, Whole, Half, Fisheye };

SphereForm FormOf(const ProbeAnswer &answer)
{
    switch (answer.projection) {
    case Projection::Equirect:
        return SphereForm::Whole;
    case Projection::HalfEquirect:
        return SphereForm::Half;
    case Projection::Fisheye:
        return SphereForm::Fisheye;
    case Projection::TiledEquirect:
        break;
    default:
        return SphereForm::None;
    }
    if (ShareOf(answer.height, answer.boundTop, answer.boundBottom) != TileShare::Whole)
        return SphereForm::None;
    switch (ShareOf(answer.width, answer.boundLeft, answer.boundRight)) {
    case TileShare::Whole:
        return SphereForm::Whole;
    case TileShare::Half:
        return SphereForm::Half;
    default:
        return SphereForm::None;
    }
}

// The eyes' packing by the frame's pixels, for a sphere whose metadata does not say:
// each eye of a whole sphere is twice as wide as high, of the other forms square. A
// frame at least 1.5 eyes wide is side by side, at most 0.75 eyes wide top and bottom.
StereoKind PackingOfFrame(SphereForm form, const ProbeAnswer &answer)
{
    const long long eyeWidth = form == SphereForm::Whole ? 2 : 1;
    const long long wide = answer.width;
    const long long high = eyeWidth * answer.height; // the frame's height in eye widths
    if (2 * wide >= 3 * high)
        return StereoKind::SideBySide;
    if (4 * wide <= 3 * high)
        return StereoKind::TopBottom;
    return StereoKind::Mono;
}

// Takes `sphere` for the choice: its input layout, or for a sphere in 2D the original
// picture; the metadata's eye order and initial view where there is an answer.
void TakeSphere(AutoChoice &choice, Sphere sphere, const ProbeAnswer *answer)
{
    const int layout = LayoutOfSphere(sphere);
    choice.sphere = sphere;
    choice.layout = IsSphereLayout(layout) ? layout : kSbsParallel;
    choice.original = !IsSphereLayout(layout);
    if (choice.lensFov == 0)
        choice.lensFov = kDefaultFisheyeLens;
    if (answer != nullptr && answer->read) {
        choice.stereo = answer->stereo;
        choice.inverted = answer->inverted && answer->stereo != StereoKind::None;
        choice.viewYaw = answer->viewYaw;
        choice.viewPitch = answer->viewPitch;
    }
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

// The user's own word for a spherical film: a VR player's tag in the name.
bool FromSphereTag(const AutoFacts &facts, AutoChoice &choice)
{
    const SphereName tag = SphereFromFileName(facts.name, facts.isLeadByte);
    if (tag.sphere == Sphere::None || tag.tagLength >= sizeof choice.tag)
        return false;
    memcpy(choice.tag, tag.tag, tag.tagLength);
    choice.tag[tag.tagLength] = '\0';
    choice.reason = AutoReason::NameTag;
    choice.lensFov = tag.lensFov;
    TakeSphere(choice, tag.sphere, nullptr);
    return true;
}

// The user's own word: a tag in the name; a bare one half or full by the frame, unless
// the file's metadata says it is a sphere.
bool FromNameTag(const AutoFacts &facts, AutoChoice &choice)
{
    const NameLayout tag = LayoutFromFileName(facts.name, facts.isLeadByte);
    if (tag.tag == nullptr || tag.tagLength >= sizeof choice.tag)
        return false;
    if (IsBareTag(tag) && facts.read && SphereOfProbe(*facts.answer) != Sphere::None)
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

// The file's own description of a spherical film.
bool FromSphereMetadata(const AutoFacts &facts, AutoChoice &choice)
{
    const Sphere sphere = facts.read ? SphereOfProbe(*facts.answer) : Sphere::None;
    if (sphere == Sphere::None)
        return false;
    choice.reason = AutoReason::Sphere;
    TakeSphere(choice, sphere, facts.answer);
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
constexpr AutoStep kAutoSteps[] = {FromSphereTag, FromNameTag, FromSphereMetadata,
                                   FromMetadata,  FromPhoto,   FromNothingRead,
                                   FromViews,     FromPicture, FromFrame};

} // namespace

Sphere SphereOfProbe(const ProbeAnswer &answer)
{
    const SphereForm form = answer.read ? FormOf(answer) : SphereForm::None;
    if (form == SphereForm::None)
        return Sphere::None;
    const StereoKind stereo =
        answer.stereo == StereoKind::None ? PackingOfFrame(form, answer) : answer.stereo;
    switch (stereo) {
    case StereoKind::SideBySide:
        return form == SphereForm::Whole  ? Sphere::EquirectSbs
               : form == SphereForm::Half ? Sphere::HalfEquirectSbs
                                          : Sphere::FisheyeSbs;
    case StereoKind::TopBottom:
        return form == SphereForm::Whole ? Sphere::EquirectTb : Sphere::None;
    case StereoKind::Mono:
        return form == SphereForm::Whole  ? Sphere::EquirectMono
               : form == SphereForm::Half ? Sphere::HalfEquirectMono
                                          : Sphere::None;
    default:
        return Sphere::None;
    }
}

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
