#include "support.h"

#include "common/code_page.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

std::string StandinLogPath()
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("DUOSCOPE_STANDIN_LOG", path, sizeof path);
    return length > 0 && length < sizeof path ? path : "";
}

std::vector<StandinStart> StandinStarts()
{
    std::vector<StandinStart> starts;
    std::ifstream log(StandinLogPath(), std::ios::binary);
    std::string line;
    while (std::getline(log, line)) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        starts.push_back(
            {static_cast<DWORD>(strtoul(line.c_str(), nullptr, 10)), line.substr(tab + 1)});
    }
    return starts;
}

void ClearStandinLog()
{
    DeleteFileA(StandinLogPath().c_str());
}

bool WaitForStandinStarts(size_t count, DWORD timeoutMs)
{
    return WaitFor([count] { return StandinStarts().size() >= count; }, timeoutMs);
}

bool ProcessRunning(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr)
        return false;
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

// Ids of the running processes with this executable name.
static std::vector<DWORD> ProcessesNamed(const char *name)
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (_stricmp(entry.szExeFile, name) == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

void EndPlayerProcesses()
{
    for (const char *name : {"ffplay.exe", "cmd.exe"}) {
        for (DWORD id : ProcessesNamed(name)) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
            if (process == nullptr)
                continue;
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

std::wstring Wide(const std::string &text, UINT codePage)
{
    std::wstring wide(text.size() + 1, L'\0');
    int length =
        MultiByteToWideChar(codePage, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

std::string Narrow(const std::wstring &text, UINT codePage)
{
    std::string narrow(text.size() * 4 + 1, '\0');
    int length = WideCharToMultiByte(codePage, 0, text.c_str(), -1, &narrow[0],
                                     static_cast<int>(narrow.size()), nullptr, nullptr);
    narrow.resize(length > 0 ? length - 1 : 0);
    return narrow;
}

std::vector<std::wstring> Arguments(const std::string &commandLine)
{
    int count = 0;
    LPWSTR *list = CommandLineToArgvW(Wide(commandLine, CP_UTF8).c_str(), &count);
    std::vector<std::wstring> arguments(list, list + count);
    LocalFree(list);
    return arguments;
}

std::wstring LongPath(const std::wstring &path)
{
    wchar_t buffer[1024];
    DWORD length = GetLongPathNameW(path.c_str(), buffer, 1024);
    return length > 0 && length < 1024 ? buffer : L"";
}

bool CreateEmptyFile(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

std::string ProgramFolder()
{
    // In the ANSI form that the program makes of its own path: the short form where the
    // ANSI code page lacks a letter of the checkout's folder.
    wchar_t wide[MAX_PATH];
    char path[MAX_PATH] = "";
    if (GetModuleFileNameW(nullptr, wide, MAX_PATH) < MAX_PATH)
        AnsiPathFromWide(wide, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string LaunchScriptFile()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "duoscope.bat";
}

bool FileExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool SaveWindowScreenshot(HWND window, const std::string &name)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> pixels(stride * static_cast<DWORD>(height));
    int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                          reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (lines != height)
        return false;

    const std::string folder = ProgramFolder() + "screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(folder + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char *>(&file), sizeof file);
    out.write(reinterpret_cast<const char *>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return out.good();
}

std::vector<DWORD> ProcessIds(const char *name)
{
    return ProcessesNamed(name);
}
