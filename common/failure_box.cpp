#include "common/app_state.h"
#include "common/failure_box.h"

#include "common/path_size.h"
#include "common/res_string.h"

// The longest text: a path or name and a string of the table, and the reason.
constexpr int kFailureTextSize = kPathSize + 2 * kResStringSize + 4;

// Appends `piece` to the text of `length` characters in `text` (kFailureTextSize), whole
// or not at all.
static void AppendWide(wchar_t *text, int &length, const wchar_t *piece)
{
    const int pieceLength = lstrlenW(piece);
    if (pieceLength >= kFailureTextSize - length)
        return;
    memcpy(text + length, piece, (static_cast<size_t>(pieceLength) + 1) * sizeof *text);
    length += pieceLength;
}

void ShowFailure(HWND owner, unsigned captionId, const wchar_t *text, DWORD error)
{
    wchar_t caption[kResStringSize] = L"";
    LoadStringW(hInst, captionId, caption, kResStringSize);
    wchar_t message[kFailureTextSize] = L"";
    int length = 0;
    AppendWide(message, length, text);
    // The reason after a blank line, both or neither.
    wchar_t reason[2 + kResStringSize] = L"\n\n";
    if (error != ERROR_SUCCESS &&
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, reason + 2, kResStringSize, nullptr) > 0)
        AppendWide(message, length, reason);
    MessageBoxW(owner, message, caption, MB_OK | MB_ICONWARNING);
}

void ShowFailure(HWND owner, unsigned captionId, unsigned textId, const char *path, DWORD error)
{
    wchar_t text[kResStringSize + 1 + kPathSize] = L"";
    int length = LoadStringW(hInst, textId, text, kResStringSize);
    if (length < 0)
        length = 0;
    if (path[0] != '\0') {
        text[length++] = L' ';
        if (MultiByteToWideChar(CP_ACP, 0, path, -1, text + length, kPathSize) <= 0)
            text[length] = L'\0';
    }
    ShowFailure(owner, captionId, text, error);
}
