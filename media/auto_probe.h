// Auto's choice of the input layout for a film, with what ffprobe.exe beside the player
// says of the file. Win32.
#ifndef DUOSCOPE_MEDIA_AUTO_PROBE_H
#define DUOSCOPE_MEDIA_AUTO_PROBE_H

#include <cstddef>

#include "media/film.h"
#include "media/picture_look.h"

// The most output of the stream probe that is read; more counts as no answer.
constexpr size_t kProbeOutputSize = 4096;
// The most of ffprobe's pixel lines that is read: each line three grey levels, each with
// its comma, and the line end ("255,255,255,\r\n").
constexpr size_t kPictureLineSize = 3 * 4 + 2;
constexpr size_t kPictureOutputSize = kPictureFrames * kGreyLines * kPictureLineSize + 1;

// Makes Auto's choice for `film` (its ANSI path, as the program keeps it), once: reading
// its tags from its long name, and where the choice needs ffprobe's answer, taking the
// choice kept in an earlier run for the file as it is now (media/film_store.h), or else
// running ffprobe.exe from the folder of `playerExe` (media/probe_run.h); where the name
// leaves the layout open, a second run, started at the same time, shrinks a frame to a
// grey picture for the look at the picture, and is ended unread when the stream's answer
// decides. A choice that the probes answered in time is kept for later runs. Without
// ffprobe.exe, or when it fails or takes too long, the choice goes on without that
// answer (and is not kept).
void ChooseAutoLayoutFor(Film &film, const char *playerExe);

// Starts, ahead of the film's launch, the probes that ChooseAutoLayoutFor would start for
// it (nothing where the choice needs none, is made or is kept from an earlier run): the
// launch then takes their answers, and their bound counts from their start. For a file
// named on the command line, whose probes can run while the window is made.
void StartAutoProbesFor(Film &film, const char *playerExe);

#endif
