#pragma once

// A window class whose procedure records what it is sent, and the pixel
// format a window asks for, for the tests of the Win32 subset over the fake
// backend and over a real X server.

#include <vector>

#include "platform/win32.h"

// What the recording procedure received, in order.
inline std::vector<MSG> sent;
// What it answers WM_CREATE with: -1 refuses the window.
inline LRESULT createResult = 0;

inline LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    sent.push_back({window, message, wParam, lParam, 0, {0, 0}});
    return message == WM_CREATE ? createResult : 0;
}

// Registers the class `name` of the recording procedure; 0 if it is taken.
inline ATOM registerRecordingClass(const char* name) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass);
}

inline std::vector<UINT> idsOf(const std::vector<MSG>& messages) {
    std::vector<UINT> ids;
    for (const MSG& msg : messages) ids.push_back(msg.message);
    return ids;
}

// A window's double-buffered RGBA OpenGL format of `colorBits` colour bits
// (0: any) and 16 depth bits.
inline PIXELFORMATDESCRIPTOR windowFormatRequest(int colorBits) {
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = static_cast<BYTE>(colorBits);
    descriptor.cDepthBits = 16;
    return descriptor;
}
