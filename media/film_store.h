// What Auto decided of films in earlier runs, kept in the registry under the program's
// key (kFilmsKey): at most kFilmsKept films, each under its FilmEntryName, written in
// FilmEntry's text. Win32.
#ifndef DUOSCOPE_MEDIA_FILM_STORE_H
#define DUOSCOPE_MEDIA_FILM_STORE_H

#include "media/auto_layout.h"

// The choice kept for the file `path`, when the file is still as it was then (its size
// and last-write time); false when there is none, the file has changed or is gone, or
// the entry does not read as one (it is then dropped).
bool RecallFilmChoice(const char *path, AutoChoice &choice);

// Keeps `choice` for the file `path` as the file is now, in place of what was kept of
// it; then drops every entry that does not read as one, and the films kept longest ago
// beyond kFilmsKept. Nothing is kept of a file that cannot be looked at. Silent on
// failure: the choice is then made again in a later run.
void KeepFilmChoice(const char *path, const AutoChoice &choice);

#endif
