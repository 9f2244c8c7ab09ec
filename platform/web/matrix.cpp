#include "platform/web/matrix.h"

#include <cmath>

Mat4 Mat4::identity() {
    return Mat4{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 product{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            product.m[column * 4 + row] = sum;
        }
    }
    return product;
}

Vec4 operator*(const Mat4& a, Vec4 v) {
    const auto& m = a.m;
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w,
            m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w,
            m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w};
}

std::optional<Mat4> frustumMatrix(double l, double r, double b, double t, double n, double f) {
    if (n <= 0.0 || f <= 0.0 || l == r || b == t || n == f) return std::nullopt;
    Mat4 m{};
    m.m[0] = static_cast<float>(2.0 * n / (r - l));
    m.m[5] = static_cast<float>(2.0 * n / (t - b));
    m.m[8] = static_cast<float>((r + l) / (r - l));
    m.m[9] = static_cast<float>((t + b) / (t - b));
    m.m[10] = static_cast<float>(-(f + n) / (f - n));
    m.m[11] = -1.0f;
    m.m[14] = static_cast<float>(-2.0 * f * n / (f - n));
    return m;
}

std::optional<Mat4> orthoMatrix(double l, double r, double b, double t, double n, double f) {
    if (l == r || b == t || n == f) return std::nullopt;
    Mat4 m = Mat4::identity();
    m.m[0] = static_cast<float>(2.0 / (r - l));
    m.m[5] = static_cast<float>(2.0 / (t - b));
    m.m[10] = static_cast<float>(-2.0 / (f - n));
    m.m[12] = static_cast<float>(-(r + l) / (r - l));
    m.m[13] = static_cast<float>(-(t + b) / (t - b));
    m.m[14] = static_cast<float>(-(f + n) / (f - n));
    return m;
}

Mat4 rotationMatrix(float degrees, float x, float y, float z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f || !std::isfinite(length)) return Mat4::identity();
    x /= length, y /= length, z /= length;
    const double radians = static_cast<double>(degrees) * 3.14159265358979323846 / 180.0;
    const auto c = static_cast<float>(std::cos(radians));
    const auto s = static_cast<float>(std::sin(radians));
    const float k = 1.0f - c;
    return Mat4{{x * x * k + c, y * x * k + z * s, x * z * k - y * s, 0,  //
                 x * y * k - z * s, y * y * k + c, y * z * k + x * s, 0,  //
                 x * z * k + y * s, y * z * k - x * s, z * z * k + c, 0,  //
                 0, 0, 0, 1}};
}

Mat4 translationMatrix(float x, float y, float z) {
    Mat4 m = Mat4::identity();
    m.m[12] = x;
    m.m[13] = y;
    m.m[14] = z;
    return m;
}
