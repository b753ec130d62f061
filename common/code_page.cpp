#include "common/app_state.h"
#include "common/code_page.h"

#include "common/failure_box.h"
#include "common/path_size.h"
#include "common/res_string.h"
#include "common/text.h"
#include "res/resource.h"

#include <cstring>

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

AnsiForm AnsiPathFromWide(const wchar_t *path, char *out, size_t outSize)
{
    const bool holdsLetters = !CodePageLacksLetter(CP_ACP, path);
    const bool wholeFits = holdsLetters && WideToCodePage(CP_ACP, path, out, outSize);
    bool shortFits = false;
    if (!wholeFits) {
        wchar_t shortPath[kPathSize];
        DWORD length = GetShortPathNameW(path, shortPath, kPathSize);
        shortFits =
            length > 0 && length < kPathSize && WideToCodePage(CP_ACP, shortPath, out, outSize);
    }
    const AnsiForm form = ChooseAnsiForm(holdsLetters, wholeFits, shortFits);
    if (!FormPasses(form))
        out[0] = '\0';
    return form;
}

bool TakeAnsiPath(const wchar_t *path, char *out, size_t outSize, HWND owner, unsigned textId)
{
    const AnsiForm form = AnsiPathFromWide(path, out, outSize);
    if (form == AnsiForm::Lacking)
        WarnNameCannotPass(owner, path, textId);
    return FormPasses(form);
}

void NameForTags(const char *path, char *out, size_t outSize)
{
    wchar_t wide[kPathSize];
    wchar_t longPath[kPathSize];
    DWORD length = 0;
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kPathSize) > 0)
        length = GetLongPathNameW(wide, longPath, kPathSize);
    if (length == 0 || length >= kPathSize ||
        WideCharToMultiByte(CP_ACP, 0, longPath, -1, out, static_cast<int>(outSize), nullptr,
                            nullptr) <= 0)
        CopyText(out, outSize, path);
}

// How much of a name a failure box shows: a longer name keeps its start and its end
// (the file's own name), joined by an ellipsis.
constexpr int kShownNameLength = kPathSize - 1;
constexpr int kShownNameEnd = kShownNameLength / 2;
constexpr wchar_t kElision[] = L"\u2026";

void WarnNameCannotPass(HWND owner, const wchar_t *name, unsigned textId)
{
    // The name first, on a line of its own; it has no ANSI form, so the box is wide.
    wchar_t text[kShownNameLength + kResStringSize + 2];
    const int nameLength = lstrlenW(name);
    int length = nameLength;
    if (nameLength <= kShownNameLength) {
        memcpy(text, name, static_cast<size_t>(nameLength) * sizeof *text);
    } else {
        constexpr int start =
            kShownNameLength - kShownNameEnd - (sizeof kElision / sizeof *kElision - 1);
        memcpy(text, name, start * sizeof *text);
        memcpy(text + start, kElision, sizeof kElision - sizeof *kElision);
        memcpy(text + kShownNameLength - kShownNameEnd, name + nameLength - kShownNameEnd,
               kShownNameEnd * sizeof *text);
        length = kShownNameLength;
    }
    text[length] = L'\n';
    text[length + 1] = L'\n';
    text[length + 2] = L'\0';
    LoadStringW(hInst, textId, text + length + 2, kResStringSize);
    ShowFailure(owner, IDS_NAME_CAPTION, text);
}

bool IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}
