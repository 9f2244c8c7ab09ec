// The canvas's WebGL context taken away and given back: nothing drawn while
// it is away, its objects made again once it is back, and the same picture
// drawn from the OpenGL state that never left.
#include <gtest/gtest.h>

#include "platform/web/canvas_device.h"
#include "platform/web/gl_machine.h"
#include "tests/unit/web_recording_device.h"

namespace {

// A page whose context the test takes away and gives back; it draws into a
// recording device and counts what else it is asked.
struct FakePage final : WebGlPage {
    bool away = false;
    unsigned returns = 0;
    bool refuse = false;
    int objectsMade = 0;
    RecordingDevice drawn;

    bool lost() const override { return away; }
    unsigned restorations() const override { return returns; }
    bool makeObjects() override {
        ++objectsMade;
        return !refuse;
    }
    void clear(float r, float g, float b, float a) override { drawn.clear(r, g, b, a); }
    void drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                   BlendState blend) override {
        drawn.drawQuads(vertices, count, viewport, blend);
    }

    void lose() { away = true; }
    void restore() {
        away = false;
        ++returns;
    }
};

class WebContextLoss : public ::testing::Test {
protected:
    FakePage page;
    CanvasDevice device{page};
    GlMachine gl{device};

    // A frame of the shape the program draws: a clear and a blended line.
    void frame(float angle) {
        gl.viewport(0, 0, 64, 64);
        gl.clearColour(0.4f, 0.3f, 0.35f, 1.0f);
        gl.clear(GL_COLOR_BUFFER_BIT);
        gl.matrixMode(GL_MODELVIEW);
        gl.loadIdentity();
        gl.rotate(angle, 0.0f, 0.0f, 1.0f);
        gl.colour(1.0f, 0.5f, 0.25f, 1.0f);
        gl.begin(GL_LINES);
        gl.vertex(-0.5f, 0.0f, 0.0f);
        gl.vertex(0.5f, 0.0f, 0.0f);
        gl.end();
        gl.finish();
    }
};

TEST_F(WebContextLoss, ObjectsAreMadeOnceUntilTheContextReturns) {
    ASSERT_TRUE(device.prepare());
    frame(10.0f);
    frame(10.0f);
    EXPECT_EQ(page.objectsMade, 1);
    EXPECT_EQ(page.drawn.draws.size(), 2u);
}

TEST_F(WebContextLoss, NothingIsDrawnWhileAwayAndTheSamePictureAfter) {
    ASSERT_TRUE(device.prepare());
    frame(30.0f);
    const RecordingDevice before = page.drawn;

    page.drawn = {};
    page.lose();
    frame(30.0f);
    frame(30.0f);
    EXPECT_TRUE(page.drawn.draws.empty());
    EXPECT_TRUE(page.drawn.clears.empty());
    EXPECT_EQ(page.objectsMade, 1);  // not on a context that is away
    EXPECT_TRUE(device.prepare());   // away is not refused

    page.restore();
    frame(30.0f);
    EXPECT_EQ(page.objectsMade, 2);
    ASSERT_EQ(page.drawn.draws.size(), before.draws.size());
    ASSERT_EQ(page.drawn.clears.size(), 1u);
    EXPECT_EQ(page.drawn.clears[0].r, before.clears[0].r);
    const auto was = before.allVertices(), is = page.drawn.allVertices();
    ASSERT_EQ(is.size(), was.size());
    for (size_t i = 0; i < is.size(); ++i) {
        EXPECT_EQ(is[i].x, was[i].x);
        EXPECT_EQ(is[i].y, was[i].y);
        EXPECT_EQ(is[i].rgba, was[i].rgba);
    }
}

// The glyph lists are OpenGL state, not WebGL objects: a text drawn after the
// return is drawn as before it.
TEST_F(WebContextLoss, DisplayListsOutliveTheLoss) {
    const GLuint list = gl.genLists(1);
    gl.defineBitmapList(list, Bitmap{2, 2, 0.0f, 0.0f, 3.0f, 0.0f, {0xC0, 0x40}});
    gl.listBase(list);
    const auto text = [&] {
        page.drawn = {};
        gl.viewport(0, 0, 64, 64);
        gl.rasterPos(0.0f, 0.0f);
        const GLubyte name = 0;
        gl.callLists(1, GL_UNSIGNED_BYTE, &name);
        gl.finish();
        return page.drawn.allVertices();
    };
    const auto before = text();
    page.lose();
    page.restore();
    const auto after = text();
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].x, before[i].x);
        EXPECT_EQ(after[i].y, before[i].y);
    }
}

// Shaders the browser will not compile or link: the context cannot draw,
// and says so once, without asking again each frame.
TEST_F(WebContextLoss, RefusedShadersAreAFailedContext) {
    page.refuse = true;
    EXPECT_FALSE(device.prepare());
    frame(0.0f);
    frame(0.0f);
    EXPECT_FALSE(device.prepare());
    EXPECT_EQ(page.objectsMade, 1);
    EXPECT_TRUE(page.drawn.draws.empty());
    EXPECT_TRUE(page.drawn.clears.empty());
}

}  // namespace
