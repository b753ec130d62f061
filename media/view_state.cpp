#include "media/view_state.h"

#include <cmath>

#include "res/resource.h"

namespace {

constexpr int kFullTurn = 360;
constexpr int kHalfTurn = 180;
constexpr int kQuarterTurn = 90;
constexpr double kPi = 3.14159265358979323846;

int Clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

bool IsFullSphere(Sphere sphere)
{
    return sphere == Sphere::EquirectTb || sphere == Sphere::EquirectSbs ||
           sphere == Sphere::EquirectMono;
}

// How far from straight ahead the picture reaches, on every side: 0 for a full sphere
// and a flat picture, which have no edge to keep inside.
int PictureReach(Sphere sphere, int lensFov)
{
    switch (sphere) {
    case Sphere::HalfEquirectSbs:
    case Sphere::HalfEquirectMono:
        return kQuarterTurn;
    case Sphere::FisheyeSbs:
        return FisheyeLens(lensFov) / 2;
    default:
        return 0;
    }
}

// How far the window's centre may turn from straight ahead, for a window `halfWidth`
// degrees to each side of it.
int TurnLimit(int reach, int halfWidth)
{
    return reach > halfWidth ? reach - halfWidth : 0;
}

} // namespace

int FisheyeLens(int lensFov)
{
    return Clamp(lensFov, kNarrowestFisheyeLens, kWidestFisheyeLens);
}

int VerticalFovHundredths(int fov)
{
    const double halfWidth = fov * kPi / (2 * kHalfTurn);
    const double halfHeight = std::atan(std::tan(halfWidth) * kViewAspectHeight / kViewAspectWidth);
    return static_cast<int>(std::lround(halfHeight * 2 * kHalfTurn / kPi * 100));
}

ViewAngles KeepViewInside(ViewAngles view, Sphere sphere, int lensFov)
{
    view.fov = Clamp(view.fov, kNarrowestViewFov, kWidestViewFov);
    if (IsFullSphere(sphere)) {
        view.yaw = ((view.yaw % kFullTurn) + kFullTurn) % kFullTurn;
        if (view.yaw > kHalfTurn)
            view.yaw -= kFullTurn;
        view.pitch = Clamp(view.pitch, -kQuarterTurn, kQuarterTurn);
        return view;
    }
    const int reach = PictureReach(sphere, lensFov);
    if (reach == 0)
        return view;
    const int yawLimit = TurnLimit(reach, view.fov / 2);
    // Half the window's height, in whole degrees rounded up.
    const int pitchLimit = TurnLimit(reach, (VerticalFovHundredths(view.fov) + 199) / 200);
    view.yaw = Clamp(view.yaw, -yawLimit, yawLimit);
    view.pitch = Clamp(view.pitch, -pitchLimit, pitchLimit);
    return view;
}

ViewAngles StartView(int yaw, int pitch, Sphere sphere, int lensFov)
{
    // A file's angles may be anything: kept to a turn before they meet any sum.
    return KeepViewInside(
        {Clamp(yaw, -kFullTurn, kFullTurn), Clamp(pitch, -kFullTurn, kFullTurn), kDefaultViewFov},
        sphere, lensFov);
}

ViewAngles StepView(ViewAngles view, ViewStep step, Sphere sphere, int lensFov)
{
    view = KeepViewInside(view, sphere, lensFov);
    switch (step) {
    case ViewStep::Left:
        view.yaw -= kViewTurnStep;
        break;
    case ViewStep::Right:
        view.yaw += kViewTurnStep;
        break;
    case ViewStep::Up:
        view.pitch += kViewTurnStep;
        break;
    case ViewStep::Down:
        view.pitch -= kViewTurnStep;
        break;
    case ViewStep::Wider:
        view.fov += kViewFovStep;
        break;
    case ViewStep::Narrower:
        view.fov -= kViewFovStep;
        break;
    case ViewStep::Ahead:
        view = {0, 0, kDefaultViewFov};
        break;
    }
    return KeepViewInside(view, sphere, lensFov);
}

void AppendViewText(TextBuffer &text, ViewAngles view, Sphere sphere, int lensFov,
                    StringLookup lookup)
{
    AppendText(text, lookup(IDS_VIEW_LINE));
    auto angle = [&](int value, unsigned positive, unsigned negative) {
        if (value == 0)
            return;
        AppendNumber(text, value > 0 ? value : -value);
        AppendText(text, lookup(value > 0 ? positive : negative));
        AppendText(text, lookup(IDS_VIEW_SEPARATOR));
    };
    if (view.yaw == 0 && view.pitch == 0) {
        AppendText(text, lookup(IDS_VIEW_AHEAD));
        AppendText(text, lookup(IDS_VIEW_SEPARATOR));
    }
    angle(view.yaw, IDS_VIEW_RIGHT, IDS_VIEW_LEFT);
    angle(view.pitch, IDS_VIEW_UP, IDS_VIEW_DOWN);
    AppendNumber(text, view.fov);
    AppendText(text, lookup(IDS_VIEW_WIDE));
    if (sphere == Sphere::FisheyeSbs) {
        AppendText(text, lookup(IDS_VIEW_LENSES));
        AppendNumber(text, lensFov);
        AppendText(text, lookup(IDS_VIEW_DEGREES));
    }
}
