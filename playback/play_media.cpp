#include "playback/play_media.h"

#include <cstring>
#include <initializer_list>

#include "common/app_state.h"
#include "common/code_page.h"
#include "common/failure_box.h"
#include "common/res_string.h"
#include "media/auto_probe.h"
#include "media/film.h"
#include "media/film_tracks.h"
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

// The style that the drawn subtitles take: the font that lies beside the player (in its
// "fonts" folder), whatever the subtitles name.
constexpr const char kSubtitleStyle[] = "FontName=DejaVu Sans";
constexpr const char kFontsFolder[] = "fonts";

// What a launch adds for the film's subtitles and audio track: the drawing (none where
// `draws` is false) and the options before the media path (Auto's, then -ast and -sst).
struct TrackLaunch {
    bool draws;
    SubtitleDrawing drawing;
    char file[kPathSize];
    char fontsDir[kPathSize];
    char options[kLongestMediaOptions + 1];
};

// Fills `out` for the launch of CurrentFilm with `launch`'s settings and options, from
// what is known of its tracks now, and notes in the film what the launch shows. Returns
// false when a path does not fit.
static bool PrepareTracks(const FilmLaunch &launch, const char *autoOptions, TrackLaunch &out)
{
    FilmTracks &tracks = CurrentFilm.tracks;
    const SubtitleChoice choice = FilmSubtitles(CurrentFilm, PlayerSettings, UserLanguage());
    tracks.shownChoice = choice;
    tracks.shown = ShownSubtitles::None;
    char file[kPathSize] = "";
    int pictureStream = -1;
    if (choice.source == SubtitleSource::SideFile) {
        if (!PathBeside(file, sizeof file, CurrentFilm.path,
                        tracks.sideFiles.files[choice.sideFile].name, IsAnsiLeadByte))
            return false;
    } else if (choice.source == SubtitleSource::TextTrack) {
        if (!TrackSideFile(CurrentFilm, choice.track, file))
            tracks.shown = ShownSubtitles::Pending;
    } else if (choice.source == SubtitleSource::PictureTrack) {
        const bool cut = SplitsPictureSubtitles(launch.settings.nStout) &&
                         !IsOriginalPicture(launch.settings.nOrg);
        tracks.shown = cut ? ShownSubtitles::Cut : ShownSubtitles::Player;
        pictureStream = cut ? -1 : tracks.list.tracks[choice.track].stream;
    }
    // A picture track that would be cut: no drawing, and BuildPlayerCommand's -sn.
    out.draws = file[0] != '\0' || tracks.shown == ShownSubtitles::Cut;
    out.file[0] = out.fontsDir[0] = '\0';
    char fonts[kPathSize];
    if (file[0] != '\0') {
        tracks.shown = ShownSubtitles::Drawn;
        if (!ConsolePath(file, out.file, sizeof out.file) ||
            !PathBeside(fonts, sizeof fonts, szPlayerExe, kFontsFolder, IsAnsiLeadByte) ||
            !ConsolePath(fonts, out.fontsDir, sizeof out.fontsDir))
            return false;
    }
    const AutoChoice *autoChoice = AutoChoiceOf(CurrentFilm, PlayerSettings);
    out.drawing = SubtitleDrawing{file[0] != '\0' ? out.file : nullptr,
                                  kSubtitleSideFile,
                                  out.fontsDir,
                                  kSubtitleStyle,
                                  HeldSubtitleDepth(PlayerSettings.nSubDepth),
                                  autoChoice != nullptr ? autoChoice->width : 0,
                                  autoChoice != nullptr ? autoChoice->height : 0,
                                  IsAnsiLeadByte};
    TextBuffer options = StartText(out.options, sizeof out.options);
    AppendText(options, autoOptions);
    const int audioStream = FilmAudioStreamOption(CurrentFilm);
    for (const int stream : {audioStream, pictureStream}) {
        if (stream < 0)
            continue;
        AppendText(options, options.length > 0 ? " " : "");
        AppendText(options, stream == audioStream ? "-ast " : "-sst ");
        AppendNumber(options, stream);
    }
    return !options.overflow;
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
    // The film's tracks as far as they are known now: no launch waits for them.
    ListSideFiles(CurrentFilm);
    static TrackLaunch tracks;
    if (!PrepareTracks(launch, launch.options, tracks))
        return false;
    // The script is read in the console's code page: each path in a form that it holds.
    char playerExe[kPathSize];
    char mediaFile[kPathSize];
    char command[kCommandSize];
    char script[kScriptTextSize];
    char consoleScript[kScriptTextSize];
    if (!ConsolePath(szPlayerExe, playerExe, sizeof playerExe) ||
        !ConsolePath(szMediaFile, mediaFile, sizeof mediaFile) ||
        !BuildPlayerCommand(launch.settings, playerExe, mediaFile, client.right, client.bottom,
                            LoadResString, command, sizeof command, tracks.options, &sphere,
                            tracks.draws ? &tracks.drawing : nullptr) ||
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
    // Its track list, read once the player is on its way.
    StartTrackList(CurrentFilm, szPlayerExe, folder);
}
