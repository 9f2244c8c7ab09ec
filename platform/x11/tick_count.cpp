#include "platform/x11/tick_count.h"

#include <cstdint>

DWORD ticksOf(const timespec& clock) {
    const uint64_t milliseconds =
        static_cast<uint64_t>(clock.tv_sec) * 1000 + static_cast<uint64_t>(clock.tv_nsec) / 1000000;
    return static_cast<DWORD>(milliseconds);
}
