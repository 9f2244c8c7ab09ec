#include "platform/x11/x_window.h"

#include <X11/Xatom.h>
#include <unistd.h>

namespace {

void setSizeHints(Display* display, ::Window window, const XWindowSpec& spec) {
    XSizeHints hints{};
    hints.flags = PSize | (spec.placedBySystem ? 0 : PPosition);
    hints.x = spec.x;
    hints.y = spec.y;
    hints.width = spec.width;
    hints.height = spec.height;
    if (spec.fixedSize) {
        hints.flags |= PMinSize | PMaxSize;
        hints.min_width = hints.max_width = spec.width;
        hints.min_height = hints.max_height = spec.height;
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

void setIdentity(const Connection& connection, ::Window window, const XWindowSpec& spec) {
    XStoreName(connection.display, window, spec.title);
    setClass(connection.display, window, spec.className);
    setSizeHints(connection.display, window, spec);
    setWmHints(connection.display, window);
    setProcessId(connection, window);
    Atom deleteWindow = connection.atoms.deleteWindow;
    XSetWMProtocols(connection.display, window, &deleteWindow, 1);
}

}  // namespace

XWindowHandle createXWindow(const Connection& connection, const XWindowSpec& spec) {
    Display* display = connection.display;
    Visual* visual = spec.visual ? spec.visual->visual : DefaultVisual(display, connection.screen);
    const int depth = spec.visual ? spec.visual->depth : DefaultDepth(display, connection.screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, connection.root, visual, AllocNone);
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.event_mask = spec.eventMask;
    const ::Window window = XCreateWindow(
        display, connection.root, spec.x, spec.y, spec.width, spec.height, 0, depth, InputOutput,
        visual, CWColormap | CWBackPixmap | CWBorderPixel | CWEventMask, &attributes);
    setIdentity(connection, window, spec);
    return {window, attributes.colormap, XVisualIDFromVisual(visual)};
}

void destroyXWindow(const Connection& connection, const XWindowHandle& handle) {
    XDestroyWindow(connection.display, handle.window);
    XFreeColormap(connection.display, handle.colormap);
}
