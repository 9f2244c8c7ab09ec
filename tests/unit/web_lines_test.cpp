// Lines as the web layer's OpenGL draws them: quads of whole pixels along
// the minor axis, outlines of quads in line mode, and the near plane.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/unit/web_recording_device.h"

namespace {

constexpr Viewport kView{0, 0, 100, 100};

// Normalised device coordinates of a window point of kView, for drawing
// with identity matrices.
float ndc(float pixels) {
    return pixels / 50.0f - 1.0f;
}

class WebLines : public RecordedGl {
protected:
    void SetUp() override { setViewport(kView); }

    void line(WindowPoint a, WindowPoint b) {
        drawPrimitive(gl, GL_LINES, {{ndc(a.x), ndc(a.y), 0.0f}, {ndc(b.x), ndc(b.y), 0.0f}});
    }

    std::vector<WindowPoint> drawnCorners() {
        gl.finish();
        std::vector<WindowPoint> corners;
        for (const QuadVertex& v : device.allVertices()) corners.push_back(windowOf(v, kView));
        return corners;
    }

    // The corners drawn for kSquare as GL_QUADS, once for each of `fronts`:
    // counter-clockwise (its front) where true, else clockwise.
    std::vector<WindowPoint> drawnSquares(std::initializer_list<bool> fronts) {
        gl.begin(GL_QUADS);
        for (const bool front : fronts) {
            for (int i = 0; i < 4; ++i) {
                const WindowPoint& corner = kSquare[front ? i : 3 - i];
                gl.vertex(ndc(corner.x), ndc(corner.y), 0.0f);
            }
        }
        gl.end();
        return drawnCorners();
    }

    static constexpr WindowPoint kSquare[4] = {{20, 20}, {60, 20}, {60, 70}, {20, 70}};
};

void expectCorner(WindowPoint seen, WindowPoint expected) {
    EXPECT_NEAR(seen.x, expected.x, 1e-3) << "y " << seen.y;
    EXPECT_NEAR(seen.y, expected.y, 1e-3) << "x " << seen.x;
}

TEST_F(WebLines, WideLinesWidenAlongTheMinorAxisByWholePixels) {
    struct Case {
        float width, expectedHalf;
    } cases[] = {{3.0f, 1.5f}, {2.0f, 1.0f}, {0.5f, 0.5f}, {1.0f, 0.5f}, {2.4f, 1.0f}};
    for (const Case& c : cases) {
        device.draws.clear();
        gl.lineWidth(c.width);
        line({20, 40}, {80, 50});  // x-major: widened vertically
        line({30, 10}, {35, 90});  // y-major: widened horizontally
        const auto corners = drawnCorners();
        ASSERT_EQ(corners.size(), 8u) << "width " << c.width;
        const float h = c.expectedHalf;
        const WindowPoint expected[8] = {{20, 40 - h}, {80, 50 - h}, {80, 50 + h}, {20, 40 + h},
                                         {30 - h, 10}, {35 - h, 90}, {35 + h, 90}, {30 + h, 10}};
        for (int i = 0; i < 8; ++i) expectCorner(corners[i], expected[i]);
    }
}

TEST_F(WebLines, EachEndKeepsItsColour) {
    gl.colour(1.0f, 0.0f, 0.0f, 1.0f);
    gl.begin(GL_LINES);
    gl.vertex(0, 0, 0);
    gl.colour(0.0f, 0.0f, 1.0f, 0.5f);
    gl.vertex(0.5f, 0, 0);
    gl.end();
    gl.finish();
    std::vector<uint32_t> colours;
    for (const QuadVertex& v : device.allVertices()) colours.push_back(v.rgba);
    // Red, opaque, and blue at alpha 128.
    EXPECT_EQ(colours, (std::vector<uint32_t>{0xFF0000FFu, 0x80FF0000u, 0x80FF0000u, 0xFF0000FFu}));
}

TEST_F(WebLines, LineModeQuadsAreTheirFourEdges) {
    gl.polygonMode(GL_FRONT, GL_LINE);
    gl.polygonMode(GL_BACK, GL_LINE);
    const auto corners = drawnSquares({true});
    ASSERT_EQ(corners.size(), 16u);
    for (int edge = 0; edge < 4; ++edge) {
        const WindowPoint from = kSquare[edge], to = kSquare[(edge + 1) % 4];
        const bool xMajor = std::fabs(to.x - from.x) >= std::fabs(to.y - from.y);
        const float dx = xMajor ? 0.0f : 0.5f, dy = xMajor ? 0.5f : 0.0f;
        expectCorner(corners[edge * 4 + 0], {from.x - dx, from.y - dy});
        expectCorner(corners[edge * 4 + 1], {to.x - dx, to.y - dy});
        expectCorner(corners[edge * 4 + 2], {to.x + dx, to.y + dy});
    }
}

TEST_F(WebLines, PolygonModeFollowsTheFacing) {
    gl.polygonMode(GL_FRONT, GL_FILL);
    gl.polygonMode(GL_BACK, GL_LINE);
    const auto corners = drawnSquares({true, false});
    ASSERT_EQ(corners.size(), 4u + 16u);  // front filled, back outlined
    for (int i = 0; i < 4; ++i) expectCorner(corners[i], kSquare[i]);

    device.draws.clear();
    gl.setEnabled(GL_CULL_FACE, true);  // culls the back
    EXPECT_TRUE(drawnSquares({false}).empty());
}

TEST_F(WebLines, LinesThroughTheEyeEndAtTheNearPlane) {
    gl.matrixMode(GL_PROJECTION);
    gl.frustum(-1, 1, -1, 1, 1, 100);
    // One line from in front to behind the eye, one wholly behind: nothing.
    drawPrimitive(gl, GL_LINES, {{0, 0.5f, -10}, {0, 0.5f, 10}, {1, 0, 5}, {2, 0, 6}});
    gl.finish();
    const auto vertices = device.allVertices();
    ASSERT_EQ(vertices.size(), 4u);
    for (const QuadVertex& v : vertices) {
        EXPECT_GT(v.w, 0.0f);
        EXPECT_GE(v.z / v.w, -1.0f - 1e-5f);
    }
    // The cut end lies on the near plane (eye z -1), on the line: y = 0.5.
    EXPECT_NEAR(vertices[1].z / vertices[1].w, -1.0f, 1e-4);
    EXPECT_NEAR((vertices[1].y + vertices[2].y) / 2 / vertices[1].w, 0.5f, 1e-4);
}

TEST_F(WebLines, LinesOutsideTheViewAreDroppedThoseTouchingItKept) {
    gl.lineWidth(3.0f);
    line({101.5f, 10}, {140, 90});  // 1.5 pixels right of the edge: its width reaches in
    line({103, 10}, {140, 90});     // 3 pixels right: no pixel inside
    line({10, -3}, {90, -20});      // below
    line({-30, 50}, {130, 50});     // across, ends outside
    const auto corners = drawnCorners();
    ASSERT_EQ(corners.size(), 8u);
    expectCorner(corners[0], {101.5f - 1.5f, 10});
    expectCorner(corners[4], {-30, 50 - 1.5f});
}

TEST_F(WebLines, UnfinishedPrimitivesAndOtherModesDrawNothing) {
    drawPrimitive(gl, GL_LINES, {{0, 0, 0}});                        // half a line
    drawPrimitive(gl, GL_QUADS, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});  // three corners
    drawPrimitive(gl, GL_TRIANGLES, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    EXPECT_TRUE(drawnCorners().empty());
    gl.viewport(0, 0, 0, 0);  // an empty viewport draws nothing either
    line({10, 10}, {20, 20});
    EXPECT_TRUE(drawnCorners().empty());
}

}  // namespace
