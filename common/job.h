// Job objects that hold the processes the program starts (the players and the probes),
// so that none outlives what started it, nor the program. Win32.
#ifndef DUOSCOPE_COMMON_JOB_H
#define DUOSCOPE_COMMON_JOB_H

#include <windows.h>

// A job that holds `process` (start it suspended, so that nothing it starts escapes)
// and ends what it holds once its last handle is closed, also when the program ends or
// crashes; null where the system gives none (Windows 7 refuses a nested job), and then
// the process runs outside any job.
HANDLE JobFor(HANDLE process);

// Whether any process of `job` still runs; false for a null job.
bool JobRuns(HANDLE job);

// Ends what still runs in `job` and lets the job go (nothing for a null job).
void TerminateJob(HANDLE job);

#endif
