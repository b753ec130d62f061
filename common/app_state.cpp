#include "common/app_state.h"

HINSTANCE hInst;
char szTitle[100];
char szWindowClass[100];
char szModulePath[kPathSize];
char szMediaFile[kPathSize];
char szPlayerExe[kPathSize];
HWND hWndMain;
