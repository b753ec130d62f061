// The main window in this process: the real class, resources and window procedure,
// driven with messages; the stand-in ffplay.exe lies beside the test program.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/res_string.h"
#include "common/text.h"
#include "media/film.h"
#include "media/probe_run.h"
#include "playback/player_process.h"
#include "playback/view_graph.h"
#include "registry_fixture.h"
#include "res/resource.h"
#include "settings/format_catalogue.h"
#include "support.h"
#include "ui/main_window.h"
#include "subtitles/track_dump.h"
#include "ui/status_text.h"
#include "ui/track_menus.h"

namespace {

// A dialog seen by the CBT hook: its caption and its owner.
struct SeenDialog {
    std::string caption;
    HWND owner;
};

std::vector<SeenDialog> seenDialogs;
WPARAM closeCommand = IDCANCEL;

// Records every dialog box that becomes active and posts it the close command.
LRESULT CALLBACK CloseDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[32] = "";
        GetClassNameA(window, className, sizeof className);
        if (strcmp(className, "#32770") == 0 &&
            !(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
            char caption[128] = "";
            GetWindowTextA(window, caption, sizeof caption);
            seenDialogs.push_back({caption, GetWindow(window, GW_OWNER)});
            PostMessageA(window, WM_COMMAND, closeCommand, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Runs `action` with every dialog it opens closed by `command`; returns the dialogs seen.
template <typename Action>
std::vector<SeenDialog> WithDialogsClosedBy(WPARAM command, Action action)
{
    seenDialogs.clear();
    closeCommand = command;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CloseDialogs, nullptr, GetCurrentThreadId());
    action();
    UnhookWindowsHookEx(hook);
    return seenDialogs;
}

// WM_COMMAND wParams that reached the main window while it was subclassed.
std::vector<WPARAM> recordedCommands;

LRESULT CALLBACK RecordCommands(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        recordedCommands.push_back(wParam);
        return 0;
    }
    return CallWindowProcA(MainWndProc, hWnd, message, wParam, lParam);
}

// A drop handle as the shell builds it: a DROPFILES header and the ANSI paths.
HDROP MakeDrop(const std::vector<std::string> &paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string &path : paths)
        size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, size);
    DROPFILES *header = static_cast<DROPFILES *>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    char *text = reinterpret_cast<char *>(header + 1);
    for (const std::string &path : paths) {
        memcpy(text, path.c_str(), path.size() + 1);
        text += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// The client area as the screen shows it, one 0x00RRGGBB value per pixel, top row first.
struct ClientImage {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Dark(int x, int y) const
    {
        DWORD p = At(x, y);
        return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 128;
    }
};

// With `text`, the client area as the main window paints that status text instead.
ClientImage CaptureClient(HWND window, const char *text = nullptr)
{
    ClientImage image;
    RECT client;
    GetClientRect(window, &client);
    image.width = client.right;
    image.height = client.bottom;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (text) {
        FillRect(memory, &client, GetSysColorBrush(COLOR_WINDOW));
        DrawTextA(memory, text, -1, &client, DT_CENTER);
    } else {
        BitBlt(memory, 0, 0, image.width, image.height, source, 0, 0, SRCCOPY);
    }
    GdiFlush();
    const DWORD *first = static_cast<const DWORD *>(bits);
    image.pixels.assign(first, first + static_cast<size_t>(image.width) * image.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return image;
}

// Height of one line of text in a fresh paint context of the window.
int LineHeight(HWND window)
{
    HDC dc = GetDC(window);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(window, dc);
    return metrics.tmHeight;
}

// For each text line that fits in the client area, whether any dark pixel lies in it.
std::vector<bool> InkedLines(const ClientImage &image, int lineHeight)
{
    std::vector<bool> inked;
    for (int top = 0; top + lineHeight <= image.height; top += lineHeight) {
        bool any = false;
        for (int y = top; y < top + lineHeight && !any; ++y)
            for (int x = 0; x < image.width && !any; ++x)
                any = image.Dark(x, y);
        inked.push_back(any);
    }
    return inked;
}

// Numbers (from 1) of the lines with ink.
std::vector<int> InkedLineNumbers(HWND window)
{
    std::vector<bool> inked = InkedLines(CaptureClient(window), LineHeight(window));
    std::vector<int> numbers;
    for (size_t i = 0; i < inked.size(); ++i)
        if (inked[i])
            numbers.push_back(static_cast<int>(i) + 1);
    return numbers;
}

// Takes a WM_QUIT from this thread's queue; its exit code, or -1 when none was posted.
long long TakeQuit()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return -1;
    return static_cast<long long>(msg.wParam);
}

void SetMediaFile(const char *path)
{
    ASSERT_TRUE(CopyText(szMediaFile, sizeof szMediaFile, path));
}

class MainWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite()
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        LoadStringA(instance, IDS_APP_TITLE, szTitle, sizeof szTitle);
        LoadStringA(instance, IDS_WINDOW_CLASS, szWindowClass, sizeof szWindowClass);
        RegisterMainWindowClass(instance);
    }

    void SetUp() override
    {
        ASSERT_TRUE(DeleteSettingsKey());
        PlayerSettings = PlayerSettingsRecord{};
        CurrentFilm = Film{};
        szMediaFile[0] = '\0';
        hWndPlayer = nullptr;
        hWndMain = nullptr;
        ClearStandinLog();
        DeleteFileA(LaunchScriptFile().c_str());
    }

    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        TakeQuit();
        EndPlayerProcesses();
        DeleteSettingsKey();
        for (const std::string &file : clipFiles)
            DeleteFileA((clipFolder + file).c_str());
        RemoveDirectoryA(clipFolder.c_str());
    }

    // The stand-in player with the shipped ffprobe.exe and the auto-clips `clips` beside
    // it, in a folder of this test's own, for Auto's launches; "" when one is missing.
    std::string PlayerBesideClips(const std::vector<std::string> &clips)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        clipFolder = temp + ("duoscope-clips-" + std::to_string(GetCurrentProcessId())) + "\\";
        CreateDirectoryA(clipFolder.c_str(), nullptr);
        clipFiles = clips;
        clipFiles.push_back("ffprobe.exe");
        bool copied = CopyFileA((ProgramFolder() + "ffplay.exe").c_str(),
                                (clipFolder + "ffplay.exe").c_str(), FALSE);
        for (const std::string &file : clipFiles)
            copied = copied && CopyFileA((ProgramFolder() + "auto-clips\\" + file).c_str(),
                                         (clipFolder + file).c_str(), FALSE);
        clipFiles.push_back("ffplay.exe");
        EXPECT_TRUE(copied) << "no ffprobe.exe or clip: build the Windows player";
        return copied ? clipFolder : "";
    }

    HWND window = nullptr;
    std::string clipFolder;
    std::vector<std::string> clipFiles;

    // Creates the main window as the program does and waits until it has painted.
    HWND Create()
    {
        bool created = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
        window = hWndMain;
        EXPECT_TRUE(created);
        EXPECT_TRUE(IsWindow(window));
        WaitFor([this] { return !GetUpdateRect(window, nullptr, FALSE); }, 2000);
        return window;
    }
};

} // namespace

TEST_F(MainWindow, ClassAndWindowFromTheResources)
{
    EXPECT_STREQ("DAZAZERODI", szWindowClass);
    EXPECT_STREQ("duoscope", szTitle);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "DAZAZERODI", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), wc.style);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(MainWndProc), wc.lpfnWndProc);
    EXPECT_EQ(0, wc.cbClsExtra);
    EXPECT_EQ(0, wc.cbWndExtra);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), wc.hbrBackground);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), wc.hCursor);
    EXPECT_NE(nullptr, wc.hIcon);
    EXPECT_NE(nullptr, wc.hIconSm);
    EXPECT_EQ(MAKEINTRESOURCEA(IDC_DUOSCOPE), wc.lpszMenuName);

    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    char text[64] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    EXPECT_STREQ("duoscope", text);
    RECT outer;
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(640, outer.right - outer.left);
    EXPECT_EQ(480, outer.bottom - outer.top);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW),
              GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW);
    // The only extended style is the one of DragAcceptFiles.
    EXPECT_EQ(WS_EX_ACCEPTFILES,
              GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_WINDOWEDGE));
    EXPECT_NE(0u, GetClassLongPtrA(hwnd, GCLP_HICON));
    EXPECT_NE(0u, GetClassLongPtrA(hwnd, GCLP_HICONSM));
    EXPECT_EQ(ProgramFolder() + "ffplay.exe", szPlayerExe);

    // Menu 109 as the class brings it.
    HMENU bar = GetMenu(hwnd);
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(7, GetMenuItemCount(bar));
    auto label = [](HMENU menu, int position) {
        char item[64] = "";
        GetMenuStringA(menu, position, item, sizeof item, MF_BYPOSITION);
        return std::string(item);
    };
    EXPECT_EQ("File(&F)", label(bar, 0));
    EXPECT_EQ("Replay(&R)", label(bar, 1));
    EXPECT_EQ("Swap Eyes(&E)", label(bar, 2));
    EXPECT_EQ("Subtitles(&U)", label(bar, 3));
    EXPECT_EQ("Audio(&A)", label(bar, 4));
    EXPECT_EQ("View(&V)", label(bar, 5));
    EXPECT_EQ("Help(&H)", label(bar, 6));
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(nullptr, file);
    ASSERT_EQ(5, GetMenuItemCount(file));
    EXPECT_EQ("Open(&O)", label(file, 0));
    EXPECT_EQ(static_cast<UINT>(IDM_OPEN), GetMenuItemID(file, 0));
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ("Setting(&S)", label(file, 2));
    EXPECT_EQ(static_cast<UINT>(IDM_SETTING), GetMenuItemID(file, 2));
    EXPECT_TRUE(GetMenuState(file, 3, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ("Exit(&X)", label(file, 4));
    EXPECT_EQ(static_cast<UINT>(IDM_EXIT), GetMenuItemID(file, 4));
    // Replay and Swap Eyes are commands on the bar itself.
    EXPECT_EQ(nullptr, GetSubMenu(bar, 1));
    EXPECT_EQ(static_cast<UINT>(IDM_REPLAY), GetMenuItemID(bar, 1));
    EXPECT_EQ(static_cast<UINT>(IDM_SWAP_EYES), GetMenuItemID(bar, 2));
    // Subtitles and Audio, filled from the string table before any film.
    HMENU subtitles = GetSubMenu(bar, 3);
    ASSERT_EQ(4, GetMenuItemCount(subtitles));
    EXPECT_EQ("Off", label(subtitles, 0));
    EXPECT_EQ("Nearer\tN", label(subtitles, 2));
    EXPECT_EQ("Farther\tF", label(subtitles, 3));
    EXPECT_EQ(static_cast<UINT>(IDM_SUBS_FARTHER), GetMenuItemID(subtitles, 3));
    HMENU audio = GetSubMenu(bar, 4);
    ASSERT_EQ(1, GetMenuItemCount(audio));
    EXPECT_EQ("No audio track known", label(audio, 0));
    EXPECT_TRUE(GetMenuState(audio, 0, MF_BYPOSITION) & MF_GRAYED);
    // The View menu, made with the window: its commands in the order of the steps, greyed
    // while no sphere plays.
    HMENU view = GetSubMenu(bar, 5);
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(kViewStepCount, GetMenuItemCount(view));
    for (int step = 0; step < kViewStepCount; ++step) {
        EXPECT_EQ(LoadResString(IDS_MENU_VIEW_FIRST + step), label(view, step));
        EXPECT_EQ(static_cast<UINT>(IDM_VIEW_LEFT + step), GetMenuItemID(view, step));
        EXPECT_TRUE(GetMenuState(view, step, MF_BYPOSITION) & MF_GRAYED) << step;
    }
    HMENU help = GetSubMenu(bar, 6);
    ASSERT_NE(nullptr, help);
    ASSERT_EQ(1, GetMenuItemCount(help));
    EXPECT_EQ("About(&A) ...", label(help, 0));
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUT), GetMenuItemID(help, 0));
}

TEST_F(MainWindow, CommandsOpenTheirDialogsOverTheWindow)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));

    std::vector<SeenDialog> about = WithDialogsClosedBy(IDOK, [hwnd] {
        // The high word (1 from an accelerator) is not looked at.
        EXPECT_EQ(0, SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 1), 0));
    });
    ASSERT_EQ(1u, about.size());
    EXPECT_EQ("About", about[0].caption);
    EXPECT_EQ(hwnd, about[0].owner);

    std::vector<SeenDialog> open = WithDialogsClosedBy(
        IDCANCEL, [hwnd] { EXPECT_EQ(0, SendMessageA(hwnd, WM_COMMAND, IDM_OPEN, 0)); });
    ASSERT_EQ(1u, open.size());
    EXPECT_EQ("Open Media File", open[0].caption);
    EXPECT_EQ(hwnd, open[0].owner);
    EXPECT_EQ(nullptr, hWndPlayer);

    // However the Settings dialog ends, the whole client area is to be painted again.
    for (WPARAM ending : {IDCANCEL, IDOK}) {
        UpdateWindow(hwnd);
        ValidateRect(hwnd, nullptr);
        std::vector<SeenDialog> settings = WithDialogsClosedBy(
            ending, [hwnd] { EXPECT_EQ(0, SendMessageA(hwnd, WM_COMMAND, IDM_SETTING, 0)); });
        ASSERT_EQ(1u, settings.size()) << ending;
        EXPECT_EQ("Setting", settings[0].caption);
        EXPECT_EQ(hwnd, settings[0].owner);
        RECT client;
        GetClientRect(hwnd, &client);
        HRGN whole = CreateRectRgnIndirect(&client);
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(hwnd, update, FALSE);
        EXPECT_TRUE(EqualRgn(whole, update)) << "ended with " << ending;
        DeleteObject(whole);
        DeleteObject(update);
    }
}

TEST_F(MainWindow, UnknownCommandsGoToTheDefaultProcedureOnly)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    SetMediaFile("C:\\v\\clip.mp4");
    std::vector<SeenDialog> dialogs = WithDialogsClosedBy(IDCANCEL, [hwnd] {
        for (WORD id : {0, 1, 2, 103, 106, 109, 32770, 32782, 40000}) {
            LRESULT expected = DefWindowProcA(hwnd, WM_COMMAND, id, 0);
            EXPECT_EQ(expected, SendMessageA(hwnd, WM_COMMAND, id, 0)) << id;
        }
    });
    EXPECT_TRUE(dialogs.empty());
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, hWndPlayer) << "nothing may play";
    EXPECT_EQ(-1, TakeQuit());
}

TEST_F(MainWindow, ExitSavesDestroysAndQuitsWithZero)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    PlayerSettings = PlayerSettingsRecord{1, 1, 13, 32, 2, 0};
    EXPECT_EQ(0, SendMessageA(hwnd, WM_COMMAND, IDM_EXIT, 0));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(0, TakeQuit());
    EXPECT_EQ((std::vector<std::string>{"1", "1", "13", "32", "2", "0"}), StoredSettings());
}

TEST_F(MainWindow, CloseBoxSavesClosesThePlayerAndQuits)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    SetMediaFile("C:\\My Videos\\clip.mp4");
    SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0);
    ASSERT_NE(nullptr, hWndPlayer);
    ASSERT_TRUE(WaitForStandinStarts(1));
    const DWORD player = StandinStarts()[0].processId;
    ASSERT_TRUE(ProcessRunning(player));

    PlayerSettings = PlayerSettingsRecord{-1, 2, 3, 4, 5, 7};
    EXPECT_EQ(0, SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(0, TakeQuit());
    EXPECT_EQ((std::vector<std::string>{"-1", "2", "3", "4", "5", "7"}), StoredSettings());
    EXPECT_TRUE(WaitFor([player] { return !ProcessRunning(player); }));
}

// A player that leaves its console (as a program started by a player may) outlives the
// console's close: each way of ending a player still ends it, through its job. Each way
// follows a Replay that starts such a player; judged by the players still running.
TEST_F(MainWindow, PlayerThatLeftItsConsoleEndsEachWay)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"new launch",
         [hwnd] {
             HDROP drop = MakeDrop({"C:\\v\\detached next.mp4"});
             SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
         }},
        {"Replay", [hwnd] { SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0); }},
        {"Settings' Replay",
         [hwnd] {
             WithDialogsClosedBy(IDC_REPLAY,
                                 [hwnd] { SendMessageA(hwnd, WM_COMMAND, IDM_SETTING, 0); });
         }},
        {"close box", [hwnd] { SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto &way : ways) {
        SetMediaFile("C:\\v\\detached.mp4");
        const size_t before = StandinStarts().size();
        SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0);
        ASSERT_TRUE(WaitForStandinStarts(before + 1)) << way.first;
        const DWORD player = StandinStarts()[before].processId;
        way.second();
        EXPECT_TRUE(WaitFor([player] { return !ProcessRunning(player); })) << way.first;
        // The player that the way itself started runs on.
        const size_t left = IsWindow(hwnd) ? 1 : 0;
        EXPECT_TRUE(WaitFor([left] { return ProcessIds("ffplay.exe").size() == left; }))
            << way.first;
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MainWindow, ReplayPlaysOnlyPathsLongerThanFiveCharacters)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    for (const char *tooShort : {"", "a.mp4"}) {
        SetMediaFile(tooShort);
        EXPECT_EQ(0, SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0));
        EXPECT_EQ(nullptr, hWndPlayer) << '"' << tooShort << '"';
    }
    SetMediaFile("ab.mp4");
    EXPECT_EQ(0, SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0));
    EXPECT_NE(nullptr, hWndPlayer);
    ASSERT_TRUE(WaitForStandinStarts(1));
    const std::vector<StandinStart> starts = StandinStarts();
    ASSERT_EQ(1u, starts.size());
    const std::string &line = starts[0].commandLine;
    EXPECT_EQ(" \"ab.mp4\"", line.substr(line.size() - 9)) << line;
}

TEST_F(MainWindow, DropPlaysTheFirstFileAndComesToTheFront)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 700, 600, 100, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(WaitFor([other] { return GetForegroundWindow() == other; }, 2000));

    // The first path is short: a drop plays whatever its length.
    HDROP drop = MakeDrop({"C:\\x", "C:\\My Videos\\second.mp4", "C:\\third.mp4"});
    EXPECT_EQ(0, SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
    EXPECT_STREQ("C:\\x", szMediaFile);
    EXPECT_EQ(hwnd, GetForegroundWindow());
    EXPECT_NE(nullptr, hWndPlayer);
    ASSERT_TRUE(WaitForStandinStarts(1));
    // PlayMedia has returned for every launch; a second start would follow within moments.
    EXPECT_FALSE(WaitForStandinStarts(2, 1000));
    const std::vector<StandinStart> starts = StandinStarts();
    ASSERT_EQ(1u, starts.size());
    const std::string &line = starts[0].commandLine;
    EXPECT_EQ(" \"C:\\x\"", line.substr(line.size() - 7)) << line;
    DestroyWindow(other);
}

TEST_F(MainWindow, DroppedPathTooLongForTheBufferIsIgnored)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    SetMediaFile("C:\\kept.mp4");
    const std::string longest = "C:\\" + std::string(508, 'a');
    HDROP drop = MakeDrop({longest + "b"});
    EXPECT_EQ(0, SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
    EXPECT_STREQ("C:\\kept.mp4", szMediaFile);
    EXPECT_EQ(nullptr, hWndPlayer);
    // 511 characters still fit and play.
    drop = MakeDrop({longest});
    EXPECT_EQ(0, SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
    EXPECT_EQ(longest, szMediaFile);
    EXPECT_NE(nullptr, hWndPlayer);
}

TEST_F(MainWindow, AcceleratorsOfTable109)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_DUOSCOPE));
    ASSERT_NE(nullptr, table);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordCommands));

    struct Case {
        const char *what;
        UINT message;
        WPARAM key;
        LPARAM lParam;
        BYTE modifier; // virtual key held down, 0 for none
        int command;   // expected command id, 0 for none
    };
    const LPARAM alt = 1 << 29;
    const Case cases[] = {
        {"Alt+/", WM_SYSCHAR, '/', alt | 1, VK_MENU, IDM_ABOUT},
        {"Alt+?", WM_SYSCHAR, '?', alt | 1, VK_MENU, IDM_ABOUT},
        {"/ without Alt", WM_CHAR, '/', 1, 0, 0},
        {"syschar / without the Alt bit", WM_SYSCHAR, '/', 1, 0, 0},
        {"O", WM_KEYDOWN, 'O', 1, 0, IDM_OPEN},
        {"Ctrl+O", WM_KEYDOWN, 'O', 1, VK_CONTROL, 0},
        {"Shift+O", WM_KEYDOWN, 'O', 1, VK_SHIFT, 0},
        {"Alt+O", WM_SYSKEYDOWN, 'O', alt | 1, VK_MENU, 0},
        {"P", WM_KEYDOWN, 'P', 1, 0, 0},
        {"E", WM_KEYDOWN, 'E', 1, 0, IDM_SWAP_EYES},
        {"Ctrl+E", WM_KEYDOWN, 'E', 1, VK_CONTROL, 0},
    };
    for (const Case &c : cases) {
        BYTE keys[256] = {};
        if (c.modifier)
            keys[c.modifier] = 0x80;
        SetKeyboardState(keys);
        recordedCommands.clear();
        MSG msg = {hwnd, c.message, c.key, c.lParam, GetTickCount(), {0, 0}};
        int translated = TranslateAcceleratorA(hwnd, table, &msg);
        if (c.command) {
            EXPECT_NE(0, translated) << c.what;
            EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(c.command, 1)}, recordedCommands) << c.what;
        } else {
            EXPECT_EQ(0, translated) << c.what;
            EXPECT_TRUE(recordedCommands.empty()) << c.what;
        }
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWndProc));
}

TEST_F(MainWindow, PaintsTheStatusTextAndSavesAScreenshot)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    SetForegroundWindow(hwnd);

    // Default settings: the 21 lines of the status text, empty ones and blank ones
    // without ink, from the top edge down.
    EXPECT_EQ((std::vector<int>{2, 4, 5, 6, 9, 11, 13, 14, 15, 16, 17, 18, 19, 20, 21}),
              InkedLineNumbers(hwnd));
    ClientImage image = CaptureClient(hwnd);
    // The background is the system window colour (a pixel is 0x00RRGGBB, a COLORREF 0x00BBGGRR).
    const DWORD corner = image.At(0, image.height - 1);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW) & 0xFFFFFF,
              ((corner & 0xFF) << 16) | (corner & 0xFF00) | ((corner >> 16) & 0xFF));
    // The title line is centred: its advance is, and the ink lies within the advance as
    // the side bearings of the first and last letters put it, which depend on the font
    // (on the fonts installed and the language). The same line drawn at 0 in a bitmap
    // of its own shows where.
    const int lineHeight = LineHeight(hwnd);
    int left = image.width, right = -1;
    for (int y = lineHeight; y < 2 * lineHeight; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.Dark(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_LT(left, right);
    const char *title = LoadResString(IDS_STATUS_TITLE);
    HDC dc = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(dc);
    SIZE advance = {0, 0};
    GetTextExtentPoint32A(memory, title, static_cast<int>(strlen(title)), &advance);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, advance.cx, lineHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, advance.cx, lineHeight, WHITENESS);
    TextOutA(memory, 0, 0, title, static_cast<int>(strlen(title)));
    int inkStart = advance.cx, inkEnd = -1;
    for (int y = 0; y < lineHeight; ++y)
        for (int x = 0; x < advance.cx; ++x)
            if (COLORREF c = GetPixel(memory, x, y);
                GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128) {
                inkStart = std::min(inkStart, x);
                inkEnd = std::max(inkEnd, x);
            }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, dc);
    const int start = (image.width - advance.cx) / 2;
    EXPECT_EQ(start + inkStart, left);
    EXPECT_EQ(start + inkEnd, right);
    EXPECT_GT(right - left, image.width / 3);
    ASSERT_TRUE(SaveWindowScreenshot(hwnd, "main-window"));

    // Each paint reads the settings anew: the original picture has no format lines and
    // no empty line after its mode lines.
    PlayerSettings.nOrg = 1;
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    EXPECT_EQ((std::vector<int>{2, 4, 5, 7, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19}),
              InkedLineNumbers(hwnd));
}

// Swap Eyes plays the current file again with the other eye first, the stored layout or
// Auto's alike, and says so; the same command puts it back; a new file starts unswapped;
// for the original picture the command is greyed and does nothing.
TEST_F(MainWindow, SwapEyesMirrorsTheCurrentFileAndIsGreyedForTheOriginal)
{
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    const struct {
        int layout;
        const char *file;
        const char *code;
        const char *mirrored;
    } cases[] = {
        {0, "C:\\v\\clip.mp4", "stereo3d=sbsl:", "stereo3d=sbsr:"},
        {kAutoInputLayout, "C:\\v\\clip.H-OU.mp4", "stereo3d=ab2l:", "stereo3d=ab2r:"},
    };
    // Each command's launch, and the window showing its status text with or without the note.
    auto expect = [hwnd](const char *code, bool swapped) {
        const size_t count = StandinStarts().size();
        ASSERT_GT(count, 0u);
        const std::string line = StandinStarts()[count - 1].commandLine;
        EXPECT_NE(std::string::npos, line.find(code)) << line;
        char text[kStatusTextSize];
        ComposeStatusText(PlayerSettings.nFull, PlayerSettings.nOrg, PlayerSettings.nStin,
                          PlayerSettings.nStout, AutoChoiceOf(CurrentFilm, PlayerSettings),
                          LoadResString, text, sizeof text, swapped);
        EXPECT_EQ(swapped, strstr(text, " (eyes swapped)") != nullptr) << text;
        const std::vector<DWORD> drawn = CaptureClient(hwnd, text).pixels;
        EXPECT_TRUE(WaitFor([&] { return CaptureClient(hwnd).pixels == drawn; }, 2000)) << text;
        EXPECT_FALSE(GetMenuState(GetMenu(hwnd), IDM_SWAP_EYES, MF_BYCOMMAND) & MF_GRAYED);
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        PlayerSettings = PlayerSettingsRecord{};
        PlayerSettings.nStin = c.layout;
        SetMediaFile(c.file);
        ClearStandinLog();
        const std::pair<WPARAM, const char *> steps[] = {{IDM_REPLAY, c.code},
                                                         {IDM_SWAP_EYES, c.mirrored},
                                                         {IDM_REPLAY, c.mirrored},
                                                         {IDM_SWAP_EYES, c.code},
                                                         {IDM_SWAP_EYES, c.mirrored}};
        for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
            SendMessageA(hwnd, WM_COMMAND, steps[i].first, 0);
            ASSERT_TRUE(WaitForStandinStarts(i + 1)) << i;
            expect(steps[i].second, steps[i].second == c.mirrored);
        }
        HDROP drop = MakeDrop({std::string(c.file) + ".next.mp4"});
        SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        ASSERT_TRUE(WaitForStandinStarts(6));
        expect(c.code, false);
        EndPlayerProcesses();
    }
    // "Play Original Video" ticked in the Settings dialog.
    PlayerSettings.nOrg = 1;
    ClearStandinLog();
    WithDialogsClosedBy(IDOK, [hwnd] { SendMessageA(hwnd, WM_COMMAND, IDM_SETTING, 0); });
    EXPECT_EQ(1, PlayerSettings.nOrg);
    EXPECT_TRUE(GetMenuState(GetMenu(hwnd), IDM_SWAP_EYES, MF_BYCOMMAND) & MF_GRAYED);
    SendMessageA(hwnd, WM_COMMAND, IDM_SWAP_EYES, 0);
    EXPECT_FALSE(CurrentFilm.eyesSwapped);
    EXPECT_FALSE(WaitForStandinStarts(1, 1000));
}

// A swap never outlives what the user sees: Swap Eyes pressed under Auto before the
// file's choice is known, whose launch then plays the original picture (a 2D clip, with
// the shipped ffprobe.exe beside the stand-in player), is dropped, greyed and unsaid; a
// stored layout afterwards plays with the eyes as they are.
TEST_F(MainWindow, SwapEyesNeverOutlivesWhatTheUserSees)
{
    const std::string folder = PlayerBesideClips({"spiral.mp4"});
    ASSERT_FALSE(folder.empty());
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    CopyText(szPlayerExe, sizeof szPlayerExe, (folder + "ffplay.exe").c_str());
    SetMediaFile((folder + "spiral.mp4").c_str());
    auto lastCommand = [] { return StandinStarts().back().commandLine; };
    auto greyed = [hwnd] {
        return (GetMenuState(GetMenu(hwnd), IDM_SWAP_EYES, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0);
    ASSERT_TRUE(WaitForStandinStarts(1));
    EXPECT_NE(std::string::npos, lastCommand().find("stereo3d=sbsl:")) << lastCommand();
    // Auto chosen in the Settings dialog, no replay: the file's choice is not known yet.
    PlayerSettings.nStin = kAutoInputLayout;
    WithDialogsClosedBy(IDOK, [hwnd] { SendMessageA(hwnd, WM_COMMAND, IDM_SETTING, 0); });
    EXPECT_FALSE(greyed());
    SendMessageA(hwnd, WM_COMMAND, IDM_SWAP_EYES, 0);
    ASSERT_TRUE(WaitForStandinStarts(2, kProbeWaitMs + kWaitMs));
    EXPECT_EQ(std::string::npos, lastCommand().find("-vf")) << lastCommand();
    EXPECT_TRUE(greyed());
    EXPECT_FALSE(CurrentFilm.eyesSwapped);
    // The stored layout again, and Replay.
    PlayerSettings.nStin = kSbsParallel;
    WithDialogsClosedBy(IDOK, [hwnd] { SendMessageA(hwnd, WM_COMMAND, IDM_SETTING, 0); });
    EXPECT_FALSE(greyed());
    SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0);
    ASSERT_TRUE(WaitForStandinStarts(3));
    EXPECT_NE(std::string::npos, lastCommand().find("stereo3d=sbsl:")) << lastCommand();
}
// A spherical film's View commands: enabled by its launch; a step plays it again looking
// elsewhere, which the command line and the status text say; a step that leads nowhere
// plays nothing; greyed and idle for a flat film; a file selected anew starts again at
// its initial view (Auto's, from the file's metadata: 30 degrees to the right).
TEST_F(MainWindow, ViewMenuTurnsASphereAndIsGreyedForAFlatFilm)
{
    const std::string folder = PlayerBesideClips({"valley.mkv"});
    ASSERT_FALSE(folder.empty());
    HWND hwnd = Create();
    ASSERT_TRUE(IsWindow(hwnd));
    CopyText(szPlayerExe, sizeof szPlayerExe, (folder + "ffplay.exe").c_str());
    auto enabled = [hwnd] {
        int count = 0;
        for (int step = 0; step < kViewStepCount; ++step)
            count += !(GetMenuState(GetMenu(hwnd), IDM_VIEW_LEFT + step, MF_BYCOMMAND) & MF_GRAYED);
        return count;
    };
    // The launch number `starts` looks `yaw` degrees to the right, and the window says so.
    auto expect = [&](size_t starts, int yaw) {
        ASSERT_TRUE(WaitForStandinStarts(starts, kProbeWaitMs + kWaitMs));
        const std::string line = StandinStarts().back().commandLine;
        const std::string graph =
            "v360=input=hequirect:in_stereo=sbs:output=flat:out_stereo=sbs:yaw=" +
            std::to_string(yaw) + ":pitch=0:h_fov=90:";
        EXPECT_NE(std::string::npos, line.find(graph)) << line;
        const SphereView view{Sphere::HalfEquirectSbs, {yaw, 0, kDefaultViewFov}, 0, false};
        char text[kStatusTextSize];
        ComposeStatusText(PlayerSettings.nFull, PlayerSettings.nOrg, PlayerSettings.nStin,
                          PlayerSettings.nStout, AutoChoiceOf(CurrentFilm, PlayerSettings),
                          LoadResString, text, sizeof text, false, &view);
        const std::string words = "View ---> " + std::to_string(yaw) + " degrees right, 90";
        EXPECT_NE(nullptr, strstr(text, words.c_str())) << text;
        const std::vector<DWORD> drawn = CaptureClient(hwnd, text).pixels;
        EXPECT_TRUE(WaitFor([&] { return CaptureClient(hwnd).pixels == drawn; }, 2000)) << text;
        EXPECT_EQ(kViewStepCount, enabled());
    };
    PlayerSettings.nStin = kAutoInputLayout;
    SetMediaFile((folder + "valley.mkv").c_str());
    SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0);
    expect(1, 30);
    SendMessageA(hwnd, WM_COMMAND, IDM_VIEW_RIGHT, 0);
    expect(2, 45);
    // At the picture's edge: nothing to play; then a flat film.
    SendMessageA(hwnd, WM_COMMAND, IDM_VIEW_RIGHT, 0);
    PlayerSettings.nStin = kSbsParallel;
    SetMediaFile("C:\\v\\clip.mp4");
    SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0);
    ASSERT_TRUE(WaitForStandinStarts(3));
    EXPECT_EQ(std::string::npos, StandinStarts().back().commandLine.find("v360"));
    EXPECT_EQ(0, enabled());
    SendMessageA(hwnd, WM_COMMAND, IDM_VIEW_LEFT, 0);
    EXPECT_FALSE(WaitForStandinStarts(4, 1000));
    PlayerSettings.nStin = kAutoInputLayout;
    SetMediaFile((folder + "valley.mkv").c_str());
    SendMessageA(hwnd, WM_COMMAND, IDM_REPLAY, 0);
    expect(4, 30);
}
// A film with a side file and an embedded text track, two audio tracks (harbour.mkv and
// harbour.fr.srt, beside the shipped ffprobe.exe): the side file plays at once, the
// menus list what the background read found, a pick of the embedded track replays at
// once and again with its side file once made, Off drops the words, Nearer moves them
// (stored), and the Audio menu's pick hands the player -ast.
TEST_F(MainWindow, SubtitlesAndAudioFromTheMenus)
{
    const std::string clips = ProgramFolder() + "auto-clips\\";
    ASSERT_TRUE(FileExists(clips + "harbour.mkv")) << "tools/make_auto_clips.sh makes it";
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder =
        std::string(temp) + "duoscope-subs-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char *file : {"ffprobe.exe", "harbour.mkv", "harbour.fr.srt"})
        ASSERT_TRUE(CopyFileA((clips + file).c_str(), (folder + file).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "ffplay.exe").c_str(), (folder + "ffplay.exe").c_str(),
                          FALSE));
    HWND hwnd = Create();
    CopyText(szPlayerExe, sizeof szPlayerExe, (folder + "ffplay.exe").c_str());
    const std::string media = folder + "harbour.mkv";
    SetMediaFile(media.c_str());
    PlayerSettings.nStin = kHalfSbsParallel;
    PlayerSettings.nStout = 17;
    size_t starts = 0;
    auto play = [&](UINT command) {
        SendMessageA(hwnd, WM_COMMAND, command, 0);
        EXPECT_TRUE(WaitForStandinStarts(++starts));
        return StandinStarts().back().commandLine;
    };
    std::string command = play(IDM_REPLAY);
    EXPECT_NE(std::string::npos, command.find("subtitles=")) << command;
    EXPECT_NE(std::string::npos, command.find("harbour.fr.srt")) << command;
    // The track list, read in the background, fills the menus.
    ASSERT_TRUE(WaitFor([] { return CurrentFilm.tracks.listed; }));
    const TrackList &list = CurrentFilm.tracks.list;
    ASSERT_EQ(3, list.count);
    const int english = 2, french = 1; // the subtitle track, the second audio track
    ASSERT_EQ(TrackKind::TextSubtitle, list.tracks[english].kind);
    HMENU bar = GetMenu(hwnd);
    auto itemText = [bar](UINT id) {
        wchar_t text[128] = L"";
        GetMenuStringW(bar, id, text, 128, MF_BYCOMMAND);
        return Narrow(text);
    };
    auto checked = [bar](UINT id) {
        return (GetMenuState(bar, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_EQ("harbour.fr.srt", itemText(IDM_SUBS_SIDE_FIRST));
    EXPECT_TRUE(checked(IDM_SUBS_SIDE_FIRST));
    EXPECT_EQ("English (track 1)", itemText(IDM_SUBS_TRACK_FIRST + english));
    EXPECT_EQ("French, AAC mono (track 2)", itemText(IDM_AUDIO_TRACK_FIRST + french));
    EXPECT_TRUE(checked(IDM_AUDIO_TRACK_FIRST)) << "the player's own audio track";
    // The embedded track: its side file is made in the background (none from before),
    // then the film plays again with it.
    uint64_t size = 0, time = 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(media.c_str(), GetFileExInfoStandard, &data));
    size = data.nFileSizeLow;
    time = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
    char side[MAX_PATH];
    ASSERT_TRUE(BuildTrackFileName(temp, media.c_str(), size, time, 0, ".srt", side, sizeof side));
    DeleteFileA(side);
    command = play(IDM_SUBS_TRACK_FIRST + english);
    EXPECT_EQ(std::string::npos, command.find("subtitles=")) << command;
    EXPECT_EQ(ShownSubtitles::Pending, CurrentFilm.tracks.shown);
    EXPECT_TRUE(WaitForStandinStarts(++starts));
    command = StandinStarts().back().commandLine;
    EXPECT_NE(std::string::npos, command.find(side + strlen(temp))) << command;
    EXPECT_NE(std::string::npos, FileBytes(side).find("Hello harbour"));
    char label[kStatusLabelSize];
    const SubtitleStatus *status = TrackStatus(label);
    ASSERT_NE(nullptr, status);
    EXPECT_STREQ("English (track 1)", status->label);
    EXPECT_EQ(ShownSubtitles::Drawn, status->shown);
    // Off, stored; the command as without subtitles.
    command = play(IDM_SUBS_OFF);
    EXPECT_EQ(std::string::npos, command.find("subtitles=")) << command;
    EXPECT_NE(std::string::npos, command.find(" -vf stereo3d=sbs2l:arcd -x ")) << command;
    EXPECT_EQ(0, PlayerSettings.nSubs);
    EXPECT_TRUE(checked(IDM_SUBS_OFF));
    // The side file again, then Nearer: the words move, the depth is stored.
    const std::string flat = play(IDM_SUBS_SIDE_FIRST);
    EXPECT_EQ(1, PlayerSettings.nSubs);
    command = play(IDM_SUBS_NEARER);
    EXPECT_EQ(1, PlayerSettings.nSubDepth);
    EXPECT_NE(flat, command);
    EXPECT_NE(std::string::npos, command.find("harbour.fr.srt")) << command;
    // The French audio track.
    command = play(IDM_AUDIO_TRACK_FIRST + french);
    EXPECT_NE(std::string::npos, command.find(" -ast 2 \"")) << command;
    EXPECT_TRUE(checked(IDM_AUDIO_TRACK_FIRST + french));
    EndPlayerProcesses();
    DeleteFileA(side);
    for (const char *file : {"ffprobe.exe", "harbour.mkv", "harbour.fr.srt", "ffplay.exe"})
        DeleteFileA((folder + file).c_str());
    RemoveDirectoryA(folder.c_str());
}
