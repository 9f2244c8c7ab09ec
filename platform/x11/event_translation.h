#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

#include <optional>

#include "platform/win32.h"

// A message as the queue hands it out, before it is addressed to a window.
struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

    friend bool operator==(const Message&, const Message&) = default;
};

// What the queue knows of one window from the events seen so far.
struct WindowView {
    int width;
    int height;
    bool mapped;

    friend bool operator==(const WindowView&, const WindowView&) = default;
};

// The display's atoms of the window manager's close request.
struct ProtocolAtoms {
    Atom protocols;     // WM_PROTOCOLS
    Atom deleteWindow;  // WM_DELETE_WINDOW
};

// One event's outcome: the message it makes, if any, and the window as known after it.
struct Translation {
    std::optional<Message> message;
    WindowView view;
};

// lParam of a point or a size: x in the low 16 bits, y in the high 16 bits,
// each wrapped to 16 bits as Windows does (-1 becomes 0xFFFF).
LPARAM packPoint(int x, int y);

// Whether a client message is the window manager's request to close the
// window: WM_PROTOCOLS, 32-bit data, WM_DELETE_WINDOW first.
bool isCloseRequest(const XClientMessageEvent& event, ProtocolAtoms atoms);

// What an event of a window means to its window procedure: a new size, a
// left-button press or release or a pointer move over the client area, or a
// close request make a message; mapping and unmapping only change the view;
// anything else is consumed.
Translation translateEvent(const XEvent& event, WindowView view, ProtocolAtoms atoms);
