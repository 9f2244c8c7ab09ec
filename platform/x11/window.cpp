#include "platform/x11/window.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/x11/class_registry.h"
#include "platform/x11/visual_table.h"

namespace {

// Sizes and mapping come as structure events; the left button and the
// pointer as they are. Exposure makes no message: an idle window is painted anyway.
constexpr long kEventMask =
    StructureNotifyMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ExposureMask;
constexpr int kMaxSize = 32767;      // a size must fit WM_SIZE's signed 16-bit halves
constexpr WPARAM kSizeRestored = 0;  // SIZE_RESTORED: neither minimised nor maximised
constexpr LRESULT kRefuseCreation = -1;
constexpr int kHide = 0;  // SW_HIDE

using Windows = std::vector<std::unique_ptr<HWND__>>;

// Never destroyed: the at-exit teardown of the rendering context still asks
// for its window's device context after static destructors may have run.
Windows& windows() {
    static Windows* table = new Windows;
    return *table;
}

template <typename Match>
HWND findIf(Match match) {
    for (const std::unique_ptr<HWND__>& window : windows()) {
        if (match(*window)) return window.get();
    }
    return nullptr;
}

// The table owns the window from then on.
HWND addWindow(std::unique_ptr<HWND__> window) {
    windows().push_back(std::move(window));
    return windows().back().get();
}

// Takes a window out again (its creation was refused) and frees it.
void removeWindow(HWND window) {
    std::erase_if(windows(),
                  [window](const std::unique_ptr<HWND__>& w) { return w.get() == window; });
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
    auto window = std::make_unique<HWND__>(
        HWND__{.procedure = windowClass.procedure,
               .title = title ? title : "",
               .className = windowClass.name,
               .left = placedBySystem ? 0 : x,
               .top = placedBySystem ? 0 : y,
               .placedBySystem = placedBySystem,
               .xWindow = {},
               .view = {std::clamp(width, 1, kMaxSize), std::clamp(height, 1, kMaxSize), false},
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
// only its rendering context fails.
XWindowHandle firstXWindow(const Connection& connection, const HWND__& window) {
    const int format = defaultWindowPixelFormat(connection);
    return createXWindow(connection, windowParams(window, visualTable(connection).visual(format)));
}

// WM_CREATE, and WM_SIZE with the client size, as Windows sends them before
// CreateWindowExA returns; NULL if the window procedure refuses creation.
HWND sendCreation(const Connection& connection, HWND window) {
    if (window->procedure(window, WM_CREATE, 0, 0) == kRefuseCreation) {
        destroyXWindow(connection, window->xWindow);
        removeWindow(window);
        return nullptr;
    }
    window->procedure(window, WM_SIZE, kSizeRestored,
                      packPoint(window->view.width, window->view.height));
    return window;
}

}  // namespace

HWND findWindow(HWND window) {
    if (!window) return nullptr;
    return findIf([window](const HWND__& w) { return &w == window; });
}

HWND findWindow(::Window xWindow) {
    return findIf([xWindow](const HWND__& w) { return w.xWindow.window == xWindow; });
}

HDC findDeviceContext(HDC deviceContext) {
    if (!deviceContext) return nullptr;
    const HWND window =
        findIf([deviceContext](const HWND__& w) { return &w.deviceContext == deviceContext; });
    return window ? &window->deviceContext : nullptr;
}

HWND firstMappedWindow() {
    return findIf([](const HWND__& w) { return w.view.mapped; });
}

void moveToVisual(const Connection& connection, HWND window, const XVisualInfo& visual) {
    if (window->xWindow.visual == visual.visualid) return;
    destroyXWindow(connection, window->xWindow);
    window->xWindow = createXWindow(connection, windowParams(*window, &visual));
    window->view.mapped = false;
    if (window->shown) XMapWindow(connection.display, window->xWindow.window);
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
    const HWND window = addWindow(newWindow(*windowClass, windowName, x, y, width, height));
    window->xWindow = firstXWindow(*connection, *window);
    return sendCreation(*connection, window);
}

// SW_HIDE unmaps the window, any other command maps it. Returns whether it
// was shown before.
BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    const HWND shown = findWindow(window);
    const Connection* connection = liveConnection();
    if (!shown || !connection) return FALSE;
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
