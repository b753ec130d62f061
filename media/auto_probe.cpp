#include "media/auto_probe.h"

#include <cstring>

#include "common/code_page.h"
#include "common/path_size.h"
#include "common/text.h"
#include "media/film_store.h"
#include "media/probe_command.h"
#include "media/probe_run.h"

namespace {

// The probes of one film, from their start until its choice takes their answers: the
// stream probe and, where the name leaves the layout open, the look at the picture.
struct Probes {
    char path[kPathSize]; // the film they ask about; empty when none run
    DWORD start;          // when they started: their one bound counts from here
    ProbeRun stream;
    ProbeRun pictures; // not started where the name decides without the picture
};
Probes probes;
char streamOutput[kProbeOutputSize];
char pictureOutput[kPictureOutputSize];

// Ends the probes that run, unread.
void EndProbes()
{
    EndProbe(probes.stream);
    EndProbe(probes.pictures);
    probes.path[0] = '\0';
}

// Starts the probes of the file `path` (whose tags are read from `name`) with ffprobe.exe
// beside `playerExe`; none when it cannot be started.
void StartProbes(const char *path, const char *name, const char *playerExe)
{
    EndProbes();
    char probeExe[kPathSize];
    char command[kProbeCommandSize];
    static char pictureCommand[kPictureCommandSize];
    if (!PathBeside(probeExe, sizeof probeExe, playerExe, "ffprobe.exe", IsAnsiLeadByte) ||
        !BuildProbeCommand(probeExe, path, command, sizeof command) ||
        !CopyText(probes.path, sizeof probes.path, path))
        return;
    probes.start = GetTickCount();
    probes.pictures = ProbeRun{};
    if (!StartProbe(probes.stream, command, streamOutput, sizeof streamOutput)) {
        probes.path[0] = '\0';
        return;
    }
    const bool mayLook =
        ChooseAutoLayout(name, IsAnsiLeadByte, nullptr).reason == AutoReason::Unread;
    if (mayLook &&
        BuildPictureCommand(probeExe, path, IsAnsiLeadByte, pictureCommand, sizeof pictureCommand))
        StartProbe(probes.pictures, pictureCommand, pictureOutput, sizeof pictureOutput);
}

// Waits until `run` is done with or the probes' bound has passed, reading it and keeping
// `other` read meanwhile.
void AwaitProbe(ProbeRun &run, ProbeRun &other)
{
    while (!PumpProbe(run, probes.start) && GetTickCount() - probes.start < kProbeWaitMs) {
        PumpProbe(other, probes.start);
        WaitForSingleObject(run.process, kProbePollMs);
    }
}

// Takes the answers of the probes of the file whose tags are read from `name`: the
// picture's run is ended unread when the stream's answer decides. answer.read false, or
// a picture NotLooked or Unclear, where a run could not tell. Returns whether every run
// that was needed answered in time.
bool TakeAnswers(const char *name, ProbeAnswer &answer, PictureLook &picture)
{
    answer = ProbeAnswer{};
    picture = PictureLook::NotLooked;
    if (probes.path[0] == '\0')
        return false;
    AwaitProbe(probes.stream, probes.pictures);
    bool answered = EndProbe(probes.stream);
    if (answered)
        ParseProbeOutput(streamOutput, answer);
    if (probes.pictures.process != nullptr && answer.read &&
        AutoNeedsPicture(name, IsAnsiLeadByte, answer)) {
        AwaitProbe(probes.pictures, probes.stream);
        answered = EndProbe(probes.pictures);
        picture = answered ? LookAtPictures(pictureOutput) : PictureLook::Unclear;
    }
    EndProbes();
    return answered;
}

// The name by which the film's tags are read, and whether its choice is still to be
// made with the probes: false where it is made already, made now from the name alone,
// or taken now from an earlier run.
bool NeedsProbes(Film &film, char (&name)[kPathSize])
{
    if (film.chosen)
        return false;
    NameForTags(film.path, name, sizeof name);
    if (!AutoNeedsProbe(name, IsAnsiLeadByte)) {
        film.choice = ChooseAutoLayout(name, IsAnsiLeadByte, nullptr);
        film.chosen = true;
        return false;
    }
    if (RecallFilmChoice(film.path, film.choice)) {
        film.chosen = true;
        return false;
    }
    return true;
}

} // namespace

void StartAutoProbesFor(Film &film, const char *playerExe)
{
    char name[kPathSize];
    if (NeedsProbes(film, name) && strcmp(probes.path, film.path) != 0)
        StartProbes(film.path, name, playerExe);
}

void ChooseAutoLayoutFor(Film &film, const char *playerExe)
{
    char name[kPathSize];
    if (!NeedsProbes(film, name))
        return;
    if (strcmp(probes.path, film.path) != 0)
        StartProbes(film.path, name, playerExe);
    ProbeAnswer answer;
    PictureLook picture = PictureLook::NotLooked;
    const bool answered = TakeAnswers(name, answer, picture);
    film.choice = ChooseAutoLayout(name, IsAnsiLeadByte, &answer, picture);
    film.chosen = true;
    // What could not be read in time, or at all, is asked again in a later run.
    if (answered && answer.read)
        KeepFilmChoice(film.path, film.choice);
}
