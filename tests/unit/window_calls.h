#pragma once

// The calls made on a window of the test Win32, as it and the recording
// OpenGL log them; those GlContext makes for a window whose handle, device
// context and rendering context are logged as `window`, `dc` and `rc`.

#include <gtest/gtest.h>

#include "tests/doubles/call_log.h"
#include "tests/doubles/test_win32.h"

// A new process's test Win32 with a bare window to call on, its calls logged.
class WindowCalls : public ::testing::Test {
protected:
    WindowCalls() {
        resetWin32();
        use(bareWindow());
    }

    // Calls go to `window` from here on.
    void use(HWND window) {
        hwnd = window;
        this->window = logged(window);
        dc = logged(deviceContextOf(window));
    }

    CallLog log;
    HWND hwnd = nullptr;
    double window = 0;  // logged(hwnd)
    double dc = 0;      // its device context, logged
};

// init: the pixel format set is the 7th, the test Win32's one usable.
inline Calls contextInitCalls(double window, double dc) {
    return {call("GetDC", {window}), call("ChoosePixelFormat", {dc}),
            call("SetPixelFormat", {dc, 7}), call("wglCreateContext", {dc}),
            call("ReleaseDC", {window, dc})};
}

// buildFont for the codes 32 to 127, on the context it makes current.
inline Calls fontBuildCalls(double window, double dc, double rc) {
    return {call("GetDC", {window}),
            call("wglMakeCurrent", {dc, rc}),
            call("GetStockObject", {SYSTEM_FONT}),
            call("SelectObject", {dc, logged(systemFontObject())}),
            call("glGenLists", {96}),
            call("GetCharWidth32A", {dc, 32, 127}),
            call("wglUseFontBitmapsA", {dc, 32, 96, 1000}),
            call("ReleaseDC", {window, dc})};
}
