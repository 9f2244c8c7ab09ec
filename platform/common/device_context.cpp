// What a device context holds: its pixel format and its font; and showing
// what was drawn on it.
#include <cstdint>

#include "platform/common/desktop.h"
#include "platform/common/pixel_format.h"

namespace {

// The font selected into a device context; a new one has the system font.
SystemFont* selectedFont(HDC deviceContext) {
    if (deviceContext->font) return static_cast<SystemFont*>(deviceContext->font);
    return backend::systemFont();
}

}  // namespace

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    if (!findDeviceContext(deviceContext) || !request) return 0;
    return choosePixelFormat(*request);
}

// Once set, the format stays: setting the same one again succeeds, another fails.
BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR*) {
    const HDC known = findDeviceContext(deviceContext);
    if (!known) return FALSE;
    if (known->pixelFormat != 0) return known->pixelFormat == format ? TRUE : FALSE;
    if (!pixelFormatTable().isCandidate(format)) return FALSE;
    if (!backend::setSurfaceFormat(*known->window->surface, format)) return FALSE;
    known->pixelFormat = format;
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC deviceContext) {
    const HDC known = findDeviceContext(deviceContext);
    if (!known || !known->pixelFormat) return FALSE;
    return backend::present(*known->window->surface) ? TRUE : FALSE;
}

// SYSTEM_FONT is the one stock object there is.
HGDIOBJ WINAPI GetStockObject(int object) {
    return object == SYSTEM_FONT ? backend::systemFont() : nullptr;
}

// The system font is the one font there is to select.
HGDIOBJ WINAPI SelectObject(HDC deviceContext, HGDIOBJ object) {
    const HDC known = findDeviceContext(deviceContext);
    if (!known || !object || object != backend::systemFont()) return nullptr;
    const HGDIOBJ previous = selectedFont(known);
    known->font = object;
    return previous;
}

BOOL WINAPI GetCharWidth32A(HDC deviceContext, UINT first, UINT last, LPINT widths) {
    const HDC known = findDeviceContext(deviceContext);
    const SystemFont* font = known ? selectedFont(known) : nullptr;
    if (!font || !widths || first > last) return FALSE;
    for (uint64_t i = 0; i <= last - first; ++i) {
        widths[i] = backend::charAdvance(*font, static_cast<UINT>(first + i));
    }
    return TRUE;
}

// Needs a current rendering context, which the lists are made in.
BOOL WINAPI wglUseFontBitmapsA(HDC deviceContext, DWORD first, DWORD count, DWORD listBase) {
    const HDC known = findDeviceContext(deviceContext);
    const SystemFont* font = known ? selectedFont(known) : nullptr;
    if (!font) return FALSE;
    return backend::makeFontBitmaps(*font, first, count, listBase) ? TRUE : FALSE;
}
