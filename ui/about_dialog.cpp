#include <windows.h>

#include "common/app_state.h"
#include "common/res_string.h"
#include "res/resource.h"
#include "ui/dialogs.h"

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(hDlg, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void RunAboutDialog(HWND owner)
{
    DialogBoxParamA(hInst, MAKEINTRESOURCEA(IDD_ABOUTBOX), owner, AboutDlgProc, 0);
}
