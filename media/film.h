// What the program knows of the current film while it runs, in one place: Auto's reading
// of the file and its choice, whether its eyes are swapped, where a spherical film's view
// looks, its subtitles and audio tracks and the user's picks among them; and what follows
// from it for a launch and for the commands that depend on it. Portable.
#ifndef DUOSCOPE_MEDIA_FILM_H
#define DUOSCOPE_MEDIA_FILM_H

#include "common/path_size.h"
#include "media/auto_layout.h"
#include "media/view_state.h"
#include "settings/player_settings.h"
#include "subtitles/subtitle_choice.h"

// How the film's last launch showed its subtitles.
enum class ShownSubtitles {
    None,    // no launch yet, or subtitles off
    Drawn,   // text drawn into each eye (a side file, or a text track's made side file)
    Pending, // a text track whose side file is still being made: none this launch
    Player,  // a picture track, which the player draws itself
    Cut,     // a picture track that the output layout would cut: none (-sn)
};

// The film's subtitles and audio tracks, and the user's picks, held while the program runs.
struct FilmTracks {
    SideFileList sideFiles; // beside the file, as listed at its last launch
    bool listed;            // the track list's probe is done with; list.read says if it answered
    TrackList list;
    SubtitlePick subtitlePick;
    bool audioPicked;
    int audioStream;             // the picked audio track's stream index
    bool dumpFailed[kMaxTracks]; // a track whose side file could not be made
    SubtitleChoice shownChoice;  // what the last launch chose
    ShownSubtitles shown;        // and how it showed it
};

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
    FilmTracks tracks;
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

// The subtitles that a launch of the film shows (ChooseSubtitles) with `settings`' on or
// off and `preferred`, the user's language.
SubtitleChoice FilmSubtitles(const Film &film, const PlayerSettingsRecord &settings,
                             const Language &preferred);

// The subtitles menu's picks: Off (the setting off, and Off for this film), side file or
// track `index` of the film's lists (the setting on, and that pick for this film).
// Returns false, changing nothing, for an index outside the lists.
bool PickSubtitlesOff(Film &film, PlayerSettingsRecord &settings);
bool PickSideFile(Film &film, PlayerSettingsRecord &settings, int index);
bool PickSubtitleTrack(Film &film, PlayerSettingsRecord &settings, int index);

// The audio track that plays (an index into the track list, -1 for none known), and the
// Audio menu's pick of track `index`: false, changing nothing, unless it is an audio track.
int FilmAudioTrack(const Film &film);
bool PickAudioTrack(Film &film, int index);

// The stream to hand the player as -ast (AudioStreamOption) once the user has picked an
// audio track, -1 for none: a film whose track nobody picked keeps today's command line.
int FilmAudioStreamOption(const Film &film);

#endif
