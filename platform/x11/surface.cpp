// The program's windows as X windows: made, remade on another visual, shown.
#include <X11/Xatom.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/x11/surface.h"
#include "platform/x11/x_limits.h"

namespace {

// Sizes, mapping and destruction come as structure events, iconifying as a
// new WM_STATE property; the left button and the pointer as they are.
// Exposure makes no message: an idle window is painted anyway.
constexpr long kEventMask = StructureNotifyMask | PropertyChangeMask | ButtonPressMask |
                            ButtonReleaseMask | PointerMotionMask | ExposureMask;

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

void reportRefusal(const Connection& connection, const XWindowParams& params,
                   unsigned char errorCode) {
    std::fprintf(stderr, "%s: the X server refused the window \"%s\": %s\n", programName(),
                 params.title, errorText(connection, errorCode).c_str());
}

XWindowParams windowParams(const Surface& surface, const XVisualInfo* visual) {
    return {.visual = visual,
            .x = surface.left,
            .y = surface.top,
            .placedBySystem = surface.placedBySystem,
            .width = surface.view.width,
            .height = surface.view.height,
            .fixedSize = false,
            .eventMask = kEventMask,
            .title = surface.title.c_str(),
            .className = surface.className.c_str()};
}

std::unique_ptr<Surface> newSurface(HWND window, const SurfaceRequest& request) {
    return std::make_unique<Surface>(
        Surface{.window = window,
                .title = request.title,
                .className = request.className,
                .left = request.x,
                .top = request.y,
                .placedBySystem = request.placedBySystem,
                .xWindow = {},
                .view = {.width = std::clamp(request.width, 1, kMaxXSize),
                         .height = std::clamp(request.height, 1, kMaxXSize),
                         .mapped = false,
                         .iconic = false,
                         .destroyed = false},
                .shown = false});
}

void reportNoDisplay() {
    const char* name = XDisplayName(nullptr);
    if (name[0] == '\0') {
        std::fprintf(stderr, "%s: cannot open display: DISPLAY is not set\n", programName());
    } else {
        std::fprintf(stderr, "%s: cannot open display \"%s\"\n", programName(), name);
    }
}

// The pixel format of a double-buffered RGBA visual with a depth buffer, the
// one windows are first made on; 0 when the server has none.
int defaultWindowPixelFormat() {
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cDepthBits = 1;
    return choosePixelFormat(request);
}

// X fixes a window's visual when the window is made, Windows lets the pixel
// format be set once afterwards; so a window not on the visual yet gets a
// new X window on it, mapped again if it was shown. SetPixelFormat does this
// at window creation, before the window is seen. False, with the window left
// as it was, when the server refuses the new X window or another client
// destroyed the window.
bool moveToVisual(Connection& connection, Surface& surface, const XVisualInfo& visual) {
    if (surface.view.destroyed) return false;
    if (surface.xWindow.visual == visual.visualid) return true;
    const std::optional<XWindowHandle> moved =
        createXWindow(connection, windowParams(surface, &visual));
    if (!moved) return false;
    destroyXWindow(connection, surface.xWindow);
    surface.xWindow = *moved;
    surface.view.mapped = false;
    if (surface.shown) XMapWindow(connection.display, surface.xWindow.window);
    return true;
}

}  // namespace

std::optional<XWindowHandle> createXWindow(Connection& connection, const XWindowParams& params) {
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
        window = XCreateWindow(
            display, connection.root, params.x, params.y, static_cast<unsigned>(params.width),
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

Surface* surfaceOfXWindow(::Window xWindow) {
    return findSurface([xWindow](const Surface& s) { return s.xWindow.window == xWindow; });
}

// The window's first X window: on a GLX visual fit for OpenGL, or on the
// default visual without one, so that the window exists in any case and
// only its rendering context fails.
Surface* backend::createSurface(HWND window, const SurfaceRequest& request) {
    Connection* connection = connectDisplay();
    if (!connection) {
        reportNoDisplay();
        return nullptr;
    }
    std::unique_ptr<Surface> made = newSurface(window, request);
    const XVisualInfo* visual = visualOf(*connection, defaultWindowPixelFormat());
    const std::optional<XWindowHandle> xWindow =
        createXWindow(*connection, windowParams(*made, visual));
    if (!xWindow) return nullptr;
    made->xWindow = *xWindow;
    return made.release();  // the window's record holds it
}

void backend::destroySurface(Surface* surface) {
    const std::unique_ptr<Surface> destroyed(surface);
    Connection* connection = liveConnection();
    if (connection) destroyXWindow(*connection, surface->xWindow);
}

bool backend::showSurface(Surface& surface, bool show) {
    const Connection* connection = liveConnection();
    if (surface.view.destroyed || !connection) return false;
    surface.shown = show;
    if (show) {
        XMapWindow(connection->display, surface.xWindow.window);
    } else {
        XUnmapWindow(connection->display, surface.xWindow.window);
    }
    return true;
}

SurfaceState backend::surfaceState(const Surface& surface) {
    return {surface.view.width, surface.view.height, isOnScreen(surface.view), surface.shown};
}

bool backend::setSurfaceFormat(Surface& surface, int pixelFormat) {
    Connection* connection = liveConnection();
    const XVisualInfo* visual = connection ? visualOf(*connection, pixelFormat) : nullptr;
    return visual && moveToVisual(*connection, surface, *visual);
}
