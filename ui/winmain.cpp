// The program's entry point.
#include <windows.h>

#include "common/app_state.h"
#include "common/paths.h"
#include "res/resource.h"
#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    MediaPathFromCommandLine(szMediaFile, sizeof szMediaFile, lpCmdLine);
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
