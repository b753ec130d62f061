#include "media/auto_probe.h"

#include <cstring>

#include "common/code_page.h"
#include "common/path_size.h"
#include "common/text.h"
#include "media/probe_command.h"

namespace {

// The file last chosen for, ffprobe's answer for it and the choice.
struct Remembered {
    char mediaFile[kPathSize];
    bool asked; // ffprobe was run for the file (whatever came of it)
    ProbeAnswer answer;
    PictureLook picture;
    AutoChoice choice;
};
Remembered remembered;

// One ffprobe run, hidden, its standard output collected through a pipe.
struct ProbeRun {
    HANDLE process;
    HANDLE readEnd;
    char *out;
    size_t outSize;
    size_t length;
    bool fits;  // all it wrote so far fit in `out`
    bool ended; // it ended and all it wrote was read
};

// Starts `command`; false (nothing running) when it cannot be started.
bool StartProbe(ProbeRun &run, const char *command, char *out, size_t outSize)
{
    run = ProbeRun{nullptr, nullptr, out, outSize, 0, true, false};
    out[0] = '\0';
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&run.readEnd, &writeEnd, &inherited, 0))
        return false;
    SetHandleInformation(run.readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd;
    static char line[kPictureCommandSize];
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    const bool started = CopyText(line, sizeof line, command) &&
                         CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(run.readEnd);
        run.readEnd = nullptr;
        return false;
    }
    CloseHandle(process.hThread);
    run.process = process.hProcess;
    return true;
}

// Reads what the run has written so far; true once it has ended and all is read.
bool PumpProbe(ProbeRun &run)
{
    if (run.process == nullptr || run.ended)
        return true;
    for (;;) {
        // Whether the process has ended, asked before the pipe: all it wrote is there.
        const bool exited = WaitForSingleObject(run.process, 0) == WAIT_OBJECT_0;
        DWORD available = 0;
        if (!PeekNamedPipe(run.readEnd, nullptr, 0, nullptr, &available, nullptr))
            available = 0;
        if (available == 0) {
            run.ended = exited;
            return exited;
        }
        char chunk[4096];
        DWORD got = 0;
        if (!ReadFile(run.readEnd, chunk, available < sizeof chunk ? available : sizeof chunk, &got,
                      nullptr)) {
            run.fits = false;
            run.ended = true;
            return true;
        }
        run.fits = run.fits && got < run.outSize - run.length;
        if (run.fits) {
            memcpy(run.out + run.length, chunk, got);
            run.length += got;
        }
    }
}

// Ends the run (a process still running is ended); true, with its whole output in
// `out`, when it had ended by itself and all it wrote fit; otherwise `out` is empty.
bool EndProbe(ProbeRun &run)
{
    if (run.process == nullptr)
        return false;
    if (!run.ended) {
        TerminateProcess(run.process, 1);
        WaitForSingleObject(run.process, 1000);
    }
    CloseHandle(run.process);
    CloseHandle(run.readEnd);
    run.process = nullptr;
    const bool whole = run.fits && run.ended;
    run.out[whole ? run.length : 0] = '\0';
    return whole;
}

// Waits until the run has ended or `start` is kProbeWaitMs ago, reading it and keeping
// `other` read meanwhile.
void AwaitProbe(ProbeRun &run, ProbeRun &other, DWORD start)
{
    while (!PumpProbe(run) && GetTickCount() - start < kProbeWaitMs) {
        PumpProbe(other);
        WaitForSingleObject(run.process, 10);
    }
}

// Asks ffprobe.exe beside `playerExe` about `mediaFile` (the stream probe) and, where
// the name leaves it open, for its pictures at the same time: the second run is ended
// unread when the stream's answer decides. answer.read false, or a picture NotLooked or
// Unclear, where a run could not tell.
void AskProbe(const char *mediaFile, const char *name, const char *playerExe, ProbeAnswer &answer,
              PictureLook &picture)
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

} // namespace

const AutoChoice &ChooseAutoLayoutFor(const char *mediaFile, const char *playerExe)
{
    char name[kPathSize];
    NameForTags(mediaFile, name, sizeof name);
    if (strcmp(remembered.mediaFile, mediaFile) != 0) {
        remembered.asked = false;
        remembered.answer = ProbeAnswer{};
        remembered.picture = PictureLook::NotLooked;
        CopyText(remembered.mediaFile, sizeof remembered.mediaFile, mediaFile);
    }
    if (!remembered.asked && AutoNeedsProbe(name, IsAnsiLeadByte)) {
        AskProbe(mediaFile, name, playerExe, remembered.answer, remembered.picture);
        remembered.asked = true;
    }
    remembered.choice =
        ChooseAutoLayout(name, IsAnsiLeadByte, &remembered.answer, remembered.picture);
    return remembered.choice;
}

const AutoChoice *RememberedAutoChoice(const char *mediaFile)
{
    if (remembered.mediaFile[0] == '\0' || strcmp(remembered.mediaFile, mediaFile) != 0)
        return nullptr;
    return &remembered.choice;
}
