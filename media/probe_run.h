// One ffprobe.exe run: hidden, in a job of its own, its standard output collected through
// a pipe into a fixed buffer, within a time bound that holds however much it writes.
// Win32.
#ifndef DUOSCOPE_MEDIA_PROBE_RUN_H
#define DUOSCOPE_MEDIA_PROBE_RUN_H

#include <windows.h>

#include <cstddef>

// How long the probes of one launch may take, all together, before they are ended and
// Auto goes on without their answers.
constexpr DWORD kProbeWaitMs = 4000;
// How long a wait for a probe's output lasts before the bound is looked at again.
constexpr DWORD kProbePollMs = 10;

// A run and what it wrote so far.
struct ProbeRun {
    HANDLE process; // null when none was started
    HANDLE job;     // null where the system gave none
    HANDLE readEnd;
    char *out;
    size_t outSize;
    size_t length;
    bool fits;  // all it wrote so far fit in `out`
    bool ended; // it ended and all it wrote was read
};

// Starts `command` (its output into `out`, `outSize` bytes); false, with nothing
// running, when it cannot be started.
bool StartProbe(ProbeRun &run, const char *command, char *out, size_t outSize);

// Reads what the run has written so far, and returns whether it is done with: it ended
// and all it wrote was read, or it wrote more than `out` holds (which is no answer, and
// nothing more of it is read). Returns false at once, with the run going on, once
// GetTickCount() - `start` reaches kProbeWaitMs, however much it still writes.
bool PumpProbe(ProbeRun &run, DWORD start);

// Ends the run (ending everything it started that still runs). Returns true, with its
// whole output in `out`, when it had ended by itself and all it wrote fit; otherwise
// `out` is empty. Nothing for a run that was never started (false).
bool EndProbe(ProbeRun &run);

#endif
