// Text as the web layer draws it: the raster position, bitmaps from
// display lists, and the font's glyphs and advances.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>

#include "platform/web/glyph_font.h"
#include "tests/unit/web_recording_device.h"

namespace {

constexpr Viewport kView{0, 0, 256, 256};

class WebText : public RecordedGl {
protected:
    void SetUp() override {
        setViewport(kView);
        gl.matrixMode(GL_PROJECTION);
        gl.ortho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
    }

    // The font as the program builds it: 96 lists for codes 32..127, the
    // list base below the first list by the first code.
    void buildFont() {
        const GLuint first = gl.genLists(96);
        ASSERT_NE(first, 0u);
        for (GLuint i = 0; i < 96; ++i) gl.defineBitmapList(first + i, glyph_font::glyph(32 + i));
        gl.listBase(first - 32);
    }

    void text(const char* s) { gl.callLists(GLsizei(std::strlen(s)), GL_UNSIGNED_BYTE, s); }

    // The pixels the drawn bitmaps cover.
    std::set<std::pair<int, int>> pixels() {
        gl.finish();
        std::set<std::pair<int, int>> covered;
        const auto vertices = device.allVertices();
        for (size_t q = 0; q + 3 < vertices.size(); q += 4) {
            const WindowPoint low = windowOf(vertices[q], kView);
            const WindowPoint high = windowOf(vertices[q + 2], kView);
            for (int y = int(std::lround(low.y)); y < int(std::lround(high.y)); ++y)
                for (int x = int(std::lround(low.x)); x < int(std::lround(high.x)); ++x)
                    covered.insert({x, y});
        }
        return covered;
    }
};

TEST_F(WebText, RasterPositionIsTheWindowPointOfItsVertex) {
    gl.rasterPos(-1.0f, -1.0f);  // the lower-left corner, as the counter places it
    auto raster = gl.rasterPosition();
    EXPECT_TRUE(raster.valid);
    EXPECT_FLOAT_EQ(raster.window.x, 0.0f);
    EXPECT_FLOAT_EQ(raster.window.y, 0.0f);
    gl.rasterPos(0.5f, -0.25f);
    raster = gl.rasterPosition();
    EXPECT_FLOAT_EQ(raster.window.x, 192.0f);
    EXPECT_FLOAT_EQ(raster.window.y, 96.0f);
}

TEST_F(WebText, ARasterPositionOutsideTheViewIsInvalidAndDrawsNothing) {
    buildFont();
    gl.rasterPos(1.5f, 0.0f);
    EXPECT_FALSE(gl.rasterPosition().valid);
    text("FPS 60");
    EXPECT_TRUE(pixels().empty());
}

TEST_F(WebText, GlyphsAdvanceByTheWidthsTheFontReports) {
    buildFont();
    gl.rasterPos(-1.0f, 0.0f);
    const float start = gl.rasterPosition().window.x;
    const char* sample = "FPS 60 gj~";
    text(sample);
    float widths = 0.0f;
    for (const char* c = sample; *c; ++c) widths += float(glyph_font::advance(uint8_t(*c)));
    EXPECT_FLOAT_EQ(gl.rasterPosition().window.x - start, widths);
    EXPECT_FLOAT_EQ(widths, 60.0f);  // ten characters of six pixels
    // Codes the font lacks name no list: no pixel, no advance.
    const float before = gl.rasterPosition().window.x;
    const char outside[] = {char(10), char(200), char(31)};
    gl.callLists(3, GL_UNSIGNED_BYTE, outside);
    EXPECT_FLOAT_EQ(gl.rasterPosition().window.x, before);
}

TEST_F(WebText, AGlyphIsDrawnWithItsBaselineOnTheRasterPosition) {
    buildFont();
    gl.colour(1.0f, 1.0f, 1.0f, 0.5f);
    gl.rasterPos(-1.0f, -1.0f);
    gl.colour(0.0f, 0.0f, 0.0f, 1.0f);  // too late: the raster colour is fixed
    text("F");
    const auto covered = pixels();
    // "F": a stem of seven pixels at x 0, bars at the top (y 6) and middle (y 3).
    std::set<std::pair<int, int>> expected;
    for (int y = 0; y < 7; ++y) expected.insert({0, y});
    for (int x = 1; x < 5; ++x) expected.insert({x, 6});
    for (int x = 1; x < 4; ++x) expected.insert({x, 3});
    EXPECT_EQ(covered, expected);
    for (const QuadVertex& v : device.allVertices()) EXPECT_EQ(v.rgba, 0x80FFFFFFu);
}

TEST_F(WebText, DescendersReachBelowTheBaseline) {
    buildFont();
    gl.rasterPos(0.0f, 0.0f);
    text("g");
    int lowest = 1000;
    for (const auto& [x, y] : pixels()) lowest = std::min(lowest, y);
    EXPECT_EQ(lowest, 128 - 2);
}

TEST_F(WebText, AMoveOnlyBitmapShiftsTheRasterPosition) {
    gl.rasterPos(0.0f, 0.0f);
    gl.bitmap({0, 0, 0.0f, 0.0f, -12.5f, 3.0f, {}});
    EXPECT_FLOAT_EQ(gl.rasterPosition().window.x, 128.0f - 12.5f);
    EXPECT_FLOAT_EQ(gl.rasterPosition().window.y, 131.0f);
    EXPECT_TRUE(pixels().empty());
}

TEST_F(WebText, EveryCharacterHasAGlyphAndOneAdvance) {
    for (uint32_t code = 32; code <= 127; ++code) {
        const Bitmap glyph = glyph_font::glyph(code);
        EXPECT_EQ(glyph.xmove, float(glyph_font::advance(code)));
        EXPECT_EQ(glyph_font::advance(code), 6);
        EXPECT_EQ(glyph.rows.size(), size_t(glyph.height * glyph.bytesPerRow()));
        const bool inked = std::ranges::any_of(glyph.rows, [](uint8_t row) { return row != 0; });
        EXPECT_EQ(inked, code != ' ') << "code " << code;
    }
    for (uint32_t code : {0u, 31u, 128u, 255u, 0xFFFFFFFFu}) {
        EXPECT_EQ(glyph_font::advance(code), 0);
        EXPECT_EQ(glyph_font::glyph(code).xmove, 0.0f);
    }
}

TEST_F(WebText, ListsNeedNamesFromGenLists) {
    EXPECT_EQ(gl.genLists(0), 0u);
    EXPECT_EQ(gl.genLists(-3), 0u);
    const GLuint first = gl.genLists(2);
    EXPECT_EQ(gl.genLists(1), first + 2);
    gl.defineBitmapList(first + 5, glyph_font::glyph('A'));  // never handed out: ignored
    gl.listBase(0);
    gl.rasterPos(0.0f, 0.0f);
    const GLuint names[] = {first + 5};
    gl.callLists(1, GL_UNSIGNED_INT, names);  // only byte names are read
    const GLubyte byte = GLubyte(first + 5);
    gl.callLists(1, GL_UNSIGNED_BYTE, &byte);
    EXPECT_TRUE(pixels().empty());
    EXPECT_FLOAT_EQ(gl.rasterPosition().window.x, 128.0f);
}

}  // namespace
