// Path helpers. Portable: no platform headers.
#ifndef DUOSCOPE_COMMON_PATHS_H
#define DUOSCOPE_COMMON_PATHS_H

#include <cstddef>

// Whether a byte starts a double-byte character in the code page of the paths (the
// platform knows; a single-byte code page has none). Its second byte may be 0x5C, the
// backslash, without being one.
using LeadByteTest = bool (*)(unsigned char byte);

// The second byte of a double-byte letter is never below this, in any such code page; a
// lead byte before a lower one (or before the end) stands alone.
constexpr unsigned char kLowestTrailByte = 0x40;

// How many bytes the character at `p` takes: 2 for a lead byte and a trail byte, which
// are one letter (the trail may be 0x5C, '.', '-' and the like only as part of it), else
// 1. The one rule of every walk over a path's characters.
inline size_t CharacterBytes(const char *p, LeadByteTest isLeadByte)
{
    const unsigned char lead = static_cast<unsigned char>(p[0]);
    const unsigned char trail = static_cast<unsigned char>(p[1]);
    return lead != 0 && isLeadByte(lead) && trail >= kLowestTrailByte ? 2 : 1;
}

// Copies into `dest` the folder part of `source`: everything up to and including its
// last backslash that is a character of its own, or the whole path when it has none. A
// forward slash does not count. Returns false, with `dest` empty, when that part does
// not fit in `destSize` bytes.
bool DirectoryOfPath(char *dest, size_t destSize, const char *source, LeadByteTest isLeadByte);

// Whether `path` could break out of its double quotes on a command line or a script
// line: a double quote or a control character in it (either could leave its quotes or
// start a new script line), or a backslash at its end, before which the Windows argument
// rules would read the closing quote as a quote mark. Such a path is never handed on.
bool PathBreaksQuotes(const char *path);

// The command line that runs `program` with `arguments` on the file `path`: the quoted
// program, a blank, the arguments, a blank and the quoted path, in `out`. Returns false,
// with `out` empty, when either path could break its quotes (PathBreaksQuotes) or the
// line does not fit.
bool BuildFileCommand(const char *program, const char *arguments, const char *path, char *out,
                      size_t outSize);

// The file `name` in the folder of `source` (as DirectoryOfPath gives it), into `dest`.
// Returns false, with `dest` empty, when it does not fit.
bool PathBeside(char *dest, size_t destSize, const char *source, const char *name,
                LeadByteTest isLeadByte);

// The text after the program's name in the wide command line, by the rule of Windows'
// own start-up code: the name ends at the first blank or tab outside double quotes
// (whatever its letters), and the blanks and control characters after it are skipped.
// MinGW's narrow start-up code differs: it compares the name's bytes as signed
// characters, so a letter beyond ASCII (0xE9, é) ends an unquoted name there. The
// program therefore reads the wide command line only.
inline const wchar_t *CommandLineTail(const wchar_t *line)
{
    bool inQuotes = false;
    while (*line > L' ' || (*line != L'\0' && inQuotes)) {
        if (*line == L'"')
            inQuotes = !inQuotes;
        ++line;
    }
    while (*line != L'\0' && *line <= L' ')
        ++line;
    return line;
}

// Where the media path lies in the program's command-line tail: between a leading
// double quote and the next one (or the end), otherwise the whole tail, blanks
// included. Sets `length` and returns the path's start. For narrow and wide text alike.
template <typename Char> const Char *CommandLinePath(const Char *tail, size_t &length)
{
    const bool quoted = tail[0] == Char('"');
    const Char *start = quoted ? tail + 1 : tail;
    const Char *end = start;
    while (*end != Char(0) && !(quoted && *end == Char('"')))
        ++end;
    length = static_cast<size_t>(end - start);
    return start;
}

// Takes the media path from the program's command-line tail into `dest` (see
// CommandLinePath). Returns false, with `dest` empty, when the path does not fit in
// `destSize` characters: a cut path would name another file.
template <typename Char>
bool MediaPathFromCommandLine(Char *dest, size_t destSize, const Char *tail)
{
    size_t length = 0;
    const Char *path = CommandLinePath(tail, length);
    if (length >= destSize) {
        dest[0] = Char(0);
        return false;
    }
    for (size_t i = 0; i < length; ++i)
        dest[i] = path[i];
    dest[length] = Char(0);
    return true;
}

// A media path of this many characters or fewer, as typed, names no file to play: it
// plays neither at start nor on Replay ("-h", "a.mp4").
constexpr size_t kLongestUnplayedPath = 5;

template <typename Char> bool IsPlayablePath(const Char *path)
{
    size_t length = 0;
    while (path[length] != Char(0) && length <= kLongestUnplayedPath)
        ++length;
    return length > kLongestUnplayedPath;
}

// Whether `path` names its file from a drive's root ("C:\", "C:/") or a share ("\\");
// any other path ("clip.mp4", "..\a.mp4", "\a.mp4", "C:a.mp4") depends on the
// current folder.
template <typename Char> bool IsFullyQualifiedPath(const Char *path)
{
    auto slash = [](Char c) { return c == Char('\\') || c == Char('/'); };
    auto letter = [](Char c) {
        return (c >= Char('A') && c <= Char('Z')) || (c >= Char('a') && c <= Char('z'));
    };
    return (slash(path[0]) && slash(path[1])) ||
           (letter(path[0]) && path[1] == Char(':') && slash(path[2]));
}

// How a name that the platform hands out in wide characters is kept as an ANSI path.
enum class AnsiForm {
    Whole,   // the name itself: the ANSI code page holds it and it fits
    Short,   // its short (8.3) form, which the ANSI code page holds and which fits
    TooLong, // the ANSI code page holds it, but neither it nor a short form fits
    Lacking, // the ANSI code page lacks a letter of it and no short form serves
};

// Chooses the form: `holdsLetters`, the ANSI code page holds every letter of the name;
// `wholeFits`, its ANSI text fits; `shortFits`, the volume keeps a short form whose ANSI
// text fits.
AnsiForm ChooseAnsiForm(bool holdsLetters, bool wholeFits, bool shortFits);

// Whether a path in that form can be handed to the player.
inline bool FormPasses(AnsiForm form)
{
    return form == AnsiForm::Whole || form == AnsiForm::Short;
}

#endif
