// The player's processes: starts a launch script in a job of its own and finds its
// console window, and ends players, the one before a new launch and the last one when
// the program closes. Win32.
#ifndef DUOSCOPE_PLAYBACK_PLAYER_PROCESS_H
#define DUOSCOPE_PLAYBACK_PLAYER_PROCESS_H

#include <windows.h>

// How often a launch looks for its script's console window.
constexpr DWORD kConsolePollMs = 50;
// How long a launch waits for its script's console window. After it the launch goes on
// without a console window, and the player's job is how it ends.
constexpr DWORD kConsoleWaitMs = 5000;
// How long the player before a launch plays on once the new one has started, so that
// the screen is never left without a picture.
constexpr DWORD kPlayerOverlapMs = 800;
// How long a player whose console was asked to close has to end before its job is
// terminated.
constexpr DWORD kPlayerEndMs = 3000;
// How often players being ended are looked at.
constexpr DWORD kEndCheckMs = 100;
// How many players can be ending at one time; one more is terminated at once. A new
// launch ends one, so this many launches within kPlayerEndMs fill the list.
constexpr int kMostEndingPlayers = 8;

// The console window of the most recent launch script, or null when none was found.
extern HWND hWndPlayer;

// Starts the launch script at `scriptPath`, with `folder` as its current folder, in a
// job of its own (suspended until it is in the job; where the system refuses the job,
// it runs without one), and waits, looking every kConsolePollMs, until its console
// window is found, its process ends or kConsoleWaitMs have passed. The new player is
// then the current one (hWndPlayer, null without a console window), and the one before
// waits for EndPreviousPlayer. Returns false, having said so, when the script cannot be
// started: the player before then plays on and stays the current one.
bool StartPlayer(const char *scriptPath, const char *folder);

// Ends the player that was the current one before the latest StartPlayer (as
// ClosePlayerWindow does), kPlayerOverlapMs after that start if anything of it still
// runs; nothing when there was none.
void EndPreviousPlayer();

// Ends the current player without waiting: asks its console window to close, where that
// window closes its console (ClosesItsConsole), and terminates its job kPlayerEndMs
// later if the job's processes have not ended by then (at once when there was no
// console window to ask). A timer of this thread checks; its messages must be dispatched.
void ClosePlayerWindow();

// Waits until every player being ended has ended or has been terminated: at most
// kPlayerEndMs. For the end of the program, after its window has gone.
void WaitForEndingPlayers();

// EnumWindows callback: records in hWndPlayer the first window owned by the process
// whose PROCESS_INFORMATION `lParam` points to, and stops there.
BOOL CALLBACK FindPlayerWindow(HWND hWnd, LPARAM lParam);

// The console window of a process, asked of its console directly. Needed where a host
// process (a console host or a terminal program) owns the console window, so that no
// top-level window names the script's process as its owner. Null while the new console
// is not up yet.
HWND ConsoleWindowOf(DWORD processId);

#endif
