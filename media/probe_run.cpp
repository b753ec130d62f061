#include "media/probe_run.h"

#include <cstring>

#include "common/job.h"
#include "common/text.h"
#include "media/probe_command.h"

// The most a probe is given to read at once.
constexpr DWORD kProbeChunkSize = 4096;

bool StartProbe(ProbeRun &run, const char *command, char *out, size_t outSize)
{
    run = ProbeRun{nullptr, nullptr, nullptr, out, outSize, 0, true, false};
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
    // (CreateProcessA may write into its command line.)
    static char line[kPictureCommandSize];
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    const bool started =
        CopyText(line, sizeof line, command) &&
        CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW | CREATE_SUSPENDED,
                       nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(run.readEnd);
        run.readEnd = nullptr;
        return false;
    }
    run.job = JobFor(process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    run.process = process.hProcess;
    return true;
}

bool PumpProbe(ProbeRun &run, DWORD start)
{
    if (run.process == nullptr || run.ended || !run.fits)
        return true;
    while (GetTickCount() - start < kProbeWaitMs) {
        // Whether the process has ended, asked before the pipe: all it wrote is there.
        const bool exited = WaitForSingleObject(run.process, 0) == WAIT_OBJECT_0;
        DWORD available = 0;
        if (!PeekNamedPipe(run.readEnd, nullptr, 0, nullptr, &available, nullptr))
            available = 0;
        if (available == 0) {
            run.ended = exited;
            return exited;
        }
        char chunk[kProbeChunkSize];
        DWORD got = 0;
        if (!ReadFile(run.readEnd, chunk, available < sizeof chunk ? available : sizeof chunk, &got,
                      nullptr) ||
            got >= run.outSize - run.length) {
            run.fits = false;
            return true;
        }
        memcpy(run.out + run.length, chunk, got);
        run.length += got;
    }
    return false;
}

bool EndProbe(ProbeRun &run)
{
    if (run.process == nullptr)
        return false;
    // The job ends whatever of the run still runs; without one, the probe is ended alone.
    if (!run.ended && run.job == nullptr)
        TerminateProcess(run.process, 1);
    TerminateJob(run.job);
    CloseHandle(run.process);
    CloseHandle(run.readEnd);
    run.process = nullptr;
    run.job = nullptr;
    const bool whole = run.fits && run.ended;
    run.out[whole ? run.length : 0] = '\0';
    return whole;
}
