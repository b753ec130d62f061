#include "playback/play_media.h"

#include <cstring>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/failure_box.h"
#include "common/res_string.h"
#include "media/auto_probe.h"
#include "media/film.h"
#include "playback/console_text.h"
#include "playback/player_process.h"
#include "res/resource.h"
#include "settings/format_catalogue.h"

// Creates the script file, or empties it, and writes `text` into it. Returns false,
// having said so, when any step fails.
static bool WriteLaunchScript(const char *path, const char *text)
{
    HANDLE script = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = ERROR_SUCCESS;
    if (script == INVALID_HANDLE_VALUE) {
        error = GetLastError();
    } else {
        const DWORD length = static_cast<DWORD>(strlen(text));
        DWORD written = 0;
        if (!WriteFile(script, text, length, &written, nullptr))
            error = GetLastError();
        else if (written != length)
            error = ERROR_DISK_FULL;
        if (!CloseHandle(script) && error == ERROR_SUCCESS)
            error = GetLastError();
    }
    if (error == ERROR_SUCCESS)
        return true;
    ShowFailure(hWndMain, IDS_APP_TITLE, IDS_SCRIPT_NOT_WRITTEN, path, error);
    return false;
}

bool WriteLaunchScriptFor(char (&scriptPath)[kScriptPathSize], char (&folder)[kTempDirSize])
{
    // The temporary folder in its short form where the ANSI code page cannot hold it.
    wchar_t tempDir[kTempDirSize];
    DWORD tempLength = GetTempPathW(kTempDirSize, tempDir);
    if (tempLength == 0 || tempLength >= kTempDirSize ||
        !TakeAnsiPath(tempDir, folder, sizeof folder, hWndMain, IDS_NAME_TEMP_FOLDER))
        return false;
    if (!LaunchScriptPath(folder, scriptPath, sizeof scriptPath))
        return false;

    RECT client = {0, 0, 0, 0};
    GetClientRect(hWndMain, &client);
    SelectFilm(CurrentFilm, szMediaFile);
    if (PlayerSettings.nStin == kAutoInputLayout && !IsOriginalPicture(PlayerSettings.nOrg))
        ChooseAutoLayoutFor(CurrentFilm, szPlayerExe);
    SettleFilm(CurrentFilm, PlayerSettings);
    const FilmLaunch launch = LaunchOf(CurrentFilm, PlayerSettings);
    const SphereView sphere =
        SettleFilmView(CurrentFilm, PlayerSettings, szMediaFile, IsAnsiLeadByte);
    // The script is read in the console's code page: each path in a form that it holds.
    char playerExe[kPathSize];
    char mediaFile[kPathSize];
    char command[kCommandSize];
    char script[kScriptTextSize];
    char consoleScript[kScriptTextSize];
    if (!ConsolePath(szPlayerExe, playerExe, sizeof playerExe) ||
        !ConsolePath(szMediaFile, mediaFile, sizeof mediaFile) ||
        !BuildPlayerCommand(launch.settings, playerExe, mediaFile, client.right, client.bottom,
                            LoadResString, command, sizeof command, launch.options, &sphere) ||
        !BuildLaunchScript(PlayerSettings, command, script, sizeof script) ||
        !ToConsoleText(script, consoleScript, sizeof consoleScript))
        return false;
    return WriteLaunchScript(scriptPath, consoleScript);
}

void PlayMedia()
{
    char scriptPath[kScriptPathSize];
    char folder[kTempDirSize];
    if (!WriteLaunchScriptFor(scriptPath, folder))
        return;
    const bool started = StartPlayer(scriptPath, folder);
    if (!KeepsScript(PlayerSettings.nERCHK))
        DeleteFileA(scriptPath);
    if (started)
        EndPreviousPlayer();
}
