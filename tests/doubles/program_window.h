#pragma once

// The program's window made as WinMain makes it, on the test Win32: its
// class, the window, and with them (WM_CREATE, WM_SIZE) the rendering
// context, the font and the client size. What the frame tests, the frame
// benchmarks and the recordings of a frame start from.

#include "app/main_window.h"
#include "tests/doubles/fake_backend.h"
#include "tests/doubles/test_win32.h"

// A new process's Win32 with the clock at `createdAt` and a client area of
// `width` by `height` pixels; nullptr if the window cannot be made.
inline HWND makeProgramWindow(DWORD createdAt, int width = 256, int height = 256) {
    resetWin32();
    fake::backend().now = createdAt;
    fake::backend().made = {width, height, true, false};
    return createMainWindow(registerWindowClass(nullptr), nullptr, 256, 256, "vell!");
}
