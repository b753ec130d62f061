// The one launch routine: plays the current film with the settings, Auto's choice and
// Swap Eyes, through a launch script in the temporary folder. Win32.
#ifndef DUOSCOPE_PLAYBACK_PLAY_MEDIA_H
#define DUOSCOPE_PLAYBACK_PLAY_MEDIA_H

#include "playback/player_command.h"

// Plays szMediaFile: makes it the current film (media/film.h), composes and writes its
// launch script (WriteLaunchScriptFor), starts it (StartPlayer), deletes the script when
// nERCHK is 0, and ends the player before (EndPreviousPlayer). A launch whose texts
// cannot be composed is refused and changes nothing but the film's state; so is one
// from a temporary folder whose name cannot be handed to the player, and one whose
// script cannot be written or started, which are said so: the player before plays on.
// Then starts reading the film's track list in the background (media/film_tracks.h).
// The caller shows the film's state afterwards (the status text, Swap Eyes' and the View
// menu's items).
void PlayMedia();

// The first half of PlayMedia, as the program runs it: makes szMediaFile the current
// film, makes Auto's choice for it where the settings ask for one, and writes the launch
// script of LaunchOf's settings, for a sphere with the film's view (SettleFilmView), into
// the temporary folder: its path into `scriptPath`, the folder (the script's current
// folder) into `folder`. Returns false when that cannot be done, having said so where the
// user must know.
bool WriteLaunchScriptFor(char (&scriptPath)[kScriptPathSize], char (&folder)[kTempDirSize]);

#endif
