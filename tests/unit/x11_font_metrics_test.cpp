#include <gtest/gtest.h>

#include <vector>

#include "platform/x11/font_metrics.h"

namespace {

XCharStruct glyph(short width, short lbearing, short rbearing, short ascent, short descent) {
    return {lbearing, rbearing, width, ascent, descent, 0};
}

// A one-row font covering 32..127: the space blank, every other code as wide
// as its distance from 30, so that a wrong index shows.
struct LinearFont {
    LinearFont() : chars(96) {
        for (unsigned code = 32; code < 128; ++code) {
            chars[code - 32] = glyph(static_cast<short>(code - 30), 0, 5, 9, 2);
        }
        chars[0] = glyph(6, 0, 0, 0, 0);
        font.min_char_or_byte2 = 32;
        font.max_char_or_byte2 = 127;
        font.per_char = chars.data();
        font.min_bounds = glyph(2, 0, 0, 0, 0);
        font.max_bounds = glyph(99, 0, 5, 9, 2);
    }

    std::vector<XCharStruct> chars;
    XFontStruct font{};
};

TEST(FontMetrics, CoveredCodesAdvanceByTheirOwnWidth) {
    LinearFont linear;
    EXPECT_EQ(advanceWidth(linear.font, 32), 6);
    EXPECT_EQ(advanceWidth(linear.font, 'A'), 'A' - 30);
    EXPECT_EQ(advanceWidth(linear.font, 127), 97);
}

TEST(FontMetrics, UncoveredCodesAdvanceByTheWidestCharacter) {
    LinearFont linear;
    EXPECT_EQ(advanceWidth(linear.font, 31), 99);
    EXPECT_EQ(advanceWidth(linear.font, 128), 99);
    EXPECT_EQ(advanceWidth(linear.font, 0xFFFFFFFF), 99);
}

TEST(FontMetrics, AFontWithoutATableGivesEveryCoveredCodeTheSameWidth) {
    XFontStruct font{};
    font.min_char_or_byte2 = 0;
    font.max_char_or_byte2 = 255;
    font.min_bounds = glyph(6, 0, 6, 10, 3);
    font.max_bounds = glyph(6, 0, 6, 10, 3);
    EXPECT_EQ(advanceWidth(font, 'A'), 6);
    EXPECT_EQ(advanceWidth(font, 255), 6);
}

TEST(FontMetrics, TwoByteFontsIndexByRowAndColumn) {
    // Rows 1..2, columns 0x40..0x41: four characters.
    std::vector<XCharStruct> chars{glyph(1, 0, 1, 1, 0), glyph(2, 0, 1, 1, 0), glyph(3, 0, 1, 1, 0),
                                   glyph(4, 0, 1, 1, 0)};
    XFontStruct font{};
    font.min_byte1 = 1;
    font.max_byte1 = 2;
    font.min_char_or_byte2 = 0x40;
    font.max_char_or_byte2 = 0x41;
    font.per_char = chars.data();
    font.max_bounds = glyph(9, 0, 1, 1, 0);
    EXPECT_EQ(advanceWidth(font, 0x140), 1);
    EXPECT_EQ(advanceWidth(font, 0x141), 2);
    EXPECT_EQ(advanceWidth(font, 0x240), 3);
    EXPECT_EQ(advanceWidth(font, 0x241), 4);
    EXPECT_EQ(advanceWidth(font, 0x040), 9);  // row 0 is not covered
    EXPECT_EQ(advanceWidth(font, 0x142), 9);
    EXPECT_EQ(advanceWidth(font, 0x340), 9);
}

TEST(FontMetrics, GlyphsWithoutInkAndUncoveredCodesAreBlank) {
    LinearFont linear;
    EXPECT_TRUE(isBlankGlyph(linear.font, ' '));
    EXPECT_FALSE(isBlankGlyph(linear.font, 'A'));
    EXPECT_TRUE(isBlankGlyph(linear.font, 31));
    EXPECT_TRUE(isBlankGlyph(linear.font, 200));
    linear.chars['A' - 32] = glyph(6, 0, 5, 0, 0);  // no height
    EXPECT_TRUE(isBlankGlyph(linear.font, 'A'));
}

}  // namespace
