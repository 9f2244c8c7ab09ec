#pragma once

#include <cstdint>

// A wireframe grid in the plane y = 0, centred on the origin.
struct GroundGrid {
    float sizeX;
    float sizeZ;
    uint32_t cellsX;
    uint32_t cellsZ;

    // Emits the cells as quads, rows of growing z outermost.
    void draw() const;
};
