#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/web/raster_geometry.h"

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

// What the page does with the canvas's WebGL 2 context (page.js): it draws
// as a device does while the browser leaves it the context.
class WebGlPage : public WebGlDevice {
public:
    // The browser took the context away and has not given it back.
    virtual bool lost() const = 0;
    // How many times it gave the context back after taking it.
    virtual unsigned restorations() const = 0;
    // Makes the layer's shaders, program, buffers and vertex array on the
    // context; false when the browser refuses to compile or link them.
    virtual bool makeObjects() = 0;
};

// The device a rendering context draws on: the canvas, whose WebGL context
// the browser may take away (a GPU reset, a phone reclaiming memory) and give back. While
// it is away nothing is drawn; once back, its objects are made again before
// the next draw. What is drawn lives in the OpenGL state above, which the
// loss does not touch.
class CanvasDevice final : public WebGlDevice {
public:
    explicit CanvasDevice(WebGlPage& page) : page(page) {}

    // Makes the objects now, unless the context is away; false when the
    // browser refused them, and the context cannot draw.
    bool prepare();

    void clear(float r, float g, float b, float a) override;
    void drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                   BlendState blend) override;

private:
    bool ready();

    WebGlPage& page;
    std::optional<unsigned> madeFor;  // the restoration the objects belong to
    bool refused = false;
};
