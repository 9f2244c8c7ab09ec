#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

#include <cstdlib>

#include "platform/x11/message_box_layout.h"

namespace {

using Kind = BoxInput::Kind;

// A 6-by-13 font, like "fixed": ascent 10, descent 3; "OK" is 12 pixels wide.
BoxLayout layoutFor(std::vector<int> lineWidths) {
    return layoutMessageBox({std::move(lineWidths), 10, 3, 12});
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

BoxState run(const BoxLayout& layout, std::initializer_list<BoxInput> inputs) {
    BoxState state{false, false};
    for (const BoxInput& input : inputs) state = advanceBox(state, input, layout);
    return state;
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
    const BoxLayout layout = layoutFor({300, 200});
    EXPECT_EQ(layout.width, 300 + 2 * 16);
    EXPECT_EQ(layout.textX, 16);
    EXPECT_EQ(layout.firstBaseline, 16 + 10);
    EXPECT_EQ(layout.lineHeight, 13);
    EXPECT_EQ(layout.button.width, 80);
    EXPECT_EQ(layout.button.x, (332 - 80) / 2);
    EXPECT_GE(layout.button.y, 16 + 2 * 13);  // below the second line
    EXPECT_EQ(layout.height, layout.button.y + layout.button.height + 16);
}

TEST(MessageBoxLayout, ShortTextsGetAMinimumWidth) {
    const BoxLayout layout = layoutFor({10});
    EXPECT_GE(layout.width, layout.button.width + 2 * 16);
    EXPECT_EQ(layout.width, layoutFor({0}).width);
}

TEST(MessageBoxLayout, TheLabelIsCentredInTheButton) {
    const BoxLayout layout = layoutFor({300});
    EXPECT_EQ(layout.labelX, layout.button.x + (80 - 12) / 2);
    const int top = layout.labelBaseline - 10;
    const int bottom = layout.labelBaseline + 3;
    const int above = top - layout.button.y;
    const int below = layout.button.y + layout.button.height - bottom;
    EXPECT_GT(above, 0);
    EXPECT_LE(std::abs(above - below), 1);  // an odd spare pixel goes below
}

TEST(MessageBoxLayout, AWideLabelOrTallFontGrowsTheButton) {
    const BoxLayout wide = layoutMessageBox({{100}, 10, 3, 200});
    EXPECT_GT(wide.button.width, 200);
    EXPECT_GE(wide.width, wide.button.width + 2 * 16);
    const BoxLayout tall = layoutMessageBox({{100}, 30, 10, 12});
    EXPECT_GT(tall.button.height, 40);
}

TEST(MessageBoxDismissal, ReturnEnterAndEscapeDismiss) {
    const BoxLayout layout = layoutFor({200});
    EXPECT_TRUE(run(layout, {key(XK_Return)}).dismissed);
    EXPECT_TRUE(run(layout, {key(XK_KP_Enter)}).dismissed);
    EXPECT_TRUE(run(layout, {key(XK_Escape)}).dismissed);
    EXPECT_FALSE(run(layout, {key(XK_a), key(XK_space), key(XK_Tab)}).dismissed);
}

TEST(MessageBoxDismissal, TheWindowManagersCloseDismisses) {
    EXPECT_TRUE(run(layoutFor({200}), {{Kind::Close, NoSymbol, 0, 0, 0}}).dismissed);
}

TEST(MessageBoxDismissal, AClickOnTheButtonDismisses) {
    const BoxLayout layout = layoutFor({200});
    const BoxState pressed = run(layout, {press(layout.button)});
    EXPECT_TRUE(pressed.buttonPressed);
    EXPECT_FALSE(pressed.dismissed);
    EXPECT_TRUE(run(layout, {press(layout.button), releaseOn(layout.button)}).dismissed);
}

TEST(MessageBoxDismissal, TheButtonsEdgesCount) {
    const BoxLayout layout = layoutFor({200});
    const BoxRect& b = layout.button;
    EXPECT_TRUE(run(layout, {press(b), release(b.x, b.y)}).dismissed);
    EXPECT_TRUE(run(layout, {press(b), release(b.x + b.width - 1, b.y + b.height - 1)}).dismissed);
    EXPECT_FALSE(run(layout, {press(b), release(b.x + b.width, b.y)}).dismissed);
    EXPECT_FALSE(run(layout, {press(b), release(b.x, b.y - 1)}).dismissed);
}

TEST(MessageBoxDismissal, PressAndReleaseMustBothBeOnTheButton) {
    const BoxLayout layout = layoutFor({200});
    const BoxRect text{0, 0, 10, 10};
    EXPECT_FALSE(run(layout, {press(layout.button), release(1, 1)}).dismissed);
    EXPECT_FALSE(run(layout, {press(text), releaseOn(layout.button)}).dismissed);
    EXPECT_FALSE(run(layout, {releaseOn(layout.button)}).dismissed);
    // A release elsewhere ends that press.
    EXPECT_FALSE(
        run(layout, {press(layout.button), release(1, 1), releaseOn(layout.button)}).dismissed);
}

TEST(MessageBoxDismissal, OnlyTheLeftButtonClicks) {
    const BoxLayout layout = layoutFor({200});
    EXPECT_FALSE(run(layout, {press(layout.button, Button3),
                              release(layout.button.x, layout.button.y, Button3)})
                     .dismissed);
    // Another button's release does not end a left press.
    EXPECT_TRUE(
        run(layout, {press(layout.button), release(1, 1, Button3), releaseOn(layout.button)})
            .dismissed);
}

TEST(MessageBoxDismissal, OtherEventsChangeNothing) {
    const BoxLayout layout = layoutFor({200});
    const BoxState state =
        run(layout, {press(layout.button), {Kind::Other, NoSymbol, 0, 0, 0}, key(XK_a)});
    EXPECT_TRUE(state.buttonPressed);
    EXPECT_FALSE(state.dismissed);
}

}  // namespace
