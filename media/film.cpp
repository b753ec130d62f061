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
