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

// A message as the queue holds it, before it is addressed to a window.
struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

    friend bool operator==(const Message&, const Message&) = default;
};

// lParam of a point or a size: x in the low 16 bits, y in the high 16 bits,
// each wrapped to 16 bits as Windows does (-1 becomes 0xFFFF).
inline LPARAM packPoint(int x, int y) {
    const DWORD low = static_cast<DWORD>(x) & 0xFFFF;
    const DWORD high = static_cast<DWORD>(y) & 0xFFFF;
    return static_cast<LPARAM>(low | (high << 16));
}

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

// Queues a message for the window: a size it was last told of is dropped, a
// move right after a move of the same window replaces it.
void postMessage(HWND window, Message message);

// The window message of what a backend told: pointer messages with their
// point packed, WM_SIZE with the client size or 0 by 0 minimised, WM_CLOSE.
Message messageOf(WindowInput input);
