#include "scene/ground_grid.h"

#include "platform/opengl.h"

void GroundGrid::draw() const {
    // The cell sizes are taken inside the loops, which a count of 0 never
    // enters: no division by zero.
    glBegin(GL_QUADS);
    for (uint32_t i = 0; i < cellsZ; ++i) {
        const float cellZ = sizeZ / static_cast<float>(cellsZ);
        const float z0 = -sizeZ / 2.0f + cellZ * static_cast<float>(i);
        const float z1 = -sizeZ / 2.0f + cellZ * static_cast<float>(i + 1);
        for (uint32_t j = 0; j < cellsX; ++j) {
            const float cellX = sizeX / static_cast<float>(cellsX);
            const float x0 = -sizeX / 2.0f + cellX * static_cast<float>(j);
            const float x1 = -sizeX / 2.0f + cellX * static_cast<float>(j + 1);
            glVertex3f(x0, 0.0f, z0);
            glVertex3f(x0, 0.0f, z1);
            glVertex3f(x1, 0.0f, z1);
            glVertex3f(x1, 0.0f, z0);
        }
    }
    glEnd();
}
