#include "playback/console_text.h"

#include <windows.h>

#include "common/code_page.h"
#include "common/text.h"
#include "playback/player_command.h"

// The wide form of ANSI `text`; false when it does not fit in kScriptTextSize letters.
static bool WideOf(const char *text, wchar_t (&wide)[kScriptTextSize])
{
    return MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kScriptTextSize) > 0;
}

// Whether the console code page lacks a letter of the ANSI `path`.
static bool ConsoleLacksLetter(const char *path)
{
    wchar_t wide[kScriptTextSize];
    return WideOf(path, wide) && CodePageLacksLetter(CP_OEMCP, wide);
}

bool ConsolePath(const char *path, char *out, size_t outSize)
{
    char shortPath[kPathSize];
    if (GetACP() != GetOEMCP() && ConsoleLacksLetter(path)) {
        DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
        if (length > 0 && length < sizeof shortPath && !ConsoleLacksLetter(shortPath))
            return CopyText(out, outSize, shortPath);
    }
    return CopyText(out, outSize, path);
}

bool ToConsoleText(const char *text, char *out, size_t outSize)
{
    // Where both code pages are one (Japanese systems: 932), the bytes stand as they are.
    if (GetACP() == GetOEMCP())
        return CopyText(out, outSize, text);
    wchar_t wide[kScriptTextSize];
    if (!WideOf(text, wide)) {
        out[0] = '\0';
        return false;
    }
    // A missing letter becomes '?': the launch still shows what went wrong.
    return WideToCodePage(CP_OEMCP, wide, out, outSize) || out[0] != '\0';
}
