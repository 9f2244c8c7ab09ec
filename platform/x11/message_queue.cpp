#include <X11/Xlib.h>

#include "platform/x11/connection.h"
#include "platform/x11/queue_step.h"
#include "platform/x11/window.h"

namespace {

struct QuitRequest {
    bool posted;
    int exitCode;
};

QuitRequest quitRequest{false, 0};

BOOL deliver(LPMSG msg, HWND window, Message message) {
    *msg = MSG{window, message.message, message.wParam, message.lParam, GetTickCount(), {0, 0}};
    return TRUE;
}

// WM_QUIT goes out once per request, as on Windows.
BOOL deliverQuit(LPMSG msg) {
    quitRequest.posted = false;
    deliver(msg, nullptr, {WM_QUIT, static_cast<WPARAM>(quitRequest.exitCode), 0});
    return FALSE;
}

// The next event, waiting for one if none is there. Of pointer motions that
// follow each other with nothing between, only the latest.
XEvent nextEvent(Display* display) {
    XEvent event;
    XNextEvent(display, &event);
    XEvent next;
    while (XEventsQueued(display, QueuedAfterReading) > 0) {
        XPeekEvent(display, &next);
        if (!continuesMotion(event, next)) break;
        XNextEvent(display, &event);
    }
    return event;
}

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
        return translateState(readWmState(connection, event.xproperty.window), view);
    }
    return translateEvent(event, view, connection.atoms);
}

// Reads the next event, waiting for one if none is there; true when it made a message.
bool readEvent(const Connection& connection, LPMSG msg) {
    const XEvent event = nextEvent(connection.display);
    const HWND window = findWindow(event.xany.window);
    if (!window) return false;  // an X window no longer in use
    const Translation translation = translate(connection, event, window->view);
    window->view = translation.view;
    if (!translation.message) return false;
    deliver(msg, window, *translation.message);
    return true;
}

}  // namespace

// Every message of the thread: the window and filter arguments are not used.
// Without a display there is nothing to wait for: -1.
BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    if (!msg) return -1;
    const Connection* connection = liveConnection();
    for (;;) {
        const HWND painted = firstWindowOnScreen();
        const bool eventWaiting = connection && XPending(connection->display) > 0;
        switch (nextQueueStep({quitRequest.posted, eventWaiting, painted != nullptr})) {
            case QueueStep::Quit: return deliverQuit(msg);
            case QueueStep::Paint: return deliver(msg, painted, {WM_PAINT, 0, 0});
            case QueueStep::ReadEvent:
            case QueueStep::WaitForEvent:
                if (!connection) return -1;
                if (readEvent(*connection, msg)) return TRUE;
                break;
        }
    }
}

// Key messages make no character messages: the program reads no keys.
BOOL WINAPI TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    const HWND window = msg ? findWindow(msg->hwnd) : nullptr;
    if (!window) return 0;
    return window->procedure(window, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void WINAPI PostQuitMessage(int exitCode) {
    quitRequest = {true, exitCode};
}
