// Window classes, windows and their device contexts, icons, the message box.
#include <memory>
#include <string>

#include "platform/common/desktop.h"

namespace {

constexpr LRESULT kRefuseCreation = -1;
constexpr int kHide = 0;                          // SW_HIDE
constexpr int kIdOk = 1;                          // IDOK
constexpr const char* kDefaultCaption = "Error";  // Windows' caption for a box without one

SurfaceRequest surfaceRequest(const WindowClass& windowClass, const std::string& title, int x,
                              int y, int width, int height) {
    const bool placedBySystem = x == CW_USEDEFAULT;
    return {.title = title.c_str(),
            .className = windowClass.name.c_str(),
            .x = placedBySystem ? 0 : x,
            .y = placedBySystem ? 0 : y,
            .placedBySystem = placedBySystem,
            .width = width,
            .height = height};
}

// WM_CREATE, and WM_SIZE with the client size, as Windows sends them before
// CreateWindowExA returns; NULL if the window procedure refuses creation.
HWND sendCreation(HWND window) {
    if (window->procedure(window, WM_CREATE, 0, 0) == kRefuseCreation) {
        backend::destroySurface(window->surface);
        desktop().windows.remove(window);
        return nullptr;
    }
    const SurfaceState state = backend::surfaceState(*window->surface);
    const Message size = messageOf({WindowInput::Resized, state.width, state.height});
    window->lastSize = size;
    window->procedure(window, size.message, size.wParam, size.lParam);
    return window;
}

}  // namespace

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    return desktop().classes.add(windowClass);
}

// The window system draws the frame outside the client area.
BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD, BOOL) {
    return rect ? TRUE : FALSE;
}

// Style, extended style, menu, instance and parameter change nothing here;
// child windows (a parent) are not offered.
HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD, int x, int y,
                            int width, int height, HWND parent, HMENU, HINSTANCE, LPVOID) {
    const WindowClass* windowClass = desktop().classes.find(className);
    if (!windowClass || parent) return nullptr;
    auto made = std::make_unique<HWND__>(HWND__{windowClass->procedure, nullptr, {}, {}});
    made->deviceContext.window = made.get();
    const std::string title = windowName ? windowName : "";
    made->surface = backend::createSurface(
        made.get(), surfaceRequest(*windowClass, title, x, y, width, height));
    if (!made->surface) return nullptr;
    return sendCreation(desktop().windows.add(std::move(made)));
}

// SW_HIDE hides the window, any other command shows it. Returns whether it
// was shown before.
BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    const HWND known = findWindow(window);
    if (!known) return FALSE;
    const bool wasShown = backend::surfaceState(*known->surface).shown;
    if (!backend::showSurface(*known->surface, showCommand != kHide)) return FALSE;
    return wasShown ? TRUE : FALSE;
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

// The window's private device context: the same one every time.
HDC WINAPI GetDC(HWND window) {
    const HWND known = findWindow(window);
    return known ? &known->deviceContext : nullptr;
}

// A private device context stays with its window and keeps its state.
int WINAPI ReleaseDC(HWND window, HDC deviceContext) {
    const HWND known = findWindow(window);
    return known && deviceContext == &known->deviceContext ? 1 : 0;
}

// The box always has the one OK button, whatever the type asks.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
    const HWND known = findWindow(owner);
    backend::showMessageBox(known ? known->surface : nullptr, text ? text : "",
                            caption ? caption : kDefaultCaption);
    return kIdOk;
}
