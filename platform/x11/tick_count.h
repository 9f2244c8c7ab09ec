#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <ctime>

#include "platform/win32.h"

// Milliseconds of a clock reading, modulo 2^32, as GetTickCount counts.
DWORD ticksOf(const timespec& clock);
