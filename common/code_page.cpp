#include "common/code_page.h"

#include "common/path_size.h"

// The number of CP_ACP or CP_OEMCP, or `codePage` itself.
static UINT CodePageNumber(UINT codePage)
{
    return codePage == CP_ACP ? GetACP() : codePage == CP_OEMCP ? GetOEMCP() : codePage;
}

bool CodePageLacksLetter(UINT codePage, const wchar_t *text)
{
    // UTF-8 holds every letter and takes neither the flag nor the question.
    const UINT number = CodePageNumber(codePage);
    BOOL usedDefault = FALSE;
    return number != CP_UTF8 &&
           WideCharToMultiByte(number, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr,
                               &usedDefault) > 0 &&
           usedDefault;
}

bool WideToCodePage(UINT codePage, const wchar_t *text, char *out, size_t outSize)
{
    const UINT number = CodePageNumber(codePage);
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
