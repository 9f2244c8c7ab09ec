#pragma once

// The program's globals put back to their state at start, between runs of
// the program's code in one process (each test, each fuzzer input).

#include "app/globals.h"
#include "scene/drag.h"
#include "scene/scene.h"

// The scene and its plants as static initialisation left them, the camera
// not fitted yet, and the globals as WinMain finds them. The first call
// takes the scene to put back, so it must come before anything changes it.
// The font's widths, which the program never frees, are freed.
inline void restoreProgramStart() {
    struct Snapshot {
        Scene scene = *currentScene;
        Plant plant1 = *currentScene->plant1;
        Plant plant2 = *currentScene->plant2;
    };
    static const Snapshot atStart;
    *currentScene = atStart.scene;  // the same plants, which are put back too
    *currentScene->plant1 = atStart.plant1;
    *currentScene->plant2 = atStart.plant2;
    cameraFitted = false;
    startTime = {};
    frameCounter = {};
    glContext = {};
    delete[] font.charWidths;
    font = {};
    dragState = {};
    clientWidth = 0;
    clientHeight = 0;
}
