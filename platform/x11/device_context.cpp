#include "platform/x11/visual_table.h"
#include "platform/x11/window.h"

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

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    const Connection* connection = liveConnection();
    if (!findDeviceContext(deviceContext) || !request || !connection) return 0;
    return visualTable(*connection).choose(*request);
}

// Once set, the format stays: setting the same one again succeeds, another fails.
BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR*) {
    const HDC known = findDeviceContext(deviceContext);
    const Connection* connection = liveConnection();
    if (!known || !connection) return FALSE;
    if (known->pixelFormat != 0) return known->pixelFormat == format ? TRUE : FALSE;
    VisualTable& table = visualTable(*connection);
    const XVisualInfo* visual = table.visual(format);
    if (!visual || !table.isCandidate(format)) return FALSE;
    if (!moveToVisual(*connection, known->window, *visual)) return FALSE;
    known->pixelFormat = format;
    return TRUE;
}
