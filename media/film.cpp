#include "media/film.h"

#include <cstring>

#include "common/text.h"
#include "settings/format_catalogue.h"

Film CurrentFilm;

void SelectFilm(Film &film, const char *path)
{
    if (IsFilmOf(film, path))
        return;
    film = Film{};
    if (!CopyText(film.path, sizeof film.path, path))
        film.path[0] = '\0';
}

bool IsFilmOf(const Film &film, const char *path)
{
    return film.path[0] != '\0' && strcmp(film.path, path) == 0;
}

const AutoChoice *AutoChoiceOf(const Film &film, const PlayerSettingsRecord &settings)
{
    return settings.nStin == kAutoInputLayout && film.chosen ? &film.choice : nullptr;
}

bool PlaysOriginal(const Film &film, const PlayerSettingsRecord &settings)
{
    const AutoChoice *choice = AutoChoiceOf(film, settings);
    return IsOriginalPicture(settings.nOrg) || (choice != nullptr && choice->original);
}

void SettleFilm(Film &film, const PlayerSettingsRecord &settings)
{
    if (PlaysOriginal(film, settings))
        film.eyesSwapped = false;
}

bool ToggleEyesSwapped(Film &film, const PlayerSettingsRecord &settings)
{
    if (PlaysOriginal(film, settings))
        return false;
    film.eyesSwapped = !film.eyesSwapped;
    return true;
}

FilmLaunch LaunchOf(const Film &film, const PlayerSettingsRecord &settings)
{
    FilmLaunch launch{settings, ""};
    const AutoChoice *choice = AutoChoiceOf(film, settings);
    if (choice != nullptr && !IsOriginalPicture(settings.nOrg)) {
        launch.settings.nStin = choice->layout;
        launch.settings.nOrg = choice->original ? 1 : settings.nOrg;
        launch.options = choice->options;
    }
    if (film.eyesSwapped && !IsOriginalPicture(launch.settings.nOrg))
        launch.settings.nStin = MirroredInputLayout(launch.settings.nStin);
    return launch;
}

SubtitleChoice FilmSubtitles(const Film &film, const PlayerSettingsRecord &settings,
                             const Language &preferred)
{
    return ChooseSubtitles(film.tracks.sideFiles, film.tracks.list, film.tracks.subtitlePick,
                           ShowsSubtitles(settings.nSubs), preferred);
}

bool PickSubtitlesOff(Film &film, PlayerSettingsRecord &settings)
{
    film.tracks.subtitlePick = SubtitlePick{true, SubtitleSource::Off, "", -1};
    settings.nSubs = 0;
    return true;
}

bool PickSideFile(Film &film, PlayerSettingsRecord &settings, int index)
{
    const SideFileList &files = film.tracks.sideFiles;
    SubtitlePick pick{true, SubtitleSource::SideFile, "", -1};
    if (index < 0 || index >= files.count ||
        !CopyText(pick.sideFile, sizeof pick.sideFile, files.files[index].name))
        return false;
    film.tracks.subtitlePick = pick;
    settings.nSubs = 1;
    return true;
}

bool PickSubtitleTrack(Film &film, PlayerSettingsRecord &settings, int index)
{
    const TrackList &list = film.tracks.list;
    if (index < 0 || index >= list.count || list.tracks[index].kind == TrackKind::Audio ||
        list.tracks[index].kind == TrackKind::OtherSubtitle)
        return false;
    const MediaTrack &track = list.tracks[index];
    const SubtitleSource source = track.kind == TrackKind::PictureSubtitle
                                      ? SubtitleSource::PictureTrack
                                      : SubtitleSource::TextTrack;
    film.tracks.subtitlePick = SubtitlePick{true, source, "", track.kindIndex};
    settings.nSubs = 1;
    return true;
}

int FilmAudioTrack(const Film &film)
{
    return ChosenAudioTrack(film.tracks.list,
                            film.tracks.audioPicked ? film.tracks.audioStream : -1);
}

bool PickAudioTrack(Film &film, int index)
{
    const TrackList &list = film.tracks.list;
    if (index < 0 || index >= list.count || list.tracks[index].kind != TrackKind::Audio)
        return false;
    film.tracks.audioPicked = true;
    film.tracks.audioStream = list.tracks[index].stream;
    return true;
}

int FilmAudioStreamOption(const Film &film)
{
    if (!film.tracks.audioPicked)
        return -1;
    return AudioStreamOption(film.tracks.list, film.tracks.audioStream);
}
