// Drives a running duoscope.exe from another process, as a user's tool or a peer program
// would: starts programs, finds windows by title or owner, posts commands, clicks and
// reads controls, checks processes and the launch script. One action per call; the
// result goes to standard output and the exit code is 0 on success, 1 on failure.
//
//   duoctl run EXE [ARG]            starts EXE (ARG added to its command line as it is),
//                                   prints its pid, waits for it, ends with its exit code
//   duoctl main PID [MS]            waits for PID's visible main window; prints it
//   duoctl find TITLE [PID]         waits for a visible top-level window titled TITLE
//   duoctl gone TITLE [PID] [MS]    waits up to MS (default 0) until no such window shows
//   duoctl command HWND ID          posts WM_COMMAND ID
//   duoctl close HWND               posts WM_CLOSE
//   duoctl click HWND CTRL          posts BM_CLICK to control CTRL of HWND
//   duoctl check HWND CTRL          prints BM_GETCHECK of a control
//   duoctl select HWND CTRL INDEX   selects a combo box entry as a user would
//   duoctl cursel HWND CTRL         prints CB_GETCURSEL of a combo box
//   duoctl text HWND CTRL           prints a control's text (UTF-8)
//   duoctl settext HWND CTRL TEXT   sets a control's text
//   duoctl shown HWND CTRL          true when the control is visible
//   duoctl client HWND              prints the client area's width and height
//   duoctl ping HWND [MS]           true when the window's thread answers WM_NULL in MS
//   duoctl focus HWND               brings HWND to the foreground
//   duoctl foreground               prints the foreground window
//   duoctl running PID...           prints the pids that still run
//   duoctl end PID...               terminates these processes and all their descendants
//   duoctl script                   prints the launch script as the command interpreter
//                                   reads it (console code page), as UTF-8 in hex, or "missing"
//   duoctl handed PATH              prints PATH as duoscope hands it to the player
//   duoctl console PID              prints the text of the console of a child of PID
//
// Waits are bounded polls of 20 ms; the default limit is 10 s.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/code_page.h"
#include "common/path_size.h"
#include "playback/console_text.h"

static const char kMainClass[] = "DAZAZERODI";

static DWORD Number(const char *text)
{
    return static_cast<DWORD>(strtoul(text, nullptr, 0));
}

static HWND Handle(const char *text)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(strtoull(text, nullptr, 0)));
}

// Polls `found` every 20 ms for up to `limit` ms; returns its last result.
template <typename Probe> static auto Poll(Probe found, DWORD limit) -> decltype(found())
{
    const DWORD start = GetTickCount();
    for (;;) {
        auto result = found();
        if (result || GetTickCount() - start >= limit)
            return result;
        Sleep(20);
    }
}

struct WindowQuery {
    const char *title; // exact title, or null for the main window class
    DWORD processId;   // 0 for any process
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam)
{
    WindowQuery *query = reinterpret_cast<WindowQuery *>(lParam);
    if (!IsWindowVisible(hWnd))
        return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(hWnd, &owner);
    if (query->processId != 0 && owner != query->processId)
        return TRUE;
    wchar_t text[256], title[256];
    if (query->title != nullptr) {
        // In wide characters: the title (UTF-8) may hold letters beyond the ANSI code page.
        GetWindowTextW(hWnd, text, 256);
        if (MultiByteToWideChar(CP_UTF8, 0, query->title, -1, title, 256) <= 0 ||
            wcscmp(text, title) != 0)
            return TRUE;
    } else {
        char name[64];
        GetClassNameA(hWnd, name, sizeof name);
        if (strcmp(name, kMainClass) != 0)
            return TRUE;
    }
    query->found = hWnd;
    return FALSE;
}

static HWND FindVisible(const char *title, DWORD processId)
{
    WindowQuery query = {title, processId, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

static int PrintHandle(HWND hWnd)
{
    if (hWnd == nullptr)
        return 1;
    printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hWnd)));
    return 0;
}

// Takes EXE and ARG from the wide command line, so that names beyond the ANSI code page
// reach the program whole.
static int RunProgram()
{
    int argc = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3)
        return 2;
    std::wstring line = L"\"" + std::wstring(argv[2]) + L"\"";
    if (argc > 3)
        line += L" " + std::wstring(argv[3]);
    std::wstring folder = argv[2];
    folder.erase(folder.find_last_of(L'\\') + 1);
    LocalFree(argv);
    // Started detached and without inheriting anything, as from a desktop shell: the
    // program then has no console and no standard handles, so that every launch script
    // it runs gets a console window of its own (Wine hands a console-less program's
    // standard handles down to its console children otherwise), and no pipe of the
    // caller stays open after this tool has ended.
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
        SetHandleInformation(GetStdHandle(which), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        folder.c_str(), &startup, &process))
        return 1;
    CloseHandle(process.hThread);
    printf("%lu\n", process.dwProcessId);
    fflush(stdout);
    DWORD code = 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

static bool ProcessRunning(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr)
        return false;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

// Terminates the given processes and every process descended from them (a launch
// script's cmd.exe, its console host and the player), children first. Parents are
// known from the process list, also for children whose parent has ended.
static void EndProcessTrees(std::vector<DWORD> tree)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    std::vector<PROCESSENTRY32> all;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        all.push_back(entry);
    CloseHandle(snapshot);
    auto inTree = [&](DWORD id) {
        for (DWORD member : tree)
            if (member == id)
                return true;
        return false;
    };
    for (bool grown = true; grown;) {
        grown = false;
        for (const PROCESSENTRY32 &process : all)
            if (!inTree(process.th32ProcessID) && inTree(process.th32ParentProcessID)) {
                tree.push_back(process.th32ProcessID);
                grown = true;
            }
    }
    for (auto id = tree.rbegin(); id != tree.rend(); ++id)
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, *id)) {
            TerminateProcess(process, 9);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
}

// Prints the text in the console window of the first child of `parent` that has one (a
// launch script's cmd.exe), its lines trimmed, in UTF-8.
static int PrintConsole(DWORD parent)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    bool attached = false;
    FreeConsole();
    for (BOOL more = Process32First(snapshot, &entry); more && !attached;
         more = Process32Next(snapshot, &entry))
        attached = entry.th32ParentProcessID == parent && AttachConsole(entry.th32ProcessID);
    CloseHandle(snapshot);
    HANDLE screen =
        CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!attached || !GetConsoleScreenBufferInfo(screen, &info))
        return 1;
    for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
        wchar_t line[512];
        char utf8[2048];
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen, line, info.dwSize.X < 512 ? info.dwSize.X : 512,
                                    COORD{0, row}, &read);
        while (read > 0 && line[read - 1] == L' ')
            --read;
        int size = WideCharToMultiByte(CP_UTF8, 0, line, static_cast<int>(read), utf8, sizeof utf8,
                                       nullptr, nullptr);
        printf("%.*s\n", size, utf8);
    }
    return 0;
}

static int PrintScript()
{
    char path[MAX_PATH];
    DWORD length = GetTempPathA(sizeof path, path);
    if (length == 0 || length + sizeof "duoscope.bat" > sizeof path)
        return 1;
    strcat(path, "duoscope.bat");
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        printf("missing\n");
        return 0;
    }
    char bytes[4096];
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
    // The command interpreter reads the script in the console's code page: its text so
    // read, in UTF-8 like the scripts' own texts.
    wchar_t wide[4096];
    int letters = MultiByteToWideChar(CP_OEMCP, 0, bytes, static_cast<int>(read), wide, 4096);
    unsigned char utf8[16384];
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, letters, reinterpret_cast<char *>(utf8),
                                   sizeof utf8, nullptr, nullptr);
    for (int i = 0; i < size; ++i)
        printf("%02x", utf8[i]);
    printf("\n");
    return 0;
}

// Prints, in UTF-8, the form in which duoscope hands the path `utf8` to the player: its
// ANSI form (short where the ANSI code page lacks a letter), in a form that the console's
// code page holds (short where it lacks one), as the command interpreter reads it.
static int PrintHandedPath(const char *utf8)
{
    wchar_t wide[MAX_PATH];
    char ansi[kPathSize], console[kPathSize];
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, MAX_PATH) <= 0 ||
        !FormPasses(AnsiPathFromWide(wide, ansi, sizeof ansi)) ||
        !ConsolePath(ansi, console, sizeof console) ||
        MultiByteToWideChar(CP_ACP, 0, console, -1, wide, MAX_PATH) <= 0)
        return 1;
    char text[4 * MAX_PATH];
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr) <= 0)
        return 1;
    printf("%s\n", text);
    return 0;
}

static int PrintText(HWND control)
{
    if (control == nullptr)
        return 1;
    wchar_t wide[1024];
    LRESULT length = SendMessageW(control, WM_GETTEXT, sizeof wide / sizeof wide[0],
                                  reinterpret_cast<LPARAM>(wide));
    char utf8[4096];
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), utf8,
                                   sizeof utf8 - 1, nullptr, nullptr);
    utf8[size > 0 ? size : 0] = '\0';
    printf("%s\n", utf8);
    return 0;
}

static int SetText(HWND control, const char *text)
{
    if (control == nullptr)
        return 1;
    wchar_t wide[1024];
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, sizeof wide / sizeof wide[0]) == 0)
        return 1;
    return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide)) ? 0 : 1;
}

static int Run(int argc, char **argv)
{
    const std::string action = argv[1];
    char **args = argv + 2;
    const int count = argc - 2;
    const DWORD limit = 10000;
    if (action == "run" && count >= 1)
        return RunProgram();
    if (action == "main" && count >= 1)
        return PrintHandle(Poll([&] { return FindVisible(nullptr, Number(args[0])); },
                                count > 1 ? Number(args[1]) : limit));
    if (action == "find" && count >= 1)
        return PrintHandle(
            Poll([&] { return FindVisible(args[0], count > 1 ? Number(args[1]) : 0); }, limit));
    if (action == "gone" && count >= 1) {
        DWORD owner = count > 1 ? Number(args[1]) : 0;
        DWORD wait = count > 2 ? Number(args[2]) : 0;
        return Poll([&] { return FindVisible(args[0], owner) == nullptr; }, wait) ? 0 : 1;
    }
    if (action == "running") {
        for (int i = 0; i < count; ++i)
            if (ProcessRunning(Number(args[i])))
                printf("%s\n", args[i]);
        return 0;
    }
    if (action == "end") {
        std::vector<DWORD> roots;
        for (int i = 0; i < count; ++i)
            roots.push_back(Number(args[i]));
        EndProcessTrees(roots);
        return 0;
    }
    if (action == "handed" && count == 1)
        return PrintHandedPath(args[0]);
    if (action == "script")
        return PrintScript();
    if (action == "console" && count == 1)
        return PrintConsole(Number(args[0]));
    if (action == "foreground")
        return PrintHandle(GetForegroundWindow());
    if (count >= 1) {
        HWND hWnd = Handle(args[0]);
        if (!IsWindow(hWnd))
            return 1;
        HWND control = count >= 2 ? GetDlgItem(hWnd, static_cast<int>(Number(args[1]))) : nullptr;
        if (action == "command" && count == 2)
            return PostMessageA(hWnd, WM_COMMAND, Number(args[1]), 0) ? 0 : 1;
        if (action == "close")
            return PostMessageA(hWnd, WM_CLOSE, 0, 0) ? 0 : 1;
        if (action == "click" && control)
            return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : 1;
        if (action == "check" && control)
            return printf("%ld\n", static_cast<long>(SendMessageA(control, BM_GETCHECK, 0, 0))) < 0;
        if (action == "select" && count == 3 && control) {
            SendMessageA(control, CB_SETCURSEL, Number(args[2]), 0);
            SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(Number(args[1]), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(control));
            return 0;
        }
        if (action == "cursel" && control)
            return printf("%ld\n", static_cast<long>(SendMessageA(control, CB_GETCURSEL, 0, 0))) <
                   0;
        if (action == "text")
            return PrintText(control);
        if (action == "settext" && count == 3)
            return SetText(control, args[2]);
        if (action == "shown" && control)
            return IsWindowVisible(control) ? 0 : 1;
        if (action == "client") {
            RECT client;
            GetClientRect(hWnd, &client);
            printf("%ld %ld\n", client.right, client.bottom);
            return 0;
        }
        if (action == "ping") {
            DWORD_PTR result;
            DWORD wait = count > 1 ? Number(args[1]) : 2000;
            return SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, wait, &result) ? 0
                                                                                             : 1;
        }
        if (action == "focus")
            return SetForegroundWindow(hWnd) ? 0 : 1;
    }
    fprintf(stderr, "duoctl: cannot do %s\n", action.c_str());
    return 2;
}

int main()
{
    // The arguments in UTF-8 from the wide command line: the narrow one holds them in the
    // ANSI code page, which lacks letters that paths may have.
    int argc = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> texts;
    for (int i = 0; i < argc; ++i) {
        char utf8[4096];
        int size =
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8, sizeof utf8, nullptr, nullptr);
        texts.push_back(size > 0 ? utf8 : "");
    }
    LocalFree(wide);
    std::vector<char *> argv;
    for (std::string &text : texts)
        argv.push_back(&text[0]);
    if (argc < 2) {
        fprintf(stderr, "usage: duoctl ACTION [ARGS...]\n");
        return 2;
    }
    _setmode(_fileno(stdout), _O_BINARY);
    int result = Run(argc, argv.data());
    fflush(stdout);
    return result;
}
