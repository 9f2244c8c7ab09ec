#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include "platform/x11/window_table.h"

// Puts the window on the visual. X fixes a window's visual when the window
// is made, Windows lets the pixel format be set once afterwards; so a window
// not on the visual yet gets a new X window on it, mapped again if it was
// shown. SetPixelFormat does this at window creation, before the window is seen.
void moveToVisual(const Connection& connection, HWND window, const XVisualInfo& visual);
