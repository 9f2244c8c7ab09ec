#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <optional>
#include <string>

#include "platform/x11/connection.h"

// A top-level X window and what was made for it.
struct XWindowHandle {
    ::Window window;
    Colormap colormap;
    VisualID visual;
};

// A window of the program as the server has it: its X window and what the
// events told of it.
struct Surface {
    HWND window;
    std::string title;
    std::string className;
    int left;  // where it was asked to go, unless placedBySystem
    int top;
    bool placedBySystem;
    XWindowHandle xWindow;
    WindowView view;
    bool shown;  // mapped on request (the server may not have yet)
};

// The surface whose X window this is, nullptr for none.
Surface* surfaceOfXWindow(::Window xWindow);

// What a top-level X window is made with.
struct XWindowParams {
    const XVisualInfo* visual;  // nullptr: the screen's default visual
    int x;
    int y;
    bool placedBySystem;  // the window manager chooses the position, x and y are ignored
    int width;
    int height;
    bool fixedSize;  // the window manager offers no resizing
    long eventMask;
    const char* title;      // WM_NAME
    const char* className;  // WM_CLASS's class; its instance is the program's name
};

// Creates the window, unmapped, with its name, class, size hints, process id
// and the WM_DELETE_WINDOW protocol, so that closing it sends a ClientMessage
// instead of killing the connection. It erases no background: every frame or
// expose draws the whole window. Waits for the server's answer: when it
// refuses the window (a protocol error), says so on stderr, frees what was
// made and returns nothing.
std::optional<XWindowHandle> createXWindow(Connection& connection, const XWindowParams& params);

// Destroys the window and frees its colormap.
void destroyXWindow(const Connection& connection, const XWindowHandle& handle);
