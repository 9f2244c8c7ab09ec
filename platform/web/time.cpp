#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdint>

#include "platform/web/page.h"

// performance.now() in whole milliseconds, modulo 2^32.
DWORD WINAPI GetTickCount() {
    return static_cast<DWORD>(static_cast<uint64_t>(std::floor(emscripten_get_now())));
}
