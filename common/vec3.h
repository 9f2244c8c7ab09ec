#pragma once

// A point or direction in 3D, three 32-bit floats. World coordinates have y up.
struct Vec3 {
    float x;
    float y;
    float z;
};

// Scaling by a float, component by component.
constexpr Vec3 operator*(Vec3 v, float k) {
    return {v.x * k, v.y * k, v.z * k};
}

// Addition in place, component by component.
constexpr Vec3& operator+=(Vec3& a, Vec3 b) {
    a.x += b.x;
    a.y += b.y;
    a.z += b.z;
    return a;
}

constexpr Vec3 operator+(Vec3 a, Vec3 b) {
    return a += b;
}
constexpr Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
constexpr bool operator==(Vec3 a, Vec3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
