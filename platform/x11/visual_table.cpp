#include "platform/x11/visual_table.h"

#include <GL/glx.h>

namespace {

// One attribute of a visual; 0 when GLX does not know it for the visual.
int attribute(Display* display, XVisualInfo& visual, int name) {
    int value = 0;
    return glXGetConfig(display, &visual, name, &value) == 0 ? value : 0;
}

VisualDescription describeGl(Display* display, XVisualInfo& visual, int screenDepth) {
    auto get = [&](int name) { return attribute(display, visual, name); };
    // GLX_EXT_visual_rating: slow or non-conformant; 0 where the server does not rate.
    const int caveat = get(GLX_VISUAL_CAVEAT_EXT);
    return {.openGl = get(GLX_USE_GL) != 0,
            .rgba = get(GLX_RGBA) != 0,
            .doubleBuffered = get(GLX_DOUBLEBUFFER) != 0,
            .mainPlane = get(GLX_LEVEL) == 0,
            .opaque = visual.depth == screenDepth,
            .trueColor = visual.c_class == TrueColor,
            .stereo = get(GLX_STEREO) != 0,
            .slow = caveat != 0 && caveat != GLX_NONE_EXT,
            .colorBits = get(GLX_RED_SIZE) + get(GLX_GREEN_SIZE) + get(GLX_BLUE_SIZE),
            .alphaBits = get(GLX_ALPHA_SIZE),
            .depthBits = get(GLX_DEPTH_SIZE),
            .stencilBits = get(GLX_STENCIL_SIZE),
            .accumBits = get(GLX_ACCUM_RED_SIZE) + get(GLX_ACCUM_GREEN_SIZE) +
                         get(GLX_ACCUM_BLUE_SIZE) + get(GLX_ACCUM_ALPHA_SIZE),
            .auxBuffers = get(GLX_AUX_BUFFERS),
            .samples = get(GLX_SAMPLES)};
}

VisualTable readTable(const Connection& connection) {
    XVisualInfo pattern{};
    pattern.screen = connection.screen;
    int count = 0;
    XVisualInfo* found = XGetVisualInfo(connection.display, VisualScreenMask, &pattern, &count);
    VisualTable table;
    if (!found) return table;
    table.visuals.assign(found, found + count);
    XFree(found);
    const int screenDepth = DefaultDepth(connection.display, connection.screen);
    for (XVisualInfo& visual : table.visuals) {
        table.descriptions.push_back(connection.hasGlx
                                         ? describeGl(connection.display, visual, screenDepth)
                                         : VisualDescription{});
    }
    return table;
}

}  // namespace

const XVisualInfo* VisualTable::visual(int pixelFormat) const {
    if (pixelFormat < 1 || pixelFormat > static_cast<int>(visuals.size())) return nullptr;
    return &visuals[pixelFormat - 1];
}

const VisualTable& visualTable(const Connection& connection) {
    static const VisualTable* table = new VisualTable(readTable(connection));
    return *table;
}

int defaultWindowPixelFormat(const Connection& connection) {
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cDepthBits = 1;
    return choosePixelFormat(visualTable(connection).descriptions, request);
}
