#include "common/code_page.h"

#include "common/path_size.h"

bool WideToCodePage(UINT codePage, const wchar_t *text, char *out, size_t outSize)
{
    UINT number = codePage == CP_ACP ? GetACP() : codePage == CP_OEMCP ? GetOEMCP() : codePage;
    // UTF-8 holds every letter and takes neither the flag nor the question.
    const bool utf8 = number == CP_UTF8;
    BOOL usedDefault = FALSE;
    int length =
        WideCharToMultiByte(number, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text, -1, out,
                            static_cast<int>(outSize), nullptr, utf8 ? nullptr : &usedDefault);
    if (length <= 0) {
        out[0] = '\0';
        return false;
    }
    return !usedDefault;
}

bool AnsiPathFromWide(const wchar_t *path, char *out, size_t outSize)
{
    if (WideToCodePage(CP_ACP, path, out, outSize))
        return true;
    wchar_t shortPath[kPathSize];
    DWORD length = GetShortPathNameW(path, shortPath, kPathSize);
    if (length == 0 || length >= kPathSize || !WideToCodePage(CP_ACP, shortPath, out, outSize)) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}
