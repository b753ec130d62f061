// Running the player: the launch script, its process and its console window. Win32.
#ifndef DUOSCOPE_PLAYBACK_PLAYER_PROCESS_H
#define DUOSCOPE_PLAYBACK_PLAYER_PROCESS_H

#include <windows.h>

#include "playback/player_command.h"

// How long a launch waits for its script's console window: about 0.3 s under Wine (1 s
// under emulated 32-bit Wine), less on Windows. After it the launch goes on without a
// console window, and the player's job is how it ends.
constexpr DWORD kConsoleWaitMs = 5000;
// How long a player whose console was asked to close has to end before its job is
// terminated: a player that answers ends within moments, and the classic console host
// itself ends the console's processes about 5 s after the close.
constexpr DWORD kPlayerEndMs = 3000;

// The console window of the most recent launch script, or null when none was found.
extern HWND hWndPlayer;
// The user's temporary folder, fetched anew at every launch.
extern char szTempDir[kTempDirSize];

// Plays szMediaFile: writes and starts the launch script in a job of its own, waits until
// its console window is found, its process ends or kConsoleWaitMs have passed, deletes
// the script when nERCHK is 0, and then ends the player started before (after 800 ms)
// if anything of it still runs (see ClosePlayerWindow). A launch whose texts cannot be
// composed is refused and changes nothing; so is one from a temporary folder whose name
// cannot be handed to the player, and one whose script cannot be written or started,
// which are said so: the player before plays on.
void PlayMedia();

// Swaps the eyes of szMediaFile's input layout (the stored one or Auto's), or puts them
// back when they are swapped: the launches of that file use the mirrored layout
// (MirroredInputLayout) while the program runs, other files their own.
void ToggleEyesSwapped();

// Whether the eyes of szMediaFile are swapped.
bool EyesSwapped();

// EnumWindows callback: records in hWndPlayer the first window owned by the process
// whose PROCESS_INFORMATION `lParam` points to, and stops there.
BOOL CALLBACK FindPlayerWindow(HWND hWnd, LPARAM lParam);

// The console window of a process, asked of its console directly. Needed where a host
// process (a console host or a terminal program) owns the console window, so that no
// top-level window names the script's process as its owner. Null while the new console
// is not up yet.
HWND ConsoleWindowOf(DWORD processId);

// Looks once for the console window of the launch script's `process`, as PlayMedia does
// until it finds one: records in hWndPlayer the first top-level window that the process
// owns, else its console's window (ConsoleWindowOf), else null. Returns hWndPlayer.
HWND LookForPlayerWindow(const PROCESS_INFORMATION &process);

// The first half of PlayMedia: composes the launch script for szMediaFile with the
// settings (Auto's choice included) and writes it into the temporary folder (szTempDir),
// its path into `scriptPath`. Returns false when that cannot be done, having said so
// where the user must know (see PlayMedia).
bool WriteLaunchScriptFor(char (&scriptPath)[kScriptPathSize]);

// Ends the current player without waiting: asks its console window to close, where that
// window closes its console (ClosesItsConsole), and terminates its job kPlayerEndMs
// later if the job's processes have not ended by then (at once when there was no
// console window to ask). A timer of this thread checks; its messages must be dispatched.
void ClosePlayerWindow();

// Waits until every player being ended has ended or has been terminated: at most
// kPlayerEndMs. For the end of the program, after its window has gone.
void WaitForEndingPlayers();

#endif
