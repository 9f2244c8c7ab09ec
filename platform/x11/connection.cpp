#include "platform/x11/connection.h"

#include <GL/glx.h>
#include <errno.h>

#include <cstdio>
#include <set>
#include <utility>

namespace {

Connection theConnection;
bool isOpen = false;

// Reports each kind of error (request and error code) once. Xlib's default
// handler would end the process for an error any Windows call would only fail.
int reportError(Display* display, XErrorEvent* error) {
    static auto* reported = new std::set<std::pair<int, int>>;
    if (!reported->insert({error->request_code, error->error_code}).second) return 0;
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "%s: X error: %s (request %d.%d)\n", programName(), text,
                 error->request_code, error->minor_code);
    return 0;
}

Connection describe(Display* display) {
    int errorBase = 0;
    int eventBase = 0;
    const int screen = DefaultScreen(display);
    return {display,
            screen,
            RootWindow(display, screen),
            glXQueryExtension(display, &errorBase, &eventBase) == True,
            {XInternAtom(display, "WM_PROTOCOLS", False),
             XInternAtom(display, "WM_DELETE_WINDOW", False)},
            XInternAtom(display, "_NET_WM_PID", False)};
}

}  // namespace

const Connection* connectDisplay() {
    if (isOpen) return &theConnection;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    XSetErrorHandler(reportError);
    theConnection = describe(display);
    isOpen = true;
    return &theConnection;
}

const Connection* liveConnection() {
    return isOpen ? &theConnection : nullptr;
}

const char* programName() {
    return program_invocation_short_name;
}
