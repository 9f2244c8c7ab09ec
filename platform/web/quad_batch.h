#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/web/matrix.h"
#include "platform/web/webgl_device.h"

// Quads gathered for one draw call: drawn together when the state they
// share changes or the frame ends.
class QuadBatch {
public:
    // Corners in drawing order, each with its colour.
    void add(const std::array<Vec4, 4>& corners, const std::array<uint32_t, 4>& colours);
    bool empty() const { return vertices.empty(); }

    // Draws what was gathered, if anything, and starts afresh.
    void flush(WebGlDevice& device, Viewport viewport, BlendState blend);

    // Forgets what was gathered: a clear covers it.
    void discard() { vertices.clear(); }

private:
    std::vector<QuadVertex> vertices;
};

// A colour as the framebuffer stores it: each channel clamped to 0..1 and
// rounded to 8 bits.
uint32_t packColour(float r, float g, float b, float a);
