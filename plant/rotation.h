#pragma once

#include <cmath>

#include "common/vec3.h"

// A turn by a fixed angle, its sine and cosine taken once as floats so that a
// walk that turns by the same angle many times pays for them once.
struct Rotation {
    float s;
    float c;

    static Rotation byDegrees(float degrees) {
        const float radians = degrees * 0.017453292f;
        return {std::sin(radians), std::cos(radians)};
    }
    // The opposite turn; sine is odd, so this equals byDegrees(-degrees).
    constexpr Rotation reversed() const { return {-s, c}; }
};

// About the world X axis.
constexpr Vec3 rotateX(Vec3 v, Rotation r) {
    return {v.x, r.c * v.y - r.s * v.z, r.s * v.y + r.c * v.z};
}
// About the world Y axis.
constexpr Vec3 rotateY(Vec3 v, Rotation r) {
    return {r.c * v.x + r.s * v.z, v.y, r.c * v.z - r.s * v.x};
}
