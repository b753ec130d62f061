// Start-up benchmark: time from process start to the first painted main window, for
// duoscope.exe and for a minimal Win32 program, measured alternately in the same run.
//   startup_bench.exe [runs]     (both programs lie beside it, with the stand-in ffplay.exe)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.rfind('\\') + 1);
}

struct WindowSearch {
    DWORD processId;
    const char *className;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM lParam)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && strcmp(className, search->className) == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Starts `program`, waits until its window of `className` is visible and has painted,
// and returns the milliseconds this took; the program is then closed. -1 on failure.
double TimeToFirstPaint(const std::string &program, const char *className)
{
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);

    WindowSearch search{process.dwProcessId, className, nullptr};
    double took = -1;
    const DWORD deadline = GetTickCount() + 20000;
    while (GetTickCount() < deadline && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(1);
            continue;
        }
        // The window is shown before its first paint; the program answers a sent message
        // only from its message loop, which it enters after that paint.
        DWORD_PTR ignored;
        SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        if (!GetUpdateRect(search.found, nullptr, FALSE)) {
            LARGE_INTEGER painted;
            QueryPerformanceCounter(&painted);
            took = Milliseconds(start, painted);
        }
        break;
    }
    if (search.found)
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        took = -1;
    }
    CloseHandle(process.hProcess);
    return took;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    const std::string folder = ProgramFolder();
    const std::string duoscope = folder + "duoscope.exe";
    const std::string baseline = folder + "startup_baseline.exe";
    if (GetFileAttributesA((folder + "ffplay.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "no ffplay.exe beside the benchmark: duoscope would not start\n");
        return 2;
    }
    // One start of each first, so that both find their files in the cache.
    TimeToFirstPaint(duoscope, "DAZAZERODI");
    TimeToFirstPaint(baseline, "DuoscopeStartupBaseline");

    std::vector<double> program, yardstick, paired;
    for (int run = 0; run < runs; ++run) {
        double a = TimeToFirstPaint(duoscope, "DAZAZERODI");
        double b = TimeToFirstPaint(baseline, "DuoscopeStartupBaseline");
        if (a < 0 || b < 0) {
            fprintf(stderr, "run %d failed: duoscope %.1f ms, baseline %.1f ms\n", run + 1, a, b);
            return 1;
        }
        printf("run %2d: duoscope %7.1f ms, baseline %7.1f ms\n", run + 1, a, b);
        program.push_back(a);
        yardstick.push_back(b);
        paired.push_back(a / b);
    }
    // The ratio of each run's two starts, taken moments apart, is less swayed by the
    // machine's other load than the ratio of the two medians.
    printf("start to first paint, median of %d runs: duoscope %.1f ms, baseline %.1f ms; "
           "ratio of medians %.2f, median of paired ratios %.2f (target at most 1.25)\n",
           runs, Median(program), Median(yardstick), Median(program) / Median(yardstick),
           Median(paired));
    return 0;
}
