// The screen's visuals as pixel formats: pixel format n is visual n - 1,
// described from GLX part by part as the choice (platform/common/
// pixel_format.cpp) asks.
#include <GL/glx.h>

#include "platform/x11/connection.h"

namespace {

// One attribute of a visual; 0 when GLX does not know it for the visual.
int attribute(Display* display, XVisualInfo& visual, int name) {
    int value = 0;
    return glXGetConfig(display, &visual, name, &value) == 0 ? value : 0;
}

// Each attribute costs a GLX query: with libglvnd a system call, and Mesa's
// search of its visual list. Xvfb has hundreds of visuals, so each part is
// read only once a choice needs it.

// Whether GLX renders to the visual from a window's context: the
// double-buffer flag first, since it alone rules out most that do not; and
// a candidate's depth buffer, which the first key of every choice reads.
void readCandidacy(Display* display, XVisualInfo& visual, PixelFormatDescription& description) {
    auto get = [&](int name) { return attribute(display, visual, name); };
    description.doubleBuffered = get(GLX_DOUBLEBUFFER) != 0;
    if (!description.doubleBuffered) return;
    description.openGl = get(GLX_USE_GL) != 0;
    description.rgba = get(GLX_RGBA) != 0;
    description.mainPlane = get(GLX_LEVEL) == 0;
    if (isPixelFormatCandidate(description)) description.depthBits = get(GLX_DEPTH_SIZE);
}

void readGlxPart(Display* display, XVisualInfo& visual, DescriptionPart part,
                 PixelFormatDescription& description) {
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

std::vector<XVisualInfo> readVisuals(const Connection& connection) {
    XVisualInfo pattern{};
    pattern.screen = connection.screen;
    int count = 0;
    XVisualInfo* found = XGetVisualInfo(connection.display, VisualScreenMask, &pattern, &count);
    if (!found) return {};
    std::vector<XVisualInfo> visuals(found, found + count);
    XFree(found);
    return visuals;
}

}  // namespace

std::vector<XVisualInfo>& screenVisuals(Connection& connection) {
    if (!connection.visuals) connection.visuals = readVisuals(connection);
    return *connection.visuals;
}

const XVisualInfo* visualOf(Connection& connection, int pixelFormat) {
    const std::vector<XVisualInfo>& visuals = screenVisuals(connection);
    if (pixelFormat < 1 || pixelFormat > static_cast<int>(visuals.size())) return nullptr;
    return &visuals[static_cast<size_t>(pixelFormat - 1)];
}

size_t backend::pixelFormatCount() {
    Connection* connection = liveConnection();
    return connection ? screenVisuals(*connection).size() : 0;
}

// The identity is the visual's own record: whether it is of the screen's
// depth, and its class. Without GLX every other part stays zero: no visual
// is OpenGL-capable.
void backend::describePixelFormat(size_t index, DescriptionPart part,
                                  PixelFormatDescription& description) {
    Connection* connection = liveConnection();
    if (!connection || index >= screenVisuals(*connection).size()) return;
    XVisualInfo& visual = screenVisuals(*connection)[index];
    if (part == kIdentityPart) {
        description.opaque = visual.depth == DefaultDepth(connection->display, connection->screen);
        description.trueColor = visual.c_class == TrueColor;
    } else if (connection->hasGlx) {
        readGlxPart(connection->display, visual, part, description);
    }
}
