// Helpers of the dialog tests: a driver for modal dialogs of the test thread, the
// program's real main window, and the texts that the layout lists must show.
#ifndef DUOSCOPE_TESTS_DIALOG_SUPPORT_H
#define DUOSCOPE_TESTS_DIALOG_SUPPORT_H

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "res/string_entries.h"
#include "common/res_string.h"
#include "res/resource.h"
#include "support.h"
#include "ui/main_window.h"

// Runs `action` on the first visible top-level dialog of this thread captioned `title`,
// from a thread timer, which every modal loop dispatches; while the action returns false
// it is tried again on the next tick. Dialogs and message boxes still open 20 s after
// the driver started are cancelled, so that a failing test cannot hang; TimedOut() then
// tells.
class DialogDriver {
  public:
    DialogDriver(const std::string &title, std::function<bool(HWND)> action)
        : title_(title), action_(std::move(action)), start_(GetTickCount())
    {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, Tick);
    }
    ~DialogDriver()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogDriver(const DialogDriver &) = delete;
    DialogDriver &operator=(const DialogDriver &) = delete;

    bool Done() const { return done_; }
    bool TimedOut() const { return timedOut_; }

  private:
    struct Search {
        const std::string *title;
        HWND found;
    };

    static BOOL CALLBACK Match(HWND window, LPARAM lParam)
    {
        Search *search = reinterpret_cast<Search *>(lParam);
        char caption[256] = "";
        char className[64] = "";
        GetWindowTextA(window, caption, sizeof caption);
        GetClassNameA(window, className, sizeof className);
        if (IsWindowVisible(window) && *search->title == caption &&
            strcmp(className, "#32770") == 0) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver *driver = current_;
        if (driver == nullptr || driver->busy_)
            return;
        driver->busy_ = true;
        Search search{&driver->title_, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), Match, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr && !driver->done_)
            driver->done_ = driver->action_(search.found);
        if (GetTickCount() - driver->start_ > 20000) {
            driver->timedOut_ = true;
            EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
        }
        driver->busy_ = false;
    }

    // Cancels a visible dialog or message box of this thread.
    static BOOL CALLBACK CancelDialog(HWND window, LPARAM)
    {
        char className[64] = "";
        GetClassNameA(window, className, sizeof className);
        if (IsWindowVisible(window) && strcmp(className, "#32770") == 0)
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }

    inline static DialogDriver *current_ = nullptr;
    std::string title_;
    std::function<bool(HWND)> action_;
    DWORD start_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    bool done_ = false;
    bool timedOut_ = false;
};

// Paints `window` and its children at once, so that a screenshot shows them.
inline void PaintNow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

// A screenshot taken in steps from a driver's action: the first step paints the window,
// a later one saves it once the picture has had time to reach the screen (Wine hands
// window contents to the X server from the message loop). Step returns true when done.
struct PendingScreenshot {
    std::string name;
    DWORD paintedAt = 0;
    bool saved = false;

    bool Step(HWND window)
    {
        if (paintedAt == 0) {
            PaintNow(window);
            paintedAt = GetTickCount() | 1;
            return false;
        }
        if (GetTickCount() - paintedAt < 250)
            return false;
        saved = SaveWindowScreenshot(window, name);
        return true;
    }
};

// The program's main window, made once per test program by the real class and creation
// code (which load the settings, find the stand-in ffplay.exe beside the test program
// and prepare the Open dialog's record), at the top left of the screen.
inline HWND TestMainWindow()
{
    static HWND window = [] {
        LoadStringA(hInst, IDS_APP_TITLE, szTitle, sizeof szTitle);
        LoadStringA(hInst, IDS_WINDOW_CLASS, szWindowClass, sizeof szWindowClass);
        RegisterMainWindowClass(hInst);
        if (!CreateMainWindow(hInst, SW_SHOWNORMAL))
            return static_cast<HWND>(nullptr);
        HWND created = FindWindowA(szWindowClass, szTitle);
        SetWindowPos(created, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return created;
    }();
    return window;
}

// Marks the main window's client area as painted, after painting what is pending.
inline void ValidateMainWindow(HWND window)
{
    UpdateWindow(window);
    ValidateRect(window, nullptr);
}

// Whether the whole client area of `window` waits to be painted.
inline bool WholeClientInvalid(HWND window)
{
    RECT update;
    RECT client;
    GetClientRect(window, &client);
    return GetUpdateRect(window, &update, FALSE) && EqualRect(&update, &client);
}

// Whether any part of `window` waits to be painted.
inline bool AnyPartInvalid(HWND window)
{
    RECT update;
    return GetUpdateRect(window, &update, FALSE) != FALSE;
}

// Text of string `id` as the resource source holds it.
inline std::string SourceString(unsigned id)
{
    for (const StringEntry &entry : kStringEntries)
        if (entry.id == id)
            return entry.text;
    return "";
}

// The texts of `count` consecutive strings from `first`: what a layout list must show.
inline std::vector<std::string> SourceStrings(unsigned first, int count)
{
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(SourceString(first + static_cast<unsigned>(i)));
    return texts;
}

// The list entries of combo box `combo`, in order.
inline std::vector<std::string> ComboEntries(HWND combo)
{
    std::vector<std::string> texts;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[512] = "";
        if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

inline std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

// Chooses list entry `index` in a combo box the way the dialog learns of a choice.
inline void ChooseEntry(HWND dialog, int id, int index)
{
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Types `text` key by key into the edit field of combo box `id`, as the user does.
inline void TypeIntoCombo(HWND dialog, int id, const char *text)
{
    COMBOBOXINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    GetComboBoxInfo(GetDlgItem(dialog, id), &info);
    for (const char *c = text; *c != '\0'; ++c)
        SendMessageA(info.hwndItem, WM_CHAR, static_cast<unsigned char>(*c), 1);
}

// Presses a key in the edit field of combo box `id` (arrow keys move the selection).
inline void PressKeyInCombo(HWND dialog, int id, WPARAM key)
{
    COMBOBOXINFO info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    GetComboBoxInfo(GetDlgItem(dialog, id), &info);
    SendMessageA(info.hwndItem, WM_KEYDOWN, key, 1);
    SendMessageA(info.hwndItem, WM_KEYUP, key, 0xC0000001);
}

#endif
