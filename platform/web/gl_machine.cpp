#include "platform/web/gl_machine.h"

#include <algorithm>
#include <cmath>
#include <limits>

void QuadBatch::add(const std::array<Vec4, 4>& corners, const std::array<uint32_t, 4>& colours) {
    for (size_t i = 0; i < 4; ++i) {
        const Vec4& c = corners[i];
        vertices.push_back({c.x, c.y, c.z, c.w, colours[i]});
    }
}

void QuadBatch::flush(WebGlDevice& device, Viewport viewport, BlendState blend) {
    if (vertices.empty()) return;
    device.drawQuads(vertices.data(), vertices.size(), viewport, blend);
    vertices.clear();
}

namespace {

uint32_t channel(float value) {
    if (!(value > 0.0f)) return 0;  // also NaN
    return static_cast<uint32_t>(std::lround(std::min(value, 1.0f) * 255.0f));
}

// The biggest name a list can have: glGenLists refuses ranges beyond it.
constexpr uint64_t kListNames = std::numeric_limits<GLuint>::max();

bool validBlendFactor(GLenum factor) {
    switch (factor) {
        case GL_ZERO:
        case GL_ONE:
        case GL_SRC_COLOR:
        case GL_ONE_MINUS_SRC_COLOR:
        case GL_DST_COLOR:
        case GL_ONE_MINUS_DST_COLOR:
        case GL_SRC_ALPHA:
        case GL_ONE_MINUS_SRC_ALPHA:
        case GL_DST_ALPHA:
        case GL_ONE_MINUS_DST_ALPHA:
        case GL_SRC_ALPHA_SATURATE: return true;
        default: return false;
    }
}

}  // namespace

uint32_t packColour(float r, float g, float b, float a) {
    return channel(r) | channel(g) << 8 | channel(b) << 16 | channel(a) << 24;
}

GlMachine::GlMachine(WebGlDevice& device)
    : device(device),
      currentPacked(packColour(1.0f, 1.0f, 1.0f, 1.0f)),
      raster{true, {0.0f, 0.0f}, 0.0f, currentPacked} {}

Mat4& GlMachine::currentMatrix() {
    return matrixModeValue == GL_PROJECTION ? projection : modelView;
}

const Mat4& GlMachine::modelViewProjection() {
    if (combinedStale) {
        combined = projection * modelView;
        combinedStale = false;
    }
    return combined;
}

void GlMachine::matrixMode(GLenum mode) {
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION) matrixModeValue = mode;
}

void GlMachine::loadIdentity() {
    currentMatrix() = Mat4::identity();
    combinedStale = true;
}

void GlMachine::multiply(const Mat4& matrix) {
    currentMatrix() = currentMatrix() * matrix;
    combinedStale = true;
}

void GlMachine::frustum(double l, double r, double b, double t, double n, double f) {
    if (const auto matrix = frustumMatrix(l, r, b, t, n, f)) multiply(*matrix);
}

void GlMachine::ortho(double l, double r, double b, double t, double n, double f) {
    if (const auto matrix = orthoMatrix(l, r, b, t, n, f)) multiply(*matrix);
}

void GlMachine::rotate(float degrees, float x, float y, float z) {
    multiply(rotationMatrix(degrees, x, y, z));
}

void GlMachine::translate(float x, float y, float z) {
    multiply(translationMatrix(x, y, z));
}

void GlMachine::viewport(int x, int y, int width, int height) {
    if (width < 0 || height < 0) return;
    const Viewport next{x, y, width, height};
    if (next.x == view.x && next.y == view.y && next.width == view.width &&
        next.height == view.height) {
        return;
    }
    batch.flush(device, view, blend);
    view = next;
}

// The program sets the same colour before every segment: it is packed
// again only when it changes (a NaN never compares equal, so it is packed).
void GlMachine::colour(float r, float g, float b, float a) {
    const std::array<float, 4> next{r, g, b, a};
    if (next == currentRgba) return;
    currentRgba = next;
    currentPacked = packColour(r, g, b, a);
}

void GlMachine::lineWidth(float width) {
    if (width > 0.0f) linePixels = lineWidthInPixels(width);
}

void GlMachine::polygonMode(GLenum face, GLenum mode) {
    if (mode != GL_POINT && mode != GL_LINE && mode != GL_FILL) return;
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) frontMode = mode;
    if (face == GL_BACK || face == GL_FRONT_AND_BACK) backMode = mode;
}

void GlMachine::setEnabled(GLenum capability, bool enabled) {
    if (capability == GL_BLEND) changeBlend({enabled, blend.source, blend.destination});
    if (capability == GL_CULL_FACE) cullFace = enabled;
}

void GlMachine::blendFunc(GLenum source, GLenum destination) {
    if (!validBlendFactor(source) || !validBlendFactor(destination)) return;
    changeBlend({blend.enabled, source, destination});
}

void GlMachine::changeBlend(BlendState next) {
    if (next == blend) return;
    // Only what is drawn from here on blends, or stops blending.
    batch.flush(device, view, blend);
    blend = next;
}

void GlMachine::clearColour(float r, float g, float b, float a) {
    const auto clamped = [](float v) {
        return std::isnan(v) ? 0.0f : std::fmin(std::fmax(v, 0.0f), 1.0f);
    };
    clearRgba[0] = clamped(r), clearRgba[1] = clamped(g), clearRgba[2] = clamped(b),
    clearRgba[3] = clamped(a);
}

void GlMachine::clear(GLbitfield mask) {
    if (!(mask & GL_COLOR_BUFFER_BIT)) return;
    // Nothing clips the clear: it covers whatever was gathered.
    batch.discard();
    device.clear(clearRgba[0], clearRgba[1], clearRgba[2], clearRgba[3]);
}

void GlMachine::begin(GLenum mode) {
    if (primitive != 0) return;  // already inside glBegin
    primitive = mode;
    pendingCount = 0;
}

void GlMachine::vertex(float x, float y, float z) {
    if (primitive != GL_LINES && primitive != GL_QUADS) return;
    pending[pendingCount++] = {modelViewProjection() * Vec4{x, y, z, 1.0f}, currentPacked};
    if (primitive == GL_LINES && pendingCount == 2) {
        drawLine(pending[0], pending[1]);
        pendingCount = 0;
    } else if (pendingCount == 4) {
        drawQuad(pending);
        pendingCount = 0;
    }
}

void GlMachine::end() {
    primitive = 0;  // an unfinished primitive draws nothing
}

// Smooth shading: each end keeps its own colour.
void GlMachine::drawLine(Corner a, Corner b) {
    if (view.empty()) return;
    Vec4 from = a.clip, to = b.clip;
    if (!clipToNearPlane(from, to) || outsideView(from, to, view)) return;
    batch.add(lineQuad(from, to, linePixels, view), {a.rgba, b.rgba, b.rgba, a.rgba});
}

void GlMachine::drawQuad(const Corner (&corners)[4]) {
    if (view.empty()) return;
    const bool front = frontFacing(corners);
    if (cullFace && !front) return;
    const GLenum mode = front ? frontMode : backMode;
    if (mode == GL_FILL) {
        batch.add({corners[0].clip, corners[1].clip, corners[2].clip, corners[3].clip},
                  {corners[0].rgba, corners[1].rgba, corners[2].rgba, corners[3].rgba});
    } else if (mode == GL_LINE) {
        // The quad's own four edges; clipping adds none.
        for (int i = 0; i < 4; ++i) drawLine(corners[i], corners[(i + 1) % 4]);
    }
}

// Counter-clockwise in the window is the front. The area is taken in
// homogeneous form, which needs no division and keeps its sign for corners
// in front of the eye.
bool GlMachine::frontFacing(const Corner (&corners)[4]) const {
    double area = 0.0;
    for (int i = 0; i < 4; ++i) {
        const Vec4 p = corners[i].clip;
        const Vec4 q = corners[(i + 1) % 4].clip;
        area += (double{p.x} * q.y - double{q.x} * p.y) / (double{p.w} * q.w);
    }
    const double sx = view.width, sy = view.height;
    return area * sx * sy >= 0.0;
}

void GlMachine::rasterPos(float x, float y) {
    const Vec4 clip = modelViewProjection() * Vec4{x, y, 0.0f, 1.0f};
    raster.valid = insideClipVolume(clip) && !view.empty();
    raster.rgba = currentPacked;
    if (!raster.valid) return;
    raster.window = toWindow(clip, view);
    raster.z = clip.z / clip.w;
}

void GlMachine::bitmap(const Bitmap& image) {
    if (!raster.valid) return;
    const float left = std::floor(raster.window.x - image.xorig);
    const float bottom = std::floor(raster.window.y - image.yorig);
    for (int32_t row = 0; row < image.height; ++row) {
        const float y = bottom + static_cast<float>(row);
        for (int32_t column = 0; column < image.width;) {
            if (!image.set(column, row)) {
                ++column;
                continue;
            }
            // One quad for a run of set pixels.
            const int32_t start = column;
            while (column < image.width && image.set(column, row)) ++column;
            const float x0 = left + static_cast<float>(start);
            const float x1 = left + static_cast<float>(column);
            batch.add({fromWindow({x0, y}, raster.z, view), fromWindow({x1, y}, raster.z, view),
                       fromWindow({x1, y + 1.0f}, raster.z, view),
                       fromWindow({x0, y + 1.0f}, raster.z, view)},
                      {raster.rgba, raster.rgba, raster.rgba, raster.rgba});
        }
    }
    raster.window.x += image.xmove;
    raster.window.y += image.ymove;
}

GLuint GlMachine::genLists(GLsizei range) {
    if (range <= 0 || nextList + uint64_t(range) - 1 > kListNames) return 0;
    const GLuint first = nextList;
    for (GLsizei i = 0; i < range; ++i) lists[first + static_cast<GLuint>(i)] = Bitmap{};
    nextList += static_cast<GLuint>(range);
    return first;
}

void GlMachine::listBase(GLuint newBase) {
    base = newBase;
}

void GlMachine::defineBitmapList(GLuint list, const Bitmap& image) {
    const auto found = lists.find(list);
    if (found != lists.end()) found->second = image;
}

void GlMachine::callList(GLuint list) {
    const auto found = lists.find(list);
    if (found != lists.end()) bitmap(found->second);
}

// Names as bytes only: the program's text is all glCallLists draws.
void GlMachine::callLists(GLsizei n, GLenum type, const GLvoid* names) {
    if (n <= 0 || !names || type != GL_UNSIGNED_BYTE) return;
    const auto* bytes = static_cast<const GLubyte*>(names);
    // Names wrap around as unsigned ints: a base below the first code, as
    // the font sets it, is a large unsigned number.
    for (GLsizei i = 0; i < n; ++i) callList(base + bytes[i]);
}

void GlMachine::finish() {
    batch.flush(device, view, blend);
}
