// Asks a running duoscope.exe to close, as its close box does: posts WM_CLOSE to the
// top-level window of its class. For tools/run.sh, whose program may show on a display
// that nobody sees. Exits with 0 when a window was asked, 1 when there was none.
//
//   close_program.exe
#include <windows.h>

#include "res/resource.h"
#include "res/string_entries.h"

int main()
{
    // The main window's class, as the string table names it.
    HWND window = FindWindowA(StringEntryText(IDS_WINDOW_CLASS), nullptr);
    return window != nullptr && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}
