#include "gl/bitmap_font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gl/gl_context.h"
#include "platform/opengl.h"
#include "tests/doubles/call_log.h"
#include "tests/doubles/fake_backend.h"
#include "tests/doubles/test_win32.h"
#include "tests/unit/window_calls.h"

namespace {

class FontBuild : public WindowCalls {
protected:
    void SetUp() override {
        context.init(hwnd, true);
        log.calls.clear();
    }
    // The program never frees a font's widths; the tests do.
    void TearDown() override { delete[] font.charWidths; }

    GlContext context;
    BitmapFont font;
};

TEST_F(FontBuild, WithoutADeviceContextTheWidthsAreZero) {
    context.window = fakeHandle<HWND>(0x1000);  // not a window: no device context
    context.buildFont(font, 32, 127);
    EXPECT_EQ(font.charCount, 96);
    EXPECT_EQ(font.textWidth("FPS 60", 6), 0u);
}

TEST_F(FontBuild, BuildsListsAndWidthsFromTheSystemFont) {
    context.buildFont(font, 32, 127);
    EXPECT_EQ(log.calls, fontBuildCalls(window, dc, logged(context.renderContext)));
    EXPECT_EQ(win32Record().deviceContextsHeld, 0);
    EXPECT_EQ(currentContext(), context.renderContext);  // stays current
}

TEST_F(FontBuild, NumbersListsSoThatCodePlusBaseIsItsList) {
    context.buildFont(font, 32, 127);
    EXPECT_EQ(font.firstChar, 32);
    EXPECT_EQ(font.charCount, 96);
    EXPECT_EQ(font.listBase, 1000 - 32);
    for (int code = 32; code <= 127; ++code)
        EXPECT_EQ(font.charWidths[code - 32], fake::backend().font.advance + code % 2)
            << "code " << code;  // the fake font's widths
    log.calls.clear();
    font.selectLists();
    EXPECT_EQ(log.calls, (Calls{call("glListBase", {968})}));
}

TEST_F(FontBuild, ReversedRangeBuildsAnEmptyFont) {
    context.buildFont(font, 100, 90);
    EXPECT_EQ(font.charCount, 0);
    EXPECT_EQ(font.textWidth("abc", 3), 0u);
}

// A font over the codes 'a' to 'c' with widths 10, 8 and 7, so "abc" is 25
// pixels wide. The table has exactly three entries.
class FontText : public ::testing::Test {
protected:
    std::vector<int32_t> widths{10, 8, 7};
    BitmapFont font{500, 'a', 3, widths.data()};
    CallLog log;

    Calls draw(const std::string& text, int32_t alignment) {
        font.drawText(text.data(), static_cast<int32_t>(text.size()), alignment);
        return log.calls;
    }
    static Call lists(const std::string& text) {
        return call("glCallLists", {double(text.size()), GL_UNSIGNED_BYTE}, text);
    }
    static Call move(double x) { return call("glBitmap", {0, 0, 0, 0, x, 0, 0}); }
};

TEST_F(FontText, UnalignedTextIsNotMeasured) {
    EXPECT_EQ(draw("abc", -1), (Calls{lists("abc")}));
}

TEST_F(FontText, CentredTextMovesLeftByHalfItsWidth) {
    EXPECT_EQ(draw("abc", 0), (Calls{move(-12.5), lists("abc")}));
}

TEST_F(FontText, AnyOtherAlignmentMovesLeftByTheWholeWidth) {
    EXPECT_EQ(draw("abc", 1), (Calls{move(-25), lists("abc")}));
    log.calls.clear();
    EXPECT_EQ(draw("cab", -2), (Calls{move(-25), lists("cab")}));
}

TEST_F(FontText, EmptyTextStillMovesByZero) {
    EXPECT_EQ(draw("", 0), (Calls{move(0), lists("")}));
}

TEST_F(FontText, BytesOutsideTheTableMeasureZero) {
    // Below the table, above it, and 128 and up, which read as negative codes.
    const std::string text =
        "a`d\x80\xff"
        "c";
    EXPECT_EQ(font.textWidth(text.data(), static_cast<int32_t>(text.size())), 17u);
    EXPECT_EQ(draw(text, 1), (Calls{move(-17), lists(text)}));
}

TEST_F(FontText, MeasuresOnlyTheGivenLength) {
    EXPECT_EQ(font.textWidth("abc", 2), 18u);
    EXPECT_EQ(font.textWidth("abc", -4), 0u);
}

}  // namespace
