// The main window: class, creation, window procedure. Win32.
#ifndef DUOSCOPE_UI_MAIN_WINDOW_H
#define DUOSCOPE_UI_MAIN_WINDOW_H

#include <windows.h>

#include "common/path_size.h"

// Window title (string 103) and class name (string 109), loaded by WinMain.
extern char szTitle[100];
extern char szWindowClass[100];
// The program's own module path.
extern char szModulePath[kPathSize];

// Registers the main window's class.
void RegisterMainWindowClass(HINSTANCE hInstance);

// Creates, shows and paints the main window; false when no window results (also when
// the window closed itself during creation because the player is missing).
bool CreateMainWindow(HINSTANCE hInstance, int nCmdShow);

// The main window's procedure.
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
