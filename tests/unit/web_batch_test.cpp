// When the web layer's OpenGL draws: one WebGL draw for everything between
// changes of blending or viewport, none for what a clear covers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/unit/web_recording_device.h"

namespace {

constexpr Viewport kView{0, 0, 64, 64};

class WebBatch : public RecordedGl {
protected:
    void SetUp() override { setViewport(kView); }

    void segment(float width, float r) {
        gl.lineWidth(width);
        gl.colour(r, 0.5f, 0.5f, 1.0f);
        drawPrimitive(gl, GL_LINES, {{-0.5f, 0.0f, 0.0f}, {0.5f, 0.25f, 0.0f}});
    }
};

TEST_F(WebBatch, ColoursWidthsAndPrimitivesShareOneDraw) {
    segment(2.0f, 0.1f);
    segment(3.0f, 0.2f);
    segment(0.5f, 0.3f);
    gl.polygonMode(GL_FRONT_AND_BACK, GL_LINE);
    gl.begin(GL_QUADS);
    for (float x : {0.0f, 0.5f}) gl.vertex(x, 0.0f, 0.0f), gl.vertex(x, 0.5f, 0.0f);
    gl.end();
    EXPECT_TRUE(device.draws.empty());  // nothing before the frame ends
    gl.finish();
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_EQ(device.draws[0].vertices.size(), 3u * 4u + 4u * 4u);
    EXPECT_FALSE(device.draws[0].blend.enabled);
}

TEST_F(WebBatch, BlendingAndViewportChangesEndADraw) {
    segment(1.0f, 0.1f);
    gl.blendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.setEnabled(GL_BLEND, true);
    gl.setEnabled(GL_BLEND, true);  // no change: no draw
    segment(1.0f, 0.2f);
    gl.viewport(0, 0, 32, 32);
    segment(1.0f, 0.3f);
    gl.finish();
    gl.finish();  // nothing left: no empty draw
    ASSERT_EQ(device.draws.size(), 3u);
    EXPECT_FALSE(device.draws[0].blend.enabled);
    EXPECT_TRUE(device.draws[1].blend.enabled);
    EXPECT_EQ(device.draws[1].blend.source, unsigned(GL_SRC_ALPHA));
    EXPECT_EQ(device.draws[1].blend.destination, unsigned(GL_ONE_MINUS_SRC_ALPHA));
    EXPECT_EQ(device.draws[1].viewport.width, 64);
    EXPECT_EQ(device.draws[2].viewport.width, 32);
}

TEST_F(WebBatch, AClearCoversWhatCameBefore) {
    segment(2.0f, 0.1f);
    gl.clearColour(0.4f, 0.3f, 0.35f, 2.0f);
    gl.clear(GL_DEPTH_BUFFER_BIT);  // no colour: nothing happens
    EXPECT_TRUE(device.clears.empty());
    gl.clear(GL_COLOR_BUFFER_BIT);
    segment(2.0f, 0.2f);
    gl.finish();
    ASSERT_EQ(device.clears.size(), 1u);
    EXPECT_EQ(device.clears[0].drawsBefore, 0u);
    EXPECT_FLOAT_EQ(device.clears[0].a, 1.0f);  // clamped
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_EQ(device.draws[0].vertices[0].rgba & 0xFF, 51u);  // the second segment's red
}

// The same colour and width are set before every segment: a change back to
// an earlier value, or a refused width, must still reach the right segments.
TEST_F(WebBatch, EachSegmentHasTheColourAndWidthSetBeforeIt) {
    segment(2.0f, 0.1f);
    segment(2.0f, 0.1f);
    segment(0.5f, 0.2f);
    segment(3.0f, 0.1f);
    gl.lineWidth(0.0f);  // refused: the width stays as it was
    gl.colour(NAN, 0.5f, 0.5f, 1.0f);
    gl.colour(NAN, 0.5f, 0.5f, 1.0f);
    drawPrimitive(gl, GL_LINES, {{-0.5f, 0.0f, 0.0f}, {0.5f, 0.25f, 0.0f}});
    gl.finish();
    const std::vector<QuadVertex> vertices = device.allVertices();
    ASSERT_EQ(vertices.size(), 5u * 4u);
    const uint32_t reds[] = {26, 26, 51, 26, 0};
    const float widths[] = {2.0f, 2.0f, 1.0f, 3.0f, 3.0f};
    for (size_t i = 0; i < 5; ++i) {
        const QuadVertex* quad = &vertices[i * 4];
        EXPECT_EQ(quad[0].rgba & 0xFF, reds[i]) << "segment " << i;
        EXPECT_FLOAT_EQ(windowOf(quad[3], kView).y - windowOf(quad[0], kView).y, widths[i])
            << "segment " << i;
    }
}

TEST_F(WebBatch, ColoursAreRoundedAndClampedToBytes) {
    EXPECT_EQ(packColour(0.7f, 0.6f, 0.5f, 1.0f), 0xFF8099B3u);  // 178.5, 153, 127.5 rounded
    EXPECT_EQ(packColour(-1.0f, 2.0f, NAN, 0.5f), 0x8000FF00u);
}

}  // namespace
