// State that the parts of the program share for the whole run. Win32.
#ifndef DUOSCOPE_COMMON_APP_STATE_H
#define DUOSCOPE_COMMON_APP_STATE_H

#include <windows.h>

#include "common/path_size.h"

// The current media file; empty until a file is named. Never cleared.
extern char szMediaFile[kPathSize];
// Full path of ffplay.exe in the program's folder.
extern char szPlayerExe[kPathSize];
// The main window.
extern HWND hWndMain;

#endif
