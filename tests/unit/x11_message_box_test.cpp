#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "platform/x11/message_box_layout.h"

namespace {

using Kind = BoxInput::Kind;

constexpr ScreenSize kScreen{1024, 768};
constexpr int kMargin = 16;

// A 6-by-13 font, like "fixed": ascent 10, descent 3; "OK" is 12 pixels wide.
BoxFont fixedFont() {
    return {10, 3, [](unsigned char) { return 6; }};
}

// Text whose lines are the given widths in fixedFont's pixels.
std::string textOfWidths(std::initializer_list<int> widths) {
    std::string text;
    for (int width : widths) {
        if (!text.empty()) text += '\n';
        text += std::string(width / 6, 'x');
    }
    return text;
}

BoxLayout layoutFor(const std::string& text, ScreenSize screen = kScreen) {
    return layoutMessageBox(text, fixedFont(), screen);
}

void expectOnScreen(const BoxLayout& layout, ScreenSize screen, const std::string& what) {
    const int width = std::max(screen.width, 1);
    const int height = std::max(screen.height, 1);
    EXPECT_GE(layout.x, 0) << what;
    EXPECT_GE(layout.y, 0) << what;
    EXPECT_GE(layout.width, 1) << what;
    EXPECT_GE(layout.height, 1) << what;
    EXPECT_LE(layout.x + layout.width, width) << what;
    EXPECT_LE(layout.y + layout.height, height) << what;
    EXPECT_LT(layout.width, 65536) << what;
    EXPECT_LT(layout.height, 65536) << what;
}

BoxInput key(KeySym symbol) {
    return {Kind::Key, symbol, 0, 0, 0};
}

BoxInput press(const BoxRect& at, unsigned button = Button1) {
    return {Kind::Press, NoSymbol, button, at.x + at.width / 2, at.y + at.height / 2};
}

BoxInput release(int x, int y, unsigned button = Button1) {
    return {Kind::Release, NoSymbol, button, x, y};
}

BoxInput releaseOn(const BoxRect& at) {
    return release(at.x + at.width / 2, at.y + at.height / 2);
}

TEST(MessageBoxText, SplitsAtLineFeeds) {
    EXPECT_EQ(splitLines("one"), (std::vector<std::string_view>{"one"}));
    EXPECT_EQ(splitLines("one\ntwo\r\nthree"),
              (std::vector<std::string_view>{"one", "two", "three"}));
    EXPECT_EQ(splitLines(""), (std::vector<std::string_view>{""}));
    EXPECT_EQ(splitLines("a\n\nb\n"), (std::vector<std::string_view>{"a", "", "b", ""}));
}

TEST(MessageBoxText, GoesToStderrOnOneLine) {
    EXPECT_EQ(oneLine("OpenGL context init failed"), "OpenGL context init failed");
    EXPECT_EQ(oneLine("one\ntwo\r\n\tthree"), "one two   three");
}

TEST(MessageBoxLayout, StacksTheLinesAndPutsTheButtonCentredBelow) {
    const std::string text = textOfWidths({300, 198});
    const BoxLayout layout = layoutFor(text);
    EXPECT_EQ(layout.lines,
              (std::vector<std::string_view>{std::string(50, 'x'), std::string(33, 'x')}));
    EXPECT_EQ(layout.width, 300 + 2 * kMargin);
    EXPECT_EQ(layout.textX, kMargin);
    EXPECT_EQ(layout.firstBaseline, kMargin + 10);
    EXPECT_EQ(layout.lineHeight, 13);
    EXPECT_EQ(layout.button.width, 80);
    EXPECT_EQ(layout.button.x, (332 - 80) / 2);
    EXPECT_GE(layout.button.y, kMargin + 2 * 13);  // below the second line
    EXPECT_EQ(layout.height, layout.button.y + layout.button.height + kMargin);
}

TEST(MessageBoxLayout, IsCentredOnTheScreen) {
    const BoxLayout layout = layoutFor(textOfWidths({300}));
    EXPECT_EQ(layout.x, (1024 - layout.width) / 2);
    EXPECT_EQ(layout.y, (768 - layout.height) / 2);
}

TEST(MessageBoxLayout, ShortTextsGetAMinimumWidth) {
    const BoxLayout layout = layoutFor("x");
    EXPECT_GE(layout.width, layout.button.width + 2 * kMargin);
    EXPECT_EQ(layout.width, layoutFor("").width);
}

TEST(MessageBoxLayout, TheLabelIsCentredInTheButton) {
    const BoxLayout layout = layoutFor(textOfWidths({300}));
    EXPECT_EQ(layout.labelX, layout.button.x + (80 - 12) / 2);
    const int top = layout.labelBaseline - 10;
    const int bottom = layout.labelBaseline + 3;
    const int above = top - layout.button.y;
    const int below = layout.button.y + layout.button.height - bottom;
    EXPECT_GT(above, 0);
    EXPECT_LE(std::abs(above - below), 1);  // an odd spare pixel goes below
}

TEST(MessageBoxLayout, AWideLabelOrTallFontGrowsTheButton) {
    const BoxFont wideLabel{10, 3, [](unsigned char c) { return c == 'O' || c == 'K' ? 100 : 6; }};
    const BoxLayout wide = layoutMessageBox(textOfWidths({100}), wideLabel, kScreen);
    EXPECT_GT(wide.button.width, 200);
    EXPECT_GE(wide.width, wide.button.width + 2 * kMargin);
    const BoxFont tallFont{30, 10, [](unsigned char) { return 6; }};
    EXPECT_GT(layoutMessageBox(textOfWidths({100}), tallFont, kScreen).button.height, 40);
}

TEST(MessageBoxLayout, ALineTooWideForTheScreenWrapsAtItsLastFittingSpace) {
    // Three quarters of 400 pixels, less the margins, leave 268 for text: 44 characters.
    std::string text;
    for (int word = 0; word < 40; ++word) text += (word ? " word" : "word") + std::to_string(word);
    const BoxLayout layout = layoutFor(text, {400, 768});
    ASSERT_GT(layout.lines.size(), 1u);
    std::string joined;
    for (std::string_view line : layout.lines) {
        EXPECT_LE(line.size() * 6, 268u) << line;
        EXPECT_NE(line.front(), ' ') << line;
        EXPECT_NE(line.back(), ' ') << line;
        joined += (joined.empty() ? "" : " ") + std::string(line);
    }
    EXPECT_EQ(joined, text);  // nothing lost but the spaces at the breaks
    EXPECT_LE(layout.width, 300);
}

TEST(MessageBoxLayout, AWordTooWideForTheScreenBreaksBetweenCharacters) {
    const std::string word(150, 'x');
    const BoxLayout layout = layoutFor(word, {400, 768});
    const std::string full(44, 'x');
    EXPECT_EQ(layout.lines,
              (std::vector<std::string_view>{full, full, full, std::string(18, 'x')}));
}

TEST(MessageBoxLayout, LinesTooManyForTheScreenAreCut) {
    // 200 pixels high: two margins, the gap and the 26-pixel button leave 128,
    // room for 9 lines of 13.
    std::string text;
    for (int line = 0; line < 100; ++line) text += "line " + std::to_string(line) + '\n';
    const BoxLayout layout = layoutFor(text, {1024, 200});
    ASSERT_EQ(layout.lines.size(), 9u);
    EXPECT_EQ(layout.lines.front(), "line 0");
    EXPECT_EQ(layout.lines.back(), "line 8");
    EXPECT_LE(layout.height, 200);
    EXPECT_LE(layout.button.y + layout.button.height, layout.height);  // the button stays whole
}

TEST(MessageBoxLayout, TheBoxLiesOnAnyScreenWhateverTheTextAndFont) {
    const std::string longLine(64 * 1024, 'x');
    std::string mixed;
    for (int i = 0; i < 64 * 1024; ++i) mixed += "ab \n\r\t"[i % 6];
    const std::vector<std::pair<std::string, BoxFont>> fonts{
        {"fixed", fixedFont()},
        {"huge glyphs", {1 << 30, 1 << 30, [](unsigned char) { return INT_MAX; }}},
        {"negative metrics", {-50, -50, [](unsigned char) { return -7; }}},
        {"no font", {0, 0, nullptr}}};
    for (const ScreenSize screen :
         {ScreenSize{1024, 768}, ScreenSize{320, 200}, ScreenSize{1, 1}, ScreenSize{0, 0},
          ScreenSize{-5, -5}, ScreenSize{100000, 100000}}) {
        for (const std::string& text : {std::string(), longLine, mixed}) {
            for (const auto& [name, font] : fonts) {
                const std::string what = name + " font, " + std::to_string(text.size()) +
                                         " bytes, screen " + std::to_string(screen.width) + "x" +
                                         std::to_string(screen.height);
                expectOnScreen(layoutMessageBox(text, font, screen), screen, what);
            }
        }
    }
}

// A box of one line, 200 pixels wide.
class MessageBoxDismissal : public testing::Test {
protected:
    const BoxLayout layout = layoutFor(textOfWidths({200}));
    const BoxRect& button = layout.button;

    // Where `inputs` leave a box just shown.
    BoxState run(std::initializer_list<BoxInput> inputs) const {
        BoxState state{false, false};
        for (const BoxInput& input : inputs) state = advanceBox(state, input, layout);
        return state;
    }
    bool dismisses(std::initializer_list<BoxInput> inputs) const { return run(inputs).dismissed; }
};

TEST_F(MessageBoxDismissal, ReturnEnterAndEscapeDismiss) {
    EXPECT_TRUE(dismisses({key(XK_Return)}));
    EXPECT_TRUE(dismisses({key(XK_KP_Enter)}));
    EXPECT_TRUE(dismisses({key(XK_Escape)}));
    EXPECT_FALSE(dismisses({key(XK_a), key(XK_space), key(XK_Tab)}));
}

TEST_F(MessageBoxDismissal, TheWindowManagersCloseDismisses) {
    EXPECT_TRUE(dismisses({{Kind::Close, NoSymbol, 0, 0, 0}}));
}

TEST_F(MessageBoxDismissal, AClickOnTheButtonDismisses) {
    const BoxState pressed = run({press(button)});
    EXPECT_TRUE(pressed.buttonPressed);
    EXPECT_FALSE(pressed.dismissed);
    EXPECT_TRUE(dismisses({press(button), releaseOn(button)}));
}

TEST_F(MessageBoxDismissal, TheButtonsEdgesCount) {
    const BoxRect& b = button;
    EXPECT_TRUE(dismisses({press(b), release(b.x, b.y)}));
    EXPECT_TRUE(dismisses({press(b), release(b.x + b.width - 1, b.y + b.height - 1)}));
    EXPECT_FALSE(dismisses({press(b), release(b.x + b.width, b.y)}));
    EXPECT_FALSE(dismisses({press(b), release(b.x, b.y - 1)}));
}

TEST_F(MessageBoxDismissal, PressAndReleaseMustBothBeOnTheButton) {
    const BoxRect text{0, 0, 10, 10};
    EXPECT_FALSE(dismisses({press(button), release(1, 1)}));
    EXPECT_FALSE(dismisses({press(text), releaseOn(button)}));
    EXPECT_FALSE(dismisses({releaseOn(button)}));
    // A release elsewhere ends that press.
    EXPECT_FALSE(dismisses({press(button), release(1, 1), releaseOn(button)}));
}

TEST_F(MessageBoxDismissal, OnlyTheLeftButtonClicks) {
    EXPECT_FALSE(dismisses({press(button, Button3), release(button.x, button.y, Button3)}));
    // Another button's release does not end a left press.
    EXPECT_TRUE(dismisses({press(button), release(1, 1, Button3), releaseOn(button)}));
}

TEST_F(MessageBoxDismissal, OtherEventsChangeNothing) {
    const BoxState state = run({press(button), {Kind::Other, NoSymbol, 0, 0, 0}, key(XK_a)});
    EXPECT_TRUE(state.buttonPressed);
    EXPECT_FALSE(state.dismissed);
}

}  // namespace
