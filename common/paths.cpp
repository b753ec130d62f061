#include "common/paths.h"

#include <cstring>

#include "common/text.h"

// Copies the first `length` bytes of `source` and a NUL, or leaves `dest` empty and
// returns false when they do not fit.
static bool CopyPrefix(char *dest, size_t destSize, const char *source, size_t length)
{
    if (length >= destSize) {
        dest[0] = '\0';
        return false;
    }
    memcpy(dest, source, length);
    dest[length] = '\0';
    return true;
}

bool DirectoryOfPath(char *dest, size_t destSize, const char *source, LeadByteTest isLeadByte)
{
    const char *lastBackslash = nullptr;
    for (const char *p = source; *p != '\0'; p += CharacterBytes(p, isLeadByte))
        if (*p == '\\')
            lastBackslash = p;
    size_t keep = lastBackslash ? static_cast<size_t>(lastBackslash - source) + 1 : strlen(source);
    return CopyPrefix(dest, destSize, source, keep);
}

bool PathBeside(char *dest, size_t destSize, const char *source, const char *name,
                LeadByteTest isLeadByte)
{
    if (!DirectoryOfPath(dest, destSize, source, isLeadByte))
        return false;
    const size_t folder = strlen(dest);
    if (CopyPrefix(dest + folder, destSize - folder, name, strlen(name)))
        return true;
    dest[0] = '\0';
    return false;
}

bool PathBreaksQuotes(const char *path)
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(path);
    for (; *p; ++p)
        if (*p == '"' || *p < 0x20)
            return true;
    return p != reinterpret_cast<const unsigned char *>(path) && p[-1] == '\\';
}

AnsiForm ChooseAnsiForm(bool holdsLetters, bool wholeFits, bool shortFits)
{
    if (holdsLetters && wholeFits)
        return AnsiForm::Whole;
    if (shortFits)
        return AnsiForm::Short;
    return holdsLetters ? AnsiForm::TooLong : AnsiForm::Lacking;
}

bool BuildFileCommand(const char *program, const char *arguments, const char *path, char *out,
                      size_t outSize)
{
    TextBuffer line = StartText(out, outSize);
    if (PathBreaksQuotes(program) || PathBreaksQuotes(path))
        return false;
    AppendText(line, "\"");
    AppendText(line, program);
    AppendText(line, "\" ");
    AppendText(line, arguments);
    AppendText(line, " \"");
    AppendText(line, path);
    AppendText(line, "\"");
    if (line.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}
