// How long a first launch blocks the thread in PlayMedia, next to a baseline measured in
// the same run: the start of the same launch script alone (StartPlayer, after
// WriteLaunchScriptFor has written it), so that the difference is what PlayMedia adds to
// the start (the composition and Auto's choice, the script's deletion). A watcher thread
// notes when the new console window first exists, and the waits on the process are
// timed through this program's import of WaitForSingleObject, which gives the number of
// kConsolePollMs waits that end after the window exists.
//
//   tools/winerun.sh build/win64 build/win64/play_media_bench.exe [runs]
//
// Then Auto's first launch with the shipped ffprobe.exe (from the auto-clips folder that
// CTest's auto_clips makes) of an untagged 1920x1080 H.264 clip that nothing but its
// picture decides, against the same clip named with a bare "sbs" (the stream probe
// alone, as before the look at the picture), a stored layout (no probe) and Replay of
// the first (remembered).
//
// Prints the figures; always exits 0 unless the launches themselves fail.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/text.h"
#include "common/res_string.h"
#include "media/film.h"
#include "playback/play_media.h"
#include "playback/player_process.h"
#include "settings/format_catalogue.h"
#include "support.h"

namespace {

LARGE_INTEGER frequency;
// Standard output, written at once without buffering.
HANDLE output;

void Print(const char *format, ...)
{
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    int length = vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    DWORD written;
    if (length > 0)
        WriteFile(output, line, static_cast<DWORD>(std::min<size_t>(length, sizeof line - 1)),
                  &written, nullptr);
}
DWORD mainThread;

double NowMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The waits of kConsolePollMs on the launch, timed while `recordWaits` is set.
using WaitFunction = DWORD(WINAPI *)(HANDLE, DWORD);
WaitFunction realWait;
bool recordWaits;
std::vector<std::pair<double, double>> waits;

DWORD WINAPI TimedWait(HANDLE handle, DWORD milliseconds)
{
    if (!recordWaits || milliseconds != kConsolePollMs || GetCurrentThreadId() != mainThread)
        return realWait(handle, milliseconds);
    const double start = NowMs();
    DWORD result = realWait(handle, milliseconds);
    waits.emplace_back(start, NowMs());
    return result;
}

// Points this program's import of WaitForSingleObject at TimedWait.
bool HookWaits()
{
    BYTE *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS *headers = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (const IMAGE_IMPORT_DESCRIPTOR *module =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
         module->Name; ++module) {
        IMAGE_THUNK_DATA *slot = reinterpret_cast<IMAGE_THUNK_DATA *>(base + module->FirstThunk);
        const IMAGE_THUNK_DATA *name =
            reinterpret_cast<const IMAGE_THUNK_DATA *>(base + module->OriginalFirstThunk);
        for (; slot->u1.Function && module->OriginalFirstThunk; ++slot, ++name) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                continue;
            const IMAGE_IMPORT_BY_NAME *byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(base + name->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char *>(byName->Name), "WaitForSingleObject") != 0)
                continue;
            DWORD protection;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                           &protection);
            realWait = reinterpret_cast<WaitFunction>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(TimedWait);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

BOOL CALLBACK CollectConsoles(HWND window, LPARAM lParam)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "WineConsoleClass") == 0 || strcmp(name, "ConsoleWindowClass") == 0)
        reinterpret_cast<std::set<HWND> *>(lParam)->insert(window);
    return TRUE;
}

std::set<HWND> ConsoleWindows()
{
    std::set<HWND> windows;
    EnumWindows(CollectConsoles, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Notes the time at which a console window that was not there at its start first
// exists. Runs on its own thread, so that it sees the window while PlayMedia blocks.
struct ConsoleWatch {
    std::set<HWND> before;
    std::atomic<bool> stop{false};
    std::atomic<double> seenAt{-1};
    HANDLE thread = nullptr;
};

DWORD WINAPI WatchConsoles(void *parameter)
{
    ConsoleWatch *watch = static_cast<ConsoleWatch *>(parameter);
    while (!watch->stop) {
        for (HWND window : ConsoleWindows())
            if (!watch->before.count(window)) {
                watch->seenAt = NowMs();
                return 0;
            }
        Sleep(1);
    }
    return 0;
}

void StartWatch(ConsoleWatch &watch)
{
    watch.before = ConsoleWindows();
    watch.stop = false;
    watch.seenAt = -1;
    watch.thread = CreateThread(nullptr, 0, WatchConsoles, &watch, 0, nullptr);
}

double EndWatch(ConsoleWatch &watch)
{
    watch.stop = true;
    WaitForSingleObject(watch.thread, INFINITE);
    CloseHandle(watch.thread);
    return watch.seenAt;
}

struct Sample {
    double total; // from the start until the window is known (baseline) or PlayMedia returns
    double seen;  // from the start until the watcher saw the window, or -1
    bool found;
    int waits;      // the waits of kConsolePollMs
    int waitsAfter; // those that ended after the window existed
};

Sample Baseline()
{
    char path[kScriptPathSize];
    char folder[kTempDirSize];
    if (!WriteLaunchScriptFor(path, folder))
        return Sample{0, -1, false, 0, 0};
    hWndPlayer = nullptr;
    ConsoleWatch watch;
    StartWatch(watch);
    waits.clear();
    recordWaits = true;
    const double start = NowMs();
    const bool started = StartPlayer(path, folder);
    Sample sample = {NowMs() - start, -1, started && hWndPlayer != nullptr, 0, 0};
    recordWaits = false;
    double seen = EndWatch(watch);
    sample.seen = seen < 0 ? -1 : seen - start;
    HWND console = hWndPlayer;
    ClosePlayerWindow();
    WaitFor([console] { return !IsWindow(console); }, 5000);
    DeleteFileA(path);
    return sample;
}

Sample Play()
{
    hWndPlayer = nullptr;
    ConsoleWatch watch;
    StartWatch(watch);
    waits.clear();
    recordWaits = true;
    const double start = NowMs();
    PlayMedia();
    Sample sample = {NowMs() - start, -1, hWndPlayer != nullptr, 0, 0};
    recordWaits = false;
    double seen = EndWatch(watch);
    sample.seen = seen < 0 ? -1 : seen - start;
    sample.waits = static_cast<int>(waits.size());
    for (const std::pair<double, double> &wait : waits)
        if (seen >= 0 && wait.second > seen)
            ++sample.waitsAfter;
    HWND console = hWndPlayer;
    ClosePlayerWindow();
    WaitFor([console] { return !IsWindow(console); }, 5000);
    return sample;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Mean(const std::vector<double> &values)
{
    double sum = 0;
    for (double value : values)
        sum += value;
    return sum / static_cast<double>(values.size());
}

// Giving up a console also gives up its output. So with a console as standard output,
// the measurements run in a copy of this program without a console, whose output comes
// back through a pipe.
int RunDetached()
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return 1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process;
    std::string commandLine = GetCommandLineA();
    BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE,
                                  DETACHED_PROCESS, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started)
        return 1;
    char buffer[512];
    DWORD read, written;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
        WriteFile(output, buffer, read, &written, nullptr);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(readEnd);
    return static_cast<int>(code);
}

// Auto's launches (see the top of this file); each run plays the cases in turn, so the
// untagged clip's choice is made anew each time.
void MeasureAuto(int runs)
{
    const std::string clips = ProgramFolder() + "auto-clips\\";
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "duoscope-bench-auto\\";
    const std::string player = folder + "ffplay.exe";
    const std::string untagged = folder + "canyon.mp4";
    const std::string tagged = folder + "canyon sbs.mp4";
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FILE_ATTRIBUTE_DATA clip;
    if (!CopyFileA((ProgramFolder() + "ffplay.exe").c_str(), player.c_str(), FALSE) ||
        !CopyFileA((clips + "ffprobe.exe").c_str(), (folder + "ffprobe.exe").c_str(), FALSE) ||
        !CopyFileA((clips + "canyon.mp4").c_str(), untagged.c_str(), FALSE) ||
        !CopyFileA((clips + "canyon.mp4").c_str(), tagged.c_str(), FALSE) ||
        !GetFileAttributesExA(untagged.c_str(), GetFileExInfoStandard, &clip)) {
        Print("Auto: no ffprobe.exe or canyon.mp4 in %s (CTest's auto_clips makes them)\n",
              clips.c_str());
        return;
    }
    CopyText(szPlayerExe, sizeof szPlayerExe, player.c_str());
    const struct {
        const char *what;
        const std::string &file;
        int layout;
    } cases[] = {
        {"Auto, untagged: stream probe and picture", untagged, kAutoInputLayout},
        {"Auto, Replay of it (remembered)", untagged, kAutoInputLayout},
        {"Auto, bare \"sbs\" tag: stream probe only", tagged, kAutoInputLayout},
        {"stored layout, no probe", untagged, kHalfSbsParallel},
    };
    constexpr size_t kCases = sizeof cases / sizeof cases[0];
    std::vector<double> times[kCases];
    for (int run = 0; run <= runs; ++run) {
        for (size_t i = 0; i < kCases; ++i) {
            PlayerSettings.nStin = cases[i].layout;
            CopyText(szMediaFile, sizeof szMediaFile, cases[i].file.c_str());
            const Sample sample = Play();
            EndPlayerProcesses();
            if (run > 0 && sample.found) // the first run loads Wine's and ffprobe's files
                times[i].push_back(sample.total);
        }
    }
    Print("\nAuto: canyon.mp4, 1920x1080 H.264, 3 s, %lu bytes; PlayMedia in ms over %d "
          "runs\n",
          clip.nFileSizeLow, runs);
    for (size_t i = 0; i < kCases; ++i)
        if (!times[i].empty())
            Print("%-44s median %7.1f  mean %7.1f  (%zu launches)\n", cases[i].what,
                  Median(times[i]), Mean(times[i]), times[i].size());
    if (!times[0].empty() && !times[2].empty())
        Print("the look at the picture costs %.1f ms more (median; target at most about 300)\n",
              Median(times[0]) - Median(times[2]));
    for (const std::string &file : {player, untagged, tagged, folder + "ffprobe.exe"})
        DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    QueryPerformanceFrequency(&frequency);
    mainThread = GetCurrentThreadId();
    hInst = GetModuleHandleA(nullptr);
    // Like the real program, no console of its own: each launch gets a new console.
    output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode;
    if (GetConsoleMode(output, &mode))
        return RunDetached();
    FreeConsole();
    if (!HookWaits()) {
        Print("WaitForSingleObject is not imported by name\n");
        return 1;
    }
    std::string log =
        ProgramFolder() + "standin-bench-" + std::to_string(GetCurrentProcessId()) + ".log";
    SetEnvironmentVariableA("DUOSCOPE_STANDIN_LOG", log.c_str());
    std::string player = ProgramFolder() + "ffplay.exe";
    CopyText(szPlayerExe, sizeof szPlayerExe, player.c_str());
    CopyText(szMediaFile, sizeof szMediaFile, "D:\\Video\\bench.mp4");
    PlayerSettings = PlayerSettingsRecord{};
    hWndMain = CreateWindowExA(0, "STATIC", "duoscope", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                               nullptr, nullptr, nullptr, nullptr);
    EndPlayerProcesses();

    // One unmeasured pair first: the first start of the interpreter loads more.
    Baseline();
    Play();
    EndPlayerProcesses();

    std::vector<double> base, play, after;
    int worstWaits = 0, failures = 0;
    Print("Times in ms from CreateProcessA (baseline) or from the call (PlayMedia);\n"
          "seen: when the new console window first existed.\n"
          "run  baseline   seen  PlayMedia   seen  after-seen  waits  after-seen\n");
    for (int run = 1; run <= runs; ++run) {
        Sample b = Baseline();
        Sample p = Play();
        EndPlayerProcesses();
        if (!b.found || !p.found || p.seen < 0) {
            ++failures;
            Print("%3d  launch without a console window (baseline %d, PlayMedia %d)\n", run,
                  b.found, p.found);
            continue;
        }
        double afterSeen = p.total - p.seen;
        worstWaits = std::max(worstWaits, p.waitsAfter);
        base.push_back(b.total);
        play.push_back(p.total);
        after.push_back(afterSeen);
        Print("%3d  %8.1f %6.1f  %9.1f %6.1f  %10.1f  %5d  %10d\n", run, b.total, b.seen, p.total,
              p.seen, afterSeen, p.waits, p.waitsAfter);
    }
    MeasureAuto(runs);
    DestroyWindow(hWndMain);
    DeleteFileA(log.c_str());
    if (base.empty()) {
        Print("no measurement\n");
        return 1;
    }
    const double medianRatio = Median(play) / Median(base);
    const double meanRatio = Mean(play) / Mean(base);
    Print("baseline   median %.1f ms, mean %.1f ms\n", Median(base), Mean(base));
    Print("PlayMedia  median %.1f ms, mean %.1f ms\n", Median(play), Mean(play));
    Print("ratio      median %.2f, mean %.2f (target at most 1.20)\n", medianRatio, meanRatio);
    Print("after the window existed: median %.1f ms, at most %d waits of 50 ms (target at most "
          "2)\n",
          Median(after), worstWaits);
    Print("launches without a window: %d\n", failures);
    Print("%s\n", medianRatio <= 1.2 && worstWaits <= 2 ? "target met" : "target missed");
    return 0;
}
