// What Auto decided of a film, as kept across runs: one text per film (the store keeps it
// in the registry, named by FilmEntryName), read back without trusting it. Text in, a
// record out, and back. Portable.
#ifndef DUOSCOPE_MEDIA_FILM_ENTRY_H
#define DUOSCOPE_MEDIA_FILM_ENTRY_H

#include <cstddef>
#include <cstdint>

#include "common/path_size.h"
#include "media/auto_layout.h"

// How many films are kept; a new one drops the one kept longest ago.
constexpr int kFilmsKept = 200;

// One film as it was when Auto decided it: the file (its path, size and last-write
// time, which must all be the same for the choice to hold), when it was kept (a number
// that grows with every film kept) and the choice.
struct FilmEntry {
    char path[kPathSize];
    uint64_t size;
    uint64_t writeTime; // the file's last-write time, as the platform counts it
    uint64_t kept;
    AutoChoice choice;
};

// The name under which a film's entry is kept: 16 hexadecimal digits of a hash of its
// path (the entry itself holds the path, so that two paths of one hash are told apart).
constexpr size_t kFilmEntryNameSize = 17;
void FilmEntryName(const char *path, char (&name)[kFilmEntryNameSize]);

// The longest entry text: the fields, their bars and the longest path.
constexpr size_t kFilmEntryTextSize = 200 + kLongestAutoTag + kPathSize;

// Writes `entry` as text into `out` (kFilmEntryTextSize bytes). Returns false, with `out`
// empty, for a choice that is not kept (one that names a text no entry can hold: a tag
// with a bar in it, options that are not Auto's own) or a path that does not fit.
bool FormatFilmEntry(const FilmEntry &entry, char (&out)[kFilmEntryTextSize]);

// Reads an entry's text. Returns false, with `entry` empty, for any text that is not
// exactly what FormatFilmEntry writes of a choice Auto could make (an earlier or later
// version, a hand-edited value, a number out of range): such an entry is not trusted.
bool ParseFilmEntry(const char *text, FilmEntry &entry);

// Whether `entry` holds for the file `path` of `size` bytes written at `writeTime`.
bool FilmEntryHolds(const FilmEntry &entry, const char *path, uint64_t size, uint64_t writeTime);

#endif
