#pragma once

#include "common/frame_info.h"
#include "plant/plant.h"
#include "scene/ground_grid.h"
#include "scene/orbit_camera.h"

// The world the program shows: a camera, the ground and two plants.
struct Scene {
    OrbitCamera camera;
    bool started;  // the plants have their begin times
    GroundGrid grid;
    Plant* plant1;  // at the origin; the camera is fitted to it
    Plant* plant2;  // shifted by plantSpacing along x, turned half a turn

    // Builds the camera and grid and grows both plants.
    Scene();

    // Draws one frame: needs a current context and the viewport set.
    void render(const FrameInfo& frame);

    // The first plant begins at the frame's time, the second 1.5 s later.
    void startPlants(const FrameInfo& frame);
};

// The program's one scene, reached only through this pointer; a global of
// the program, constant-initialised.
extern Scene* currentScene;

// Whether any scene's camera has been fitted: only the first render fits.
extern bool cameraFitted;

// How far along x the second plant stands from the first.
extern float plantSpacing;
