#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/paths.h"
#include "common/res_string.h"
#include "common/text.h"
#include "playback/player_process.h"
#include "res/resource.h"
#include "settings/player_settings.h"
#include "ui/dialogs.h"
#include "ui/setting_controls.h"

#include <cstring>

OPENFILENAMEA ofnMedia;
char szOpenFile[kOpenFileSize];
char szOpenDir[kOpenFileSize];
// The chosen file's short (8.3) form when the ANSI code page cannot hold its name, for
// which the dialog itself returns '?' in place of each missing letter; else empty.
static char szOpenShortFile[kPathSize];

// Four pairs of description and pattern, each text ending in a NUL, and one more NUL.
static const char kMediaFilter[] =
    "Media Files\0"
    "*.jpg;*.jpeg;*.jps;*.gif;*.bmp;*.mpo;*.avi; *.qt; *.mov; *.mpg; *.mpeg; *.m1v; *.wmv; *.mp4\0"
    "Image Files\0"
    "*.jpg;*.jpeg;*.jps;*.gif;*.bmp\0"
    "Video Files\0"
    "*.avi; *.qt; *.mov; *.mpg; *.mpeg; *.m1v; *.wmv; *.mp4\0"
    "All Files (*.*)\0"
    "*.*;\0";

// Runs the platform's Open dialog. comdlg32 is loaded on the first Open rather than when
// the program starts: with the libraries it brings in, it is a large share of the
// start-up time. Without it the dialog fails, which callers take as a cancel.
static BOOL ShowOpenFileDialog(OPENFILENAMEA *ofn)
{
    using GetOpenFileNameFunction = BOOL(WINAPI *)(LPOPENFILENAMEA);
    static GetOpenFileNameFunction getOpenFileName;
    if (getOpenFileName == nullptr) {
        HMODULE comdlg = LoadLibraryA("comdlg32.dll");
        FARPROC function = comdlg ? GetProcAddress(comdlg, "GetOpenFileNameA") : nullptr;
        getOpenFileName =
            reinterpret_cast<GetOpenFileNameFunction>(reinterpret_cast<void (*)()>(function));
    }
    return getOpenFileName ? getOpenFileName(ofn) : FALSE;
}

void PrepareOpenDialog(HWND owner)
{
    ofnMedia.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofnMedia.hwndOwner = owner;
    ofnMedia.hInstance = hInst;
    ofnMedia.lpstrFile = szOpenFile;
    ofnMedia.nMaxFile = kOpenFileSize;
    ofnMedia.lpstrInitialDir = szOpenDir;
    ofnMedia.lpstrDefExt = "mp4";
}

// Notes in szOpenShortFile the short form of the file that the Open dialog `dialog` is
// about to return, where the ANSI code page cannot hold its name. The dialog holds the
// name in wide characters: the folder it shows and the text of its file name field.
static void NoteShortFormOfChoice(HWND dialog)
{
    szOpenShortFile[0] = '\0';
    static BYTE folderIds[4096];
    wchar_t folder[MAX_PATH];
    wchar_t name[kPathSize];
    HWND field = GetDlgItem(dialog, cmb13);
    if (field == nullptr)
        field = GetDlgItem(dialog, edt1);
    LRESULT idsSize = SendMessageW(dialog, CDM_GETFOLDERIDLIST, sizeof folderIds,
                                   reinterpret_cast<LPARAM>(folderIds));
    if (idsSize <= 0 || idsSize > static_cast<LRESULT>(sizeof folderIds) ||
        !SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(folderIds), folder) ||
        GetWindowTextW(field, name, kPathSize) <= 0)
        return;
    // A name with a drive or a leading backslash stands alone; others lie in the folder.
    const bool whole = name[0] == L'\\' || (name[0] != L'\0' && name[1] == L':');
    size_t folderLength = whole ? 0 : static_cast<size_t>(lstrlenW(folder));
    const bool separator = folderLength > 0 && folder[folderLength - 1] != L'\\';
    const size_t nameLength = static_cast<size_t>(lstrlenW(name));
    if (folderLength + separator + nameLength >= kPathSize)
        return;
    wchar_t path[kPathSize];
    memcpy(path, folder, folderLength * sizeof *path);
    if (separator)
        path[folderLength++] = L'\\';
    memcpy(path + folderLength, name, (nameLength + 1) * sizeof *path);
    if (CodePageLacksLetter(CP_ACP, path))
        AnsiPathFromWide(path, szOpenShortFile, sizeof szOpenShortFile);
}

UINT_PTR CALLBACK OpenHookProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        ShowSettingControls(hDlg);
        return TRUE;
    case WM_NOTIFY:
        if (lParam != 0 && reinterpret_cast<const NMHDR *>(lParam)->code == CDN_FILEOK)
            NoteShortFormOfChoice(GetParent(hDlg));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_FULLSCREEN:
            PlayerSettings.nFull = CheckState(hDlg, IDC_FULLSCREEN);
            return TRUE;
        case IDC_ORIGINAL:
            PlayerSettings.nOrg = CheckState(hDlg, IDC_ORIGINAL);
            return TRUE;
        case IDC_ERROR_CHECK:
            PlayerSettings.nERCHK = CheckState(hDlg, IDC_ERROR_CHECK);
            return TRUE;
        // A selection change comes only from the list (an arrow key or a click in it),
        // before the edit field shows the new entry; typed text sends none.
        case IDC_STEREO_IN:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                PlayerSettings.nStin = SelectedLayout(hDlg, IDC_STEREO_IN, PlayerSettings.nStin);
            return TRUE;
        case IDC_STEREO_OUT:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                PlayerSettings.nStout = SelectedLayout(hDlg, IDC_STEREO_OUT, PlayerSettings.nStout);
            return TRUE;
        case IDC_CPU_DECODE:
        case IDC_GPU_H264:
        case IDC_GPU_H265:
            PlayerSettings.nGPU = DecoderChoice(hDlg);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void RunOpenDialog()
{
    const PlayerSettingsRecord before = PlayerSettings;
    ofnMedia.lpfnHook = OpenHookProc;
    ofnMedia.lpTemplateName = OPNOPTIONS_NAME;
    ofnMedia.lpstrTitle = "Open Media File";
    ofnMedia.lpstrFilter = kMediaFilter;
    ofnMedia.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_FILEMUSTEXIST |
                     OFN_EXPLORER | OFN_ENABLESIZING;
    // The dialog starts with the current media path as its file name, in its own buffer,
    // so that a failed dialog cannot damage szMediaFile.
    CopyText(szOpenFile, sizeof szOpenFile, szMediaFile);
    szOpenShortFile[0] = '\0';
    if (!ShowOpenFileDialog(&ofnMedia)) {
        PlayerSettings = before;
        return;
    }
    const char *chosen = szOpenShortFile[0] != '\0' ? szOpenShortFile : szOpenFile;
    CopyText(szMediaFile, sizeof szMediaFile, chosen);
    InvalidateRect(hWndMain, nullptr, TRUE);
    DirectoryOfPath(szOpenDir, sizeof szOpenDir, chosen, IsAnsiLeadByte);
    PlayMedia();
}
