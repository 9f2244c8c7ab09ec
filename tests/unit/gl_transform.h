#pragma once

// Where OpenGL's recorded glTranslatef and glRotatef calls take a point, so
// that tests can check a transform by its effect rather than its arguments.

#include <cmath>

#include "common/vec3.h"
#include "tests/doubles/call_log.h"

struct Point {
    double x, y, z;
};

// `p` rotated by `degrees` about the axis (ax, ay, az), right-handed as
// glRotatef defines it.
inline Point rotated(Point p, double degrees, double ax, double ay, double az) {
    const double length = std::sqrt(ax * ax + ay * ay + az * az);
    ax /= length, ay /= length, az /= length;
    const double a = degrees * 3.14159265358979323846 / 180.0, c = std::cos(a), s = std::sin(a);
    const double dot = ax * p.x + ay * p.y + az * p.z;
    // Rodrigues: p c + (axis x p) s + axis (axis . p)(1 - c)
    return {p.x * c + (ay * p.z - az * p.y) * s + ax * dot * (1 - c),
            p.y * c + (az * p.x - ax * p.z) * s + ay * dot * (1 - c),
            p.z * c + (ax * p.y - ay * p.x) * s + az * dot * (1 - c)};
}

// The matrix product of `calls` (glTranslatef and glRotatef, others
// skipped) applied to `p`: the last call acts first, as in OpenGL.
inline Point transformed(const Calls& calls, Point p) {
    for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
        const auto& a = call->args;
        if (call->name == "glTranslatef") p = {p.x + a[0], p.y + a[1], p.z + a[2]};
        if (call->name == "glRotatef") p = rotated(p, a[0], a[1], a[2], a[3]);
    }
    return p;
}

// The inverse: the point that `calls` take to `p`.
inline Point untransformed(const Calls& calls, Point p) {
    for (const Call& call : calls) {
        const auto& a = call.args;
        if (call.name == "glTranslatef") p = {p.x - a[0], p.y - a[1], p.z - a[2]};
        if (call.name == "glRotatef") p = rotated(p, -a[0], a[1], a[2], a[3]);
    }
    return p;
}
