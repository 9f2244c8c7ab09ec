#include "platform/x11/x_window.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <cstdio>

#include "platform/x11/x_window_faults.h"

namespace {

void setSizeHints(Display* display, ::Window window, const XWindowParams& params) {
    XSizeHints hints{};
    hints.flags = PSize | (params.placedBySystem ? 0 : PPosition);
    hints.x = params.x;
    hints.y = params.y;
    hints.width = params.width;
    hints.height = params.height;
    if (params.fixedSize) {
        hints.flags |= PMinSize | PMaxSize;
        hints.min_width = hints.max_width = params.width;
        hints.min_height = hints.max_height = params.height;
    }
    XSetWMNormalHints(display, window, &hints);
}

// Takes keyboard focus when the window manager gives it, and starts normal
// (not iconified).
void setWmHints(Display* display, ::Window window) {
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(display, window, &hints);
}

void setClass(Display* display, ::Window window, const char* className) {
    XClassHint hint;
    hint.res_name = const_cast<char*>(programName());
    hint.res_class = const_cast<char*>(className);
    XSetClassHint(display, window, &hint);
}

void setProcessId(const Connection& connection, ::Window window) {
    const long pid = getpid();
    XChangeProperty(connection.display, window, connection.processId, XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
}

void setIdentity(const Connection& connection, ::Window window, const XWindowParams& params) {
    XStoreName(connection.display, window, params.title);
    setClass(connection.display, window, params.className);
    setSizeHints(connection.display, window, params);
    setWmHints(connection.display, window);
    setProcessId(connection, window);
    Atom deleteWindow = connection.atoms.deleteWindow;
    XSetWMProtocols(connection.display, window, &deleteWindow, 1);
}

// A width of 0 is one the server always refuses (BadValue).
unsigned requestedWidth(const XWindowParams& params) {
    return refuseXWindow(params) ? 0 : static_cast<unsigned>(params.width);
}

void reportRefusal(const Connection& connection, const XWindowParams& params,
                   unsigned char errorCode) {
    std::fprintf(stderr, "%s: the X server refused the window \"%s\": %s\n", programName(),
                 params.title, errorText(connection, errorCode).c_str());
}

}  // namespace

std::optional<XWindowHandle> createXWindow(const Connection& connection,
                                           const XWindowParams& params) {
    Display* display = connection.display;
    Visual* visual =
        params.visual ? params.visual->visual : DefaultVisual(display, connection.screen);
    const int depth =
        params.visual ? params.visual->depth : DefaultDepth(display, connection.screen);
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.event_mask = params.eventMask;
    ::Window window = None;
    const unsigned char error = trapErrors(connection, [&] {
        attributes.colormap = XCreateColormap(display, connection.root, visual, AllocNone);
        window =
            XCreateWindow(display, connection.root, params.x, params.y, requestedWidth(params),
                          params.height, 0, depth, InputOutput, visual,
                          CWColormap | CWBackPixmap | CWBorderPixel | CWEventMask, &attributes);
        setIdentity(connection, window, params);
    });
    if (error != Success) {
        reportRefusal(connection, params, error);
        trapErrors(connection, [&] {
            XDestroyWindow(display, window);
            XFreeColormap(display, attributes.colormap);
        });
        return std::nullopt;
    }
    return XWindowHandle{window, attributes.colormap, XVisualIDFromVisual(visual)};
}

void destroyXWindow(const Connection& connection, const XWindowHandle& handle) {
    XDestroyWindow(connection.display, handle.window);
    XFreeColormap(connection.display, handle.colormap);
}
