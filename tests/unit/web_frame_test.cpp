// A whole frame of the real program through the web layer's OpenGL: the
// frame pass, the scene and the counter, as WebGL draws.
#include <gtest/gtest.h>

#include <set>

#include "app/frame.h"
#include "app/globals.h"
#include "platform/web/gl_entry_points.h"
#include "platform/web/gl_machine.h"
#include "platform/web/glyph_font.h"
#include "tests/doubles/call_log.h"
#include "tests/unit/web_recording_device.h"

namespace {

constexpr size_t kMostDraws = 16;

class WebFrame : public RecordedGl {
protected:
    CallLog log;  // the Win32 calls of the frame pass

    void SetUp() override {
        makeCurrentGl(&gl);
        clientWidth = 256;
        clientHeight = 256;
        // The font, as wglUseFontBitmapsA builds it for the program.
        const GLuint first = gl.genLists(96);
        for (GLuint i = 0; i < 96; ++i) gl.defineBitmapList(first + i, glyph_font::glyph(32 + i));
        font.listBase = int32_t(first) - 32;
    }
    void TearDown() override { makeCurrentGl(nullptr); }
};

// The first frame draws the scene, then blends the counter over it; blending
// stays on, so later frames draw all in one blended draw.
TEST_F(WebFrame, ARealFrameTakesFewDraws) {
    const uint32_t text = packColour(1.0f, 1.0f, 1.0f, 0.5f);
    for (int frame = 0; frame < 3; ++frame) {
        device.draws.clear();
        device.clears.clear();
        renderFrame(nullptr);
        ASSERT_EQ(device.clears.size(), 1u);
        ASSERT_EQ(device.draws.size(), frame == 0 ? 2u : 1u);
        EXPECT_LE(device.draws.size(), kMostDraws);
        EXPECT_EQ(device.draws.front().blend.enabled, frame > 0);
        EXPECT_TRUE(device.draws.back().blend.enabled);
        std::set<uint32_t> colours;
        for (const QuadVertex& v : device.allVertices()) colours.insert(v.rgba);
        // Only the scene's colours and the counter's, each line one colour.
        const std::set<uint32_t> grid_stem_leaf_text = {packColour(0.7f, 0.7f, 0.7f, 1.0f),
                                                        packColour(0.7f, 0.6f, 0.5f, 1.0f),
                                                        packColour(0.3f, 1.0f, 0.3f, 1.0f), text};
        colours.erase(
            packColour(0.6f, 0.6f, 0.9f, 1.0f));  // "L" segments, where the rules grow any
        EXPECT_EQ(colours, grid_stem_leaf_text);
        // The counter's quads come last.
        EXPECT_EQ(device.draws.back().vertices.back().rgba, text);
    }
}

}  // namespace
