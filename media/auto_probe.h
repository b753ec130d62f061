// Auto's choice of the input layout for the media file being launched, with what
// ffprobe.exe beside the player says of the file. Win32.
#ifndef DUOSCOPE_MEDIA_AUTO_PROBE_H
#define DUOSCOPE_MEDIA_AUTO_PROBE_H

#include <windows.h>

#include <cstddef>

#include "media/auto_layout.h"
#include "media/picture_look.h"

// How long ffprobe may take before it is ended and Auto goes on without its answer.
constexpr DWORD kProbeWaitMs = 4000;
// The most output of ffprobe that is read; more counts as no answer.
constexpr size_t kProbeOutputSize = 4096;
// The most of ffprobe's pixel lines that is read: each pixel's grey level, a comma and
// the line end ("255,\r\n") within 8 characters.
constexpr size_t kPictureOutputSize = kPictureFrames * kGreyPixels * 8;

// Makes and remembers Auto's choice for `mediaFile` (an ANSI path, as the program keeps
// it), reading its tags from its long name. Where the choice needs ffprobe's answer,
// runs ffprobe.exe from the folder of `playerExe`, hidden, with its output through a
// pipe, for at most kProbeWaitMs; where the name leaves the layout open, a second
// ffprobe.exe run, started at the same time, shrinks a few frames to grey pictures for
// the look at the picture, and is ended unread when the stream's answer decides. The
// answers are remembered for the file, so that a launch of the same file again does not
// ask again. Without ffprobe.exe, or when it fails or takes too long, the choice goes
// on without that answer.
const AutoChoice &ChooseAutoLayoutFor(const char *mediaFile, const char *playerExe);

// The choice last made, where it was made for `mediaFile`; null otherwise.
const AutoChoice *RememberedAutoChoice(const char *mediaFile);

#endif
