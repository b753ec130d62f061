// The program's entry point.
#include <windows.h>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/paths.h"
#include "common/res_string.h"
#include "playback/player_process.h"
#include "res/resource.h"
#include "ui/main_window.h"

// Takes the media path from the wide command line (see CommandLineTail). A relative
// path is made absolute against the current folder, which the launch script does not
// share; a fully qualified one keeps every character. A path of five characters or fewer
// as typed is kept as typed, so that it plays neither at start nor on Replay. The path is
// kept in its ANSI form, or its short form where its name needs it; a path that has
// neither is not taken.
static void TakeMediaPath()
{
    wchar_t given[kPathSize];
    if (!MediaPathFromCommandLine(given, kPathSize, CommandLineTail(GetCommandLineW())) ||
        given[0] == L'\0')
        return;
    wchar_t full[kPathSize];
    const wchar_t *path = given;
    if (!IsFullyQualifiedPath(given) && IsPlayablePath(given)) {
        DWORD length = GetFullPathNameW(given, kPathSize, full, nullptr);
        if (length == 0 || length >= kPathSize)
            return;
        path = full;
    }
    TakeAnsiPath(path, szMediaFile, sizeof szMediaFile, nullptr, IDS_NAME_FILE);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    hInst = hInstance;
    TakeMediaPath();
    ProbeAhead();
    LoadStringA(hInstance, IDS_APP_TITLE, szTitle, sizeof szTitle);
    LoadStringA(hInstance, IDS_WINDOW_CLASS, szWindowClass, sizeof szWindowClass);
    RegisterMainWindowClass(hInstance);
    if (!CreateMainWindow(hInstance, nCmdShow))
        return 0;

    HACCEL accelerators = LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(IDC_DUOSCOPE));
    // The loop ends at WM_QUIT, and also should GetMessageA fail (-1), then with code 0.
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // The window has gone: the program ends once its last player has.
    WaitForEndingPlayers();
    return static_cast<int>(msg.wParam);
}
