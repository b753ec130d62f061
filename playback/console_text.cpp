#include "playback/console_text.h"

#include <windows.h>

#include "common/code_page.h"
#include "common/text.h"
#include "playback/player_command.h"

// Converts ANSI `text` into the console code page; true when no letter was missing and
// it fit.
static bool Recode(const char *text, char *out, size_t outSize)
{
    wchar_t wide[kScriptTextSize];
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kScriptTextSize) <= 0) {
        out[0] = '\0';
        return false;
    }
    return WideToCodePage(CP_OEMCP, wide, out, outSize);
}

bool ConsolePath(const char *path, char *out, size_t outSize)
{
    char shortPath[kPathSize];
    char scratch[kPathSize * 2];
    if (GetACP() != GetOEMCP() && !Recode(path, scratch, sizeof scratch)) {
        DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
        if (length > 0 && length < sizeof shortPath && Recode(shortPath, scratch, sizeof scratch))
            return CopyText(out, outSize, shortPath);
    }
    return CopyText(out, outSize, path);
}

bool ToConsoleText(const char *text, char *out, size_t outSize)
{
    // Where both code pages are one (Japanese systems: 932), the bytes stand as they are.
    if (GetACP() == GetOEMCP())
        return CopyText(out, outSize, text);
    return Recode(text, out, outSize) || out[0] != '\0';
}
