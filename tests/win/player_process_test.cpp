// PlayMedia and ClosePlayerWindow against the real command interpreter, real console
// windows and the stand-in player.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/res_string.h"
#include "playback/console_text.h"
#include "playback/play_media.h"
#include "playback/player_process.h"
#include "res/resource.h"
#include "dialog_support.h"
#include "support.h"

namespace {

// Sets an environment variable of this process (and so of the launches) and puts the
// old value back when it goes out of scope.
class ScopedEnv {
  public:
    ScopedEnv(const char *name, const char *value) : name_(name)
    {
        char old[1024];
        DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
        had_ = length > 0 && length < sizeof old;
        if (had_)
            old_ = old;
        SetEnvironmentVariableA(name, value);
    }
    ~ScopedEnv() { SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr); }

  private:
    std::string name_, old_;
    bool had_ = false;
};

// Milliseconds that one PlayMedia call blocks the thread.
DWORD TimedPlay()
{
    DWORD start = GetTickCount();
    PlayMedia();
    return GetTickCount() - start;
}

// Milliseconds that one PlayMedia call goes on after it has found the new player's
// console: its pause, apart from the start of the script, which takes as long as the
// machine needs (several times longer under emulation). A watcher thread notes when
// hWndPlayer becomes the new console.
DWORD PauseOfPlay()
{
    const HWND before = hWndPlayer;
    std::atomic<DWORD> found{0};
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            const HWND now = *static_cast<HWND volatile *>(&hWndPlayer);
            if (now != nullptr && now != before && found == 0)
                found = GetTickCount();
            Sleep(1);
        }
    });
    PlayMedia();
    const DWORD end = GetTickCount();
    done = true;
    watcher.join();
    return found != 0 ? end - found : MAXDWORD;
}

// What a console shows up to its cursor line, read through a process attached to it,
// in the ANSI code page. Read as wide characters: under a double-byte code page (932)
// Wine's ReadConsoleOutputCharacterA wants more room than one byte a cell.
std::string ConsoleText(DWORD processId)
{
    std::string text;
    if (!AttachConsole(processId))
        return text;
    HANDLE output =
        CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (output != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(output, &info)) {
        std::wstring cells(static_cast<size_t>(info.dwSize.X) * (info.dwCursorPosition.Y + 1),
                           L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(output, &cells[0], static_cast<DWORD>(cells.size()), {0, 0},
                                    &read);
        text = Narrow(std::wstring(cells.data(), read));
    }
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    FreeConsole();
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

class PlayerProcess : public ::testing::Test {
  protected:
    void SetUp() override
    {
        EndPlayerProcesses();
        ClearStandinLog();
        // A script deleted while its interpreter ran stays until that one has let it go;
        // a launch meanwhile could not write its own.
        DeleteFileA(LaunchScriptFile().c_str());
        ASSERT_TRUE(WaitFor([] { return !FileExists(LaunchScriptFile()); }));
        PlayerSettings = PlayerSettingsRecord{};
        hWndPlayer = nullptr;
        CopyTo(szPlayerExe, ProgramFolder() + "ffplay.exe");
        CopyTo(szMediaFile, "D:\\Video\\movie.mp4");
        hWndMain = CreateWindowExA(0, "STATIC", "duoscope", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, hWndMain);
    }
    void TearDown() override
    {
        ClosePlayerWindow();
        EndPlayerProcesses();
        DestroyWindow(hWndMain);
        hWndMain = nullptr;
        hWndPlayer = nullptr;
        DeleteFileA(LaunchScriptFile().c_str());
    }

    static void CopyTo(char (&buffer)[kPathSize], const std::string &text)
    {
        ASSERT_LT(text.size(), kPathSize);
        memcpy(buffer, text.c_str(), text.size() + 1);
    }

    // The command line that the launch must hand to the player, in the ANSI code page:
    // each path in the form that the console's code page holds.
    static std::string ExpectedCommand()
    {
        RECT client = {0, 0, 0, 0};
        GetClientRect(hWndMain, &client);
        char player[kPathSize], media[kPathSize], command[kCommandSize];
        EXPECT_TRUE(ConsolePath(szPlayerExe, player, sizeof player));
        EXPECT_TRUE(ConsolePath(szMediaFile, media, sizeof media));
        EXPECT_TRUE(BuildPlayerCommand(PlayerSettings, player, media, client.right, client.bottom,
                                       LoadResString, command, sizeof command));
        return command;
    }
    // ANSI text as the stand-in logs it (UTF-8), and as the script holds it (the
    // console's code page).
    static std::string Logged(const std::string &text) { return Narrow(Wide(text), CP_UTF8); }
    static std::string InScript(const std::string &text) { return Narrow(Wide(text), CP_OEMCP); }

    // Launches, waits for the stand-in of this launch and returns its start.
    static StandinStart PlayAndWaitForStandin()
    {
        size_t before = StandinStarts().size();
        PlayMedia();
        EXPECT_TRUE(WaitForStandinStarts(before + 1));
        std::vector<StandinStart> starts = StandinStarts();
        return starts.size() > before ? starts[before] : StandinStart{0, ""};
    }

    static bool Ends(DWORD processId)
    {
        return WaitFor([processId] { return !ProcessRunning(processId); });
    }
};

} // namespace

TEST_F(PlayerProcess, FirstLaunchHandsOverTheCommandAndRecordsItsHiddenConsole)
{
    PlayerSettings.nFull = 1;
    PlayerSettings.nGPU = 2;
    PlayerSettings.nStout = 17;
    CopyTo(szMediaFile, "D:\\Video\\100% off %PATH% & ^ ! x.mp4");

    EXPECT_LT(PauseOfPlay(), 800u) << "no previous player: no pause";
    ASSERT_TRUE(WaitForStandinStarts(1));
    StandinStart player = StandinStarts()[0];
    RECT client;
    GetClientRect(hWndMain, &client);
    ASSERT_GT(client.right, 0);
    EXPECT_EQ(Logged(ExpectedCommand()), player.commandLine);

    ASSERT_NE(nullptr, hWndPlayer);
    EXPECT_EQ("WineConsoleClass", ClassOf(hWndPlayer));
    EXPECT_EQ(ConsoleWindowOf(player.processId), hWndPlayer);
    EXPECT_FALSE(IsWindowVisible(hWndPlayer));
    EXPECT_TRUE(ProcessRunning(player.processId));
}

TEST_F(PlayerProcess, SecondLaunchClosesTheRunningPlayerAfterThePause)
{
    StandinStart first = PlayAndWaitForStandin();
    HWND firstConsole = hWndPlayer;
    ASSERT_NE(nullptr, firstConsole);

    CopyTo(szMediaFile, "D:\\Video\\second.mp4");
    DWORD took = TimedPlay();
    EXPECT_GE(took, 800u);
    ASSERT_TRUE(WaitForStandinStarts(2));
    StandinStart second = StandinStarts()[1];
    EXPECT_NE(std::string::npos, second.commandLine.find("second.mp4"));
    EXPECT_TRUE(Ends(first.processId));
    EXPECT_TRUE(WaitFor([firstConsole] { return !IsWindow(firstConsole); }));
    EXPECT_TRUE(ProcessRunning(second.processId));
    ASSERT_NE(nullptr, hWndPlayer);
    EXPECT_NE(firstConsole, hWndPlayer);
    EXPECT_EQ(ConsoleWindowOf(second.processId), hWndPlayer);
}

TEST_F(PlayerProcess, ClosingEndsThePlayerAtOnceAndTheNextLaunchDoesNotPause)
{
    StandinStart first = PlayAndWaitForStandin();
    HWND firstConsole = hWndPlayer;
    ASSERT_NE(nullptr, firstConsole);

    DWORD start = GetTickCount();
    ClosePlayerWindow();
    EXPECT_LT(GetTickCount() - start, 100u);
    EXPECT_TRUE(Ends(first.processId));
    EXPECT_TRUE(WaitFor([firstConsole] { return !IsWindow(firstConsole); }));
    // Deleted while the interpreter ran; gone once it has ended.
    EXPECT_TRUE(WaitFor([] { return !FileExists(LaunchScriptFile()); }));

    EXPECT_LT(PauseOfPlay(), 800u) << "the previous player has ended: no pause";
    ASSERT_TRUE(WaitForStandinStarts(2));
    EXPECT_TRUE(ProcessRunning(StandinStarts()[1].processId));
    EXPECT_EQ(ConsoleWindowOf(StandinStarts()[1].processId), hWndPlayer);
}

// A script that cannot be started is said so, with its path and the system's reason,
// and deleted; the player before plays on and stays the one that Replay or the close
// box ends.
TEST_F(PlayerProcess, LaunchThatCannotStartIsSaidDeletesTheScriptAndKeepsThePrevious)
{
    // The first launch keeps its script, so only the failed launch can delete it.
    PlayerSettings.nERCHK = 2;
    StandinStart first = PlayAndWaitForStandin();
    const HWND firstConsole = hWndPlayer;
    ASSERT_NE(nullptr, firstConsole);
    PlayerSettings.nERCHK = 0;
    std::string said;
    {
        // The interpreter that runs batch files is named by COMSPEC.
        ScopedEnv comspec("COMSPEC", "C:\\missing\\cmd.exe");
        DialogDriver driver(LoadResString(IDS_APP_TITLE), [&said](HWND box) {
            said = WindowText(GetDlgItem(box, 0xFFFF));
            return PostMessageA(box, WM_COMMAND, IDOK, 0) != FALSE;
        });
        PlayMedia();
        EXPECT_TRUE(driver.Done());
    }
    const std::string head =
        std::string(LoadResString(IDS_SCRIPT_NOT_STARTED)) + " " + LaunchScriptFile() + "\n\n";
    EXPECT_EQ(0u, said.find(head)) << said;
    EXPECT_GT(said.size(), head.size() + 1) << "the system's reason follows: " << said;
    EXPECT_EQ(firstConsole, hWndPlayer);
    EXPECT_TRUE(ProcessRunning(first.processId));
    ClosePlayerWindow();
    EXPECT_TRUE(Ends(first.processId));
    // The first interpreter held the file open; it is gone once that one has ended.
    EXPECT_TRUE(WaitFor([] { return !FileExists(LaunchScriptFile()); }));
}

// A script that cannot be written is said so, with its path; nothing starts, and the
// player before plays on: a temporary folder that does not exist, and a script held open
// by another program that shares it with nobody.
TEST_F(PlayerProcess, ScriptThatCannotBeWrittenIsSaidAndNothingStarts)
{
    StandinStart first = PlayAndWaitForStandin();
    const HWND firstConsole = hWndPlayer;
    ASSERT_NE(nullptr, firstConsole);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string heldFolder = std::string(temp) + "duoscope-held\\";
    CreateDirectoryA(heldFolder.c_str(), nullptr);
    for (const std::string &folder : {std::string("C:\\missing-folder\\"), heldFolder}) {
        ScopedEnv tmp("TMP", folder.c_str());
        const std::string path = folder + "duoscope.bat";
        HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        ASSERT_EQ(folder == heldFolder, held != INVALID_HANDLE_VALUE);
        std::string said;
        DialogDriver driver(LoadResString(IDS_APP_TITLE), [&said](HWND box) {
            said = WindowText(GetDlgItem(box, 0xFFFF));
            return PostMessageA(box, WM_COMMAND, IDOK, 0) != FALSE;
        });
        PlayMedia();
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        EXPECT_TRUE(driver.Done()) << path;
        const std::string head = std::string(LoadResString(IDS_SCRIPT_NOT_WRITTEN)) + " " + path;
        EXPECT_EQ(0u, said.find(head + "\n\n")) << said;
        EXPECT_GT(said.size(), head.size() + 3) << "the system's reason follows: " << said;
        DeleteFileA(path.c_str());
        EXPECT_EQ(firstConsole, hWndPlayer);
        EXPECT_EQ(1u, ProcessIds("cmd.exe").size());
    }
    RemoveDirectoryA(heldFolder.c_str());
    EXPECT_TRUE(ProcessRunning(first.processId));
    EXPECT_EQ(1u, StandinStarts().size());
}

// Every name that cannot be handed over is said, whatever its length: one too long to
// show whole keeps its start and its end (the file's own name).
TEST_F(PlayerProcess, NameThatCannotPassIsSaidWhateverItsLength)
{
    for (const size_t length : {13u, 511u, 512u, 2000u}) {
        std::wstring name(length - 8, L'a');
        name.replace(0, 3, L"C:\\");
        name += L"\u6620.mp4 z"; // 8 characters, the last the name's end
        std::string said;
        DialogDriver driver(LoadResString(IDS_NAME_CAPTION), [&said](HWND box) {
            said = WindowText(GetDlgItem(box, 0xFFFF));
            return PostMessageA(box, WM_COMMAND, IDOK, 0) != FALSE;
        });
        WarnNameCannotPass(nullptr, name.c_str(), IDS_NAME_FILE);
        EXPECT_TRUE(driver.Done()) << length;
        EXPECT_EQ(0u, said.find("C:\\aa")) << length << ": " << said;
        EXPECT_NE(std::string::npos, said.find(".mp4 z\n\n")) << length << ": " << said;
        EXPECT_NE(std::string::npos, said.find(LoadResString(IDS_NAME_FILE))) << said;
    }
}

TEST_F(PlayerProcess, PlayerThatEndsAtOnceLeavesNoOpenWindowAndNoScript)
{
    CopyTo(szMediaFile, "D:\\Video\\end-at-once.mp4");
    PlayMedia();
    ASSERT_TRUE(WaitForStandinStarts(1));
    EXPECT_TRUE(Ends(StandinStarts()[0].processId));
    EXPECT_TRUE(WaitFor([] { return !IsWindowEnabled(hWndPlayer); }));
    EXPECT_TRUE(WaitFor([] { return !FileExists(LaunchScriptFile()); }));
    EXPECT_EQ(0u, ProcessIds("cmd.exe").size());
}

TEST_F(PlayerProcess, ErrorCheckModeShowsTheConsolePausesAndKeepsTheScript)
{
    // 1: shown console, and the pause keeps it open after the player has ended.
    PlayerSettings.nERCHK = 1;
    CopyTo(szMediaFile, "D:\\Video\\end-at-once.mp4");
    StandinStart failing = PlayAndWaitForStandin();
    HWND console = hWndPlayer;
    ASSERT_NE(nullptr, console);
    EXPECT_TRUE(IsWindowVisible(console));
    EXPECT_TRUE(Ends(failing.processId));
    EXPECT_EQ(InScript(ExpectedCommand() + "\npause"), FileBytes(LaunchScriptFile()));
    std::vector<DWORD> interpreter = ProcessIds("cmd.exe");
    ASSERT_EQ(1u, interpreter.size());
    DWORD cmd = interpreter[0];
    // The prompt names the working directory, the temporary folder, and the script's own
    // command follows it: no words of the platform, so this holds in any language.
    const std::string script = LaunchScriptFile();
    std::string prompt = script.substr(0, script.rfind('\\')) + ">pause";
    EXPECT_TRUE(WaitFor([&] { return ConsoleText(cmd).find(prompt) != std::string::npos; }))
        << ConsoleText(cmd);
    EXPECT_TRUE(IsWindowEnabled(console)) << "the pause keeps the console open";
    EXPECT_TRUE(ProcessRunning(cmd));
    SaveWindowScreenshot(console, "error_check_console");
    ClosePlayerWindow();
    EXPECT_TRUE(WaitFor([console] { return !IsWindow(console); }));
    EXPECT_TRUE(FileExists(LaunchScriptFile()));

    // 2: hidden console, no pause, and the script stays after the interpreter has ended.
    PlayerSettings.nERCHK = 2;
    CopyTo(szMediaFile, "D:\\Video\\movie.mp4");
    StandinStart player = PlayAndWaitForStandin();
    ASSERT_NE(nullptr, hWndPlayer);
    EXPECT_FALSE(IsWindowVisible(hWndPlayer));
    std::string command = ExpectedCommand();
    EXPECT_EQ(Logged(command), player.commandLine);
    ClosePlayerWindow();
    EXPECT_TRUE(Ends(player.processId));
    EXPECT_TRUE(WaitFor([] { return ProcessIds("cmd.exe").size() == 0; }));
    EXPECT_EQ(InScript(command), FileBytes(LaunchScriptFile()));
}

TEST_F(PlayerProcess, RefusedLaunchChangesNothing)
{
    StandinStart first = PlayAndWaitForStandin();
    HWND firstConsole = hWndPlayer;
    ASSERT_NE(nullptr, firstConsole);
    const std::string marker = "previous script";
    FILE *file = fopen(LaunchScriptFile().c_str(), "wb");
    ASSERT_NE(nullptr, file);
    fwrite(marker.data(), 1, marker.size(), file);
    fclose(file);

    for (const char *media : {"D:\\Video\\a \"quoted\" name.mp4", "D:\\Video\\two\nlines.mp4"}) {
        CopyTo(szMediaFile, media);
        EXPECT_LT(TimedPlay(), 800u) << media;
        EXPECT_EQ(firstConsole, hWndPlayer) << media;
        EXPECT_EQ(marker, FileBytes(LaunchScriptFile())) << media;
        EXPECT_EQ(1u, ProcessIds("cmd.exe").size()) << media;
    }
    {
        // 244 characters: no room left for the script's name in its 256-byte path.
        std::string longTemp = "C:\\" + std::string(240, 't') + "\\";
        ScopedEnv tmp("TMP", longTemp.c_str());
        char reported[MAX_PATH] = "";
        GetTempPathA(sizeof reported, reported);
        ASSERT_EQ(longTemp, reported);
        CopyTo(szMediaFile, "D:\\Video\\movie.mp4");
        EXPECT_LT(TimedPlay(), 800u);
        EXPECT_EQ(firstConsole, hWndPlayer);
        EXPECT_EQ(1u, ProcessIds("cmd.exe").size());
    }
    EXPECT_EQ(marker, FileBytes(LaunchScriptFile()));
    EXPECT_TRUE(IsWindowEnabled(firstConsole));
    EXPECT_TRUE(ProcessRunning(first.processId));
    EXPECT_EQ(1u, StandinStarts().size());
}

namespace {

// Whether code page `codePage` holds every letter of `text`, each as itself.
bool Holds(UINT codePage, const std::wstring &text)
{
    char bytes[1024];
    BOOL usedDefault = FALSE;
    return WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, bytes,
                               sizeof bytes, nullptr, &usedDefault) > 0 &&
           !usedDefault && Wide(bytes, codePage) == text;
}

// The printable letters of the ANSI code page that a file name may hold, from the
// ranges of Western and Japanese code pages.
std::wstring AnsiLetters()
{
    const std::pair<wchar_t, wchar_t> ranges[] = {
        {0x20, 0x7E},   {0xA0, 0x17F},    {0x192, 0x192},   {0x2C6, 0x2DC},
        {0x391, 0x451}, {0x2013, 0x2122}, {0x3041, 0x30FE}, {0x4E00, 0x4FFF}};
    std::wstring letters;
    for (const auto &range : ranges)
        for (wchar_t c = range.first; c <= range.second; ++c)
            if (!wcschr(L"\\/:*?\"<>|", c) && !iswcntrl(c) && Holds(CP_ACP, std::wstring(1, c)))
                letters += c;
    return letters;
}

} // namespace

// Paths of letters drawn at random from the ANSI code page reach the player through the
// real command interpreter, for the player's own folder and for the media file: as
// written where the console code page holds them, otherwise as a path that names the
// same file. Each stand-in ends at once, so that no launch waits for the one before.
TEST_F(PlayerProcess, PathsOfAnyAnsiLettersReachThePlayerAsTheSameFile)
{
    const unsigned seed = 20261207;
    // (Fewer in the 32-bit build, whose Wine runs emulated, at about 2 s per path.)
    const int count = sizeof(void *) == 4 ? 40 : 200;
    std::mt19937 random(seed);
    const std::wstring letters = AnsiLetters();
    auto draw = [&](size_t length) {
        std::wstring text;
        while (text.size() < length)
            text += random() % 2 ? letters[random() % letters.size()] : letters[random() % 95];
        return text;
    };
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    // The player's folder of letters that the console holds, so that its path must arrive
    // as written; the media files' folder of any letters.
    std::wstring playerFolder = Wide(temp);
    while (playerFolder.size() < strlen(temp) + 8) {
        const std::wstring letter = draw(1);
        playerFolder += Holds(CP_OEMCP, letter) ? letter : L"";
    }
    playerFolder += L" duoscope\\";
    const std::wstring player = playerFolder + L"ffplay.exe";
    const std::wstring mediaFolder = Wide(temp) + L"duoscope media\\";
    ScopedEnv endAtOnce("DUOSCOPE_STANDIN_END_AT_ONCE", "1");
    CreateDirectoryW(playerFolder.c_str(), nullptr);
    CreateDirectoryW(mediaFolder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(Wide(ProgramFolder() + "ffplay.exe").c_str(), player.c_str(), FALSE));
    CopyTo(szPlayerExe, Narrow(player));

    // A path reaches the player as written, or, with a letter that the console lacks, as
    // a path naming the same file.
    auto reaches = [](const std::wstring &got, const std::wstring &path) {
        return Holds(CP_OEMCP, path) ? got == path : LongPath(got) == path;
    };
    const DWORD start = GetTickCount();
    // The scripts stay (2): Wine's interpreter holds its script open, so a script deleted
    // while the interpreter before is still ending takes the next one's name with it.
    PlayerSettings.nERCHK = 2;
    int exact = 0;
    for (int i = 0; i < count; ++i) {
        const std::wstring media =
            mediaFolder + std::to_wstring(i) + L" " + draw(1 + random() % 12) + L".mp4";
        ASSERT_TRUE(CreateEmptyFile(media)) << "seed " << seed << ", path " << i;
        CopyTo(szMediaFile, Narrow(media));
        PlayMedia();
        ASSERT_TRUE(WaitForStandinStarts(i + 1))
            << "seed " << seed << ", path " << i << ": " << Narrow(media, CP_UTF8);
        std::vector<std::wstring> arguments = Arguments(StandinStarts()[i].commandLine);
        ASSERT_GE(arguments.size(), 2u);
        ASSERT_TRUE(reaches(arguments.front(), player)) << "seed " << seed << ", path " << i;
        ASSERT_TRUE(reaches(arguments.back(), media))
            << "seed " << seed << ", path " << i << ": " << StandinStarts()[i].commandLine;
        exact += arguments.back() == media;
        DeleteFileW(media.c_str());
    }
    printf("%d random paths (seed %u, %zu letters, %d as written) in %lu ms\n", count, seed,
           letters.size(), exact, GetTickCount() - start);
    EndPlayerProcesses();
    DeleteFileW(player.c_str());
    RemoveDirectoryW(playerFolder.c_str());
    RemoveDirectoryW(mediaFolder.c_str());
}

namespace {

BOOL CALLBACK CollectOwnWindows(HWND window, LPARAM lParam)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId())
        reinterpret_cast<std::vector<HWND> *>(lParam)->push_back(window);
    return TRUE;
}

} // namespace

// Where the console window reports the script's process as its owner (as on Windows),
// the enumeration alone finds it: here, with windows of this process.
TEST_F(PlayerProcess, FindPlayerWindowKeepsTheFirstWindowOfTheProcess)
{
    HWND second = CreateWindowExA(0, "STATIC", "second", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    std::vector<HWND> own;
    EnumWindows(CollectOwnWindows, reinterpret_cast<LPARAM>(&own));
    ASSERT_GE(own.size(), 2u);

    PROCESS_INFORMATION process = {};
    process.dwProcessId = GetCurrentProcessId() + 4; // not this process
    EXPECT_TRUE(FindPlayerWindow(own[0], reinterpret_cast<LPARAM>(&process)));
    EXPECT_EQ(nullptr, hWndPlayer);

    process.dwProcessId = GetCurrentProcessId();
    EnumWindows(FindPlayerWindow, reinterpret_cast<LPARAM>(&process));
    EXPECT_EQ(own[0], hWndPlayer);
    hWndPlayer = nullptr;
    EXPECT_FALSE(FindPlayerWindow(own[1], reinterpret_cast<LPARAM>(&process)));
    EXPECT_EQ(own[1], hWndPlayer);
    hWndPlayer = nullptr;
    DestroyWindow(second);
}
