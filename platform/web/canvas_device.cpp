#include "platform/web/canvas_device.h"

bool CanvasDevice::ready() {
    if (page.lost()) return false;
    const unsigned now = page.restorations();
    if (madeFor != now) {
        madeFor = now;
        refused = !page.makeObjects();
    }
    return !refused;
}

bool CanvasDevice::prepare() {
    ready();
    return !refused;
}

void CanvasDevice::clear(float r, float g, float b, float a) {
    if (ready()) page.clear(r, g, b, a);
}

void CanvasDevice::drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                             BlendState blend) {
    if (ready()) page.drawQuads(vertices, count, viewport, blend);
}
