// How long a user waits, from naming a file on duoscope.exe's command line until the
// player shows its first frame, and where that time goes, watched from outside: each
// launch starts the built program as a user would and notes, every few milliseconds, when
// its probes (ffprobe.exe), the launch script's interpreter (cmd.exe) and the player
// (ffplay.exe) start and end, when the script's console window and the main window show,
// and when the player's own window shows (ffplay shows it with its first frame). The
// stand-in player (it shows no window) stops the clock when it starts.
//
//   tools/winerun.sh BUILD BUILD/launch_steps_bench.exe FOLDER [runs] [clip...]
//
// FOLDER holds duoscope.exe, ffplay.exe, ffprobe.exe and the clips (names relative to
// FOLDER, or full paths). For each clip, runs of: a stored layout (Half SBS parallel);
// Auto's first launch (nothing remembered of the file); Auto's next launch (a new start
// of the program, the file decided before); and ffplay.exe started by hand with the
// same size. The settings are put into the registry before each start and put back at
// the end. Prints each run's steps and the medians; exits 0 unless nothing could start.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "settings/format_catalogue.h"
#include "settings/registry_store.h"

namespace {

LARGE_INTEGER frequency;

double NowMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// How often the watch looks.
constexpr DWORD kWatchEveryMs = 3;
// How long one launch may take before it counts as failed.
constexpr double kLaunchLimitMs = 30000;

// What one look saw.
struct Look {
    std::map<std::string, int> processes; // running processes by name
    bool mainShown = false;
    bool consoleShown = false;
    bool playerShown = false; // ffplay's SDL window
};

BOOL CALLBACK SeeWindow(HWND window, LPARAM lParam)
{
    Look &look = *reinterpret_cast<Look *>(lParam);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    const bool visible = IsWindowVisible(window) != FALSE;
    if (strcmp(name, "DAZAZERODI") == 0 && visible)
        look.mainShown = true;
    else if (strcmp(name, "WineConsoleClass") == 0 || strcmp(name, "ConsoleWindowClass") == 0)
        look.consoleShown = true;
    else if (strcmp(name, "SDL_app") == 0 && visible)
        look.playerShown = true;
    return TRUE;
}

Look LookNow()
{
    Look look;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        ++look.processes[entry.szExeFile];
    CloseHandle(snapshot);
    EnumWindows(SeeWindow, reinterpret_cast<LPARAM>(&look));
    return look;
}

// The moments of one launch, in ms from its start; -1 when not seen.
struct Steps {
    double probeStart = -1, probeEnd = -1, cmdStart = -1, consoleShown = -1, mainShown = -1,
           playerStart = -1, firstFrame = -1;
};

void Note(double &moment, bool now, double at)
{
    if (now && moment < 0)
        moment = at;
}

// Ends every process of these names and waits until they are gone.
void EndAll()
{
    for (const char *name : {"duoscope.exe", "ffplay.exe", "ffprobe.exe", "cmd.exe"}) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry;
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more;
             more = Process32Next(snapshot, &entry)) {
            if (_stricmp(entry.szExeFile, name) != 0)
                continue;
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                         entry.th32ProcessID);
            if (process) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        }
        CloseHandle(snapshot);
    }
}

// Starts `commandLine` and watches until the player has shown its first frame (or, with
// `standIn`, started), or kLaunchLimitMs. Returns the moments seen.
Steps Watch(const std::string &commandLine, const std::string &folder, bool standIn)
{
    Steps steps;
    // (Its output, the player's by hand, goes nowhere: this program prints the figures.)
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nowhere = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nowhere;
    startup.hStdError = nowhere;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    const double start = NowMs();
    const BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
    CloseHandle(nowhere);
    if (!started)
        return steps;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    bool probed = false;
    for (;;) {
        const Look look = LookNow();
        const double at = NowMs() - start;
        const bool probing = look.processes.count("ffprobe.exe") > 0;
        Note(steps.probeStart, probing, at);
        probed = probed || probing;
        Note(steps.probeEnd, probed && !probing, at);
        Note(steps.cmdStart, look.processes.count("cmd.exe") > 0, at);
        Note(steps.consoleShown, look.consoleShown, at);
        Note(steps.mainShown, look.mainShown, at);
        Note(steps.playerStart, look.processes.count("ffplay.exe") > 0, at);
        Note(steps.firstFrame, look.playerShown, at);
        if ((standIn ? steps.playerStart : steps.firstFrame) >= 0 || at > kLaunchLimitMs)
            break;
        Sleep(kWatchEveryMs);
    }
    EndAll();
    return steps;
}

double Median(std::vector<double> values)
{
    values.erase(std::remove(values.begin(), values.end(), -1.0), values.end());
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PutSetting(const char *name, int value)
{
    WriteSetting(name, std::to_string(value).c_str());
}

// Forgets what the program remembers of files from earlier runs.
void ForgetFiles()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kFilmsKey);
}

} // namespace

int main(int argc, char **argv)
{
    QueryPerformanceFrequency(&frequency);
    if (argc < 2) {
        printf("usage: launch_steps_bench.exe FOLDER [runs] [clip...]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\')
        folder += '\\';
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    std::vector<std::string> clips;
    for (int i = 3; i < argc; ++i)
        clips.push_back(argv[i]);
    if (clips.empty())
        clips.push_back("canyon.mp4");
    const bool standIn = GetEnvironmentVariableA("DUOSCOPE_STANDIN_LOG", nullptr, 0) > 0;
    SetEnvironmentVariableA("SDL_RENDER_DRIVER", "software");
    EndAll();
    PutSetting("nStout", 17);
    PutSetting("nFull", 0);
    PutSetting("nOrg", 0);
    PutSetting("nERCHK", 0);

    enum Case { Stored, AutoFirst, AutoNext, ByHand, kCases };
    const char *const caseNames[kCases] = {"stored layout", "Auto, first launch",
                                           "Auto, next launch", "ffplay.exe by hand"};
    printf("ms from the start; probe = ffprobe.exe seen and gone, cmd = cmd.exe seen,\n"
           "console and main = their windows shown, player = ffplay.exe seen, frame = its\n"
           "window shown (the first frame)%s\n",
           standIn ? "; the stand-in player ends the clock when it starts" : "");
    for (const std::string &clip : clips) {
        const std::string path = clip.find(':') != std::string::npos ? clip : folder + clip;
        std::vector<double> totals[kCases];
        printf("\n%s\ncase                  run  probe  gone    cmd console   main player  frame\n",
               path.c_str());
        for (int run = 0; run <= runs; ++run) {
            for (int c = 0; c < kCases; ++c) {
                PutSetting("nStin", c == Stored ? kHalfSbsParallel : kAutoInputLayout);
                if (c == AutoFirst)
                    ForgetFiles();
                const std::string command =
                    c == ByHand ? "\"" + folder + "ffplay.exe\" -x 632 -y 434 \"" + path + "\""
                                : "\"" + folder + "duoscope.exe\" \"" + path + "\"";
                const Steps s = Watch(command, folder, standIn);
                const double total = standIn ? s.playerStart : s.firstFrame;
                if (run == 0) // the first round loads Wine's and the programs' files
                    continue;
                totals[c].push_back(total);
                printf("%-20s %4d %6.0f %6.0f %6.0f %7.0f %6.0f %6.0f %6.0f\n", caseNames[c],
                       run, s.probeStart, s.probeEnd, s.cmdStart, s.consoleShown, s.mainShown,
                       s.playerStart, s.firstFrame);
            }
        }
        for (int c = 0; c < kCases; ++c)
            printf("%-20s median %7.1f ms\n", caseNames[c], Median(totals[c]));
    }
    return 0;
}
