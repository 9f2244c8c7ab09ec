#include "platform/web/quad_batch.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

uint32_t packColour(float r, float g, float b, float a) {
    return channel(r) | channel(g) << 8 | channel(b) << 16 | channel(a) << 24;
}
