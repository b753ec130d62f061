// What the program knows of the current film while it runs, in one place: Auto's reading
// of the file and its choice, whether its eyes are swapped and where a spherical film's
// view looks; and what follows from it for a launch and for the commands that depend on
// it. Portable.
#ifndef DUOSCOPE_MEDIA_FILM_H
#define DUOSCOPE_MEDIA_FILM_H

#include "common/path_size.h"
#include "media/auto_layout.h"
#include "media/view_state.h"
#include "settings/player_settings.h"

struct Film {
    char path[kPathSize]; // the media file (ANSI), empty before one is named
    // Auto's choice for the file, once made (in this run or, remembered, in an earlier one).
    bool chosen;
    AutoChoice choice;
    // The eyes play mirrored (Swap Eyes); never while the film plays as the original
    // picture, so that a swap the user cannot see does not hold.
    bool eyesSwapped;
    // A spherical film's flat view (the View commands), once its first launch as a sphere
    // has started it (playback/view_graph.h: SettleFilmView, StepFilmView); kept while the
    // program runs, forgotten with the film.
    bool viewStarted;
    ViewAngles view;
};

// The film of the current media file.
extern Film CurrentFilm;

// Makes `film` the film of `path`: what was known of another file is forgotten, what is
// known of the same file stays. A path that does not fit leaves the film empty.
void SelectFilm(Film &film, const char *path);

// Whether `film` is the film of `path`.
bool IsFilmOf(const Film &film, const char *path);

// Auto's choice for the film where `settings` take the layout from the file and the
// choice was made; null otherwise.
const AutoChoice *AutoChoiceOf(const Film &film, const PlayerSettingsRecord &settings);

// Whether the film plays as the original picture with `settings`: stored so, or Auto's
// choice for it says so.
bool PlaysOriginal(const Film &film, const PlayerSettingsRecord &settings);

// Drops a swap of the eyes that `settings` would not show (the original picture). Every
// change of the film or of the settings ends here.
void SettleFilm(Film &film, const PlayerSettingsRecord &settings);

// Swap Eyes: mirrors the film's eyes, or puts them back. Returns false, changing
// nothing, where it plays as the original picture.
bool ToggleEyesSwapped(Film &film, const PlayerSettingsRecord &settings);

// What a launch of the film plays: `settings` with Auto's choice in place of "Auto"
// (its layout, and the original picture where it says so) and the eyes mirrored where
// they are swapped; and Auto's player options before the media path ("" for none).
struct FilmLaunch {
    PlayerSettingsRecord settings;
    const char *options;
};
FilmLaunch LaunchOf(const Film &film, const PlayerSettingsRecord &settings);

#endif
