#include <ctime>

#include "platform/x11/tick_count.h"

DWORD WINAPI GetTickCount() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return ticksOf(now);
}
