// The window: the page's canvas.
#include "platform/common/class_registry.h"
#include "platform/web/page.h"

// Icons and cursors are only names here.
struct HICON__ {};

namespace {

constexpr LRESULT kRefuseCreation = -1;

ClassRegistry& classes() {
    static ClassRegistry* registry = new ClassRegistry;
    return *registry;
}

HWND__* theWindow = nullptr;

// The canvas's size: the client area.
LPARAM clientSize() {
    return packPoint(quennPageCanvasWidth(), quennPageCanvasHeight());
}

}  // namespace

HWND pageWindow() {
    return theWindow;
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    return classes().add(windowClass);
}

// The page draws no frame around the canvas.
BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD, BOOL) {
    return rect ? TRUE : FALSE;
}

// The canvas is the page's one window: a second creation fails.
HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD, int, int, int width,
                            int height, HWND, HMENU, HINSTANCE, LPVOID) {
    const WindowClass* windowClass = classes().find(className);
    if (!windowClass || theWindow) return nullptr;
    theWindow = new HWND__{windowClass->procedure, windowName ? windowName : "", {}};
    theWindow->deviceContext.window = theWindow;
    quennPageOpen(width, height, theWindow->title.c_str());
    quennPageListenToPointers();
    if (theWindow->procedure(theWindow, WM_CREATE, 0, 0) == kRefuseCreation) {
        delete theWindow;
        theWindow = nullptr;
        return nullptr;
    }
    const LPARAM size = clientSize();
    pageQueue().sizeSent(size);
    theWindow->procedure(theWindow, WM_SIZE, 0, size);
    return theWindow;
}

// The canvas is always shown: it was visible before.
BOOL WINAPI ShowWindow(HWND window, int) {
    return window && window == theWindow ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND window) {
    if (!window || window != theWindow) return FALSE;
    window->procedure(window, WM_PAINT, 0, 0);
    return TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) {
    static HICON__ icon;
    return &icon;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) {
    static HICON__ cursor;
    return &cursor;
}

HDC WINAPI GetDC(HWND window) {
    return window && window == theWindow ? &window->deviceContext : nullptr;
}

int WINAPI ReleaseDC(HWND window, HDC deviceContext) {
    return window && deviceContext == GetDC(window) ? 1 : 0;
}
