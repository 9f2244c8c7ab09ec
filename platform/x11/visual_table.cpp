#include "platform/x11/visual_table.h"

#include <GL/glx.h>

namespace {

// One attribute of a visual; 0 when GLX does not know it for the visual.
int attribute(Display* display, XVisualInfo& visual, int name) {
    int value = 0;
    return glXGetConfig(display, &visual, name, &value) == 0 ? value : 0;
}

// Each attribute costs a GLX query, and Mesa looks the visual up anew for
// every one; Xvfb has hundreds of visuals. So a description is read part by
// part, each only once something needs it.

// Whether GLX renders to the visual from a window's context: the
// double-buffer flag first, since it alone rules out most that do not; and
// a candidate's depth buffer, which the first key of every choice reads.
void readCandidacy(Display* display, XVisualInfo& visual, VisualDescription& description) {
    auto get = [&](int name) { return attribute(display, visual, name); };
    description.doubleBuffered = get(GLX_DOUBLEBUFFER) != 0;
    if (!description.doubleBuffered) return;
    description.openGl = get(GLX_USE_GL) != 0;
    description.rgba = get(GLX_RGBA) != 0;
    description.mainPlane = get(GLX_LEVEL) == 0;
    if (isPixelFormatCandidate(description)) description.depthBits = get(GLX_DEPTH_SIZE);
}

void readPart(Display* display, XVisualInfo& visual, VisualDescription& description,
              unsigned part) {
    auto get = [&](int name) { return attribute(display, visual, name); };
    switch (part) {
        case kCandidacyPart: readCandidacy(display, visual, description); break;
        case kRatingPart: {
            // GLX_EXT_visual_rating: slow or non-conformant; 0 where the server does not rate.
            const int caveat = get(GLX_VISUAL_CAVEAT_EXT);
            description.slow = caveat != 0 && caveat != GLX_NONE_EXT;
            break;
        }
        case kColorPart:
            description.colorBits = get(GLX_RED_SIZE) + get(GLX_GREEN_SIZE) + get(GLX_BLUE_SIZE);
            break;
        case kAlphaPart: description.alphaBits = get(GLX_ALPHA_SIZE); break;
        case kStencilPart: description.stencilBits = get(GLX_STENCIL_SIZE); break;
        case kAccumPart:
            description.accumBits = get(GLX_ACCUM_RED_SIZE) + get(GLX_ACCUM_GREEN_SIZE) +
                                    get(GLX_ACCUM_BLUE_SIZE) + get(GLX_ACCUM_ALPHA_SIZE);
            break;
        case kAuxPart: description.auxBuffers = get(GLX_AUX_BUFFERS); break;
        case kExtrasPart:
            description.stereo = get(GLX_STEREO) != 0;
            description.samples = get(GLX_SAMPLES);
            break;
        default: break;
    }
}

// What the visual's own record tells, for all; candidacy, for the opaque
// TrueColor visuals, and for the others only if none of those leads (most
// servers have one that does), since otherwise no request can choose them.
// The rest is read by the choices.
void readLeading(Display* display, VisualTable& table, int screenDepth) {
    const size_t count = table.visuals.size();
    table.descriptions.assign(count, VisualDescription{});
    table.partsRead.assign(count, 0);
    for (size_t i = 0; i < count; ++i) {
        table.descriptions[i].opaque = table.visuals[i].depth == screenDepth;
        table.descriptions[i].trueColor = table.visuals[i].c_class == TrueColor;
    }
    for (const bool opaqueTrueColor : {true, false}) {
        if (!opaqueTrueColor && opaqueTrueColorLeads(table.descriptions)) break;
        for (size_t i = 0; i < count; ++i) {
            const VisualDescription& description = table.descriptions[i];
            if ((description.opaque && description.trueColor) == opaqueTrueColor)
                table.describe(display, i, kCandidacyPart);
        }
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
        readLeading(connection.display, table, DefaultDepth(connection.display, connection.screen));
    } else {
        table.descriptions.assign(table.visuals.size(), VisualDescription{});
        table.partsRead.assign(table.visuals.size(), kAllParts);
    }
    return table;
}

}  // namespace

const XVisualInfo* VisualTable::visual(int pixelFormat) const {
    if (pixelFormat < 1 || pixelFormat > static_cast<int>(visuals.size())) return nullptr;
    return &visuals[pixelFormat - 1];
}

const VisualDescription& VisualTable::describe(Display* display, size_t index, unsigned parts) {
    VisualDescription& description = descriptions[index];
    const unsigned unread = parts & ~partsRead[index];
    for (unsigned part = 1; part & kAllParts; part <<= 1) {
        if (unread & part) readPart(display, visuals[index], description, part);
    }
    partsRead[index] |= parts;
    return description;
}

bool VisualTable::isCandidate(Display* display, int pixelFormat) {
    if (!visual(pixelFormat)) return false;
    const size_t index = static_cast<size_t>(pixelFormat - 1);
    return isPixelFormatCandidate(describe(display, index, kCandidacyPart));
}

int VisualTable::choose(Display* display, const PIXELFORMATDESCRIPTOR& request) {
    return choosePixelFormat(
        visuals.size(), request,
        [this, display](size_t index, unsigned parts) -> const VisualDescription& {
            return describe(display, index, parts);
        });
}

VisualTable& visualTable(const Connection& connection) {
    static VisualTable* table = new VisualTable(readTable(connection));
    return *table;
}

int defaultWindowPixelFormat(const Connection& connection) {
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cDepthBits = 1;
    return visualTable(connection).choose(connection.display, request);
}
