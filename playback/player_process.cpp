#include "playback/player_process.h"

#include <cstring>

#include "common/app_state.h"
#include "common/failure_box.h"
#include "common/job.h"
#include "playback/console_host.h"
#include "res/resource.h"
#include "settings/player_settings.h"

HWND hWndPlayer;

// The job of the current player, or null when it has none: not started, or the system
// would not put it in a job (Windows 7 for a program that already runs in one).
static HANDLE playerJob;

// The player that played before the latest launch, until EndPreviousPlayer.
static HWND previousPlayer;
static HANDLE previousJob;

// Players being ended: their jobs and when each was asked to end. A null job is a free
// slot. Checked by a timer of this thread every kEndCheckMs while any is listed.
struct EndingPlayer {
    HANDLE job;
    DWORD askedAt;
};
static EndingPlayer endingPlayers[kMostEndingPlayers];
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

// Looks once for the console window of the launch script's `process`: records in
// hWndPlayer the first top-level window that the process owns, else its console's
// window, else null.
static void LookForPlayerWindow(const PROCESS_INFORMATION &process)
{
    hWndPlayer = nullptr;
    EnumWindows(FindPlayerWindow, reinterpret_cast<LPARAM>(&process));
    if (hWndPlayer == nullptr)
        hWndPlayer = ConsoleWindowOf(process.dwProcessId);
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

bool StartPlayer(const char *scriptPath, const char *folder)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = ShowsConsole(PlayerSettings.nERCHK) ? SW_SHOWNORMAL : SW_HIDE;

    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    if (!CreateProcessA(scriptPath, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder, &startup, &process)) {
        ShowFailure(hWndMain, IDS_APP_TITLE, IDS_SCRIPT_NOT_STARTED, scriptPath, GetLastError());
        return false;
    }
    previousPlayer = hWndPlayer;
    previousJob = playerJob;
    hWndPlayer = nullptr;
    playerJob = JobFor(process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, kConsolePollMs) == WAIT_TIMEOUT &&
           hWndPlayer == nullptr && GetTickCount() - start < kConsoleWaitMs)
        LookForPlayerWindow(process);
    CloseHandle(process.hProcess);
    return true;
}

void EndPreviousPlayer()
{
    if (IsWindowEnabled(previousPlayer) || JobRuns(previousJob))
        Sleep(kPlayerOverlapMs);
    EndPlayer(previousPlayer, previousJob);
    previousPlayer = nullptr;
    previousJob = nullptr;
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
