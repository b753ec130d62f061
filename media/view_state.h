// The view into a spherical film: where its flat window looks, how wide that window is,
// the steps that turn and widen it, and the words that say where it looks. Portable.
#ifndef DUOSCOPE_MEDIA_VIEW_STATE_H
#define DUOSCOPE_MEDIA_VIEW_STATE_H

#include "common/text.h"
#include "res/resource.h"
#include "res/string_entries.h"
#include "settings/format_catalogue.h"

// Where the window looks, in whole degrees: `yaw` to the right of straight ahead
// (negative to the left), `pitch` above the horizon (negative below), and `fov` the
// window's width. Its height follows from the eye's shape (kViewAspect*).
struct ViewAngles {
    int yaw;
    int pitch;
    int fov;
};

// The window has a TV's shape, 16:9: every output either shows one eye on a 16:9 screen
// or packs two eyes that a 3D TV stretches back to 16:9 each.
constexpr int kViewAspectWidth = 16;
constexpr int kViewAspectHeight = 9;

// 90 degrees wide (about 59 high): the widest flat view whose edges a viewer does not
// read as stretched, and half of what a VR180 eye holds, so that the view can turn a
// quarter of the way to each side. A TV seen from the sofa fills about 30-40 degrees;
// a window that narrow would show too little of a scene filmed to surround the viewer.
constexpr int kDefaultViewFov = 90;
constexpr int kNarrowestViewFov = 40;
constexpr int kWidestViewFov = 120; // wider, a flat view stretches its edges too far
constexpr int kViewTurnStep = 15;
constexpr int kViewFovStep = 10;

// A circular fisheye picture covers this many degrees unless its name says otherwise
// (media/name_layout.h): the nominal field of a VR180 camera's lenses.
constexpr int kDefaultFisheyeLens = 180;
constexpr int kNarrowestFisheyeLens = 90;
constexpr int kWidestFisheyeLens = 270;

// The fisheye lenses' field `lensFov` kept within the bounds above.
int FisheyeLens(int lensFov);

// A change of the view, one menu command each.
enum class ViewStep {
    Left,
    Right,
    Up,
    Down,
    Wider,
    Narrower,
    Ahead, // back to straight ahead, at the default width
};

// The View menu's commands follow the steps' order: command `id` is the step
// ViewStep(id - IDM_VIEW_LEFT), and its text string IDS_MENU_VIEW_FIRST + that step.
static_assert(static_cast<int>(ViewStep::Left) == IDM_VIEW_LEFT - IDM_VIEW_LEFT &&
                  static_cast<int>(ViewStep::Right) == IDM_VIEW_RIGHT - IDM_VIEW_LEFT &&
                  static_cast<int>(ViewStep::Up) == IDM_VIEW_UP - IDM_VIEW_LEFT &&
                  static_cast<int>(ViewStep::Down) == IDM_VIEW_DOWN - IDM_VIEW_LEFT &&
                  static_cast<int>(ViewStep::Wider) == IDM_VIEW_WIDER - IDM_VIEW_LEFT &&
                  static_cast<int>(ViewStep::Narrower) == IDM_VIEW_NARROWER - IDM_VIEW_LEFT &&
                  static_cast<int>(ViewStep::Ahead) == IDM_VIEW_AHEAD - IDM_VIEW_LEFT,
              "the View menu's commands follow the order of the view's steps");
constexpr int kViewStepCount = static_cast<int>(ViewStep::Ahead) + 1;

// The view kept within what the film holds: the width within its bounds; on a full
// sphere the yaw turned into -179..180 and the pitch within -90..90; on a half sphere
// (VR180) or a fisheye of `lensFov` degrees, the window's edges inside the picture
// (a window wider than the picture looks straight ahead on that axis).
ViewAngles KeepViewInside(ViewAngles view, Sphere sphere, int lensFov);

// The view a film starts with: looking towards `yaw`, `pitch` (the file's initial view,
// 0 and 0 when it gives none) at the default width, kept inside.
ViewAngles StartView(int yaw, int pitch, Sphere sphere, int lensFov);

// The view after `step`, kept inside.
ViewAngles StepView(ViewAngles view, ViewStep step, Sphere sphere, int lensFov);

// The window's height in hundredths of a degree, for its width `fov` and the eye's shape.
int VerticalFovHundredths(int fov);

// Length of string `id` of the string table.
constexpr size_t ViewWordLength(unsigned id)
{
    size_t length = 0;
    for (const char *p = StringEntryText(id); *p != '\0'; ++p)
        ++length;
    return length;
}

constexpr size_t LongerOf(size_t a, size_t b)
{
    return a > b ? a : b;
}

// The longest view text of a view kept inside and lenses kept within their bounds: a yaw
// and a width of three digits, a pitch and the lenses' field of at most three.
constexpr size_t kLongestViewText =
    ViewWordLength(IDS_VIEW_LINE) +
    LongerOf(ViewWordLength(IDS_VIEW_AHEAD) + ViewWordLength(IDS_VIEW_SEPARATOR),
             3 + LongerOf(ViewWordLength(IDS_VIEW_LEFT), ViewWordLength(IDS_VIEW_RIGHT)) +
                 ViewWordLength(IDS_VIEW_SEPARATOR) + 3 +
                 LongerOf(ViewWordLength(IDS_VIEW_UP), ViewWordLength(IDS_VIEW_DOWN)) +
                 ViewWordLength(IDS_VIEW_SEPARATOR)) +
    3 + ViewWordLength(IDS_VIEW_WIDE) + ViewWordLength(IDS_VIEW_LENSES) + 3 +
    ViewWordLength(IDS_VIEW_DEGREES);

// Appends where the view looks, as the status text's view line says it: "View ---> 30
// degrees left, 15 degrees up, 90 degrees wide" or "View ---> straight ahead, 90 degrees
// wide", and for a fisheye film ", lenses of 190 degrees".
void AppendViewText(TextBuffer &text, ViewAngles view, Sphere sphere, int lensFov,
                    StringLookup lookup);

#endif
