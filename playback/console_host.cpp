#include "playback/console_host.h"

#include <cstring>

bool ClosesItsConsole(const char *className)
{
    return strcmp(className, "ConsoleWindowClass") == 0 ||
           strcmp(className, "WineConsoleClass") == 0;
}
