// The canvas's WebGL context taken away and given back: nothing drawn while
// it is away, its objects made again once it is back, and the same picture
// drawn from the OpenGL state that never left.
#include <gtest/gtest.h>

#include "tests/unit/web_recording_device.h"

namespace {

// A page whose context the test takes away and gives back; it records what
// it draws and counts what else it is asked.
struct FakePage final : Recording<WebGlPage> {
    bool away = false;
    unsigned returns = 0;
    bool refuse = false;
    int objectsMade = 0;

    bool lost() const override { return away; }
    unsigned restorations() const override { return returns; }
    bool makeObjects() override {
        ++objectsMade;
        return !refuse;
    }

    void forgetDrawn() {
        draws.clear();
        clears.clear();
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
        drawPrimitive(gl, GL_LINES, {{-0.5f, 0.0f, 0.0f}, {0.5f, 0.0f, 0.0f}});
        gl.finish();
    }
};

TEST_F(WebContextLoss, ObjectsAreMadeOnceUntilTheContextReturns) {
    ASSERT_TRUE(device.prepare());
    frame(10.0f);
    frame(10.0f);
    EXPECT_EQ(page.objectsMade, 1);
    EXPECT_EQ(page.draws.size(), 2u);
}

TEST_F(WebContextLoss, NothingIsDrawnWhileAwayAndTheSamePictureAfter) {
    ASSERT_TRUE(device.prepare());
    frame(30.0f);
    const size_t draws = page.draws.size();
    const float clearedRed = page.clears.at(0).r;
    const std::vector<QuadVertex> before = page.allVertices();

    page.forgetDrawn();
    page.lose();
    frame(30.0f);
    frame(30.0f);
    EXPECT_TRUE(page.draws.empty());
    EXPECT_TRUE(page.clears.empty());
    EXPECT_EQ(page.objectsMade, 1);  // not on a context that is away
    EXPECT_TRUE(device.prepare());   // away is not refused

    page.restore();
    frame(30.0f);
    EXPECT_EQ(page.objectsMade, 2);
    EXPECT_EQ(page.draws.size(), draws);
    ASSERT_EQ(page.clears.size(), 1u);
    EXPECT_EQ(page.clears[0].r, clearedRed);
    EXPECT_TRUE(page.allVertices() == before);
}

// The glyph lists are OpenGL state, not WebGL objects: a text drawn after the
// return is drawn as before it.
TEST_F(WebContextLoss, DisplayListsOutliveTheLoss) {
    const GLuint list = gl.genLists(1);
    gl.defineBitmapList(list, Bitmap{2, 2, 0.0f, 0.0f, 3.0f, 0.0f, {0xC0, 0x40}});
    gl.listBase(list);
    const auto text = [&] {
        page.forgetDrawn();
        gl.viewport(0, 0, 64, 64);
        gl.rasterPos(0.0f, 0.0f);
        const GLubyte name = 0;
        gl.callLists(1, GL_UNSIGNED_BYTE, &name);
        gl.finish();
        return page.allVertices();
    };
    const auto before = text();
    page.lose();
    page.restore();
    const auto after = text();
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(after == before);
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
    EXPECT_TRUE(page.draws.empty());
    EXPECT_TRUE(page.clears.empty());
}

}  // namespace
