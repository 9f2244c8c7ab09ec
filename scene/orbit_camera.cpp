#include "scene/orbit_camera.h"

#include <cmath>

#include "platform/opengl.h"

namespace {

// A sphere the camera can be fitted to: finite, with a radius above zero. A
// plant that drew nothing has an infinite one.
bool fits(Sphere s) {
    return std::isfinite(s.centre.x) && std::isfinite(s.centre.y) && std::isfinite(s.centre.z) &&
           std::isfinite(s.radius) && s.radius > 0.0f;
}

}  // namespace

float Frustum::fit(float fovDegrees, Sphere sphere) {
    const float half = fovDegrees / 2.0f;
    const float theta = half * 0.017453292f;
    const auto s = static_cast<float>(std::sin(static_cast<double>(theta)));
    const auto t = static_cast<float>(std::tan(static_cast<double>(theta)));
    const float r = sphere.radius;
    const float eyeDistance = r / s;
    near = eyeDistance - r;
    far = r * 12.0f + near;
    const float h = t * near;
    left = -h;
    right = h;
    top = h;
    bottom = -h;
    return eyeDistance;
}

void Frustum::apply() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(left, right, bottom, top, near, far);
}

// A sphere the camera cannot frame leaves it on the unit sphere at the
// origin, so that the view stays defined.
void OrbitCamera::fitToSphere(Sphere sphere) {
    target = fits(sphere) ? sphere : Sphere{{0.0f, 0.0f, 0.0f}, 1.0f};
    distance = frustum.fit(fov, target);
}

void OrbitCamera::applyProjection() const {
    frustum.apply();
}

void OrbitCamera::applyView() const {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -distance);
    angles.applyRotation();
    glTranslatef(-target.centre.x, -target.centre.y, -target.centre.z);
}
