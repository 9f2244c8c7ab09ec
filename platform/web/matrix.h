#pragma once

#include <array>
#include <optional>

// Homogeneous coordinates of a point: object, eye or clip space.
struct Vec4 {
    float x, y, z, w;
};

// A 4x4 matrix of floats in OpenGL's order: column by column, so that
// element (row r, column c) is m[c * 4 + r].
struct Mat4 {
    std::array<float, 16> m;

    static Mat4 identity();
};

Mat4 operator*(const Mat4& a, const Mat4& b);
Vec4 operator*(const Mat4& a, Vec4 v);

// The matrices glFrustum, glOrtho, glRotatef and glTranslatef multiply by.
// Arguments OpenGL refuses (an empty box, a near or far plane not in front
// for a frustum) give none: the call then has no effect.
std::optional<Mat4> frustumMatrix(double left, double right, double bottom, double top, double near,
                                  double far);
std::optional<Mat4> orthoMatrix(double left, double right, double bottom, double top, double near,
                                double far);
// A turn of `degrees` about the axis (x, y, z), counter-clockwise looking
// down the axis; an axis of length 0 turns nothing.
Mat4 rotationMatrix(float degrees, float x, float y, float z);
Mat4 translationMatrix(float x, float y, float z);
