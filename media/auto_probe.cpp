#include "media/auto_probe.h"

#include "common/code_page.h"
#include "common/path_size.h"
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
// Unclear, where a run could not tell.
static void AskProbe(const char *mediaFile, const char *name, const char *playerExe,
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
        return;
    const DWORD start = GetTickCount();
    ProbeRun stream;
    ProbeRun pictures{};
    const bool mayLook =
        ChooseAutoLayout(name, IsAnsiLeadByte, nullptr).reason == AutoReason::Unread;
    if (!StartProbe(stream, command, output, sizeof output))
        return;
    if (mayLook && BuildPictureCommand(probeExe, mediaFile, IsAnsiLeadByte, pictureCommand,
                                       sizeof pictureCommand))
        StartProbe(pictures, pictureCommand, pictureOutput, sizeof pictureOutput);
    AwaitProbe(stream, pictures, start);
    if (EndProbe(stream))
        ParseProbeOutput(output, answer);
    if (pictures.process != nullptr && answer.read &&
        AutoNeedsPicture(name, IsAnsiLeadByte, answer)) {
        AwaitProbe(pictures, stream, start);
        picture = EndProbe(pictures) ? LookAtPictures(pictureOutput) : PictureLook::Unclear;
    }
    EndProbe(pictures);
}

void ChooseAutoLayoutFor(Film &film, const char *playerExe)
{
    char name[kPathSize];
    NameForTags(film.path, name, sizeof name);
    if (!film.probed && AutoNeedsProbe(name, IsAnsiLeadByte)) {
        AskProbe(film.path, name, playerExe, film.answer, film.picture);
        film.probed = true;
    }
    film.choice = ChooseAutoLayout(name, IsAnsiLeadByte, &film.answer, film.picture);
    film.chosen = true;
}
