#include "media/film_store.h"

#include <windows.h>

#include <cstring>

#include "common/text.h"
#include "media/film_entry.h"
#include "settings/registry_store.h"

// The size and last-write time of the file `path`; false when it cannot be looked at.
static bool FileFacts(const char *path, uint64_t &size, uint64_t &writeTime)
{
    WIN32_FILE_ATTRIBUTE_DATA facts;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &facts) ||
        (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    size = (static_cast<uint64_t>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    writeTime = (static_cast<uint64_t>(facts.ftLastWriteTime.dwHighDateTime) << 32) |
                facts.ftLastWriteTime.dwLowDateTime;
    return true;
}

// Reads the value `name` of `key` as an entry; false when it does not read as one.
// Room for one entry read (RecallFilmChoice's, LookOverFilms's: never at once) and one
// written, too large for the stack's comfort; at file scope, not in the functions, so
// that no guard of a function's static is needed.
static FilmEntry entryRead;
static FilmEntry entryWritten;

static bool ReadEntry(HKEY key, const char *name, FilmEntry &entry)
{
    char text[kFilmEntryTextSize];
    DWORD type = 0;
    DWORD size = sizeof text - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    text[size] = '\0';
    return ParseFilmEntry(text, entry);
}

bool RecallFilmChoice(const char *path, AutoChoice &choice)
{
    uint64_t size = 0;
    uint64_t writeTime = 0;
    HKEY key;
    if (!FileFacts(path, size, writeTime) ||
        RegOpenKeyExA(HKEY_CURRENT_USER, kFilmsKey, 0, KEY_READ | KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS)
        return false;
    char name[kFilmEntryNameSize];
    FilmEntryName(path, name);
    FilmEntry &entry = entryRead;
    const bool read = ReadEntry(key, name, entry);
    if (!read)
        RegDeleteValueA(key, name); // (nothing when there is no such value)
    RegCloseKey(key);
    if (!read || !FilmEntryHolds(entry, path, size, writeTime))
        return false;
    choice = entry.choice;
    return true;
}

// One look over the kept films: drops every entry that does not read as one, and
// counts the others, noting the one kept longest ago and the largest `kept` number.
struct KeptFilms {
    int count;
    char oldest[kFilmEntryNameSize];
    uint64_t oldestKept;
    uint64_t newestKept;
};

static KeptFilms LookOverFilms(HKEY key)
{
    KeptFilms films{0, "", UINT64_MAX, 0};
    FilmEntry &entry = entryRead;
    for (DWORD index = 0;;) {
        char name[kFilmEntryNameSize + 1];
        DWORD nameSize = sizeof name;
        const LONG found =
            RegEnumValueA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (found == ERROR_NO_MORE_ITEMS)
            break;
        if (found != ERROR_SUCCESS) { // a name longer than an entry's: none, passed over
            ++index;
            continue;
        }
        if (!ReadEntry(key, name, entry)) {
            if (RegDeleteValueA(key, name) != ERROR_SUCCESS)
                ++index; // what cannot be dropped is passed over
            continue;
        }
        ++films.count;
        if (entry.kept < films.oldestKept) {
            films.oldestKept = entry.kept;
            memcpy(films.oldest, name, sizeof films.oldest);
        }
        if (entry.kept > films.newestKept)
            films.newestKept = entry.kept;
        ++index;
    }
    return films;
}

void KeepFilmChoice(const char *path, const AutoChoice &choice)
{
    FilmEntry &entry = entryWritten;
    entry = FilmEntry{};
    HKEY key;
    if (!FileFacts(path, entry.size, entry.writeTime) ||
        RegCreateKeyExA(HKEY_CURRENT_USER, kFilmsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    char name[kFilmEntryNameSize];
    FilmEntryName(path, name);
    RegDeleteValueA(key, name);
    KeptFilms films = LookOverFilms(key);
    for (; films.count >= kFilmsKept; films = LookOverFilms(key))
        if (RegDeleteValueA(key, films.oldest) != ERROR_SUCCESS)
            break;
    entry.kept = films.newestKept + 1;
    entry.choice = choice;
    char text[kFilmEntryTextSize];
    if (films.count < kFilmsKept && CopyText(entry.path, sizeof entry.path, path) &&
        FormatFilmEntry(entry, text))
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                       static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
}
