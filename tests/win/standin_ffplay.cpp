// Stand-in for ffplay.exe in the tests: appends its process id and its exact command
// line to a log, then waits until its console is closed. A command line that holds
// "end-at-once" makes it end at once instead, as the player does with a bad file.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main()
{
    char logPath[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("DUOSCOPE_STANDIN_LOG", logPath, sizeof logPath);
    if (length == 0 || length >= sizeof logPath)
        return 2;
    const char *commandLine = GetCommandLineA();
    // Appends one record "pid<TAB>command line" and its line feed in a single write.
    HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 3;
    static char record[8192];
    int size = snprintf(record, sizeof record, "%lu\t%s\n", GetCurrentProcessId(), commandLine);
    if (size > 0 && size < static_cast<int>(sizeof record)) {
        DWORD written;
        WriteFile(log, record, static_cast<DWORD>(size), &written, nullptr);
    }
    CloseHandle(log);
    if (strstr(commandLine, "end-at-once"))
        return 1;
    for (;;)
        Sleep(1000);
}
