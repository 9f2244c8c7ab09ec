// Rendering contexts over GLX.
#include <GL/glx.h>

#include "platform/x11/surface.h"

// The GLX context made for a rendering context.
struct RenderContext {
    GLXContext context;
};

namespace {

bool releaseCurrent() {
    const Connection* connection = glxConnection();
    if (!connection || !glXGetCurrentContext()) return true;  // none is current
    return glXMakeCurrent(connection->display, None, nullptr);
}

}  // namespace

// A direct context for the visual of the pixel format.
RenderContext* backend::createContext(Surface&, int pixelFormat) {
    Connection* connection = glxConnection();
    const XVisualInfo* visual = connection ? visualOf(*connection, pixelFormat) : nullptr;
    if (!visual) return nullptr;
    XVisualInfo chosen = *visual;
    const GLXContext context = glXCreateContext(connection->display, &chosen, nullptr, True);
    if (!context) return nullptr;
    return new RenderContext{context};
}

// A window another client destroyed makes nothing current and leaves the
// current context as it is.
bool backend::makeCurrent(Surface* surface, RenderContext* context) {
    if (!context) return releaseCurrent();
    const Connection* connection = glxConnection();
    if (!connection || surface->view.destroyed) return false;
    return glXMakeCurrent(connection->display, surface->xWindow.window, context->context);
}

bool backend::deleteContext(RenderContext* context) {
    const Connection* connection = glxConnection();
    if (!connection) return false;
    glXDestroyContext(connection->display, context->context);
    delete context;
    return true;
}

bool backend::present(Surface& surface) {
    const Connection* connection = glxConnection();
    if (!connection || surface.view.destroyed) return false;
    glXSwapBuffers(connection->display, surface.xWindow.window);
    return true;
}
