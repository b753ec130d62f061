#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/res_string.h"
#include "common/text.h"
#include "res/resource.h"
#include "settings/player_settings.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/setting_controls.h"

OPENFILENAMEW ofnMedia;
wchar_t szOpenFile[kOpenFileSize];
wchar_t szOpenDir[kOpenFileSize];

// The dialog's title, and its filter list: four pairs of description and pattern, each
// text ending in a NUL, and one more NUL.
static wchar_t szOpenTitle[kResStringSize];
static wchar_t szMediaFilter[kResStringSize + 1];

// Loads string `id` (ASCII) as wide text; each '|' becomes a NUL, as a filter list has.
static void LoadWideText(unsigned id, wchar_t *out)
{
    const char *text = LoadResString(id);
    size_t i = 0;
    for (; text[i] != '\0'; ++i)
        out[i] = text[i] == '|' ? L'\0' : static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    out[i] = L'\0';
}

// Runs the platform's Open dialog. comdlg32 is loaded on the first Open rather than when
// the program starts: with the libraries it brings in, it is a large share of the
// start-up time. Without it the dialog fails, which callers take as a cancel. The
// dialog is the wide one: it returns every name as the file system spells it (the ANSI
// one returns '?' for each letter that the ANSI code page lacks).
static BOOL ShowOpenFileDialog(OPENFILENAMEW *ofn)
{
    using GetOpenFileNameFunction = BOOL(WINAPI *)(LPOPENFILENAMEW);
    static GetOpenFileNameFunction getOpenFileName;
    if (getOpenFileName == nullptr) {
        HMODULE comdlg = LoadLibraryA("comdlg32.dll");
        FARPROC function = comdlg ? GetProcAddress(comdlg, "GetOpenFileNameW") : nullptr;
        getOpenFileName =
            reinterpret_cast<GetOpenFileNameFunction>(reinterpret_cast<void (*)()>(function));
    }
    return getOpenFileName ? getOpenFileName(ofn) : FALSE;
}

void PrepareOpenDialog(HWND owner)
{
    ofnMedia.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofnMedia.hwndOwner = owner;
    ofnMedia.hInstance = hInst;
    ofnMedia.lpstrFile = szOpenFile;
    ofnMedia.nMaxFile = kOpenFileSize;
    ofnMedia.lpstrInitialDir = szOpenDir;
    ofnMedia.lpstrDefExt = L"mp4";
}

UINT_PTR CALLBACK OpenHookProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        ShowSettingControls(hDlg);
        return TRUE;
    case WM_COMMAND: {
        // Every click changes its setting at once. This pane's own rule for the layout
        // boxes: only a selection change counts, which comes only from the list (an arrow
        // key or a click in it), before the edit field shows the new entry; typed text
        // sends none.
        const int id = LOWORD(wParam);
        if ((id == IDC_STEREO_IN || id == IDC_STEREO_OUT) && HIWORD(wParam) != CBN_SELCHANGE)
            return TRUE;
        return StoreSettingControl(hDlg, id, LayoutReading::Selected) ? TRUE : FALSE;
    }
    }
    return FALSE;
}

void RunOpenDialog()
{
    const PlayerSettingsRecord before = PlayerSettings;
    ofnMedia.lpfnHook = OpenHookProc;
    ofnMedia.lpTemplateName = L"" OPNOPTIONS_NAME;
    LoadWideText(IDS_OPEN_TITLE, szOpenTitle);
    LoadWideText(IDS_OPEN_FILTER, szMediaFilter);
    ofnMedia.lpstrTitle = szOpenTitle;
    ofnMedia.lpstrFilter = szMediaFilter;
    ofnMedia.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_FILEMUSTEXIST |
                     OFN_EXPLORER | OFN_ENABLESIZING;
    // The dialog starts with the current media path as its file name, in its own buffer,
    // so that a failed dialog cannot damage szMediaFile.
    if (MultiByteToWideChar(CP_ACP, 0, szMediaFile, -1, szOpenFile, kOpenFileSize) <= 0)
        szOpenFile[0] = L'\0';
    if (!ShowOpenFileDialog(&ofnMedia)) {
        PlayerSettings = before;
        return;
    }
    // The next Open starts in the chosen file's folder, which ends where its name begins.
    const size_t folderLength = ofnMedia.nFileOffset < kOpenFileSize ? ofnMedia.nFileOffset : 0;
    memcpy(szOpenDir, szOpenFile, folderLength * sizeof *szOpenDir);
    szOpenDir[folderLength] = L'\0';
    char chosen[kPathSize];
    if (!TakeAnsiPath(szOpenFile, chosen, sizeof chosen, hWndMain, IDS_NAME_FILE)) {
        ShowFilmState(hWndMain); // the pane's settings hold
        return;
    }
    CopyText(szMediaFile, sizeof szMediaFile, chosen);
    PlayAndShow(hWndMain);
}
