#include <gtest/gtest.h>

#include <windows.h>

#include "common/app_state.h"
#include "playback/player_process.h"
#include "support.h"

TEST(PlayMedia, SmokeFirstLaunchFindsTheConsole)
{
    PlayerSettings = PlayerSettingsRecord{};
    ClearStandinLog();
    strcpy(szPlayerExe, (ProgramFolder() + "ffplay.exe").c_str());
    strcpy(szMediaFile, "D:\\Video\\100% off %PATH% & ^ ! x.mp4");
    DWORD start = GetTickCount();
    PlayMedia();
    DWORD took = GetTickCount() - start;
    EXPECT_NE(nullptr, hWndPlayer);
    char className[64] = "";
    GetClassNameA(hWndPlayer, className, sizeof className);
    printf("took %lu ms, window class %s visible %d\n", took, className,
           IsWindowVisible(hWndPlayer));
    ASSERT_TRUE(WaitForStandinStarts(1));
    printf("cmd: [%s]\n", StandinStarts()[0].commandLine.c_str());
    ClosePlayerWindow();
    DWORD pid = StandinStarts()[0].processId;
    EXPECT_TRUE(WaitFor([pid] { return !ProcessRunning(pid); }));
}
