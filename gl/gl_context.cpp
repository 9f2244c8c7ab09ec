#include "gl/gl_context.h"

#include <algorithm>
#include <cstdint>

#include "gl/bitmap_font.h"
#include "platform/opengl.h"

static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

namespace {

// 16 colour bits, one bit of destination alpha and a 16-bit depth buffer;
// no stencil, no accumulation, whatever the platform then picks.
PIXELFORMATDESCRIPTOR pixelFormatRequest(bool doubleBuffered) {
    PIXELFORMATDESCRIPTOR request;
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    // 0x64, plus 0x1 when double-buffered.
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_GENERIC_FORMAT |
                      (doubleBuffered ? PFD_DOUBLEBUFFER : 0);
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 16;
    request.cRedBits = 0;
    request.cRedShift = 0;
    request.cGreenBits = 0;
    request.cGreenShift = 0;
    request.cBlueBits = 0;
    request.cBlueShift = 0;
    request.cAlphaBits = 1;
    request.cAlphaShift = 0;
    request.cAccumBits = 0;
    request.cAccumRedBits = 0;
    request.cAccumGreenBits = 0;
    request.cAccumBlueBits = 0;
    request.cAccumAlphaBits = 0;
    request.cDepthBits = 16;
    request.cStencilBits = 0;
    request.cAuxBuffers = 0;
    request.iLayerType = PFD_MAIN_PLANE;
    request.bReserved = 0;
    request.dwLayerMask = 0;
    request.dwVisibleMask = 0;
    request.dwDamageMask = 0;
    return request;
}

}  // namespace

bool GlContext::init(HWND newWindow, bool newDoubleBuffered) {
    // Kept before anything can fail: present and destroy work from them.
    window = newWindow;
    doubleBuffered = newDoubleBuffered;
    deviceContext = GetDC(window);
    if (!deviceContext) return false;

    bool created = false;
    const PIXELFORMATDESCRIPTOR request = pixelFormatRequest(doubleBuffered);
    const int format = ChoosePixelFormat(deviceContext, &request);
    if (format != 0) {
        SetPixelFormat(deviceContext, format, &request);
        renderContext = wglCreateContext(deviceContext);
        created = renderContext != nullptr;
    }
    ReleaseDC(window, deviceContext);
    return created;
}

void GlContext::bind() {
    deviceContext = GetDC(window);
    wglMakeCurrent(deviceContext, renderContext);
}

void GlContext::releaseDeviceContext() {
    ReleaseDC(window, deviceContext);
}

void GlContext::present() {
    // Single-buffered drawing is already on the window.
    if (!doubleBuffered) return;
    deviceContext = GetDC(window);
    SwapBuffers(deviceContext);
    ReleaseDC(window, deviceContext);
}

void GlContext::destroy() {
    if (!window) return;
    deviceContext = GetDC(window);
    wglMakeCurrent(nullptr, nullptr);
    ReleaseDC(window, deviceContext);
    // Also when creation failed: deleting NULL fails harmlessly.
    wglDeleteContext(renderContext);
}

void GlContext::buildFont(BitmapFont& font, int32_t first, int32_t last) {
    bind();
    // Selected into the private device context, where it stays.
    SelectObject(deviceContext, GetStockObject(SYSTEM_FONT));
    // In 64 bits, so that no pair of ints overflows; a reversed range is empty.
    const auto count =
        static_cast<int32_t>(std::clamp<int64_t>(int64_t{last} - first + 1, 0, INT32_MAX));
    font.charCount = count;
    // Zeroed: without a device context no widths arrive, and text measures 0.
    font.charWidths = new int32_t[count]();
    const GLuint firstList = glGenLists(count);
    font.firstChar = first;
    font.listBase = static_cast<int32_t>(firstList) - first;
    GetCharWidth32A(deviceContext, static_cast<UINT>(first), static_cast<UINT>(last),
                    font.charWidths);
    wglUseFontBitmapsA(deviceContext, static_cast<DWORD>(first), static_cast<DWORD>(count),
                       firstList);
    releaseDeviceContext();
}
