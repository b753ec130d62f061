#include "common/res_string.h"

#include "common/app_state.h"

const char *LoadResString(unsigned id)
{
    static char buffers[2][kResStringSize];
    static int next;
    char *buffer = buffers[next];
    next ^= 1;
    if (LoadStringA(hInst, id, buffer, kResStringSize) <= 0)
        buffer[0] = '\0';
    return buffer;
}
