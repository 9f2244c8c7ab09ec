#include "platform/web/canvas_device.h"

extern "C" {
int quennWebGlLost();
unsigned quennWebGlRestorations();
int quennWebGlMakeObjects();
void quennWebGlClear(float r, float g, float b, float a);
void quennWebGlDrawQuads(const QuadVertex* vertices, int count, int x, int y, int width, int height,
                         int blend, unsigned source, unsigned destination);
}

bool CanvasDevice::lost() const {
    return quennWebGlLost() != 0;
}

unsigned CanvasDevice::restorations() const {
    return quennWebGlRestorations();
}

bool CanvasDevice::makeObjects() {
    return quennWebGlMakeObjects() != 0;
}

void CanvasDevice::clear(float r, float g, float b, float a) {
    quennWebGlClear(r, g, b, a);
}

void CanvasDevice::drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                             BlendState blend) {
    quennWebGlDrawQuads(vertices, static_cast<int>(count), viewport.x, viewport.y, viewport.width,
                        viewport.height, blend.enabled, blend.source, blend.destination);
}
