#include "playback/player_process.h"

#include <cstring>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/failure_box.h"
#include "common/res_string.h"
#include "res/resource.h"
#include "playback/console_host.h"
#include "playback/console_text.h"
#include "media/auto_probe.h"

HWND hWndPlayer;
char szTempDir[kTempDirSize];

// The job of the most recent launch, or null when it has none: not started, or the
// system would not put it in a job (Windows 7 for a program that already runs in one).
static HANDLE playerJob;

// Players being ended: their jobs and when each was asked to end. A null job is a free
// slot. Checked by a timer of this thread every kEndCheckMs while any is listed.
constexpr DWORD kEndCheckMs = 100;
struct EndingPlayer {
    HANDLE job;
    DWORD askedAt;
};
static EndingPlayer endingPlayers[8];
static UINT_PTR endTimer;

BOOL CALLBACK FindPlayerWindow(HWND hWnd, LPARAM lParam)
{
    const PROCESS_INFORMATION *process = reinterpret_cast<const PROCESS_INFORMATION *>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    if (processId != process->dwProcessId)
        return TRUE;
    hWndPlayer = hWnd;
    return FALSE;
}

HWND ConsoleWindowOf(DWORD processId)
{
    if (!AttachConsole(processId))
        return nullptr;
    HWND console = GetConsoleWindow();
    // Detached before anything can post WM_CLOSE to that console: a process attached to
    // a console when it closes is ended with it, this program too.
    FreeConsole();
    return console;
}

HWND LookForPlayerWindow(const PROCESS_INFORMATION &process)
{
    hWndPlayer = nullptr;
    EnumWindows(FindPlayerWindow, reinterpret_cast<LPARAM>(&process));
    if (hWndPlayer == nullptr)
        hWndPlayer = ConsoleWindowOf(process.dwProcessId);
    return hWndPlayer;
}

// Tells the user that the launch script at `path` could not be written (`textId`
// IDS_SCRIPT_NOT_WRITTEN) or started (IDS_SCRIPT_NOT_STARTED), and the system's reason
// for error `error`.
static void WarnScript(unsigned textId, const char *path, DWORD error)
{
    ShowFailure(hWndMain, IDS_APP_TITLE, textId, path, error);
}

// Creates the script file, or empties it, and writes `text` into it. Returns false,
// having said so, when any step fails.
static bool WriteLaunchScript(const char *path, const char *text)
{
    HANDLE script = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (script == INVALID_HANDLE_VALUE) {
        WarnScript(IDS_SCRIPT_NOT_WRITTEN, path, GetLastError());
        return false;
    }
    const DWORD length = static_cast<DWORD>(strlen(text));
    DWORD written = 0;
    DWORD error = ERROR_SUCCESS;
    if (!WriteFile(script, text, length, &written, nullptr))
        error = GetLastError();
    else if (written != length)
        error = ERROR_DISK_FULL;
    if (!CloseHandle(script) && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error == ERROR_SUCCESS)
        return true;
    WarnScript(IDS_SCRIPT_NOT_WRITTEN, path, error);
    return false;
}

// A job that holds `process` and ends what it holds once its last handle is closed, so
// that no player outlives the program; null where the system gives none.
static HANDLE JobFor(HANDLE process)
{
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits) ||
        !AssignProcessToJobObject(job, process)) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

// Whether any process of `job` still runs.
static bool JobRuns(HANDLE job)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info;
    return job != nullptr &&
           QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info,
                                     sizeof info, nullptr) &&
           info.ActiveProcesses > 0;
}

// Ends what still runs in `job` and lets it go.
static void TerminateJob(HANDLE job)
{
    TerminateJobObject(job, 1);
    CloseHandle(job);
}

// Lets go of each player being ended whose processes are gone, and terminates each that
// has had kPlayerEndMs. Stops the timer when none is left; returns whether any is.
static bool CheckEndingPlayers()
{
    bool remain = false;
    for (EndingPlayer &player : endingPlayers) {
        if (player.job == nullptr)
            continue;
        if (!JobRuns(player.job))
            CloseHandle(player.job);
        else if (GetTickCount() - player.askedAt >= kPlayerEndMs)
            TerminateJob(player.job);
        else {
            remain = true;
            continue;
        }
        player.job = nullptr;
    }
    if (!remain && endTimer != 0) {
        KillTimer(nullptr, endTimer);
        endTimer = 0;
    }
    return remain;
}

static void CALLBACK OnEndCheck(HWND, UINT, UINT_PTR, DWORD)
{
    CheckEndingPlayers();
}

// Ends a player: asks its console window to close where that window closes its console,
// and lists its job to be terminated should it still run kPlayerEndMs later; a job with
// no console to ask (or no free place in the list) is terminated at once.
static void EndPlayer(HWND console, HANDLE job)
{
    char className[64] = "";
    const bool asked = IsWindowEnabled(console) &&
                       GetClassNameA(console, className, sizeof className) > 0 &&
                       ClosesItsConsole(className) && PostMessageA(console, WM_CLOSE, 0, 0);
    if (!JobRuns(job)) {
        if (job != nullptr)
            CloseHandle(job);
        return;
    }
    if (asked) {
        for (EndingPlayer &player : endingPlayers) {
            if (player.job != nullptr)
                continue;
            player = {job, GetTickCount()};
            if (endTimer == 0)
                endTimer = SetTimer(nullptr, 0, kEndCheckMs, OnEndCheck);
            return;
        }
    }
    TerminateJob(job);
}

// Starts the script in a job of its own (suspended until it is in the job; where the
// system refuses the job, it runs without one) and waits, polling every 50 ms, until its
// window is found, its process ends or kConsoleWaitMs have passed. Returns false, having
// said so, when the script cannot be started: hWndPlayer and playerJob then stay as they
// were.
static bool StartLaunchScript(const char *path)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = ShowsConsole(PlayerSettings.nERCHK) ? SW_SHOWNORMAL : SW_HIDE;

    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        szTempDir, &startup, &process)) {
        WarnScript(IDS_SCRIPT_NOT_STARTED, path, GetLastError());
        return false;
    }
    hWndPlayer = nullptr;
    playerJob = JobFor(process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT && hWndPlayer == nullptr &&
           GetTickCount() - start < kConsoleWaitMs)
        LookForPlayerWindow(process);
    CloseHandle(process.hProcess);
    return true;
}

bool WriteLaunchScriptFor(char (&scriptPath)[kScriptPathSize])
{
    // The temporary folder in its short form where the ANSI code page cannot hold it.
    wchar_t tempDir[kTempDirSize];
    DWORD tempLength = GetTempPathW(kTempDirSize, tempDir);
    if (tempLength == 0 || tempLength >= kTempDirSize ||
        !TakeAnsiPath(tempDir, szTempDir, sizeof szTempDir, hWndMain, IDS_NAME_TEMP_FOLDER))
        return false;
    if (!LaunchScriptPath(szTempDir, scriptPath, sizeof scriptPath))
        return false;

    RECT client = {0, 0, 0, 0};
    GetClientRect(hWndMain, &client);
    // Auto chooses the input layout for the file (the original picture, and options
    // before the file, where it needs them), and the command is composed from it as from
    // a stored one; the status text then names the choice and why.
    PlayerSettingsRecord settings = PlayerSettings;
    const char *autoOptions = "";
    if (settings.nStin == kAutoInputLayout && !IsOriginalPicture(settings.nOrg)) {
        const AutoChoice &choice = ChooseAutoLayoutFor(szMediaFile, szPlayerExe);
        settings.nStin = choice.layout;
        settings.nOrg = choice.original ? 1 : settings.nOrg;
        autoOptions = choice.options;
    }
    if (EyesSwapped() && !IsOriginalPicture(settings.nOrg))
        settings.nStin = MirroredInputLayout(settings.nStin);
    // The status text shows this file's choice and whether its eyes are swapped.
    InvalidateRect(hWndMain, nullptr, TRUE);
    // The script is read in the console's code page: each path in a form that it holds.
    char playerExe[kPathSize];
    char mediaFile[kPathSize];
    char command[kCommandSize];
    char script[kScriptTextSize];
    char consoleScript[kScriptTextSize];
    if (!ConsolePath(szPlayerExe, playerExe, sizeof playerExe) ||
        !ConsolePath(szMediaFile, mediaFile, sizeof mediaFile) ||
        !BuildPlayerCommand(settings, playerExe, mediaFile, client.right, client.bottom,
                            LoadResString, command, sizeof command, autoOptions) ||
        !BuildLaunchScript(PlayerSettings, command, script, sizeof script) ||
        !ToConsoleText(script, consoleScript, sizeof consoleScript))
        return false;
    return WriteLaunchScript(scriptPath, consoleScript);
}

void PlayMedia()
{
    HWND previousPlayer = hWndPlayer;
    HANDLE previousJob = playerJob;
    char scriptPath[kScriptPathSize];
    if (!WriteLaunchScriptFor(scriptPath))
        return;
    const bool started = StartLaunchScript(scriptPath);
    if (!KeepsScript(PlayerSettings.nERCHK))
        DeleteFileA(scriptPath);
    if (!started)
        return; // the player before plays on
    if (IsWindowEnabled(previousPlayer) || JobRuns(previousJob))
        Sleep(800);
    EndPlayer(previousPlayer, previousJob);
}

void ClosePlayerWindow()
{
    EndPlayer(hWndPlayer, playerJob);
    playerJob = nullptr;
}

void WaitForEndingPlayers()
{
    while (CheckEndingPlayers())
        Sleep(kEndCheckMs);
}

// The file whose eyes are swapped; empty for none.
static char szSwappedFile[kPathSize];

void ToggleEyesSwapped()
{
    if (EyesSwapped())
        szSwappedFile[0] = '\0';
    else
        CopyText(szSwappedFile, sizeof szSwappedFile, szMediaFile);
}

bool EyesSwapped()
{
    return szSwappedFile[0] != '\0' && strcmp(szSwappedFile, szMediaFile) == 0;
}
