#include "platform/x11/window.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/common/class_registry.h"
#include "platform/x11/record_table.h"
#include "platform/x11/visual_table.h"

namespace {

// Sizes, mapping and destruction come as structure events, iconifying as a
// new WM_STATE property; the left button and the pointer as they are.
// Exposure makes no message: an idle window is painted anyway.
constexpr long kEventMask = StructureNotifyMask | PropertyChangeMask | ButtonPressMask |
                            ButtonReleaseMask | PointerMotionMask | ExposureMask;
constexpr int kMaxSize = 32767;  // a size must fit WM_SIZE's signed 16-bit halves
constexpr LRESULT kRefuseCreation = -1;
constexpr int kHide = 0;  // SW_HIDE

// Never destroyed: the at-exit teardown of the rendering context still asks
// for its window's device context after static destructors may have run.
RecordTable<HWND__>& windows() {
    static auto* table = new RecordTable<HWND__>;
    return *table;
}

// Never destroyed, like the windows of its classes.
ClassRegistry& classes() {
    static ClassRegistry* registry = new ClassRegistry;
    return *registry;
}

XWindowParams windowParams(const HWND__& window, const XVisualInfo* visual) {
    return {.visual = visual,
            .x = window.left,
            .y = window.top,
            .placedBySystem = window.placedBySystem,
            .width = window.view.width,
            .height = window.view.height,
            .fixedSize = false,
            .eventMask = kEventMask,
            .title = window.title.c_str(),
            .className = window.className.c_str()};
}

std::unique_ptr<HWND__> newWindow(const WindowClass& windowClass, LPCSTR title, int x, int y,
                                  int width, int height) {
    const bool placedBySystem = x == CW_USEDEFAULT;
    auto window =
        std::make_unique<HWND__>(HWND__{.procedure = windowClass.procedure,
                                        .title = title ? title : "",
                                        .className = windowClass.name,
                                        .left = placedBySystem ? 0 : x,
                                        .top = placedBySystem ? 0 : y,
                                        .placedBySystem = placedBySystem,
                                        .xWindow = {},
                                        .view = {.width = std::clamp(width, 1, kMaxSize),
                                                 .height = std::clamp(height, 1, kMaxSize),
                                                 .mapped = false,
                                                 .iconic = false,
                                                 .destroyed = false},
                                        .shown = false,
                                        .deviceContext = {}});
    window->deviceContext.window = window.get();
    return window;
}

void reportNoDisplay() {
    const char* name = XDisplayName(nullptr);
    if (name[0] == '\0') {
        std::fprintf(stderr, "%s: cannot open display: DISPLAY is not set\n", programName());
    } else {
        std::fprintf(stderr, "%s: cannot open display \"%s\"\n", programName(), name);
    }
}

// The window's first X window: on a GLX visual fit for OpenGL, or on the
// default visual without one, so that the window exists in any case and
// only its rendering context fails. Nothing if the server refuses it.
std::optional<XWindowHandle> firstXWindow(const Connection& connection, const HWND__& window) {
    const int format = defaultWindowPixelFormat(connection);
    return createXWindow(connection, windowParams(window, visualTable(connection).visual(format)));
}

// WM_CREATE, and WM_SIZE with the client size, as Windows sends them before
// CreateWindowExA returns; NULL if the window procedure refuses creation.
HWND sendCreation(const Connection& connection, HWND window) {
    if (window->procedure(window, WM_CREATE, 0, 0) == kRefuseCreation) {
        destroyXWindow(connection, window->xWindow);
        windows().remove(window);
        return nullptr;
    }
    const Message size = sizeMessage(window->view);
    window->procedure(window, size.message, size.wParam, size.lParam);
    return window;
}

}  // namespace

HWND findWindow(HWND window) {
    return windows().find(window);
}

HWND findWindow(::Window xWindow) {
    return windows().findIf([xWindow](const HWND__& w) { return w.xWindow.window == xWindow; });
}

HDC findDeviceContext(HDC deviceContext) {
    if (!deviceContext) return nullptr;
    const HWND window = windows().findIf(
        [deviceContext](const HWND__& w) { return &w.deviceContext == deviceContext; });
    return window ? &window->deviceContext : nullptr;
}

HWND firstWindowOnScreen() {
    return windows().findIf([](const HWND__& w) { return isOnScreen(w.view); });
}

HWND findDrawableWindow(HDC deviceContext) {
    const HDC known = findDeviceContext(deviceContext);
    return known && !known->window->view.destroyed ? known->window : nullptr;
}

bool moveToVisual(const Connection& connection, HWND window, const XVisualInfo& visual) {
    if (window->view.destroyed) return false;
    if (window->xWindow.visual == visual.visualid) return true;
    const std::optional<XWindowHandle> moved =
        createXWindow(connection, windowParams(*window, &visual));
    if (!moved) return false;
    destroyXWindow(connection, window->xWindow);
    window->xWindow = *moved;
    window->view.mapped = false;
    if (window->shown) XMapWindow(connection.display, window->xWindow.window);
    return true;
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    return classes().add(windowClass);
}

// The window manager draws the frame outside the client area.
BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD, BOOL) {
    return rect ? TRUE : FALSE;
}

// Style, extended style, menu, instance and parameter change nothing here;
// child windows (a parent) are not offered.
HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD, int x, int y,
                            int width, int height, HWND parent, HMENU, HINSTANCE, LPVOID) {
    const WindowClass* windowClass = classes().find(className);
    if (!windowClass || parent) return nullptr;
    const Connection* connection = connectDisplay();
    if (!connection) {
        reportNoDisplay();
        return nullptr;
    }
    std::unique_ptr<HWND__> made = newWindow(*windowClass, windowName, x, y, width, height);
    const std::optional<XWindowHandle> xWindow = firstXWindow(*connection, *made);
    if (!xWindow) return nullptr;
    made->xWindow = *xWindow;
    return sendCreation(*connection, windows().add(std::move(made)));
}

// SW_HIDE unmaps the window, any other command maps it. Returns whether it
// was shown before.
BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    const HWND shown = findWindow(window);
    const Connection* connection = liveConnection();
    if (!shown || shown->view.destroyed || !connection) return FALSE;
    const BOOL wasShown = shown->shown ? TRUE : FALSE;
    shown->shown = showCommand != kHide;
    if (shown->shown) {
        XMapWindow(connection->display, shown->xWindow.window);
    } else {
        XUnmapWindow(connection->display, shown->xWindow.window);
    }
    return wasShown;
}

// The window is never validated, so there is always something to paint.
BOOL WINAPI UpdateWindow(HWND window) {
    const HWND painted = findWindow(window);
    if (!painted) return FALSE;
    painted->procedure(painted, WM_PAINT, 0, 0);
    return TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) {
    static HICON__ stockIcon;
    return name ? &stockIcon : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) {
    static HICON__ stockCursor;
    return name ? &stockCursor : nullptr;
}
