#include "platform/web/raster_geometry.h"

#include <cmath>

namespace {

// Above zero, so that the perspective division of a clipped end is defined.
constexpr float kLeastW = 1e-6f;

// Moves a clip-space point by (dx, dy) window pixels.
Vec4 shifted(Vec4 clip, float dx, float dy, Viewport viewport) {
    return {clip.x + 2.0f * dx / static_cast<float>(viewport.width) * clip.w,
            clip.y + 2.0f * dy / static_cast<float>(viewport.height) * clip.w, clip.z, clip.w};
}

Vec4 between(Vec4 a, Vec4 b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
            a.w + (b.w - a.w) * t};
}

// Keeps the part of a-b where distance(p) >= 0, distance being linear.
template <typename Distance>
bool clipAgainst(Vec4& a, Vec4& b, Distance distance) {
    const float da = distance(a);
    const float db = distance(b);
    if (da < 0.0f && db < 0.0f) return false;
    if (da < 0.0f) a = between(a, b, da / (da - db));
    if (db < 0.0f) b = between(b, a, db / (db - da));
    return true;
}

}  // namespace

WindowPoint toWindow(Vec4 clip, Viewport viewport) {
    return {static_cast<float>(viewport.x) +
                (clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(viewport.width),
            static_cast<float>(viewport.y) +
                (clip.y / clip.w + 1.0f) * 0.5f * static_cast<float>(viewport.height)};
}

Vec4 fromWindow(WindowPoint point, float z, Viewport viewport) {
    return {
        2.0f * (point.x - static_cast<float>(viewport.x)) / static_cast<float>(viewport.width) -
            1.0f,
        2.0f * (point.y - static_cast<float>(viewport.y)) / static_cast<float>(viewport.height) -
            1.0f,
        z, 1.0f};
}

bool insideClipVolume(Vec4 c) {
    return c.w > 0.0f && -c.w <= c.x && c.x <= c.w && -c.w <= c.y && c.y <= c.w && -c.w <= c.z &&
           c.z <= c.w;
}

bool clipToNearPlane(Vec4& a, Vec4& b) {
    return clipAgainst(a, b, [](Vec4 p) { return p.z + p.w; }) &&
           clipAgainst(a, b, [](Vec4 p) { return p.w - kLeastW; });
}

bool outsideView(Vec4 a, Vec4 b, Viewport viewport) {
    // Two pixels past the edge, in normalised coordinates, as a factor of w.
    const float sx = 1.0f + 4.0f / static_cast<float>(viewport.width);
    const float sy = 1.0f + 4.0f / static_cast<float>(viewport.height);
    return (a.x > sx * a.w && b.x > sx * b.w) || (a.x < -sx * a.w && b.x < -sx * b.w) ||
           (a.y > sy * a.w && b.y > sy * b.w) || (a.y < -sy * a.w && b.y < -sy * b.w) ||
           (a.z > a.w && b.z > b.w);
}

float lineWidthInPixels(float requested) {
    if (!(requested >= 1.5f)) return 1.0f;  // also NaN
    return std::round(requested);
}

std::array<Vec4, 4> lineQuad(Vec4 a, Vec4 b, float width, Viewport viewport) {
    const WindowPoint wa = toWindow(a, viewport);
    const WindowPoint wb = toWindow(b, viewport);
    const float half = width * 0.5f;
    const bool xMajor = std::fabs(wb.x - wa.x) >= std::fabs(wb.y - wa.y);
    const float dx = xMajor ? 0.0f : half;
    const float dy = xMajor ? half : 0.0f;
    return {shifted(a, -dx, -dy, viewport), shifted(b, -dx, -dy, viewport),
            shifted(b, dx, dy, viewport), shifted(a, dx, dy, viewport)};
}
