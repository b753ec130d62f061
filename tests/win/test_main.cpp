// Entry of the Wine test programs: the program's resources come from the test program
// itself; the process gives up its console, as the real program (a GUI program) has
// none, so that each launch script gets a console window of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "common/app_state.h"
#include "common/res_string.h"
#include "support.h"

int main(int argc, char **argv)
{
    // Unbuffered, so that a program that dies still shows which test it was in.
    setvbuf(stdout, nullptr, _IONBF, 0);
    ::testing::InitGoogleTest(&argc, argv);
    hInst = GetModuleHandleA(nullptr);
    FreeConsole();
    std::string log = ProgramFolder() + "standin-" + std::to_string(GetCurrentProcessId()) + ".log";
    SetEnvironmentVariableA("DUOSCOPE_STANDIN_LOG", log.c_str());
    int result = RUN_ALL_TESTS();
    EndPlayerProcesses();
    DeleteFileA(log.c_str());
    return result;
}
