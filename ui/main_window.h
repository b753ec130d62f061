// The main window: class, creation, window procedure. Win32.
#ifndef DUOSCOPE_UI_MAIN_WINDOW_H
#define DUOSCOPE_UI_MAIN_WINDOW_H

#include <windows.h>

#include "common/path_size.h"

// Registers the main window's class.
void RegisterMainWindowClass(HINSTANCE hInstance);

// Creates, shows and paints the main window; false when no window results (also when
// the window closed itself during creation because the player is missing).
bool CreateMainWindow(HINSTANCE hInstance, int nCmdShow);

// Shows the current film's state after it or the settings changed: drops a swap of the
// eyes that would not show, greys Swap Eyes for the original picture, and repaints the
// status text of `hWnd`, the main window.
void ShowFilmState(HWND hWnd);

// Plays the current media file (PlayMedia) and shows the film's state in `hWnd`.
void PlayAndShow(HWND hWnd);

// The main window's procedure.
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
