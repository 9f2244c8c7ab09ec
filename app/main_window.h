#pragma once

#include "platform/win32.h"

// Registers the class "Vell" of the main window; its atom, 0 on failure.
ATOM registerWindowClass(HINSTANCE instance);

// Creates the main window of that class with a client area of width by
// height pixels, placed by the system; NULL on failure.
HWND createMainWindow(ATOM classAtom, HINSTANCE instance, int width, int height, LPCSTR title);
