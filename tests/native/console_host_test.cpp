#include <gtest/gtest.h>

#include "playback/console_host.h"

TEST(ClosesItsConsole, OnlyTheClassicAndWinesConsoleWindows)
{
    const struct {
        const char *className;
        bool closes;
    } cases[] = {
        {"ConsoleWindowClass", true},   {"WineConsoleClass", true},
        {"PseudoConsoleWindow", false}, {"CASCADIA_HOSTING_WINDOW_CLASS", false},
        {"#32770", false},              {"ConsoleWindowClassX", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.closes, ClosesItsConsole(c.className)) << c.className;
}
