// Rendering contexts: the backend's, behind handles the layer checks.
#include <memory>

#include "platform/common/desktop.h"

// A context for the device context's pixel format; none before one is set.
HGLRC WINAPI wglCreateContext(HDC deviceContext) {
    const HDC known = findDeviceContext(deviceContext);
    if (!known || !known->pixelFormat) return nullptr;
    RenderContext* context = backend::createContext(*known->window->surface, known->pixelFormat);
    if (!context) return nullptr;
    return desktop().contexts.add(std::make_unique<HGLRC__>(HGLRC__{context}));
}

// A NULL rendering context makes none current, whatever the device context.
// A context the layer did not make, or a device context not a window's,
// makes nothing current and leaves the current one as it is.
BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    if (!renderContext) return backend::makeCurrent(nullptr, nullptr) ? TRUE : FALSE;
    const HGLRC known = desktop().contexts.find(renderContext);
    const HDC target = findDeviceContext(deviceContext);
    if (!known || !target) return FALSE;
    return backend::makeCurrent(target->window->surface, known->context) ? TRUE : FALSE;
}

// A context the layer did not make, or one already deleted, is left alone.
BOOL WINAPI wglDeleteContext(HGLRC renderContext) {
    const HGLRC known = desktop().contexts.find(renderContext);
    if (!known || !backend::deleteContext(known->context)) return FALSE;
    desktop().contexts.remove(known);
    return TRUE;
}
