#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

#include "platform/x11/handles.h"

// The process's windows. CreateWindowExA adds them; they live until the
// process ends, as the program never destroys its window.

// The window itself if the handle is one of ours, else nullptr.
HWND findWindow(HWND window);

// The window whose X window this is, nullptr for none.
HWND findWindow(::Window xWindow);

// The device context itself if it is a window's, else nullptr.
HDC findDeviceContext(HDC deviceContext);

// The first window to paint (isOnScreen), nullptr for none.
HWND firstWindowOnScreen();

// The window of a device context if its X window can still be drawn on:
// nullptr for a device context not ours, or one whose X window another
// client destroyed.
HWND findDrawableWindow(HDC deviceContext);

// Puts the window on the visual. X fixes a window's visual when the window
// is made, Windows lets the pixel format be set once afterwards; so a window
// not on the visual yet gets a new X window on it, mapped again if it was
// shown. SetPixelFormat does this at window creation, before the window is
// seen. False, with the window left as it was, when the server refuses the
// new X window or another client destroyed the window.
bool moveToVisual(const Connection& connection, HWND window, const XVisualInfo& visual);
