#pragma once

#include "platform/win32.h"

// The main window's messages: creation, size, paint, close and the left-button
// drag. Every handled message returns 0; the rest go to DefWindowProcA.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
