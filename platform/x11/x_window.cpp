#include "platform/x11/x_window.h"

#include <X11/Xatom.h>
#include <unistd.h>

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

}  // namespace

XWindowHandle createXWindow(const Connection& connection, const XWindowParams& params) {
    Display* display = connection.display;
    Visual* visual =
        params.visual ? params.visual->visual : DefaultVisual(display, connection.screen);
    const int depth =
        params.visual ? params.visual->depth : DefaultDepth(display, connection.screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, connection.root, visual, AllocNone);
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.event_mask = params.eventMask;
    const ::Window window = XCreateWindow(
        display, connection.root, params.x, params.y, params.width, params.height, 0, depth,
        InputOutput, visual, CWColormap | CWBackPixmap | CWBorderPixel | CWEventMask, &attributes);
    setIdentity(connection, window, params);
    return {window, attributes.colormap, XVisualIDFromVisual(visual)};
}

void destroyXWindow(const Connection& connection, const XWindowHandle& handle) {
    XDestroyWindow(connection.display, handle.window);
    XFreeColormap(connection.display, handle.colormap);
}
