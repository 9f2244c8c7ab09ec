#include <GL/glx.h>

#include "platform/x11/record_table.h"
#include "platform/x11/visual_table.h"
#include "platform/x11/window.h"

namespace {

// The rendering contexts made and not yet deleted. Never destroyed: the
// at-exit teardown deletes its context after static destructors may have run.
RecordTable<HGLRC__>& renderContexts() {
    static auto* table = new RecordTable<HGLRC__>;
    return *table;
}

// The connection if its server renders OpenGL: no GLX call goes to one that
// cannot.
const Connection* glxConnection() {
    const Connection* connection = liveConnection();
    return connection && connection->hasGlx ? connection : nullptr;
}

BOOL releaseCurrent() {
    const Connection* connection = glxConnection();
    if (!connection || !glXGetCurrentContext()) return TRUE;  // none is current
    return glXMakeCurrent(connection->display, None, nullptr) ? TRUE : FALSE;
}

}  // namespace

// A direct context for the visual of the device context's pixel format.
HGLRC WINAPI wglCreateContext(HDC deviceContext) {
    const HDC known = findDeviceContext(deviceContext);
    const Connection* connection = glxConnection();
    if (!known || !connection) return nullptr;
    const XVisualInfo* visual = visualTable(*connection).visual(known->pixelFormat);
    if (!visual) return nullptr;  // no pixel format set
    XVisualInfo chosen = *visual;
    const GLXContext context = glXCreateContext(connection->display, &chosen, nullptr, True);
    if (!context) return nullptr;
    return renderContexts().add(std::make_unique<HGLRC__>(HGLRC__{context}));
}

// A NULL rendering context makes none current, whatever the device context.
// A context the layer did not make, or a window another client destroyed,
// makes nothing current and leaves the current one as it is.
BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    if (!renderContext) return releaseCurrent();
    const HGLRC known = renderContexts().find(renderContext);
    const HWND window = findDrawableWindow(deviceContext);
    const Connection* connection = glxConnection();
    if (!known || !window || !connection) return FALSE;
    return glXMakeCurrent(connection->display, window->xWindow.window, known->context) ? TRUE
                                                                                       : FALSE;
}

// A context the layer did not make, or one already deleted, is left alone.
BOOL WINAPI wglDeleteContext(HGLRC renderContext) {
    const HGLRC known = renderContexts().find(renderContext);
    const Connection* connection = glxConnection();
    if (!known || !connection) return FALSE;
    glXDestroyContext(connection->display, known->context);
    renderContexts().remove(known);
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC deviceContext) {
    const HWND window = findDrawableWindow(deviceContext);
    const Connection* connection = glxConnection();
    if (!window || !window->deviceContext.pixelFormat || !connection) return FALSE;
    glXSwapBuffers(connection->display, window->xWindow.window);
    return TRUE;
}
