// The records behind the handles, and finding them.
#include "platform/common/desktop.h"

Desktop& desktop() {
    static auto* theDesktop = new Desktop;
    return *theDesktop;
}

HWND findWindow(HWND window) {
    return desktop().windows.find(window);
}

Surface* findSurface(const std::function<bool(const Surface&)>& matches) {
    const HWND window =
        desktop().windows.findIf([&matches](const HWND__& w) { return matches(*w.surface); });
    return window ? window->surface : nullptr;
}

HDC findDeviceContext(HDC deviceContext) {
    if (!deviceContext) return nullptr;
    const HWND window = desktop().windows.findIf(
        [deviceContext](const HWND__& w) { return &w.deviceContext == deviceContext; });
    return window ? &window->deviceContext : nullptr;
}
