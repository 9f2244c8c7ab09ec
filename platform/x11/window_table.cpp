#include "platform/x11/window_table.h"

#include <vector>

namespace {

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

}  // namespace

HWND addWindow(std::unique_ptr<HWND__> window) {
    windows().push_back(std::move(window));
    return windows().back().get();
}

void removeWindow(HWND window) {
    std::erase_if(windows(),
                  [window](const std::unique_ptr<HWND__>& w) { return w.get() == window; });
}

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
