#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

#include <optional>

#include "platform/common/backend.h"

// What the queue knows of one window from the events seen so far.
struct WindowView {
    int width;  // the client size, also while iconic
    int height;
    bool mapped;
    bool iconic;     // WM_STATE says the window manager iconified it
    bool destroyed;  // another client destroyed the X window

    friend bool operator==(const WindowView&, const WindowView&) = default;
};

// The display's atoms of what the window manager tells a window: the
// close request and the window's state.
struct ProtocolAtoms {
    Atom protocols;     // WM_PROTOCOLS
    Atom deleteWindow;  // WM_DELETE_WINDOW
    Atom wmState;       // WM_STATE
};

// One event's outcome: what it tells the shared layer of the window, if
// anything, and the window as known after it.
struct Translation {
    std::optional<WindowInput> input;
    WindowView view;
};

// Whether a client message is the window manager's request to close the
// window: WM_PROTOCOLS, 32-bit data, WM_DELETE_WINDOW first.
bool isCloseRequest(const XClientMessageEvent& event, ProtocolAtoms atoms);

// The client size, or minimised while the window is iconic.
WindowInput sizeInput(WindowView view);

// Whether the window is to be painted: shown and neither iconic nor destroyed.
bool isOnScreen(WindowView view);

// What an event of a window tells: its size (the server's ConfigureNotify
// comes for moves and restacking too), a left-button press or release or a
// pointer move at the event's point, a close request, and the window's
// destruction by another client, which ends it as a close does; mapping and
// unmapping only change the view; anything else is consumed. A new size of
// an iconic window is kept for its restoring.
Translation translateEvent(const XEvent& event, WindowView view, ProtocolAtoms atoms);

// Whether the event tells of a new WM_STATE of the window, whose value the
// queue must then read from the server for translateState.
bool isStateChange(const XEvent& event, ProtocolAtoms atoms);

// What a WM_STATE value means, as on Windows: becoming iconic minimises
// the window, becoming normal again restores its client size; a state left
// unchanged, withdrawn or unknown tells nothing.
Translation translateState(long state, WindowView view);
