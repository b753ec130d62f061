// The current film's subtitles and audio tracks as the disk and ffprobe.exe tell them: the
// side files beside it, its track list read in the background, and its text tracks
// dumped, in the background, into side files in the temporary folder. No launch waits
// for any of it. Win32.
#ifndef DUOSCOPE_MEDIA_FILM_TRACKS_H
#define DUOSCOPE_MEDIA_FILM_TRACKS_H

#include <cstddef>

#include "media/film.h"

// Lists the side files that lie beside the film's file now (film.tracks.sideFiles);
// none where its folder cannot be read.
void ListSideFiles(Film &film);

// The user's language, as Windows names it for the user's interface.
Language UserLanguage();

// Starts reading the film's track list with ffprobe.exe beside `playerExe`, once per film
// while the program runs, unless it runs or is done with; `tempFolder` (ending in a
// backslash) is where its text tracks' side files go. Without ffprobe.exe the list is
// done with at once, unread.
void StartTrackList(Film &film, const char *playerExe, const char *tempFolder);

// Whether the side file of text track `track` (an index into the film's list) is made,
// its path in `out` (kPathSize bytes). Where it is not, starts making it unless that is
// under way or failed before for this film; false then, with `out` empty.
bool TrackSideFile(Film &film, int track, char *out);

// What PumpFilmTracks found.
enum TracksEvent : unsigned {
    kTracksListed = 1, // the film's track list is done with (read or not)
    kTrackMade = 2,    // a text track's side file was made, or failed
};

// Reads what the background runs wrote and takes what they finished; a run for another
// film than `film` is ended. Returns the TracksEvent bits of what finished. The track
// list's run is bounded like Auto's probes; a track's dump reads the whole film and has no
// bound but the film's change and the program's end (its job).
unsigned PumpFilmTracks(Film &film);

// Whether a background run is under way.
bool FilmTracksRunning();

#endif
