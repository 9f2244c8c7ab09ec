#pragma once

#include "platform/web/webgl_device.h"

// The WebGL 2 context of the canvas, drawn through page.js.
class CanvasDevice final : public WebGlDevice {
public:
    void clear(float r, float g, float b, float a) override;
    void drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                   BlendState blend) override;
};
