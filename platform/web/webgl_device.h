#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/web/window_geometry.h"

// One corner of a quad as WebGL draws it: clip-space position and an
// 8-bit-per-channel RGBA colour (red in the lowest byte).
struct QuadVertex {
    float x, y, z, w;
    uint32_t rgba;
};

// Blending as glBlendFunc sets it, when enabled.
struct BlendState {
    bool enabled;
    uint32_t source, destination;  // GL_SRC_ALPHA and the like

    bool operator==(const BlendState&) const = default;
};

// The few WebGL operations the OpenGL subset needs: everything it draws is
// quads, four corners each, drawn in order.
class WebGlDevice {
public:
    virtual ~WebGlDevice() = default;

    // Fills the whole drawing buffer with the colour.
    virtual void clear(float r, float g, float b, float a) = 0;

    // Draws `count` / 4 quads with that viewport and blending.
    virtual void drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                           BlendState blend) = 0;
};
