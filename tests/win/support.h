// Shared helpers of the Wine tests: bounded waits, the stand-in player's log, processes.
#ifndef DUOSCOPE_TESTS_SUPPORT_H
#define DUOSCOPE_TESTS_SUPPORT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// How long a test waits for what must happen: enough on a busy machine, and four times
// that in the 32-bit build, whose Wine runs emulated.
constexpr DWORD kWaitMs = sizeof(void *) == 4 ? 40000 : 10000;

// Polls `condition` every 10 ms, dispatching this thread's messages, until it holds or
// `timeoutMs` has passed; returns its last value.
bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs = kWaitMs);

// One start of the stand-in player: its process id and its command line.
struct StandinStart {
    DWORD processId;
    std::string commandLine;
};

// Path of the stand-in's log (set for child processes through the environment).
std::string StandinLogPath();
// Every start recorded since the log was last cleared.
std::vector<StandinStart> StandinStarts();
// Empties the log.
void ClearStandinLog();
// Waits until the log holds `count` starts.
bool WaitForStandinStarts(size_t count, DWORD timeoutMs = kWaitMs);

// Whether a process with this id is still running.
bool ProcessRunning(DWORD processId);
// Ends every running ffplay.exe and cmd.exe of this prefix, and waits until they are gone.
void EndPlayerProcesses();

// Folder of the running test program, with its final backslash.
std::string ProgramFolder();
// The launch script's path in the temporary folder.
std::string LaunchScriptFile();
// Whether a file (not a folder) exists, and its bytes.
bool FileExists(const std::string &path);
std::string FileBytes(const std::string &path);

// Saves what the screen shows of `window` (its whole outer rectangle) as a 24-bit BMP
// file named `name`.bmp in the "screenshots" folder beside the test program; the
// screenshots_png test turns each into a PNG. Returns false when nothing was saved.
bool SaveWindowScreenshot(HWND window, const std::string &name);

// Text between a code page and wide characters.
std::wstring Wide(const std::string &text, UINT codePage = CP_ACP);
std::string Narrow(const std::wstring &text, UINT codePage = CP_ACP);
// The arguments of a command line logged by the stand-in (UTF-8), split as the C
// runtime does.
std::vector<std::wstring> Arguments(const std::string &commandLine);
// The long form of a path, as the file system names it; empty when there is no such file.
std::wstring LongPath(const std::wstring &path);
// Creates an empty file.
bool CreateEmptyFile(const std::wstring &path);

// Ids of the running processes with this executable name (as "cmd.exe").
std::vector<DWORD> ProcessIds(const char *name);

#endif
