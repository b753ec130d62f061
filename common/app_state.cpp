#include "common/app_state.h"

char szMediaFile[kPathSize];
char szPlayerExe[kPathSize];
HWND hWndMain;
