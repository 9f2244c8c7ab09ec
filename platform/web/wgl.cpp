// The rendering context: a WebGL 2 context on the canvas, and the pixel
// format and font of the device context.
#include <emscripten/html5.h>

#include "platform/web/canvas_device.h"
#include "platform/web/gl_entry_points.h"
#include "platform/web/glyph_font.h"
#include "platform/web/page.h"

// Starts following the canvas's context as the browser takes it away and
// gives it back.
extern "C" void quennWebGlWatchLoss();

struct HGLRC__ {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle;
    CanvasDevice page;
    CanvasContext context{page};
    GlMachine machine{context};
};

namespace {

// The canvas offers one format: RGBA, double-buffered, as the browser composes it.
constexpr int kOnlyPixelFormat = 1;

// The stock system font: the font the layer carries.
struct SystemFont {};
SystemFont systemFont;

bool isOurs(HDC deviceContext) {
    return deviceContext && deviceContext == GetDC(pageWindow());
}

}  // namespace

int WINAPI ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request) {
    return isOurs(deviceContext) && request ? kOnlyPixelFormat : 0;
}

BOOL WINAPI SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR*) {
    if (!isOurs(deviceContext) || format != kOnlyPixelFormat || deviceContext->pixelFormat) {
        return FALSE;
    }
    deviceContext->pixelFormat = format;
    return TRUE;
}

// Without antialiasing, alpha or depth: every pixel is one of the scene's
// colours, and the page shows the canvas opaque.
HGLRC WINAPI wglCreateContext(HDC deviceContext) {
    if (!isOurs(deviceContext) || !deviceContext->pixelFormat) return nullptr;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle =
        emscripten_webgl_create_context("#quenn", &attributes);
    if (handle <= 0) return nullptr;
    auto* renderContext = new HGLRC__{handle, {}};
    quennWebGlWatchLoss();
    // Shaders the browser refuses leave a context that cannot draw: a
    // failure, as a missing WebGL 2 is. The objects are made on the new
    // context, then the current one is current again.
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE previous = emscripten_webgl_get_current_context();
    emscripten_webgl_make_context_current(handle);
    const bool drawable = renderContext->context.prepare();
    emscripten_webgl_make_context_current(previous);
    if (!drawable) {
        emscripten_webgl_destroy_context(handle);
        delete renderContext;
        return nullptr;
    }
    return renderContext;
}

BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    if (!renderContext) {
        emscripten_webgl_make_context_current(0);
        makeCurrentGl(nullptr);
        return TRUE;
    }
    if (!isOurs(deviceContext)) return FALSE;
    if (currentGl() == &renderContext->machine) return TRUE;
    if (emscripten_webgl_make_context_current(renderContext->handle) != EMSCRIPTEN_RESULT_SUCCESS) {
        return FALSE;
    }
    makeCurrentGl(&renderContext->machine);
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC renderContext) {
    if (!renderContext) return FALSE;
    if (currentGl() == &renderContext->machine) wglMakeCurrent(nullptr, nullptr);
    emscripten_webgl_destroy_context(renderContext->handle);
    delete renderContext;
    return TRUE;
}

// The browser shows what the frame drew when the animation frame ends.
BOOL WINAPI SwapBuffers(HDC deviceContext) {
    if (!isOurs(deviceContext)) return FALSE;
    if (GlMachine* machine = currentGl()) machine->finish();
    return TRUE;
}

HGDIOBJ WINAPI GetStockObject(int object) {
    return object == SYSTEM_FONT ? &systemFont : nullptr;
}

HGDIOBJ WINAPI SelectObject(HDC deviceContext, HGDIOBJ object) {
    if (!isOurs(deviceContext) || object != &systemFont) return nullptr;
    HGDIOBJ previous = deviceContext->font ? deviceContext->font : &systemFont;
    deviceContext->font = object;
    return previous;
}

BOOL WINAPI GetCharWidth32A(HDC deviceContext, UINT first, UINT last, LPINT widths) {
    if (!isOurs(deviceContext) || !widths || last < first) return FALSE;
    for (uint64_t code = first; code <= last; ++code) {
        widths[code - first] = glyph_font::advance(static_cast<uint32_t>(code));
    }
    return TRUE;
}

BOOL WINAPI wglUseFontBitmapsA(HDC deviceContext, DWORD first, DWORD count, DWORD listBase) {
    GlMachine* machine = currentGl();
    if (!isOurs(deviceContext) || !machine) return FALSE;
    for (DWORD i = 0; i < count; ++i) {
        machine->defineBitmapList(listBase + i, glyph_font::glyph(first + i));
    }
    return TRUE;
}
