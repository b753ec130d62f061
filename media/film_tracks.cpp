#include "media/film_tracks.h"

#include <windows.h>

#include <cstring>

#include "common/code_page.h"
#include "common/text.h"
#include "media/probe_command.h"
#include "media/probe_run.h"
#include "subtitles/track_dump.h"

// The probes' command buffer (StartProbe's) holds these commands too.
static_assert(kTrackListCommandSize <= kPictureCommandSize, "the list command fits the probe's");
static_assert(kTrackDumpCommandSize <= kPictureCommandSize, "the dump command fits the probe's");

namespace {

// The most of the track list's output that is read: 32 tracks' lines with long titles and
// a film's other streams (fonts attached to a Matroska film are streams too).
constexpr size_t kTrackListOutputSize = 32768;
// How often a run is asked whether it is done with; none needs more.
constexpr size_t kDumpOutputSize = 256;

// A background run for one film.
struct TrackRun {
    char path[kPathSize]; // the film it is for; empty when none runs
    DWORD start;
    ProbeRun run;
};

TrackRun listRun;
char listOutput[kTrackListOutputSize];

TrackRun dumpRun;
int dumpTrack;                    // the track its dump is of
char dumpOutput[kDumpOutputSize]; // (ffprobe writes the dump into its file)

char tempFolder[kPathSize]; // where the side files go, as the last launch named it

// ffprobe.exe beside the player; false when its path does not fit.
bool ProbeBeside(const char *playerExe, char (&probeExe)[kPathSize])
{
    return PathBeside(probeExe, sizeof probeExe, playerExe, "ffprobe.exe", IsAnsiLeadByte);
}
char probeExe[kPathSize]; // the last one named

void EndRun(TrackRun &run)
{
    EndProbe(run.run);
    run.path[0] = '\0';
}

// The film's file's size and last write time; false where it cannot be read.
bool FileStamp(const char *path, uint64_t &size, uint64_t &time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return false;
    size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    time = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
    return true;
}

// The path of text track `track`'s file with `extension` (".dump", ".part", or null for
// the side file's own, from its codec), into `out` (kPathSize bytes).
bool TrackFile(const Film &film, int track, const char *extension, char *out)
{
    const MediaTrack &media = film.tracks.list.tracks[track];
    const SideFileForm form = SideFileFormOfCodec(media.codec);
    uint64_t size = 0, time = 0;
    if (form == SideFileForm::None || tempFolder[0] == '\0' || !FileStamp(film.path, size, time))
        return false;
    return BuildTrackFileName(tempFolder, film.path, size, time, media.kindIndex,
                              extension != nullptr ? extension : SideFileExtension(form), out,
                              kPathSize);
}

// The dump read from a file at an offset, and the side file written to one.
size_t ReadDump(void *context, uint64_t offset, char *buffer, size_t size)
{
    HANDLE file = static_cast<HANDLE>(context);
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ||
        !ReadFile(file, buffer, static_cast<DWORD>(size), &got, nullptr))
        return kDumpReadFailed;
    return got;
}
bool WriteSide(void *context, const char *data, size_t size)
{
    DWORD written = 0;
    return WriteFile(static_cast<HANDLE>(context), data, static_cast<DWORD>(size), &written,
                     nullptr) &&
           written == size;
}

// Converts the finished dump of `track` into its side file: written as ".part", renamed
// once whole. Returns whether the side file is there.
bool MakeSideFile(const Film &film, int track)
{
    char dump[kPathSize], part[kPathSize], side[kPathSize];
    if (!TrackFile(film, track, ".dump", dump) || !TrackFile(film, track, ".part", part) ||
        !TrackFile(film, track, nullptr, side))
        return false;
    HANDLE in = CreateFileA(dump, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE out =
        CreateFileA(part, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DumpResult result = DumpResult::ReadFailed;
    SideFileForm form = SideFileForm::None;
    if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE)
        result = ConvertTrackDump(DumpReader{in, ReadDump}, DumpWriter{out, WriteSide}, form);
    if (in != INVALID_HANDLE_VALUE)
        CloseHandle(in);
    const bool closed = out != INVALID_HANDLE_VALUE && CloseHandle(out);
    DeleteFileA(dump);
    const bool made = result == DumpResult::Converted && closed &&
                      MoveFileExA(part, side, MOVEFILE_REPLACE_EXISTING);
    if (!made)
        DeleteFileA(part);
    return made;
}

} // namespace

void ListSideFiles(Film &film)
{
    ClearSideFiles(film.tracks.sideFiles);
    char pattern[kPathSize];
    if (!PathBeside(pattern, sizeof pattern, film.path, "*", IsAnsiLeadByte))
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            AddSideFile(film.tracks.sideFiles, film.path, found.cFileName, IsAnsiLeadByte);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

Language UserLanguage()
{
    char name[kLanguageKeySize + 4] = "";
    if (GetLocaleInfoA(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), LOCALE_SISO639LANGNAME,
                       name, sizeof name) <= 0)
        return Language{};
    return LanguageOfTag(name);
}

void StartTrackList(Film &film, const char *playerExe, const char *temp)
{
    if (!CopyText(tempFolder, sizeof tempFolder, temp))
        tempFolder[0] = '\0';
    if (film.tracks.listed || strcmp(listRun.path, film.path) == 0)
        return;
    EndRun(listRun);
    char command[kTrackListCommandSize];
    if (!ProbeBeside(playerExe, probeExe) ||
        GetFileAttributesA(probeExe) == INVALID_FILE_ATTRIBUTES ||
        !BuildTrackListCommand(probeExe, film.path, command, sizeof command) ||
        !StartProbe(listRun.run, command, listOutput, sizeof listOutput) ||
        !CopyText(listRun.path, sizeof listRun.path, film.path)) {
        EndRun(listRun);
        film.tracks.listed = true;
        return;
    }
    listRun.start = GetTickCount();
}

bool TrackSideFile(Film &film, int track, char *out)
{
    out[0] = '\0';
    if (track < 0 || track >= film.tracks.list.count ||
        film.tracks.list.tracks[track].kind != TrackKind::TextSubtitle)
        return false;
    char side[kPathSize];
    if (!TrackFile(film, track, nullptr, side))
        return false;
    if (GetFileAttributesA(side) != INVALID_FILE_ATTRIBUTES)
        return CopyText(out, kPathSize, side);
    if (film.tracks.dumpFailed[track] ||
        (strcmp(dumpRun.path, film.path) == 0 && dumpTrack == track))
        return false;
    // One dump at a time: the one of the track chosen now.
    EndRun(dumpRun);
    char dump[kPathSize];
    char command[kTrackDumpCommandSize];
    if (!TrackFile(film, track, ".dump", dump) ||
        !BuildTrackDumpCommand(probeExe, film.path, film.tracks.list.tracks[track].kindIndex, dump,
                               command, sizeof command) ||
        !StartProbe(dumpRun.run, command, dumpOutput, sizeof dumpOutput) ||
        !CopyText(dumpRun.path, sizeof dumpRun.path, film.path)) {
        EndRun(dumpRun);
        film.tracks.dumpFailed[track] = true;
        return false;
    }
    dumpTrack = track;
    return false;
}

unsigned PumpFilmTracks(Film &film)
{
    unsigned events = 0;
    if (listRun.path[0] != '\0' && strcmp(listRun.path, film.path) != 0)
        EndRun(listRun);
    if (listRun.path[0] != '\0' &&
        (PumpProbe(listRun.run, listRun.start) || GetTickCount() - listRun.start >= kProbeWaitMs)) {
        if (EndProbe(listRun.run))
            ParseTrackList(listOutput, film.tracks.list);
        listRun.path[0] = '\0';
        film.tracks.listed = true;
        events |= kTracksListed;
    }
    if (dumpRun.path[0] != '\0' && strcmp(dumpRun.path, film.path) != 0)
        EndRun(dumpRun);
    // The dump has no bound of its own: each look counts from its own moment.
    if (dumpRun.path[0] != '\0' && PumpProbe(dumpRun.run, GetTickCount())) {
        EndRun(dumpRun);
        if (!MakeSideFile(film, dumpTrack))
            film.tracks.dumpFailed[dumpTrack] = true;
        events |= kTrackMade;
    }
    return events;
}

bool FilmTracksRunning()
{
    return listRun.path[0] != '\0' || dumpRun.path[0] != '\0';
}
