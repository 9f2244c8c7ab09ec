#include "scene/orbit_angles.h"

#include "platform/opengl.h"

void OrbitAngles::applyRotation() const {
    glRotatef(pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(-yaw, 0.0f, 1.0f, 0.0f);
}
