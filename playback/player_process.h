// Running the player: the launch script, its process and its console window. Win32.
#ifndef DUOSCOPE_PLAYBACK_PLAYER_PROCESS_H
#define DUOSCOPE_PLAYBACK_PLAYER_PROCESS_H

#include <windows.h>

#include "playback/player_command.h"

// The console window of the most recent launch script, or null when none was found.
extern HWND hWndPlayer;
// The user's temporary folder, fetched anew at every launch.
extern char szTempDir[kTempDirSize];

// Plays szMediaFile: writes and starts the launch script, waits until its console
// window is found or its process ends, deletes the script when nERCHK is 0, and then
// closes the player started before (after 800 ms) if its window is still open. A launch
// whose texts cannot be composed is refused and changes nothing; so is one from a
// temporary folder whose name cannot be handed to the player, which is said so.
void PlayMedia();

// EnumWindows callback: records in hWndPlayer the first window owned by the process
// whose PROCESS_INFORMATION `lParam` points to, and stops there.
BOOL CALLBACK FindPlayerWindow(HWND hWnd, LPARAM lParam);

// Asks the current player's console to close, at once and without waiting.
void ClosePlayerWindow();

#endif
