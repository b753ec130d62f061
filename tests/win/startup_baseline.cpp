// The least a Win32 program does to show what duoscope's main window shows first: a
// class, a 640 x 480 window and one painted line. The start-up benchmark's yardstick.
#include <windows.h>

static LRESULT CALLBACK BaselineWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hWnd, &paint);
        RECT client;
        GetClientRect(hWnd, &client);
        DrawTextA(hdc, "baseline", -1, &client, DT_CENTER);
        EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    WNDCLASSEXA wcex = {};
    wcex.cbSize = sizeof wcex;
    wcex.style = CS_HREDRAW | CS_VREDRAW;
    wcex.lpfnWndProc = BaselineWndProc;
    wcex.hInstance = hInstance;
    wcex.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wcex.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wcex.lpszClassName = "DuoscopeStartupBaseline";
    RegisterClassExA(&wcex);
    HWND hWnd =
        CreateWindowExA(0, wcex.lpszClassName, "baseline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 640, 480, nullptr, nullptr, hInstance, nullptr);
    if (hWnd == nullptr)
        return 1;
    ShowWindow(hWnd, nCmdShow);
    UpdateWindow(hWnd);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
