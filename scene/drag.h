#pragma once

#include <cstdint>

#include "scene/orbit_angles.h"

// A left-button drag that turns the camera of the scene behind currentScene.
struct DragState {
    bool active = false;
    int32_t startX = 0;                   // client pixels where the drag began
    int32_t startY = 0;                   // growing downwards
    OrbitAngles startAngles{0.0f, 0.0f};  // the camera's angles then
};

// The program's one drag, a global of the program.
extern DragState dragState;

// The button code of the left button, the one that drags.
inline constexpr int kLeftButton = 1;

// Coordinates are client pixels, y downwards.
void mouseDown(int button, int x, int y);
void mouseUp(int button, int x, int y);
// One pixel turns one degree, measured from where the drag began.
void mouseMove(int x, int y);
