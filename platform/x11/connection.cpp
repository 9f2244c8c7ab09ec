#include "platform/x11/connection.h"

#include <GL/glx.h>
#include <errno.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

#include "platform/x11/surface.h"

namespace {

// Never destroyed: the at-exit teardown of the rendering context still needs it.
Connection& theConnection = *new Connection;

std::string errorTextOf(Display* display, int errorCode) {
    char text[256];
    XGetErrorText(display, errorCode, text, sizeof text);
    return text;
}

// One of the layer's windows missing: another client destroyed it. Its
// DestroyNotify, which closes it, can come after the errors of the frames
// drawn in the meantime; those are expected.
bool isAboutDestroyedWindow(const XErrorEvent& error) {
    return (error.error_code == BadWindow || error.error_code == BadDrawable) &&
           surfaceOfXWindow(static_cast<::Window>(error.resourceid));
}

// Reports each kind of error (request and error code) once. Xlib's default
// handler would end the process for an error any Windows call would only fail.
int reportError(Display* display, XErrorEvent* error) {
    if (theConnection.trap && theConnection.trap->claim(*error)) return 0;
    if (isAboutDestroyedWindow(*error)) return 0;
    static auto* reported = new std::set<std::pair<int, int>>;
    if (!reported->insert({error->request_code, error->error_code}).second) return 0;
    std::fprintf(stderr, "%s: X error: %s (request %d.%d)\n", programName(),
                 errorTextOf(display, error->error_code).c_str(), error->request_code,
                 error->minor_code);
    return 0;
}

// Xlib's default would print more than one line and end the process at once;
// this one says it once and leaves the ending to endAfterLoss.
int reportLoss(Display* display) {
    if (theConnection.state == Connection::State::Lost) return 0;
    theConnection.state = Connection::State::Lost;
    std::fprintf(stderr, "%s: lost the connection to display \"%s\"\n", programName(),
                 DisplayString(display));
    return 0;
}

// The call that noticed cannot give its caller a result, so the process ends
// here; the connection is marked lost first, so that the at-exit teardown
// leaves it alone.
void endAfterLoss(Display*, void*) {
    theConnection.state = Connection::State::Lost;
    std::exit(EXIT_FAILURE);
}

void describe(Connection& connection, Display* display) {
    int errorBase = 0;
    int eventBase = 0;
    connection.display = display;
    connection.screen = DefaultScreen(display);
    connection.root = RootWindow(display, connection.screen);
    // All in one round trip; Xlib only reads the names.
    std::array<const char*, 4> names = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE",
                                        "_NET_WM_PID"};
    std::array<Atom, 4> atoms{};
    XInternAtoms(display, const_cast<char**>(names.data()), static_cast<int>(names.size()), False,
                 atoms.data());
    connection.hasGlx = glXQueryExtension(display, &errorBase, &eventBase) == True;
    connection.atoms = {atoms[0], atoms[1], atoms[2]};
    connection.processId = atoms[3];
}

}  // namespace

Connection* connectDisplay() {
    if (theConnection.state != Connection::State::Closed) return liveConnection();
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    XSetErrorHandler(reportError);
    XSetIOErrorHandler(reportLoss);
    XSetIOErrorExitHandler(display, endAfterLoss, nullptr);
    // A write to a connection the server closed fails with EPIPE, which Xlib
    // takes as the loss above, instead of ending the process by the signal.
    std::signal(SIGPIPE, SIG_IGN);
    describe(theConnection, display);
    theConnection.state = Connection::State::Open;
    return &theConnection;
}

Connection* liveConnection() {
    return theConnection.state == Connection::State::Open ? &theConnection : nullptr;
}

Connection* glxConnection() {
    Connection* connection = liveConnection();
    return connection && connection->hasGlx ? connection : nullptr;
}

unsigned char trapErrors(Connection& connection, const std::function<void()>& send) {
    ErrorTrap trap(NextRequest(connection.display));
    connection.trap = &trap;
    send();
    XSync(connection.display, False);
    connection.trap = nullptr;
    return trap.errorCode();
}

std::string errorText(const Connection& connection, unsigned char errorCode) {
    return errorTextOf(connection.display, errorCode);
}

const char* programName() {
    return program_invocation_short_name;
}
