// The X events as input for the queue, and the clock.
#include <X11/Xlib.h>

#include <ctime>

#include "platform/x11/surface.h"

namespace {

// The window's WM_STATE as the window manager set it: its first 32-bit
// value, -1 when the property is missing or malformed.
long readWmState(const Connection& connection, ::Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom wmState = connection.atoms.wmState;
    const int status = XGetWindowProperty(connection.display, window, wmState, 0, 1, False, wmState,
                                          &type, &format, &count, &after, &data);
    long state = -1;
    if (status == Success && type == wmState && format == 32 && count >= 1) {
        state = reinterpret_cast<const long*>(data)[0];  // Xlib hands 32-bit items as longs
    }
    if (data) XFree(data);
    return state;
}

Translation translate(const Connection& connection, const XEvent& event, WindowView view) {
    if (isStateChange(event, connection.atoms)) {
        // A deleted WM_STATE (the window withdrawn or destroyed) has nothing to read.
        const bool deleted = event.xproperty.state == PropertyDelete;
        return translateState(deleted ? -1 : readWmState(connection, event.xproperty.window), view);
    }
    return translateEvent(event, view, connection.atoms);
}

// Reads the next event, waiting for one if none is there, and tells what it
// says, if anything.
void readEvent(const Connection& connection) {
    XEvent event;
    XNextEvent(connection.display, &event);
    Surface* surface = surfaceOfXWindow(event.xany.window);
    if (!surface) return;  // an X window no longer in use
    const Translation translation = translate(connection, event, surface->view);
    surface->view = translation.view;
    if (translation.input) postInput(surface->window, *translation.input);
}

}  // namespace

// Events come before painting; a window not on the screen is not painted,
// so the queue sleeps in XNextEvent instead of spinning. Every event that
// has come is read, so that the shared layer folds a run of moves into one.
Wake backend::waitForInput(bool paintWaiting) {
    const Connection* connection = liveConnection();
    const bool eventWaiting = connection && XPending(connection->display) > 0;
    if (!eventWaiting && paintWaiting) return Wake::Paint;
    if (!connection) return Wake::Lost;
    do {
        readEvent(*connection);
    } while (XEventsQueued(connection->display, QueuedAfterReading) > 0);
    return Wake::Input;
}

uint64_t backend::milliseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}
