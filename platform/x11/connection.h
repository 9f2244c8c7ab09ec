#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xutil.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/common/backend.h"
#include "platform/x11/event_translation.h"

// A backend surface: a top-level X window, remade on another visual when
// its pixel format is set (see surface.h).
struct Surface;

// The system font: the server's "fixed" core font.
struct SystemFont {
    XFontStruct* core;
};

// Catches the protocol errors of a run of requests, so that the caller can
// tell that the server refused them instead of the error being only reported.
// An error of an earlier request is not the trap's and goes on to the report.
class ErrorTrap {
public:
    // `firstSerial`: the serial of the run's first request (NextRequest).
    explicit ErrorTrap(unsigned long firstSerial) : firstSerial_(firstSerial) {}

    // Takes the error if one of the trapped requests caused it; false leaves
    // it to the usual report.
    bool claim(const XErrorEvent& error) {
        if (error.serial < firstSerial_) return false;
        if (errorCode_ == Success) errorCode_ = error.error_code;
        return true;
    }

    // The code of the first error taken, Success (0) for none.
    unsigned char errorCode() const { return errorCode_; }

private:
    unsigned long firstSerial_;
    unsigned char errorCode_ = Success;
};

// The process's one connection to the X server, and everything the layer
// keeps of it. It is never closed: the rendering context's teardown runs at
// exit, after WinMain, and still needs it.
struct Connection {
    enum class State { Closed, Open, Lost };

    State state = State::Closed;
    Display* display = nullptr;
    int screen = 0;
    ::Window root = None;
    bool hasGlx = false;  // the server has the GLX extension
    ProtocolAtoms atoms{};
    Atom processId = None;                            // _NET_WM_PID
    std::optional<std::vector<XVisualInfo>> visuals;  // see screenVisuals
    bool fontLoaded = false;                          // see backend::systemFont
    SystemFont font{nullptr};
    ErrorTrap* trap = nullptr;  // the run of requests being trapped
};

// Opens the connection on the first call that succeeds (XOpenDisplay(NULL):
// the DISPLAY variable) and returns it from then on; nullptr while no
// display can be opened, and once the connection is lost. Opening makes X
// errors non-fatal: each kind is reported once on stderr. Losing the
// connection (the server ended, or killed this client) is said once on
// stderr and ends the process with exit code 1, from inside whatever call
// noticed; the at-exit teardown that follows finds no connection and so
// makes no X or GLX call on the dead one.
Connection* connectDisplay();

// The connection if one is open, without trying to open one; nullptr
// otherwise. Every call of the layer that talks to the server asks here.
Connection* liveConnection();

// The connection if its server renders OpenGL: no GLX call goes to one that cannot.
Connection* glxConnection();

// Sends the requests that `send` makes and waits for the server's answer to
// them (XSync). Returns the code of the first protocol error they caused,
// Success (0) if none; errors caught here are left to the caller to report.
unsigned char trapErrors(Connection& connection, const std::function<void()>& send);

// The server's text for an error code, for stderr lines.
std::string errorText(const Connection& connection, unsigned char errorCode);

// The program's name, for stderr lines and WM_CLASS.
const char* programName();

// The screen's visuals, in the server's order (pixel format n is visual
// n - 1), read on the first call.
std::vector<XVisualInfo>& screenVisuals(Connection& connection);

// The visual of a pixel format, nullptr for an index out of range.
const XVisualInfo* visualOf(Connection& connection, int pixelFormat);
