// The Subtitles and Audio menus of the main window, their commands, the status text's
// subtitles line, and the timer that takes the film's tracks as the background reads
// them (media/film_tracks.h). Win32.
#ifndef DUOSCOPE_UI_TRACK_MENUS_H
#define DUOSCOPE_UI_TRACK_MENUS_H

#include <windows.h>

#include "ui/status_text.h"

// The main window's timer that looks at the background reads.
constexpr UINT_PTR kTracksTimer = 1;
constexpr UINT kTracksTimerMs = 100;

// Fills the Subtitles and Audio menus of `hWnd`'s menu bar from the current film (the
// film of szMediaFile, or nothing known), and keeps the timer running while a read runs.
void ShowTrackMenus(HWND hWnd);

// The status text's subtitles line for the current film's last launch: `label` (at
// least kStatusLabelSize bytes) receives its text. Null before the film's first launch,
// and for a film with neither side files nor subtitle tracks.
const SubtitleStatus *TrackStatus(char *label);

// Handles a command of the two menus (a pick replays the film; Nearer and Farther change
// the stored depth, and replay where the words are drawn). False for any other command.
bool OnTrackCommand(HWND hWnd, UINT id);

// The timer: takes what the background reads finished; a track list shows in the menus,
// and a side file made for the user's pick replays the film with it.
void OnTracksTimer(HWND hWnd);

#endif
