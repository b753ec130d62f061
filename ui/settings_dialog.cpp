#include <windows.h>

#include "common/app_state.h"
#include "common/res_string.h"
#include "playback/play_media.h"
#include "res/resource.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/setting_controls.h"

// Copies every control into PlayerSettings at once. This dialog's own rule for the
// layout boxes: a list entry counts only while the edit field still shows it.
static void StoreSettings(HWND hDlg)
{
    StoreSettingControls(hDlg, LayoutReading::Shown);
}

INT_PTR CALLBACK SettingsDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (szMediaFile[0] == '\0')
            ShowWindow(GetDlgItem(hDlg, IDC_REPLAY), SW_HIDE);
        ShowSettingControls(hDlg);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            StoreSettings(hDlg);
            EndDialog(hDlg, IDOK);
            return TRUE;
        case IDC_REPLAY:
            StoreSettings(hDlg);
            PlayMedia();
            EndDialog(hDlg, IDC_REPLAY);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void RunSettingsDialog(HWND owner)
{
    DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_SETTING), owner, SettingsDlgProc, 0);
    ShowFilmState(owner);
}
