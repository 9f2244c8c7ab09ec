#include "scene/drag.h"

#include "scene/scene.h"

void mouseDown(int button, int x, int y) {
    if (dragState.active || button != kLeftButton) return;
    dragState.active = true;
    dragState.startX = x;
    dragState.startY = y;
    dragState.startAngles = currentScene->camera.angles;
}

void mouseUp(int button, int, int) {
    if (dragState.active && button == kLeftButton) dragState.active = false;
}

void mouseMove(int x, int y) {
    if (!dragState.active) return;
    // In 64 bits, so that no pair of ints overflows.
    const int64_t dx = int64_t{x} - dragState.startX;
    const int64_t dy = int64_t{dragState.startY} - y;  // positive with the pointer above the start
    const OrbitAngles delta(static_cast<float>(-dx), static_cast<float>(-dy));
    currentScene->camera.setAngles(dragState.startAngles.plus(delta));
}
