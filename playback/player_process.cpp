#include "playback/player_process.h"

#include <cstdio>
#include <cstring>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/res_string.h"
#include "res/resource.h"
#include "playback/console_text.h"
#include "playback/auto_probe.h"

HWND hWndPlayer;
char szTempDir[kTempDirSize];

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

// The console window of a process, asked of its console directly. Needed where a host
// process (a console host or a terminal program) owns the console window, so that no
// top-level window names the script's process as its owner. Fails while the new
// console is not up yet.
static HWND ConsoleWindowOf(DWORD processId)
{
    if (!AttachConsole(processId))
        return nullptr;
    HWND console = GetConsoleWindow();
    FreeConsole();
    return console;
}

// Creates the script file, or empties it, and writes `text` into it.
static void WriteLaunchScript(const char *path, const char *text)
{
    if (FILE *file = fopen(path, "wb"))
        fclose(file);
    HFILE script = _lopen(path, OF_WRITE);
    if (script == HFILE_ERROR)
        return;
    _lwrite(script, text, static_cast<UINT>(strlen(text)));
    _lclose(script);
}

// Starts the script and waits, polling every 50 ms, until its window is found or its
// process ends.
static void StartLaunchScript(const char *path)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = PlayerSettings.nERCHK == 1 ? SW_SHOWNORMAL : SW_HIDE;

    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    hWndPlayer = nullptr;
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, szTempDir, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT && hWndPlayer == nullptr) {
        EnumWindows(FindPlayerWindow, reinterpret_cast<LPARAM>(&process));
        if (hWndPlayer == nullptr)
            hWndPlayer = ConsoleWindowOf(process.dwProcessId);
    }
    CloseHandle(process.hProcess);
}

void PlayMedia()
{
    HWND previousPlayer = hWndPlayer;

    // The temporary folder in its short form where the ANSI code page cannot hold it.
    wchar_t tempDir[kTempDirSize];
    DWORD tempLength = GetTempPathW(kTempDirSize, tempDir);
    if (tempLength == 0 || tempLength >= kTempDirSize ||
        !TakeAnsiPath(tempDir, szTempDir, sizeof szTempDir, hWndMain, IDS_NAME_TEMP_FOLDER))
        return;
    char scriptPath[kScriptPathSize];
    if (!LaunchScriptPath(szTempDir, scriptPath, sizeof scriptPath))
        return;

    RECT client = {0, 0, 0, 0};
    GetClientRect(hWndMain, &client);
    // Auto chooses the input layout for the file (the original picture, and options
    // before the file, where it needs them), and the command is composed from it as from
    // a stored one; the status text then names the choice and why.
    PlayerSettingsRecord settings = PlayerSettings;
    const char *autoOptions = "";
    if (settings.nStin == kAutoInputLayout && settings.nOrg != 1) {
        const AutoChoice &choice = ChooseAutoLayoutFor(szMediaFile, szPlayerExe);
        settings.nStin = choice.layout;
        settings.nOrg = choice.original ? 1 : settings.nOrg;
        autoOptions = choice.options;
        InvalidateRect(hWndMain, nullptr, TRUE);
    }
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
        return;

    WriteLaunchScript(scriptPath, consoleScript);
    StartLaunchScript(scriptPath);

    if (PlayerSettings.nERCHK == 0)
        DeleteFileA(scriptPath);
    if (IsWindowEnabled(previousPlayer)) {
        Sleep(800);
        PostMessageA(previousPlayer, WM_CLOSE, 0, 0);
    }
}

void ClosePlayerWindow()
{
    if (IsWindowEnabled(hWndPlayer))
        PostMessageA(hWndPlayer, WM_CLOSE, 0, 0);
}
