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

// Candidacy, and the depth buffer of a candidate.
void readLeading(Display* display, XVisualInfo& visual, VisualDescription& description) {
    readCandidacy(display, visual, description);
    if (isPixelFormatCandidate(description))
        description.depthBits = attribute(display, visual, GLX_DEPTH_SIZE);
}

// The descriptions in steps: what the visual's own record tells, for all;
// candidacy and depth buffer, for the opaque TrueColor visuals, and for the
// others only if none of those leads (most servers have one that does); the
// rest, for the visuals that choosableVisuals keeps. Unread fields stay zero,
// which no choice reads.
void describeGl(Display* display, VisualTable& table, int screenDepth) {
    std::vector<VisualDescription>& descriptions = table.descriptions;
    descriptions.assign(table.visuals.size(), VisualDescription{});
    table.candidacyRead.assign(table.visuals.size(), false);
    for (size_t i = 0; i < table.visuals.size(); ++i) {
        descriptions[i].opaque = table.visuals[i].depth == screenDepth;
        descriptions[i].trueColor = table.visuals[i].c_class == TrueColor;
    }
    for (const bool opaqueTrueColor : {true, false}) {
        if (!opaqueTrueColor && opaqueTrueColorLeads(descriptions)) break;
        for (size_t i = 0; i < table.visuals.size(); ++i) {
            VisualDescription& description = descriptions[i];
            if ((description.opaque && description.trueColor) != opaqueTrueColor) continue;
            readLeading(display, table.visuals[i], description);
            table.candidacyRead[i] = true;
        }
    }
    const std::vector<bool> choosable = choosableVisuals(descriptions);
    for (size_t i = 0; i < table.visuals.size(); ++i) {
        if (choosable[i]) readBuffers(display, table.visuals[i], descriptions[i]);
    }
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
    if (connection.hasGlx) {
        describeGl(connection.display, table, DefaultDepth(connection.display, connection.screen));
    } else {
        table.descriptions.assign(table.visuals.size(), VisualDescription{});
        table.candidacyRead.assign(table.visuals.size(), true);
    }
    return table;
}

}  // namespace

const XVisualInfo* VisualTable::visual(int pixelFormat) const {
    if (pixelFormat < 1 || pixelFormat > static_cast<int>(visuals.size())) return nullptr;
    return &visuals[pixelFormat - 1];
}

bool VisualTable::isCandidate(Display* display, int pixelFormat) const {
    const XVisualInfo* known = visual(pixelFormat);
    if (!known) return false;
    const size_t index = static_cast<size_t>(pixelFormat - 1);
    if (candidacyRead[index]) return isPixelFormatCandidate(descriptions[index]);
    // Not read since no choice needed it: read now, for this one visual.
    XVisualInfo copy = *known;
    VisualDescription description{};
    readCandidacy(display, copy, description);
    return isPixelFormatCandidate(description);
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
