#include <GL/glx.h>

#include "platform/x11/visual_table.h"
#include "platform/x11/window.h"

namespace {

GLXContext glxContext(HGLRC renderContext) {
    return reinterpret_cast<GLXContext>(renderContext);
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
    return reinterpret_cast<HGLRC>(glXCreateContext(connection->display, &chosen, nullptr, True));
}

// A NULL rendering context makes none current, whatever the device context.
BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    if (!renderContext) return releaseCurrent();
    const HDC known = findDeviceContext(deviceContext);
    const Connection* connection = glxConnection();
    if (!known || !connection) return FALSE;
    return glXMakeCurrent(connection->display, known->window->xWindow.window,
                          glxContext(renderContext))
               ? TRUE
               : FALSE;
}

BOOL WINAPI wglDeleteContext(HGLRC renderContext) {
    const Connection* connection = glxConnection();
    if (!renderContext || !connection) return FALSE;
    glXDestroyContext(connection->display, glxContext(renderContext));
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC deviceContext) {
    const HDC known = findDeviceContext(deviceContext);
    const Connection* connection = glxConnection();
    if (!known || !known->pixelFormat || !connection) return FALSE;
    glXSwapBuffers(connection->display, known->window->xWindow.window);
    return TRUE;
}
