#include "playback/auto_probe.h"

#include <cstring>

#include "common/code_page.h"
#include "common/path_size.h"
#include "common/text.h"
#include "playback/player_command.h"

namespace {

// The file last chosen for, ffprobe's answer for it and the choice.
struct Remembered {
    char mediaFile[kPathSize];
    bool asked; // ffprobe was run for the file (whatever came of it)
    ProbeAnswer answer;
    AutoChoice choice;
};
Remembered remembered;

// Runs `command` hidden and collects what it writes to its standard output in `out`.
// Returns true when the process ended within kProbeWaitMs and its whole output fit;
// otherwise false, with `out` empty, and a process still running is ended.
bool RunProbe(const char *command, char *out, size_t outSize)
{
    out[0] = '\0';
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0))
        return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd;
    char line[kProbeCommandSize];
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    const bool started = CopyText(line, sizeof line, command) &&
                         CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }
    CloseHandle(process.hThread);

    size_t length = 0;
    bool fits = true;
    bool ended = false;
    const DWORD start = GetTickCount();
    for (;;) {
        // Whether the process has ended, asked before the pipe: all it wrote is there.
        const bool exited = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
            available = 0;
        if (available > 0) {
            char chunk[512];
            DWORD got = 0;
            if (!ReadFile(readEnd, chunk, available < sizeof chunk ? available : sizeof chunk, &got,
                          nullptr))
                break;
            fits = fits && got < outSize - length;
            if (fits) {
                memcpy(out + length, chunk, got);
                length += got;
            }
            continue;
        }
        if (exited) {
            ended = true;
            break;
        }
        if (GetTickCount() - start >= kProbeWaitMs)
            break;
        WaitForSingleObject(process.hProcess, 10);
    }
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 1000);
    }
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    out[fits && ended ? length : 0] = '\0';
    return fits && ended;
}

// Asks ffprobe.exe beside `playerExe` about `mediaFile`; answer.read false when it
// could not tell.
void AskProbe(const char *mediaFile, const char *playerExe, ProbeAnswer &answer)
{
    answer = ProbeAnswer{};
    char probeExe[kPathSize];
    char command[kProbeCommandSize];
    static char output[kProbeOutputSize];
    if (!PathBeside(probeExe, sizeof probeExe, playerExe, "ffprobe.exe", IsAnsiLeadByte) ||
        !BuildProbeCommand(probeExe, mediaFile, command, sizeof command) ||
        !RunProbe(command, output, sizeof output))
        return;
    ParseProbeOutput(output, answer);
}

} // namespace

const AutoChoice &ChooseAutoLayoutFor(const char *mediaFile, const char *playerExe)
{
    char name[kPathSize];
    NameForTags(mediaFile, name, sizeof name);
    if (strcmp(remembered.mediaFile, mediaFile) != 0) {
        remembered.asked = false;
        remembered.answer = ProbeAnswer{};
        CopyText(remembered.mediaFile, sizeof remembered.mediaFile, mediaFile);
    }
    if (!remembered.asked && AutoNeedsProbe(name, IsAnsiLeadByte)) {
        AskProbe(mediaFile, playerExe, remembered.answer);
        remembered.asked = true;
    }
    remembered.choice = ChooseAutoLayout(name, IsAnsiLeadByte, &remembered.answer);
    return remembered.choice;
}

const AutoChoice *RememberedAutoChoice(const char *mediaFile)
{
    if (remembered.mediaFile[0] == '\0' || strcmp(remembered.mediaFile, mediaFile) != 0)
        return nullptr;
    return &remembered.choice;
}
