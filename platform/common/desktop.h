#pragma once

#ifdef _WIN32
#error "the backends stand in for Windows: there the system provides these calls"
#endif

#include <deque>
#include <optional>
#include <string>

#include "platform/common/backend.h"
#include "platform/common/class_registry.h"
#include "platform/common/pixel_format.h"
#include "platform/common/record_table.h"

// The records behind the handles the shared layer hands out, all of them:
// win32.h declares each handle as a pointer to an incomplete type, completed
// here. Brushes and menus are never made and stay incomplete. A handle is
// used only after the layer found it among those it made.

// A window's one private device context (CS_OWNDC): what is set on it stays.
struct HDC__ {
    HWND window;
    int pixelFormat;  // 0 until SetPixelFormat
    HGDIOBJ font;     // nullptr: the stock system font, as on a new device context
};

// A window: its class's procedure and its backend's surface.
struct HWND__ {
    WNDPROC procedure;
    Surface* surface;
    std::optional<Message> lastSize;  // the last WM_SIZE sent or queued
    HDC__ deviceContext;
};

// A rendering context: the backend's.
struct HGLRC__ {
    RenderContext* context;
};

// Icons and cursors are only names: the window system draws them.
struct HICON__ {};

// The instance handle is only a name here; Windows passes the module's address.
struct HINSTANCE__ {};

// What Windows keeps for the program: its window classes, its windows and
// rendering contexts, the screen's pixel formats, and its thread's message
// queue. Lives until the process ends: the at-exit teardown of the rendering
// context runs after static destructors may have, and still asks for its
// window's device context.
struct Desktop {
    ClassRegistry classes;
    RecordTable<HWND__> windows;  // in the order made
    RecordTable<HGLRC__> contexts;
    std::optional<PixelFormatTable> pixelFormats;  // read on first use
    std::deque<std::pair<HWND, Message>> queue;    // posted, not yet taken
    bool quitPosted = false;
    int exitCode = 0;
};

Desktop& desktop();

// The window itself if the handle is one of ours, else nullptr.
HWND findWindow(HWND window);

// The device context itself if it is a window's, else nullptr.
HDC findDeviceContext(HDC deviceContext);

// The window message of what a backend told: pointer messages with their
// point packed, WM_SIZE with the client size or 0 by 0 minimised, WM_CLOSE.
Message messageOf(WindowInput input);
