#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

#include <functional>
#include <string>

#include "platform/x11/event_translation.h"

// The process's one connection to the X server, with what the layer needs
// of it. It is never closed: the rendering context's teardown runs at exit,
// after WinMain, and still needs it.
struct Connection {
    Display* display;
    int screen;
    ::Window root;
    bool hasGlx;  // the server has the GLX extension
    ProtocolAtoms atoms;
    Atom processId;  // _NET_WM_PID
};

// Opens the connection on the first call that succeeds (XOpenDisplay(NULL):
// the DISPLAY variable) and returns it from then on; nullptr while no
// display can be opened, and once the connection is lost. Opening makes X
// errors non-fatal: each kind is reported once on stderr. Losing the
// connection (the server ended, or killed this client) is said once on
// stderr and ends the process with exit code 1, from inside whatever call
// noticed; the at-exit teardown that follows finds no connection and so
// makes no X or GLX call on the dead one.
const Connection* connectDisplay();

// The connection if one is open, without trying to open one; nullptr
// otherwise. Every call of the layer that talks to the server asks here.
const Connection* liveConnection();

// Sends the requests that `send` makes and waits for the server's answer to
// them (XSync). Returns the code of the first protocol error they caused,
// Success (0) if none; errors caught here are left to the caller to report.
unsigned char trapErrors(const Connection& connection, const std::function<void()>& send);

// The server's text for an error code, for stderr lines.
std::string errorText(const Connection& connection, unsigned char errorCode);

// The program's name, for stderr lines and WM_CLASS.
const char* programName();
