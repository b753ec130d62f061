#include "ui/status_text.h"

#include "common/text.h"
#include "res/resource.h"
#include "settings/player_settings.h"

// The text of a reason that names nothing but itself.
static unsigned FixedReasonText(AutoReason reason)
{
    struct FixedReason {
        AutoReason reason;
        unsigned id;
    };
    static constexpr FixedReason kFixedReasons[] = {{AutoReason::Mono, IDS_AUTO_MONO},
                                                    {AutoReason::MvcFilm, IDS_AUTO_MVC_FILM},
                                                    {AutoReason::Photo, IDS_AUTO_PHOTO},
                                                    {AutoReason::RawViews, IDS_AUTO_RAW_VIEWS},
                                                    {AutoReason::Unread, IDS_AUTO_UNREAD}};
    for (const FixedReason &fixed : kFixedReasons)
        if (fixed.reason == reason)
            return fixed.id;
    return IDS_AUTO_UNREAD;
}

// The text of a kind of stereo metadata, before the eye order.
static unsigned KindText(StereoKind kind)
{
    switch (kind) {
    case StereoKind::SideBySide:
        return IDS_AUTO_SIDE_BY_SIDE;
    case StereoKind::TopBottom:
        return IDS_AUTO_TOP_AND_BOTTOM;
    case StereoKind::FrameAlternate:
        return IDS_AUTO_ALTERNATING;
    case StereoKind::Rows:
        return IDS_AUTO_ROWS;
    case StereoKind::Columns:
        return IDS_AUTO_COLUMNS;
    case StereoKind::Mono:
        return IDS_AUTO_MONO;
    case StereoKind::None:
        break;
    }
    return IDS_AUTO_UNREAD;
}

// Why Auto chose its layout, as " (Auto: ...)".
static void AppendAutoReason(TextBuffer &text, const AutoChoice &choice, StringLookup lookup)
{
    auto frame = [&] {
        AppendNumber(text, choice.width);
        AppendText(text, "x");
        AppendNumber(text, choice.height);
        AppendText(text, lookup(IDS_AUTO_END));
    };
    auto eyes = [&] {
        AppendText(text, lookup(choice.inverted ? IDS_AUTO_RIGHT_FIRST : IDS_AUTO_END));
    };
    switch (choice.reason) {
    case AutoReason::NameTag:
    case AutoReason::TagFrame:
        AppendText(text, lookup(IDS_AUTO_TAG_BEFORE));
        AppendText(text, choice.tag);
        if (choice.reason == AutoReason::NameTag) {
            AppendText(text, lookup(IDS_AUTO_TAG_AFTER));
        } else {
            AppendText(text, lookup(IDS_AUTO_TAG_FRAME));
            frame();
        }
        return;
    case AutoReason::Metadata:
        AppendText(text, lookup(KindText(choice.stereo)));
        eyes();
        return;
    case AutoReason::Sphere:
        if (choice.original) {
            AppendText(text,
                       lookup(choice.sphere == Sphere::HalfEquirectMono ? IDS_AUTO_HALF_SPHERE_MONO
                                                                        : IDS_AUTO_SPHERE_MONO));
            return;
        }
        AppendText(text, lookup(IDS_AUTO_SPHERE));
        AppendText(text, lookup(InputTextId(choice.layout)));
        eyes();
        return;
    case AutoReason::TwoViews:
        AppendText(text, lookup(IDS_AUTO_TWO_VIEWS));
        eyes();
        return;
    case AutoReason::Picture:
        AppendText(text, lookup(choice.stereo == StereoKind::SideBySide  ? IDS_AUTO_PICTURE_SBS
                                : choice.stereo == StereoKind::TopBottom ? IDS_AUTO_PICTURE_TAB
                                                                         : IDS_AUTO_PICTURE_2D));
        return;
    case AutoReason::Frame:
        AppendText(text, lookup(IDS_AUTO_FRAME));
        frame();
        return;
    case AutoReason::Mono:
    case AutoReason::MvcFilm:
    case AutoReason::Photo:
    case AutoReason::RawViews:
    case AutoReason::Unread:
        AppendText(text, lookup(FixedReasonText(choice.reason)));
        return;
    }
}

// Where a sphere's flat view looks, on a line of its own; nothing for a flat film.
static void AppendViewLine(TextBuffer &text, const SphereView *sphere, StringLookup lookup)
{
    if (sphere == nullptr || sphere->sphere == Sphere::None)
        return;
    AppendViewText(text, KeepViewInside(sphere->view, sphere->sphere, sphere->lensFov),
                   sphere->sphere, FisheyeLens(sphere->lensFov), lookup);
    AppendText(text, "\n");
}

// What the launch shows of the subtitles, on a line of its own; nothing without it.
static void AppendSubtitleLine(TextBuffer &text, const SubtitleStatus *subtitles,
                               StringLookup lookup)
{
    if (subtitles == nullptr)
        return;
    AppendText(text, lookup(IDS_STATUS_SUBTITLES));
    AppendText(text, subtitles->label);
    if (subtitles->shown == ShownSubtitles::Drawn) {
        AppendText(text, lookup(IDS_SUBS_DEPTH));
        AppendText(text, subtitles->depth > 0 ? "+" : "");
        AppendNumber(text, subtitles->depth);
    } else if (subtitles->shown == ShownSubtitles::Pending) {
        AppendText(text, lookup(IDS_SUBS_PENDING));
    } else if (subtitles->shown == ShownSubtitles::Cut) {
        AppendText(text, lookup(IDS_SUBS_CUT));
    }
    AppendText(text, "\n");
}

size_t ComposeStatusText(int nFull, int nOrg, int nStin, int nStout, const AutoChoice *autoChoice,
                         StringLookup lookup, char *out, size_t outSize, bool eyesSwapped,
                         const SphereView *sphere, const SubtitleStatus *subtitles)
{
    const AutoChoice *choice = nStin == kAutoInputLayout ? autoChoice : nullptr;
    TextBuffer text = StartText(out, outSize);
    AppendText(text, "\n");
    AppendText(text, lookup(IDS_STATUS_TITLE));
    AppendText(text, "\n\n");
    AppendText(text, lookup(IsFullScreen(nFull) ? IDS_STATUS_FULL_SCREEN : IDS_STATUS_WINDOW));
    AppendText(text, "\n");
    if (IsOriginalPicture(nOrg)) {
        AppendText(text, lookup(IDS_STATUS_ORIGINAL));
        AppendText(text, "\n");
        AppendSubtitleLine(text, subtitles, lookup);
    } else if (choice != nullptr && choice->original) {
        AppendText(text, lookup(IDS_STATUS_ORIGINAL));
        AppendAutoReason(text, *choice, lookup);
        AppendText(text, "\n");
        AppendViewLine(text, sphere, lookup);
        AppendSubtitleLine(text, subtitles, lookup);
    } else {
        AppendText(text, lookup(IDS_STATUS_INPUT));
        const int layout = choice != nullptr ? choice->layout : nStin;
        const bool mirrored = eyesSwapped && layout != kAutoInputLayout;
        AppendText(text, lookup(InputTextId(mirrored ? MirroredInputLayout(layout) : layout)));
        if (choice != nullptr)
            AppendAutoReason(text, *choice, lookup);
        if (mirrored)
            AppendText(text, lookup(IDS_EYES_SWAPPED));
        AppendText(text, "\n");
        AppendText(text, lookup(IDS_STATUS_OUTPUT));
        AppendText(text, lookup(OutputTextId(nStout)));
        AppendText(text, "\n");
        AppendViewLine(text, sphere, lookup);
        AppendSubtitleLine(text, subtitles, lookup);
        AppendText(text, "\n");
    }
    for (unsigned id = IDS_STATUS_FIRST_LINE; id <= IDS_STATUS_LAST_LINE; ++id) {
        AppendText(text, lookup(id));
        AppendText(text, "\n");
    }
    return text.length;
}
