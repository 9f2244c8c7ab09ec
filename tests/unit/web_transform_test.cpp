// Vertices through the matrix stack of the web layer's OpenGL, against
// transforms worked out independently in double precision.
#include <gtest/gtest.h>

#include "tests/unit/gl_transform.h"
#include "tests/unit/web_recording_device.h"

namespace {

constexpr Viewport kView{0, 0, 200, 100};

struct Clip {
    double x, y, z, w;
};

// glFrustum's projection of an eye-space point, from its definition.
Clip frustumOf(Point p, double l, double r, double b, double t, double n, double f) {
    return {2 * n / (r - l) * p.x + (r + l) / (r - l) * p.z,
            2 * n / (t - b) * p.y + (t + b) / (t - b) * p.z,
            -(f + n) / (f - n) * p.z - 2 * f * n / (f - n), -p.z};
}

class WebTransform : public RecordedGl {
protected:
    void SetUp() override { setViewport(kView); }

    // One filled quad at the given corners; its drawn vertices.
    std::vector<QuadVertex> drawQuad(const Point (&corners)[4]) {
        gl.polygonMode(GL_FRONT_AND_BACK, GL_FILL);
        gl.begin(GL_QUADS);
        for (const Point& p : corners) gl.vertex(float(p.x), float(p.y), float(p.z));
        gl.end();
        gl.finish();
        return device.allVertices();
    }

    void expectClip(const QuadVertex& v, Clip c) {
        const double tolerance = 1e-5 * (std::fabs(c.w) + 1.0);
        EXPECT_NEAR(v.x, c.x, tolerance);
        EXPECT_NEAR(v.y, c.y, tolerance);
        EXPECT_NEAR(v.z, c.z, tolerance);
        EXPECT_NEAR(v.w, c.w, tolerance);
    }
};

TEST_F(WebTransform, ModelViewAndFrustumTakeVerticesToClipSpace) {
    gl.matrixMode(GL_PROJECTION);
    gl.loadIdentity();
    gl.frustum(-1.5, 0.5, -1.0, 2.0, 1.0, 50.0);
    gl.matrixMode(GL_MODELVIEW);
    gl.loadIdentity();
    gl.translate(0.5f, -1.0f, -12.0f);
    gl.rotate(35.0f, 1.0f, 0.0f, 0.0f);
    gl.rotate(-70.0f, 0.0f, 2.0f, 0.0f);  // the axis need not be of unit length
    gl.translate(-3.0f, 2.0f, 1.0f);

    const Point corners[4] = {{0, 0, 0}, {4, 0, 0}, {4, 3, -2}, {0, 3, 5}};
    const auto vertices = drawQuad(corners);
    ASSERT_EQ(vertices.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        Point p = corners[i];
        p = {p.x - 3, p.y + 2, p.z + 1};
        p = rotated(p, -70, 0, 1, 0);
        p = rotated(p, 35, 1, 0, 0);
        p = {p.x + 0.5, p.y - 1, p.z - 12};
        expectClip(vertices[i], frustumOf(p, -1.5, 0.5, -1.0, 2.0, 1.0, 50.0));
    }
}

TEST_F(WebTransform, OrthoMapsItsBoxOntoTheClipCube) {
    gl.matrixMode(GL_PROJECTION);
    gl.ortho(-10.0, 30.0, 0.0, 5.0, -1.0, 3.0);
    const Point corners[4] = {{-10, 0, 1}, {30, 0, -3}, {30, 5, 1}, {10, 2.5, -1}};
    const auto vertices = drawQuad(corners);
    ASSERT_EQ(vertices.size(), 4u);
    expectClip(vertices[0], {-1, -1, -1, 1});
    expectClip(vertices[1], {1, -1, 1, 1});
    expectClip(vertices[2], {1, 1, -1, 1});
    expectClip(vertices[3], {0, 0, 0, 1});
}

TEST_F(WebTransform, RefusedArgumentsAndIdentityLeaveTheRightMatrix) {
    gl.matrixMode(GL_PROJECTION);
    gl.frustum(-1, 1, -1, 1, 0.0, 10.0);  // a near plane at the eye: refused
    gl.ortho(1, 1, -1, 1, -1, 1);         // an empty box: refused
    gl.matrixMode(GL_MODELVIEW);
    gl.translate(5, 5, 5);
    gl.loadIdentity();
    gl.rotate(90.0f, 0.0f, 0.0f, 0.0f);  // no axis: no turn
    gl.matrixMode(0x1702);               // GL_TEXTURE: not kept, GL_MODELVIEW stays current
    gl.translate(0.25f, 0.0f, 0.0f);
    const Point corners[4] = {{0, 0, 0}, {0.5, 0, 0}, {0.5, 0.5, 0}, {0, 0.5, 0}};
    const auto vertices = drawQuad(corners);
    ASSERT_EQ(vertices.size(), 4u);
    expectClip(vertices[0], {0.25, 0, 0, 1});
    expectClip(vertices[2], {0.75, 0.5, 0, 1});
}

}  // namespace
