// State that the parts of the program share for the whole run, in one place; the player's
// console window (playback/player_process.h), the settings (settings/player_settings.h),
// the current film (media/film.h) and the Open dialog's record (ui/dialogs.h) live with
// their owners. Win32.
#ifndef DUOSCOPE_COMMON_APP_STATE_H
#define DUOSCOPE_COMMON_APP_STATE_H

#include <windows.h>

#include "common/path_size.h"

// The module whose resources the program loads; set once at start.
extern HINSTANCE hInst;
// Window title (string 103) and class name (string 109), loaded at start.
extern char szTitle[100];
extern char szWindowClass[100];
// The program's own module path, in its ANSI or short form.
extern char szModulePath[kPathSize];
// The current media file; empty until a file is named. Never cleared.
extern char szMediaFile[kPathSize];
// Full path of ffplay.exe in the program's folder.
extern char szPlayerExe[kPathSize];
// The main window.
extern HWND hWndMain;

#endif
