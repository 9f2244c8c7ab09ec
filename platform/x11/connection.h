#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

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
// display can be opened. Opening makes X errors non-fatal: each kind is
// reported once on stderr.
const Connection* connectDisplay();

// The connection if one is open, without trying to open one; nullptr otherwise.
const Connection* liveConnection();

// The program's name, for stderr lines and WM_CLASS.
const char* programName();
