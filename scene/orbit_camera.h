#pragma once

#include "common/sphere.h"
#include "scene/orbit_angles.h"

// A symmetric view volume. Stored with top before bottom; glFrustum takes
// bottom first.
struct Frustum {
    float left = 0, right = 0, top = 0, bottom = 0, near = 0, far = 0;

    // Fits the volume so that `sphere` just fills a view of `fovDegrees`;
    // returns the eye's distance from the sphere's centre.
    float fit(float fovDegrees, Sphere sphere);

    // Loads the projection matrix.
    void apply() const;
};

// Looks at a target sphere from where it just fills the view, and turns
// about its centre by yaw and pitch.
struct OrbitCamera {
    float fov;  // full opening angle in degrees, horizontal and vertical
    float distance = 0;
    Frustum frustum;
    Sphere target{{0, 0, 0}, 1};
    OrbitAngles angles;

    OrbitCamera(OrbitAngles angles, float fovDegrees) : fov(fovDegrees), angles(angles) {}

    // Makes `sphere` the target and fits the frustum and distance to it.
    void fitToSphere(Sphere sphere);
    void applyProjection() const;
    // Loads the modelview matrix: back by distance, turned, target centred.
    void applyView() const;
    void setAngles(OrbitAngles newAngles) { angles = newAngles; }
};
