#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <GL/glx.h>

#include <string>

#include "platform/win32.h"
#include "platform/x11/event_translation.h"
#include "platform/x11/x_window.h"

// The records behind the handles the layer hands out, all of them: win32.h
// declares each handle as a pointer to an incomplete type, completed here.
// Brushes and menus are never made by the layer and stay incomplete.
// A handle is used only after the layer found it among those it made.

// A window's one private device context (CS_OWNDC): what is set on it stays.
struct HDC__ {
    HWND window;
    int pixelFormat;  // 0 until SetPixelFormat
    HGDIOBJ font;     // nullptr: the stock system font, as on a new device context
};

// A window of the layer: its class's procedure, its X window and what the
// events told of it.
struct HWND__ {
    WNDPROC procedure;
    std::string title;
    std::string className;
    int left;  // where it was asked to go, unless placedBySystem
    int top;
    bool placedBySystem;
    XWindowHandle xWindow;
    WindowView view;
    bool shown;  // ShowWindow mapped it (the server may not have yet)
    HDC__ deviceContext;
};

// A rendering context: the GLX context made for it.
struct HGLRC__ {
    GLXContext context;
};

// Icons and cursors are only names: the window manager draws the icon and
// the server the cursor.
struct HICON__ {};

// The instance handle is only a name here; Windows passes the module's address.
struct HINSTANCE__ {};
