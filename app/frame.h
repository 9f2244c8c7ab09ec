#pragma once

#include "platform/win32.h"

// One whole frame of `window`: the scene, the frame-rate text over it, then
// the swap. Runs for every paint message.
void renderFrame(HWND window);
