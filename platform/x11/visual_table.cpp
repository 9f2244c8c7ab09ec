#include "platform/x11/visual_table.h"

#include <GL/glx.h>

namespace {

// One attribute of a visual; 0 when GLX does not know it for the visual.
int attribute(Display* display, XVisualInfo& visual, int name) {
    int value = 0;
    return glXGetConfig(display, &visual, name, &value) == 0 ? value : 0;
}

// Each attribute costs a GLX query: with libglvnd a system call, and Mesa's
// search of its visual list. Xvfb has hundreds of visuals, so a description
// is read part by part, each only once something needs it
// (VisualDescriptions).

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

std::vector<XVisualInfo> screenVisuals(const Connection& connection) {
    XVisualInfo pattern{};
    pattern.screen = connection.screen;
    int count = 0;
    XVisualInfo* found = XGetVisualInfo(connection.display, VisualScreenMask, &pattern, &count);
    if (!found) return {};
    std::vector<XVisualInfo> visuals(found, found + count);
    XFree(found);
    return visuals;
}

// What each visual's own record tells: whether it is of the screen's depth,
// and its class.
std::vector<VisualDescription> recordsOf(const std::vector<XVisualInfo>& visuals, int screenDepth) {
    std::vector<VisualDescription> known(visuals.size());
    for (size_t i = 0; i < visuals.size(); ++i) {
        known[i].opaque = visuals[i].depth == screenDepth;
        known[i].trueColor = visuals[i].c_class == TrueColor;
    }
    return known;
}

}  // namespace

VisualTable::VisualTable(const Connection& connection)
    : visuals_(screenVisuals(connection)),
      descriptions_(recordsOf(visuals_, DefaultDepth(connection.display, connection.screen)),
                    reader(connection)) {}

VisualDescriptions::ReadPart VisualTable::reader(const Connection& connection) {
    // Without GLX every part stays zero: no visual is OpenGL-capable.
    if (!connection.hasGlx) return [](size_t, unsigned, VisualDescription&) {};
    Display* display = connection.display;
    return [this, display](size_t index, unsigned part, VisualDescription& description) {
        readPart(display, visuals_[index], description, part);
    };
}

const XVisualInfo* VisualTable::visual(int pixelFormat) const {
    if (pixelFormat < 1 || pixelFormat > static_cast<int>(visuals_.size())) return nullptr;
    return &visuals_[pixelFormat - 1];
}

bool VisualTable::isCandidate(int pixelFormat) {
    if (!visual(pixelFormat)) return false;
    const size_t index = static_cast<size_t>(pixelFormat - 1);
    return isPixelFormatCandidate(descriptions_.describe(index, kCandidacyPart));
}

int VisualTable::choose(const PIXELFORMATDESCRIPTOR& request) {
    return descriptions_.choose(request);
}

VisualTable& visualTable(const Connection& connection) {
    static VisualTable* table = new VisualTable(connection);
    return *table;
}

int defaultWindowPixelFormat(const Connection& connection) {
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cDepthBits = 1;
    return visualTable(connection).choose(request);
}
