#pragma once

#include "platform/web/canvas_context.h"

// The canvas's WebGL 2 context, as page.js draws on it.
class CanvasDevice final : public WebGlPage {
public:
    bool lost() const override;
    unsigned restorations() const override;
    bool makeObjects() override;
    void clear(float r, float g, float b, float a) override;
    void drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                   BlendState blend) override;
};
