// Stand-in for ffplay.exe in the tests: appends its process id and its exact command
// line (as the program reads it in wide characters, written in UTF-8, which is the ANSI
// text itself for ASCII) to a log, then waits until its console is closed. A command
// line that holds "end-at-once", or the variable DUOSCOPE_STANDIN_END_AT_ONCE in its
// environment, makes it end at once instead, as the player does with a bad file. One
// that holds "detached" makes it leave its console first and run on: closing the console
// then does not end it. Standing in for ffprobe.exe: one that holds "floods" writes lines
// to its standard output without end, until that is closed; one that holds
// "-select_streams" (the stream probe), with DUOSCOPE_STANDIN_ANSWER in its environment,
// writes that text as its answer and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main()
{
    // Wide, as the log may lie in a folder whose name the ANSI code page cannot hold.
    wchar_t logPath[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"DUOSCOPE_STANDIN_LOG", logPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 2;
    static char commandLine[4096];
    if (WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, commandLine, sizeof commandLine,
                            nullptr, nullptr) <= 0)
        return 4;
    // Appends one record "pid<TAB>command line" and its line feed in a single write.
    HANDLE log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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
    if (strstr(commandLine, "end-at-once") ||
        GetEnvironmentVariableA("DUOSCOPE_STANDIN_END_AT_ONCE", nullptr, 0) > 0)
        return 1;
    if (strstr(commandLine, "detached"))
        FreeConsole();
    static char answer[4096];
    const DWORD answerLength =
        GetEnvironmentVariableA("DUOSCOPE_STANDIN_ANSWER", answer, sizeof answer);
    if (strstr(commandLine, "-select_streams") && answerLength > 0 &&
        answerLength < sizeof answer) {
        DWORD written;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), answer, answerLength, &written, nullptr);
        return 0;
    }
    if (strstr(commandLine, "floods")) {
        // Many lines at a time, faster than a reader can take them.
        const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        static char lines[1 << 16];
        for (size_t i = 0; i + 4 <= sizeof lines; i += 4)
            memcpy(lines + i, "0,\r\n", 4);
        DWORD written;
        while (WriteFile(out, lines, sizeof lines, &written, nullptr))
            ;
        return 5;
    }
    for (;;)
        Sleep(1000);
}
