#include "platform/x11/visual_table.h"

#include <GL/glx.h>

namespace {

// One attribute of a visual; 0 when GLX does not know it for the visual.
int attribute(Display* display, XVisualInfo& visual, int name) {
    int value = 0;
    return glXGetConfig(display, &visual, name, &value) == 0 ? value : 0;
}

// Each attribute costs a GLX query, and Mesa looks the visual up anew for
// every one; Xvfb has hundreds of visuals. So a visual is described in steps,
// each read for fewer of them.

// Whether GLX renders to the visual from a window's context: the
// double-buffer flag first, since it alone rules out most that do not.
void readCandidacy(Display* display, XVisualInfo& visual, VisualDescription& description) {
    auto get = [&](int name) { return attribute(display, visual, name); };
    description.doubleBuffered = get(GLX_DOUBLEBUFFER) != 0;
    if (!description.doubleBuffered) return;
    description.openGl = get(GLX_USE_GL) != 0;
    description.rgba = get(GLX_RGBA) != 0;
    description.mainPlane = get(GLX_LEVEL) == 0;
}

// Everything else, read only for visuals that some request could choose.
void readBuffers(Display* display, XVisualInfo& visual, VisualDescription& description) {
    auto get = [&](int name) { return attribute(display, visual, name); };
    // GLX_EXT_visual_rating: slow or non-conformant; 0 where the server does not rate.
    const int caveat = get(GLX_VISUAL_CAVEAT_EXT);
    description.stereo = get(GLX_STEREO) != 0;
    description.slow = caveat != 0 && caveat != GLX_NONE_EXT;
    description.colorBits = get(GLX_RED_SIZE) + get(GLX_GREEN_SIZE) + get(GLX_BLUE_SIZE);
    description.alphaBits = get(GLX_ALPHA_SIZE);
    description.stencilBits = get(GLX_STENCIL_SIZE);
    description.accumBits = get(GLX_ACCUM_RED_SIZE) + get(GLX_ACCUM_GREEN_SIZE) +
                            get(GLX_ACCUM_BLUE_SIZE) + get(GLX_ACCUM_ALPHA_SIZE);
    description.auxBuffers = get(GLX_AUX_BUFFERS);
    description.samples = get(GLX_SAMPLES);
}

// The descriptions in three steps: what the visual's own record tells and
// whether it is a candidate, for all; the depth buffer, for candidates; the
// rest, for the visuals that choosableVisuals keeps. The others keep zeros
// there, which no choice reads.
std::vector<VisualDescription> describeGl(Display* display, std::vector<XVisualInfo>& visuals,
                                          int screenDepth) {
    std::vector<VisualDescription> descriptions(visuals.size());
    for (size_t i = 0; i < visuals.size(); ++i) {
        VisualDescription& description = descriptions[i];
        description.opaque = visuals[i].depth == screenDepth;
        description.trueColor = visuals[i].c_class == TrueColor;
        readCandidacy(display, visuals[i], description);
        if (isPixelFormatCandidate(description))
            description.depthBits = attribute(display, visuals[i], GLX_DEPTH_SIZE);
    }
    const std::vector<bool> choosable = choosableVisuals(descriptions);
    for (size_t i = 0; i < visuals.size(); ++i) {
        if (choosable[i]) readBuffers(display, visuals[i], descriptions[i]);
    }
    return descriptions;
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
    table.descriptions = connection.hasGlx
                             ? describeGl(connection.display, table.visuals, screenDepth)
                             : std::vector<VisualDescription>(table.visuals.size());
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
