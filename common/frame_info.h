#pragma once

#include "common/tick_time.h"
#include "platform/win32.h"

// What one frame pass hands to everything it draws.
struct FrameInfo {
    Duration elapsed;  // since window creation, at the start of this pass
    HWND window;       // the window being painted
};
