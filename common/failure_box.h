// The message box that tells the user of a failure. Win32.
#ifndef DUOSCOPE_COMMON_FAILURE_BOX_H
#define DUOSCOPE_COMMON_FAILURE_BOX_H

#include <windows.h>

// Shows a warning box over `owner`, captioned with string `captionId`: `text`, and under
// it, after a blank line, the system's reason for `error` (none for ERROR_SUCCESS). Wide,
// so that a name that the ANSI code page lacks shows as it is. A reason that does not
// fit after the text is left out, never cut.
void ShowFailure(HWND owner, unsigned captionId, const wchar_t *text, DWORD error = ERROR_SUCCESS);

// The same with string `textId` as the text, followed by a blank and the ANSI `path` when
// that is not empty.
void ShowFailure(HWND owner, unsigned captionId, unsigned textId, const char *path = "",
                 DWORD error = ERROR_SUCCESS);

#endif
