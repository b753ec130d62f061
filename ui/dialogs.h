// The Settings, Open Media File and About dialogs. Win32.
#ifndef DUOSCOPE_UI_DIALOGS_H
#define DUOSCOPE_UI_DIALOGS_H

#include <windows.h>
#include <commdlg.h>

#include "common/path_size.h"

// Size of the Open dialog's own file buffer in wide characters, terminator included.
constexpr DWORD kOpenFileSize = kPathSize;

// The Open dialog's record, its file buffer, and the folder of the file chosen last, in
// wide characters as the dialog names them.
extern OPENFILENAMEW ofnMedia;
extern wchar_t szOpenFile[kOpenFileSize];
extern wchar_t szOpenDir[kOpenFileSize];

// Settings dialog (templates 104 and 105): OK and Replay store every setting, Replay
// also plays; CANCEL changes nothing.
INT_PTR CALLBACK SettingsDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the Settings dialog modally over `owner`, then repaints the owner.
void RunSettingsDialog(HWND owner);

// Fills the fixed fields of ofnMedia; called once while the main window is created.
void PrepareOpenDialog(HWND owner);

// Options pane of the Open dialog: every click changes PlayerSettings at once.
UINT_PTR CALLBACK OpenHookProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the Open Media File dialog. A chosen file becomes szMediaFile and plays with the
// pane's settings, unless its name cannot be handed to the player (then it is said so,
// and the current file stays); a cancel restores all six settings as they were.
void RunOpenDialog();

// About box: OK, Enter, Esc and the close box end it.
INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the About box modally over `owner`.
void RunAboutDialog(HWND owner);

#endif
