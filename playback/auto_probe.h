// Auto's choice of the input layout for the media file being launched, with what
// ffprobe.exe beside the player says of the file. Win32.
#ifndef DUOSCOPE_PLAYBACK_AUTO_PROBE_H
#define DUOSCOPE_PLAYBACK_AUTO_PROBE_H

#include <windows.h>

#include <cstddef>

#include "settings/auto_layout.h"

// How long ffprobe may take before it is ended and Auto goes on without its answer.
constexpr DWORD kProbeWaitMs = 4000;
// The most output of ffprobe that is read; more counts as no answer.
constexpr size_t kProbeOutputSize = 4096;

// Makes and remembers Auto's choice for `mediaFile` (an ANSI path, as the program keeps
// it), reading its tags from its long name. Where the choice needs ffprobe's answer,
// runs ffprobe.exe from the folder of `playerExe`, hidden, with its output through a
// pipe, for at most kProbeWaitMs; the answer is remembered for the file, so that a
// launch of the same file again does not ask again. Without ffprobe.exe, or when it
// fails or takes too long, the choice goes on without an answer.
const AutoChoice &ChooseAutoLayoutFor(const char *mediaFile, const char *playerExe);

// The choice last made, where it was made for `mediaFile`; null otherwise.
const AutoChoice *RememberedAutoChoice(const char *mediaFile);

#endif
