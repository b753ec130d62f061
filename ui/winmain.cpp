// The program's entry point.
#include <windows.h>

#include <cstring>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/paths.h"
#include "res/resource.h"
#include "ui/main_window.h"

// Takes the media path from the command line. Where the ANSI code page cannot hold the
// text after the program's name, the path comes from the wide command line, in its
// short form where its name needs it; a path that has no ANSI form is not taken.
static void TakeMediaPath(const char *lpCmdLine)
{
    const wchar_t *tail = CommandLineTail(GetCommandLineW());
    if (!CodePageLacksLetter(CP_ACP, tail)) {
        MediaPathFromCommandLine(szMediaFile, sizeof szMediaFile, lpCmdLine);
        return;
    }
    size_t length = 0;
    const wchar_t *start = CommandLinePath(tail, length);
    wchar_t path[kPathSize];
    if (length >= kPathSize)
        return;
    memcpy(path, start, length * sizeof *path);
    path[length] = L'\0';
    AnsiPathFromWide(path, szMediaFile, sizeof szMediaFile);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    TakeMediaPath(lpCmdLine);
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
    return static_cast<int>(msg.wParam);
}
