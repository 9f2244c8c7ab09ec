#pragma once

// The calls GlContext makes, as the test Win32 and the recording OpenGL log
// them, for a window whose handle, device context and rendering context are
// logged as `window`, `dc` and `rc`.

#include "tests/doubles/call_log.h"
#include "tests/doubles/test_win32.h"

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
