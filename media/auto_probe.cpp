#include "media/auto_probe.h"

#include "common/code_page.h"
#include "common/path_size.h"
#include "media/film_store.h"
#include "media/probe_command.h"
#include "media/probe_run.h"

// Waits until `run` is done with or `start` is kProbeWaitMs ago, reading it and keeping
// `other` read meanwhile.
static void AwaitProbe(ProbeRun &run, ProbeRun &other, DWORD start)
{
    while (!PumpProbe(run, start) && GetTickCount() - start < kProbeWaitMs) {
        PumpProbe(other, start);
        WaitForSingleObject(run.process, kProbePollMs);
    }
}

// Asks ffprobe.exe beside `playerExe` about `mediaFile` (the stream probe) and, where
// the name leaves it open, for its picture at the same time: the second run is ended
// unread when the stream's answer decides. answer.read false, or a picture NotLooked or
// Unclear, where a run could not tell. Returns whether every run that was needed
// answered in time.
static bool AskProbe(const char *mediaFile, const char *name, const char *playerExe,
                     ProbeAnswer &answer, PictureLook &picture)
{
    answer = ProbeAnswer{};
    picture = PictureLook::NotLooked;
    char probeExe[kPathSize];
    char command[kProbeCommandSize];
    static char pictureCommand[kPictureCommandSize];
    static char output[kProbeOutputSize];
    static char pictureOutput[kPictureOutputSize];
    if (!PathBeside(probeExe, sizeof probeExe, playerExe, "ffprobe.exe", IsAnsiLeadByte) ||
        !BuildProbeCommand(probeExe, mediaFile, command, sizeof command))
        return false;
    const DWORD start = GetTickCount();
    ProbeRun stream;
    ProbeRun pictures{};
    const bool mayLook =
        ChooseAutoLayout(name, IsAnsiLeadByte, nullptr).reason == AutoReason::Unread;
    if (!StartProbe(stream, command, output, sizeof output))
        return false;
    if (mayLook && BuildPictureCommand(probeExe, mediaFile, IsAnsiLeadByte, pictureCommand,
                                       sizeof pictureCommand))
        StartProbe(pictures, pictureCommand, pictureOutput, sizeof pictureOutput);
    AwaitProbe(stream, pictures, start);
    bool answered = EndProbe(stream);
    if (answered)
        ParseProbeOutput(output, answer);
    if (pictures.process != nullptr && answer.read &&
        AutoNeedsPicture(name, IsAnsiLeadByte, answer)) {
        AwaitProbe(pictures, stream, start);
        answered = EndProbe(pictures);
        picture = answered ? LookAtPictures(pictureOutput) : PictureLook::Unclear;
    }
    EndProbe(pictures);
    return answered;
}

void ChooseAutoLayoutFor(Film &film, const char *playerExe)
{
    if (film.chosen)
        return;
    film.chosen = true;
    char name[kPathSize];
    NameForTags(film.path, name, sizeof name);
    if (!AutoNeedsProbe(name, IsAnsiLeadByte)) {
        film.choice = ChooseAutoLayout(name, IsAnsiLeadByte, nullptr);
        return;
    }
    if (RecallFilmChoice(film.path, film.choice))
        return;
    ProbeAnswer answer;
    PictureLook picture = PictureLook::NotLooked;
    const bool answered = AskProbe(film.path, name, playerExe, answer, picture);
    film.choice = ChooseAutoLayout(name, IsAnsiLeadByte, &answer, picture);
    // What could not be read in time, or at all, is asked again in a later run.
    if (answered && answer.read)
        KeepFilmChoice(film.path, film.choice);
}
