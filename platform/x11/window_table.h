#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "platform/x11/event_translation.h"
#include "platform/x11/x_window.h"

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

// Adds a window to the process's windows; the table owns it from then on.
HWND addWindow(std::unique_ptr<HWND__> window);

// Takes a window out again (its creation was refused) and frees it.
void removeWindow(HWND window);

// The window itself if the handle is one of ours, else nullptr.
HWND findWindow(HWND window);

// The window whose X window this is, nullptr for none.
HWND findWindow(::Window xWindow);

// The device context itself if it is a window's, else nullptr.
HDC findDeviceContext(HDC deviceContext);

// The first window the server shows (mapped), nullptr for none.
HWND firstMappedWindow();
