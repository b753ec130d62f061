// The built duoscope.exe, run as its own process from a fresh folder and watched from
// outside: its windows, its message box, its child processes, its exit code.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/code_page.h"
#include "common/res_string.h"
#include "media/auto_probe.h"
#include "media/probe_run.h"
#include "registry_fixture.h"
#include "support.h"
#include "ui/status_text.h"

namespace {

// What lies beside the program in its folder under the name ffplay.exe.
enum class Player { None, StandIn, Folder };

// A visible top-level window of the main window's class that belongs to `processId`.
struct WindowSearch {
    DWORD processId;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner != search->processId || strcmp(className, "DAZAZERODI") != 0 ||
        (search->visibleOnly && !IsWindowVisible(window)))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND MainWindowOf(DWORD processId, bool visibleOnly)
{
    WindowSearch search{processId, visibleOnly, nullptr};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Ids of the running cmd.exe processes started by `parentId`.
std::vector<DWORD> CommandInterpretersOf(DWORD parentId)
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ParentProcessID == parentId && _stricmp(entry.szExeFile, "cmd.exe") == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

// The dark pixels of the window's client area, top row first: what the screen shows, or
// `text` drawn centred on the window colour, as the main window draws its status text.
std::vector<bool> DarkPixels(HWND window, const char *text = nullptr)
{
    RECT area;
    GetClientRect(window, &area);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {
        sizeof info.bmiHeader, area.right, -area.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(memory, bitmap);
    if (text) {
        FillRect(memory, &area, GetSysColorBrush(COLOR_WINDOW));
        DrawTextA(memory, text, -1, &area, DT_CENTER);
    } else {
        BitBlt(memory, 0, 0, area.right, area.bottom, screen, origin.x, origin.y, SRCCOPY);
    }
    GdiFlush();
    std::vector<bool> dark;
    const DWORD *p = static_cast<const DWORD *>(bits);
    for (const DWORD *end = p + area.right * area.bottom; p < end; ++p)
        dark.push_back(((*p >> 16) & 0xFF) + ((*p >> 8) & 0xFF) + (*p & 0xFF) < 3 * 128);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return dark;
}

class Program : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(DeleteSettingsKey());
        ClearStandinLog();
        EndLaunches();
        char path[MAX_PATH];
        GetTempPathA(sizeof path, path);
        temp = path;
        folder = temp + "duoscope-run-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "duoscope.exe").c_str(),
                              (folder + "duoscope.exe").c_str(), FALSE));
    }

    void TearDown() override
    {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.hProcess, 1);
                WaitForSingleObject(process.hProcess, 5000);
            }
            CloseHandle(process.hProcess);
        }
        EndPlayerProcesses();
        DeleteFileA((folder + "duoscope.exe").c_str());
        DeleteFileA((folder + "ffplay.exe").c_str());
        DeleteFileA((folder + "ffprobe.exe").c_str());
        RemoveDirectoryA((folder + "ffplay.exe").c_str());
        RemoveDirectoryA(folder.c_str());
        DeleteSettingsKey();
    }

    // Ends the players and their interpreters, and waits until the launch script is
    // gone: Wine's interpreter holds it open while it ends (slowly under emulation), and
    // a launch meanwhile could not write its own.
    static void EndLaunches()
    {
        EndPlayerProcesses();
        DeleteFileA(LaunchScriptFile().c_str());
        ASSERT_TRUE(WaitFor([] { return !FileExists(LaunchScriptFile()); }));
    }

    // Starts the copy of the program with `tail` after its quoted name, in the current
    // folder `current` (the temporary folder when empty).
    void Start(Player player, const std::string &tail, const std::string &current = "")
    {
        const std::string beside = folder + "ffplay.exe";
        if (player == Player::StandIn) {
            ASSERT_TRUE(CopyFileA((ProgramFolder() + "ffplay.exe").c_str(), beside.c_str(), FALSE));
        } else if (player == Player::Folder) {
            ASSERT_TRUE(CreateDirectoryA(beside.c_str(), nullptr));
        }
        std::string commandLine = "\"" + folder + "duoscope.exe\" " + tail;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        // The current folder is another one: the player is looked for beside the program.
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   (current.empty() ? temp : current).c_str(), &startup, &process));
        CloseHandle(process.hThread);
    }

    // Waits until the main window is shown; the window, or null when it never was.
    HWND WaitForMainWindow()
    {
        HWND window = nullptr;
        const DWORD id = process.dwProcessId;
        WaitFor([&window, id] { return (window = MainWindowOf(id, true)) != nullptr; });
        return window;
    }

    // Closes the main window as its close box does and returns the exit code.
    DWORD CloseAndWait(HWND window)
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = 259;
        if (WaitForSingleObject(process.hProcess, kWaitMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    std::string temp;
    std::string folder;
    PROCESS_INFORMATION process = {};
};

} // namespace

TEST_F(Program, WithoutThePlayerWarnsSavesAndEndsWithoutShowingItsWindow)
{
    PutText("nFull", "1");
    PutText("nStout", "17");
    Start(Player::None, "C:\\Videos\\clip.mp4");
    HWND box = nullptr;
    bool mainShown = false;
    const DWORD id = process.dwProcessId;
    WaitFor([&] {
        mainShown = mainShown || MainWindowOf(id, true) != nullptr;
        box = FindWindowA("#32770", "Can not find ffplay.exe");
        return box != nullptr;
    });
    ASSERT_NE(nullptr, box);
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    EXPECT_EQ(id, owner);
    wchar_t text[128] = L"";
    SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"Put in ffplay.exe in the duoscope folder", text);
    EXPECT_NE(nullptr, GetDlgItem(box, IDOK));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDCANCEL)));
    // The box is owned by the main window, which exists but is hidden.
    HWND hidden = MainWindowOf(id, false);
    EXPECT_NE(nullptr, hidden);
    EXPECT_EQ(hidden, GetWindow(box, GW_OWNER));

    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, kWaitMs));
    DWORD code = 259;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(mainShown || MainWindowOf(id, true));
    // The loaded settings are written back, all six.
    EXPECT_EQ((std::vector<std::string>{"1", "0", "0", "17", "0", "0"}), StoredSettings());
    EXPECT_FALSE(FileExists(LaunchScriptFile()));
    EXPECT_TRUE(CommandInterpretersOf(id).empty());
}

TEST_F(Program, FolderNamedLikeThePlayerPassesTheCheck)
{
    Start(Player::Folder, "");
    HWND window = WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(nullptr, FindWindowA("#32770", "Can not find ffplay.exe"));
    EXPECT_EQ(0u, CloseAndWait(window));
}

TEST_F(Program, QuotedPathWithBlanksReachesThePlayerAsOneArgument)
{
    Start(Player::StandIn, "\"C:\\My Videos\\a.mp4\"");
    HWND window = WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    // Playback starts while the window is created, before it is shown.
    EXPECT_EQ(1u, CommandInterpretersOf(process.dwProcessId).size());
    ASSERT_TRUE(WaitForStandinStarts(1));
    const StandinStart start = StandinStarts()[0];
    std::vector<std::wstring> arguments = Arguments(start.commandLine);
    ASSERT_GE(arguments.size(), 2u);
    EXPECT_EQ(L"C:\\My Videos\\a.mp4", arguments.back()) << start.commandLine;
    const std::string quoted = " \"C:\\My Videos\\a.mp4\"";
    ASSERT_GT(start.commandLine.size(), quoted.size());
    EXPECT_EQ(quoted, start.commandLine.substr(start.commandLine.size() - quoted.size()));

    EXPECT_EQ(0u, CloseAndWait(window));
    const DWORD player = start.processId;
    EXPECT_TRUE(WaitFor([player] { return !ProcessRunning(player); }));
}

// A player that has left its console ends with the program all the same: the program
// exits with no player left.
TEST_F(Program, ClosingEndsAPlayerThatLeftItsConsole)
{
    Start(Player::StandIn, "C:\\v\\detached.mp4");
    HWND window = WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(WaitForStandinStarts(1));
    const DWORD player = StandinStarts()[0].processId;
    EXPECT_EQ(0u, CloseAndWait(window));
    EXPECT_TRUE(WaitFor([player] { return !ProcessRunning(player); }));
    EXPECT_TRUE(ProcessIds("ffplay.exe").empty());
}

// The launch script runs in the temporary folder: a relative path of six characters is
// made absolute against the program's current folder first.
TEST_F(Program, RelativePathPlaysTheFileOfTheCurrentFolder)
{
    const std::string clips = folder + "clips\\";
    ASSERT_TRUE(CreateDirectoryA(clips.c_str(), nullptr));
    ASSERT_TRUE(CreateEmptyFile(Wide(clips + "ab.mp4")));
    Start(Player::StandIn, "ab.mp4", clips);
    HWND window = WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(WaitForStandinStarts(1));
    const StandinStart start = StandinStarts()[0];
    EXPECT_EQ(Wide(clips + "ab.mp4"), Arguments(start.commandLine).back()) << start.commandLine;
    EXPECT_EQ(0u, CloseAndWait(window));
    const DWORD player = start.processId;
    EXPECT_TRUE(WaitFor([player] { return !ProcessRunning(player); }));
    DeleteFileA((clips + "ab.mp4").c_str());
    RemoveDirectoryA(clips.c_str());
}

TEST_F(Program, ShortOrOverlongCommandLinePlaysNothing)
{
    // The length rule holds for the text as typed: a relative name of five characters, or
    // a short word, does not play in the current folder's absolute form.
    for (const std::string &tail : {std::string("C:\\ab"), std::string("a.mp4"), std::string("-h"),
                                    "C:\\" + std::string(600, 'a')}) {
        SCOPED_TRACE(tail);
        Start(Player::StandIn, tail);
        HWND window = WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        // A launch would have started its interpreter before the window was shown.
        EXPECT_TRUE(CommandInterpretersOf(process.dwProcessId).empty());
        EXPECT_EQ(0u, CloseAndWait(window));
        EXPECT_TRUE(StandinStarts().empty());
        CloseHandle(process.hProcess);
        process = {};
        DeleteFileA((folder + "ffplay.exe").c_str());
    }
}

// The program unzipped into a folder with an accented name finds its player there, and a
// name on its command line that no ANSI code page holds whole (1252 lacks 映画, 932 lacks
// é) plays: each reaches the player as a path that names its file. Typed at a prompt,
// the program's path comes unquoted: its accented letter does not end it, and without a
// file nothing plays.
TEST_F(Program, AccentedFolderAndNameBeyondTheAnsiCodePagePlay)
{
    const std::wstring dir =
        Wide(temp) + L"vid\u00e9os-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    const std::wstring media = dir + L"\u6620\u753b \u00e9t\u00e9 3D.mp4";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    for (const char *name : {"duoscope.exe", "ffplay.exe"})
        ASSERT_TRUE(
            CopyFileW(Wide(ProgramFolder() + name).c_str(), (dir + Wide(name)).c_str(), FALSE));
    ASSERT_TRUE(CreateEmptyFile(media));
    ASSERT_TRUE(CreateEmptyFile(dir + L"clip.mp4"));
    const std::wstring lines[][2] = {
        {L"\"" + dir + L"duoscope.exe\" \"" + media + L"\"", media},
        {dir + L"duoscope.exe " + dir + L"clip.mp4", dir + L"clip.mp4"},
        {dir + L"duoscope.exe", L""},
    };
    for (const auto &line : lines) {
        SCOPED_TRACE(Narrow(line[0], CP_UTF8));
        ClearStandinLog();
        std::wstring commandLine = line[0];
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   Wide(temp).c_str(), &startup, &process));
        CloseHandle(process.hThread);
        HWND window = WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        if (line[1].empty()) {
            EXPECT_TRUE(CommandInterpretersOf(process.dwProcessId).empty());
        } else {
            ASSERT_TRUE(WaitForStandinStarts(1));
            const std::vector<std::wstring> arguments = Arguments(StandinStarts()[0].commandLine);
            ASSERT_GE(arguments.size(), 2u);
            EXPECT_EQ(dir + L"ffplay.exe", LongPath(arguments.front()));
            EXPECT_EQ(line[1], LongPath(arguments.back())) << StandinStarts()[0].commandLine;
        }
        EXPECT_EQ(0u, CloseAndWait(window));
        EndLaunches();
        EXPECT_TRUE(StandinStarts().size() == (line[1].empty() ? 0u : 1u));
        CloseHandle(process.hProcess);
        process = {};
    }
    for (const wchar_t *name :
         {L"duoscope.exe", L"ffplay.exe", L"clip.mp4", L"\u6620\u753b \u00e9t\u00e9 3D.mp4"})
        DeleteFileW((dir + name).c_str());
    RemoveDirectoryW(dir.c_str());
}

// With Auto stored, the input layout comes from the name on the command line, and the
// status text, as the screen shows it, names the tag that decided it.
TEST_F(Program, AutoTakesTheLayoutFromTheNameAndTheStatusTextSaysWhy)
{
    PutText("nStin", std::to_string(kAutoInputLayout));
    PutText("nStout", "17");
    const char name[] = "x.3D.HSBS.mp4";
    Start(Player::StandIn, name);
    HWND window = WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(WaitForStandinStarts(1));
    const std::string command = StandinStarts()[0].commandLine;
    EXPECT_NE(std::string::npos, command.find(" -vf stereo3d=sbs2l:arcd -x ")) << command;

    auto status = [](const char *media) {
        const AutoChoice choice = ChooseAutoLayout(media, IsAnsiLeadByte, nullptr);
        char text[kStatusTextSize];
        ComposeStatusText(0, 0, kAutoInputLayout, 17, &choice, LoadResString, text, sizeof text);
        return std::string(text);
    };
    const std::string named = status(name);
    EXPECT_NE(std::string::npos, named.find("HSBS")) << named;
    const std::vector<bool> expected = DarkPixels(window, named.c_str());
    EXPECT_NE(expected, DarkPixels(window, status("x.3D.mp4").c_str()));
    EXPECT_TRUE(WaitFor([&] { return DarkPixels(window) == expected; }));
    SaveWindowScreenshot(window, "main-window-auto");
    EXPECT_EQ(0u, CloseAndWait(window));
    EXPECT_EQ(std::to_string(kAutoInputLayout), StoredSettings()[2]);

    // A name handed over in its short form is read in its long form.
    EndLaunches();
    CloseHandle(process.hProcess);
    process = {};
    ClearStandinLog();
    const std::wstring media = Wide(temp) + L"\u6620\u753b x.H-OU.mp4";
    wchar_t shortForm[MAX_PATH];
    ASSERT_TRUE(CreateEmptyFile(media));
    ASSERT_GT(GetShortPathNameW(media.c_str(), shortForm, MAX_PATH), 0u);
    Start(Player::StandIn, Narrow(shortForm));
    window = WaitForMainWindow();
    ASSERT_TRUE(WaitForStandinStarts(1));
    EXPECT_NE(std::string::npos, StandinStarts()[0].commandLine.find(" stereo3d=ab2l:arcd "))
        << StandinStarts()[0].commandLine;
    EXPECT_EQ(0u, CloseAndWait(window));
    DeleteFileW(media.c_str());
}

// With Auto stored and the shipped ffprobe.exe beside the player, untagged files play in
// the layout that the file itself says, or where it says nothing its picture shows
// (tools/make_auto_clips.sh made them), with the options they need, and the status text
// says why. Also times the probe: the first choice for a file runs it, the next one
// remembers its answer.
TEST_F(Program, AutoReadsUntaggedFilesWithTheShippedProbe)
{
    const std::string clips = ProgramFolder() + "auto-clips\\";
    ASSERT_TRUE(FileExists(clips + "ffprobe.exe"))
        << "no ffprobe.exe in " << clips << ": build the Windows player (tools/build_ffplay.sh)";
    ASSERT_TRUE(
        CopyFileA((clips + "ffprobe.exe").c_str(), (folder + "ffprobe.exe").c_str(), FALSE));
    PutText("nStin", std::to_string(kAutoInputLayout));
    PutText("nStout", "17");
    const struct {
        const char *file;
        const char *options; // from the filter to the media path
        const char *reason;
    } cases[] = {
        {"garden.mkv", "-vf stereo3d=ab2l:arcd -x", "(Auto: top and bottom in the file)"},
        {"packed.mp4", "-vf stereo3d=sbsl:arcd -x", "(Auto: side by side in the file)"},
        {"photo.mpo", "-vf stereo3d=al:arcd -x", "(Auto: 3D photo)"},
        {"canyon.mp4", "-vf stereo3d=sbs2l:arcd -x", "(Auto: the picture, side by side)"},
        {"tower.mp4", "-vf stereo3d=ab2l:arcd -x", "(Auto: the picture, top and bottom)"},
        {"spiral.mp4", "-x", "(Auto: the picture, 2D)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        ClearStandinLog();
        Start(Player::StandIn, "\"" + clips + c.file + "\"");
        HWND window = WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        // (The launch may first wait out the probes' own bound.)
        ASSERT_TRUE(WaitForStandinStarts(1, kProbeWaitMs + kWaitMs));
        const std::string command = StandinStarts()[0].commandLine;
        EXPECT_NE(std::string::npos, command.find(std::string(" ") + c.options + " ")) << command;
        const bool photo = strcmp(c.file, "photo.mpo") == 0;
        EXPECT_EQ(photo, command.find(" -f mjpeg \"") != std::string::npos) << command;
        EXPECT_EQ(strchr(c.options, '=') != nullptr, command.find("-vf") != std::string::npos);

        // The status text on the screen is the one of the choice made in this process.
        const std::string media = clips + c.file;
        Film film{};
        SelectFilm(film, media.c_str());
        const DWORD start = GetTickCount();
        ChooseAutoLayoutFor(film, (folder + "ffplay.exe").c_str());
        const AutoChoice choice = film.choice;
        const DWORD cold = GetTickCount() - start;
        ChooseAutoLayoutFor(film, (folder + "ffplay.exe").c_str());
        const DWORD remembered = GetTickCount() - start - cold;
        printf("%s: first choice %lu ms, remembered %lu ms\n", c.file, cold, remembered);
        char text[kStatusTextSize];
        ComposeStatusText(0, 0, kAutoInputLayout, 17, &choice, LoadResString, text, sizeof text);
        EXPECT_NE(nullptr, strstr(text, c.reason)) << text;
        const std::vector<bool> expected = DarkPixels(window, text);
        EXPECT_TRUE(WaitFor([&] { return DarkPixels(window) == expected; }));
        EXPECT_EQ(0u, CloseAndWait(window));
        EndLaunches();
        CloseHandle(process.hProcess);
        process = {};
        DeleteFileA((folder + "ffplay.exe").c_str());
    }
}

// No probe outlives the program: the program ended (as by a crash) while its probes,
// which would never end, are running takes them with it.
TEST_F(Program, ProbesEndWithTheProgram)
{
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "ffplay.exe").c_str(),
                          (folder + "ffprobe.exe").c_str(), FALSE));
    PutText("nStin", std::to_string(kAutoInputLayout));
    const std::string film = folder + "untagged.mp4";
    ASSERT_TRUE(CreateEmptyFile(Wide(film)));
    Start(Player::StandIn, "\"" + film + "\"");
    ASSERT_TRUE(WaitFor([] { return ProcessIds("ffprobe.exe").size() == 2; }));
    TerminateProcess(process.hProcess, 1);
    EXPECT_TRUE(WaitFor([] { return ProcessIds("ffprobe.exe").empty(); }));
    DeleteFileA(film.c_str());
}

// A film that Auto decided is remembered across runs: a new start of the program plays
// it as decided, with the reason the status text gave, and without any probe (the
// stand-in, put in the probe's place, is never started); once the file has changed, it
// is asked again (the stand-in probe starts, twice, and is ended after its wait).
TEST_F(Program, AutoRemembersAFilmAcrossRuns)
{
    const std::string clips = ProgramFolder() + "auto-clips\\";
    ASSERT_TRUE(FileExists(clips + "ffprobe.exe"))
        << "no ffprobe.exe in " << clips << ": build the Windows player (tools/build_ffplay.sh)";
    const std::string film = folder + "canyon.mp4";
    ASSERT_TRUE(CopyFileA((clips + "canyon.mp4").c_str(), film.c_str(), FALSE));
    PutText("nStin", std::to_string(kAutoInputLayout));
    PutText("nStout", "17");
    const std::string reason = "(Auto: the picture, side by side)";
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        const std::string probe = run == 0 ? clips + "ffprobe.exe" : ProgramFolder() + "ffplay.exe";
        ASSERT_TRUE(CopyFileA(probe.c_str(), (folder + "ffprobe.exe").c_str(), FALSE));
        if (run == 2) { // the file written since
            HANDLE file =
                CreateFileA(film.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD written = 0;
            WriteFile(file, "\0", 1, &written, nullptr);
            CloseHandle(file);
        }
        ClearStandinLog();
        Start(Player::StandIn, "\"" + film + "\"");
        HWND window = WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(WaitForStandinStarts(run == 2 ? 3 : 1, kProbeWaitMs + kWaitMs));
        // (Not the film's track list, read in the background after the launch.)
        std::vector<StandinStart> starts;
        for (const StandinStart &start : StandinStarts())
            if (start.commandLine.find(kTrackListArguments) == std::string::npos)
                starts.push_back(start);
        const std::string command = starts.back().commandLine;
        if (run < 2) {
            EXPECT_EQ(1u, starts.size());
            EXPECT_NE(std::string::npos, command.find(" -vf stereo3d=sbs2l:arcd -x ")) << command;
            AutoChoice choice;
            choice.layout = kHalfSbsParallel;
            choice.reason = AutoReason::Picture;
            choice.stereo = StereoKind::SideBySide;
            char text[kStatusTextSize];
            ComposeStatusText(0, 0, kAutoInputLayout, 17, &choice, LoadResString, text,
                              sizeof text);
            ASSERT_NE(nullptr, strstr(text, reason.c_str())) << text;
            const std::vector<bool> expected = DarkPixels(window, text);
            EXPECT_TRUE(WaitFor([&] { return DarkPixels(window) == expected; }));
        } else {
            // Both probes of the changed file, then the player with what they could not say.
            EXPECT_NE(std::string::npos, starts[0].commandLine.find("ffprobe.exe"))
                << starts[0].commandLine;
            EXPECT_NE(std::string::npos, command.find(" -vf stereo3d=sbsl:arcd -x ")) << command;
        }
        EXPECT_EQ(0u, CloseAndWait(window));
        EndLaunches();
        CloseHandle(process.hProcess);
        process = {};
        DeleteFileA((folder + "ffplay.exe").c_str());
    }
    DeleteFileA(film.c_str());
}

// Without ffprobe.exe Auto goes on at once as if the file could not be read. An
// ffprobe.exe that never ends (the stand-in, which waits), asked about the stream and
// the picture at once, is ended both times after the one bounded wait, Auto goes on
// likewise, and the same file's next launch does not wait again. So is one that writes
// without end (the stand-in, told so by the name): its output does not hold the launch
// past the bound. Where the stream's answer decides (the stand-in answers with a file's
// metadata), the picture's run, which would never end, is ended unread without holding
// the launch. No probe outlives its launch.
TEST(AutoProbe, AProbeThatHangsIsEndedAfterItsWait)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder =
        std::string(temp) + "duoscope-probe-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string probe = folder + "ffprobe.exe";
    const std::string player = folder + "ffplay.exe";
    ClearStandinLog();
    Film film{};
    auto choose = [&film, &player](const char *media) {
        SelectFilm(film, media);
        ChooseAutoLayoutFor(film, player.c_str());
        return film.choice;
    };
    DWORD start = GetTickCount();
    EXPECT_EQ(AutoReason::Unread, choose("C:\\Videos\\none.mp4").reason);
    EXPECT_LT(GetTickCount() - start, 500u);
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "ffplay.exe").c_str(), probe.c_str(), FALSE));
    for (const char *media : {"C:\\Videos\\hangs.mp4", "C:\\Videos\\floods.mp4"}) {
        SCOPED_TRACE(media);
        ClearStandinLog();
        start = GetTickCount();
        const AutoChoice choice = choose(media);
        const DWORD waited = GetTickCount() - start;
        // (A run that has written more than its answer may hold ends the other before that
        // one may have logged its start.)
        ASSERT_GE(StandinStarts().size(), strstr(media, "hangs") ? 2u : 1u);
        if (StandinStarts().size() == 2) {
            EXPECT_NE(StandinStarts()[0].commandLine.find(" -f lavfi "),
                      StandinStarts()[1].commandLine.find(" -f lavfi "));
        }
        EXPECT_EQ(AutoReason::Unread, choice.reason);
        EXPECT_EQ(0, choice.layout);
        // (One that writes more than its answer may hold is done with at once.)
        if (strstr(media, "hangs")) {
            EXPECT_GE(waited, kProbeWaitMs);
        }
        EXPECT_LT(waited, kProbeWaitMs + 3000);
        EXPECT_TRUE(WaitFor([] { return ProcessIds("ffprobe.exe").empty(); }));
        start = GetTickCount();
        EXPECT_EQ(AutoReason::Unread, choose(media).reason);
        EXPECT_LT(GetTickCount() - start, 500u);
    }
    SetEnvironmentVariableA("DUOSCOPE_STANDIN_ANSWER",
                            "stream|width=320|height=180|sample_aspect_ratio=1:1|side_datum/"
                            "stereo_3d:type=top and bottom\r\nformat|format_name=mov\r\n");
    ClearStandinLog();
    start = GetTickCount();
    const AutoChoice answered = choose("C:\\Videos\\told.mp4");
    const DWORD waited = GetTickCount() - start;
    SetEnvironmentVariableA("DUOSCOPE_STANDIN_ANSWER", nullptr);
    EXPECT_EQ(AutoReason::Metadata, answered.reason);
    EXPECT_EQ(kHalfAboveLeft, answered.layout);
    EXPECT_LT(waited, kProbeWaitMs);
    EXPECT_TRUE(WaitFor([] { return ProcessIds("ffprobe.exe").empty(); }));
    ClearStandinLog();
    DeleteFileA(probe.c_str());
    RemoveDirectoryA(folder.c_str());
}
