// Side subtitle files: whether a name in the media file's folder is one of the media
// file's, what its name says of it, and which of several the player takes. Portable.
#ifndef DUOSCOPE_SUBTITLES_SIDE_FILES_H
#define DUOSCOPE_SUBTITLES_SIDE_FILES_H

#include "common/path_size.h"
#include "common/paths.h"
#include "subtitles/languages.h"

// What a side file's name says between the media file's base name and its extension:
// "Film.srt" says nothing, "Film.en.forced.srt" English and forced.
struct SideFileLabel {
    bool labelled;        // a part between the base name and the extension
    Language language;    // its language word (empty when it has none)
    bool forced;          // "forced"
    bool hearingImpaired; // "sdh", "cc", or "hi" after a language
};

// Whether `name` (a name in the media file's folder, without a folder) is a side file of
// the media file `mediaPath` (a path or a name): the media file's name up to its last
// dot (its base name; the whole name when it has no dot), equal but for the case of
// ASCII letters; then a dot; then nothing or a label; then a dot and the extension srt,
// ass, ssa or vtt in any case. Lead bytes of a double-byte code page (`isLeadByte`) and
// the bytes after them match only themselves, so the second byte of a letter is never
// taken for a letter, a dot or a separator.
// A label is words separated by '.', '_', '-' or blanks: at most one language (a
// two-letter ISO 639-1 code, a named language's three-letter code or English name:
// `en`, `eng`, `English`), a region or script after it joined by '-' or '_' (`pt-BR`,
// `zh_Hans`, `es-419`), and the words `forced`, `sdh`, `cc`, `hi` (hearing impaired;
// alone it is Hindi) and `default`, `full`, in any order and case. Any other word makes
// the name no side file of this media file ("Film.Part2.srt" belongs to "Film.Part2.mkv").
// The media file itself is never its own side file. `label` is set only when it is one.
bool ReadSideFileName(const char *mediaPath, const char *name, LeadByteTest isLeadByte,
                      SideFileLabel &label);

// The side files found, in name order (case-insensitive for ASCII letters, then by
// bytes): at most kMaxSideFiles, the first by name.
constexpr int kMaxSideFiles = 24;
struct SideFile {
    char name[kPathSize];
    SideFileLabel label;
};
struct SideFileList {
    SideFile files[kMaxSideFiles];
    int count;
    bool more; // side files beyond kMaxSideFiles were left out (the last by name)
};

// Starts an empty list.
void ClearSideFiles(SideFileList &list);

// Adds `name` in its place by name when it is a side file of `mediaPath`
// (ReadSideFileName). A full list keeps the first kMaxSideFiles names and sets `more`.
// Returns whether the name is in the list now; a name that does not fit in kPathSize is
// left out. Adding a name twice keeps one.
bool AddSideFile(SideFileList &list, const char *mediaPath, const char *name,
                 LeadByteTest isLeadByte);

// Which side file plays when the user picked none: the first (by name) whose language is
// `preferred` (the user's language), preferring one that is neither forced nor for the
// hearing impaired; else the first without a language; else the first. -1 for an empty
// list. Why: a file in the user's language is the one meant for them; one without a
// language is the film's own ("Film.srt" is what most players take); and failing both,
// any side file lying beside a film was put there to be shown.
int PreferredSideFile(const SideFileList &list, const Language &preferred);

#endif
