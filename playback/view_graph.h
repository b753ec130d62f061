// The flat view of a spherical film as the first stage of the player's filter graph: the
// v360 filter that turns the film's eyes (or its one 2D picture) into flat windows
// looking where the view says, each eye at the size the output layout needs, and the
// stereo3d input code of what it yields. Portable.
#ifndef DUOSCOPE_PLAYBACK_VIEW_GRAPH_H
#define DUOSCOPE_PLAYBACK_VIEW_GRAPH_H

#include <cstddef>

#include "common/paths.h"
#include "common/text.h"
#include "media/auto_layout.h"
#include "media/film.h"
#include "media/view_state.h"
#include "settings/format_catalogue.h"

// One spherical film's view.
struct SphereView {
    Sphere sphere;   // None: a flat film, no view
    ViewAngles view; // kept inside (KeepViewInside) when the graph is made
    int lensFov;     // FisheyeSbs: the lenses' field in degrees
    bool rightFirst; // the frame holds the right eye first (the file's metadata, or Swap Eyes)
};

// Each eye of a full-size output is a full HD TV's picture: 1920x1080 is what a 3D TV
// shows per eye (full side by side, frame packing, which needs 1080 or 720 lines) and
// what a monitor shows of an anaglyph; from a 5.7K VR180 film (2880 pixels per 180
// degrees) a 90-degree window of 1920 pixels takes about one pixel of the film per
// pixel at its centre. A half side-by-side output takes 960x1080 eyes, a half
// above/below output 1920x540: the frame-compatible formats' own sizes, so that
// stereo3d passes them on unscaled.
constexpr long kEyeWidth = 1920;
constexpr long kEyeHeight = 1080;

// The longest v360 filter text: the longest description, every angle at its longest
// and a fisheye's lens options.
constexpr size_t kLongestViewGraph = 160;

// The default view of a film in `layout` (a spherical input layout, else none):
// straight ahead, the default width, the default fisheye lenses, left eye first.
SphereView DefaultSphereView(int layout);

// The sphere that a launch plays with the input layout `nStin` and the original-picture
// setting `nOrg`: Auto's (`choice`, for nStin Auto; null when it made none), which may be
// a sphere in 2D, or the stored layout's; None for a flat film and for the original
// picture of a stored sphere.
Sphere SphereOfLaunch(int nStin, int nOrg, const AutoChoice *choice);

// Where the film named `name` starts looking (StartView): Auto's initial view from the
// file's metadata, straight ahead for a stored layout.
ViewAngles StartViewOfFilm(int nStin, int nOrg, const AutoChoice *choice, const char *name,
                           LeadByteTest isLeadByte);

// The fisheye lenses of the film named `name`: Auto's, else its name's tag, else the
// default.
int LensOfFilm(const AutoChoice *choice, const char *name, LeadByteTest isLeadByte);

// The whole view of a launch, for BuildPlayerCommand: SphereOfLaunch, `view`, the
// lenses (LensOfFilm), and the right eye first when Auto's metadata says so or, not
// both, `eyesSwapped`.
SphereView SphereViewOfLaunch(int nStin, int nOrg, const AutoChoice *choice, ViewAngles view,
                              const char *name, LeadByteTest isLeadByte, bool eyesSwapped);

// The view of a launch of `film` with `settings` (SphereViewOfLaunch, with the film's
// eyes): the film's own view once it has started, else where its first launch as a sphere
// starts (StartViewOfFilm), the film's tags read from `name`; kept inside the sphere.
SphereView FilmViewOfLaunch(const Film &film, const PlayerSettingsRecord &settings,
                            const char *name, LeadByteTest isLeadByte);

// A launch of `film` with `settings`: returns its view (FilmViewOfLaunch) and, where it
// plays a sphere, keeps that view as the film's, which starts the view at the film's
// first launch as a sphere. A flat film's view stays as it is.
SphereView SettleFilmView(Film &film, const PlayerSettingsRecord &settings, const char *name,
                          LeadByteTest isLeadByte);

// A View command: turns or widens the view of `film` by `step` (StepView) where `settings`
// play it as a sphere, and keeps the result as the film's view. Returns whether the view
// changed; false, changing nothing, for a flat film and for a step that leads nowhere (at
// the picture's edge, at the narrowest or widest, already straight ahead).
bool StepFilmView(Film &film, const PlayerSettingsRecord &settings, ViewStep step, const char *name,
                  LeadByteTest isLeadByte);

// Appends the v360 filter of `view` to `text` for the output layout `outputLayout` and
// returns the stereo3d input code of its result: "sbsl" (two full eyes side by side),
// "sbs2l" for the half side-by-side outputs, "ab2l" for the half above/below outputs,
// each with "r" for "l" when the right eye comes first; "" for a sphere in 2D, whose
// one flat picture takes no stereo3d. Returns null, appending nothing, for a flat film
// (Sphere::None), and null with text.overflow set when the filter does not fit.
const char *AppendViewGraph(TextBuffer &text, const SphereView &view, int outputLayout,
                            StringLookup lookup);

#endif
