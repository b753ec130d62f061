// The main window: class, creation, window procedure. Win32.
#ifndef DUOSCOPE_UI_MAIN_WINDOW_H
#define DUOSCOPE_UI_MAIN_WINDOW_H

#include <windows.h>

#include "common/path_size.h"
#include "common/paths.h"

// Registers the main window's class.
void RegisterMainWindowClass(HINSTANCE hInstance);

// Creates, shows and paints the main window; false when no window results (also when
// the window closed itself during creation because the player is missing).
bool CreateMainWindow(HINSTANCE hInstance, int nCmdShow);

// Builds szPlayerExe beside the program. Returns AnsiForm::Whole or AnsiForm::Short when
// ffplay.exe is there (anything under that name counts, a folder too); TooLong when it
// is not there or its path does not fit; Lacking when the program's path cannot be
// handed to the player. `modulePath` receives that path in wide characters.
AnsiForm FindPlayer(wchar_t (&modulePath)[kPathSize]);

// For a file named on the command line, while the window is still to be made: where
// the stored settings take its layout from the file, starts the probes that Auto's
// choice will need (StartAutoProbesFor). Says nothing of what fails: the window's
// creation does that.
void ProbeAhead();

// Shows the current film's state after it or the settings changed: drops a swap of the
// eyes that would not show, greys Swap Eyes for the original picture and the View menu's
// commands but for a launch that plays a sphere, and repaints the status text of `hWnd`,
// the main window.
void ShowFilmState(HWND hWnd);

// Plays the current media file (PlayMedia) and shows the film's state in `hWnd`.
void PlayAndShow(HWND hWnd);

// The main window's procedure.
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
