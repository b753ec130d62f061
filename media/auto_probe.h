// Auto's choice of the input layout for a film, with what ffprobe.exe beside the player
// says of the file. Win32.
#ifndef DUOSCOPE_MEDIA_AUTO_PROBE_H
#define DUOSCOPE_MEDIA_AUTO_PROBE_H

#include <cstddef>

#include "media/film.h"
#include "media/picture_look.h"

// The most output of the stream probe that is read; more counts as no answer.
constexpr size_t kProbeOutputSize = 4096;
// The most of ffprobe's pixel lines that is read: each pixel's grey level, a comma and
// the line end ("255,\r\n") within 8 characters.
constexpr size_t kPictureOutputSize = kPictureFrames * kGreyPixels * 8;

// Makes Auto's choice for `film` (its ANSI path, as the program keeps it), reading its
// tags from its long name. Where the choice needs ffprobe's answer and the film has not
// been asked yet, runs ffprobe.exe from the folder of `playerExe` (media/probe_run.h);
// where the name leaves the layout open, a second run, started at the same time, shrinks
// a frame to a grey picture for the look at the picture, and is ended unread when the
// stream's answer decides. The answers stay with the film, so that a launch of the same
// file again does not ask again. Without ffprobe.exe, or when it fails or takes too
// long, the choice goes on without that answer.
void ChooseAutoLayoutFor(Film &film, const char *playerExe);

#endif
