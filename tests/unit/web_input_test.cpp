// Pointer input as the page's layer hands it to the program: the primary
// pointer's main button and moves, whatever the pointer.
#include <gtest/gtest.h>

#include <vector>

#include "platform/web/pointer_input.h"

namespace {

constexpr int kNone = -1, kMain = 0, kRight = 2;

PointerEvent down(int x, int y, bool primary = true) {
    return {primary, kMain, 1, false, x, y};
}
PointerEvent move(int x, int y, int buttons = 1, bool primary = true) {
    return {primary, kNone, buttons, false, x, y};
}
PointerEvent up(int x, int y, bool primary = true) {
    return {primary, kMain, 0, false, x, y};
}
PointerEvent cancel(bool primary = true) {
    return {primary, kNone, 0, true, 0, 0};
}

struct Seen {
    UINT message;
    int x, y;
    bool operator==(const Seen&) const = default;
};

// What a run of events makes, in order.
std::vector<Seen> translated(std::vector<PointerEvent> events) {
    PointerInput input;
    std::vector<Seen> seen;
    for (const PointerEvent& event : events) {
        if (auto message = input.translate(event)) {
            seen.push_back({message->message, int(message->lParam & 0xFFFF),
                            int(message->lParam >> 16 & 0xFFFF)});
        }
    }
    return seen;
}

TEST(WebPointerInput, TheMainButtonDragsWhateverThePointer) {
    const std::vector<Seen> expected{
        {WM_LBUTTONDOWN, 10, 20}, {WM_MOUSEMOVE, 40, 30}, {WM_LBUTTONUP, 40, 30}};
    EXPECT_EQ(translated({down(10, 20), move(40, 30), up(40, 30)}), expected);
}

TEST(WebPointerInput, ASecondFingerChangesNothing) {
    EXPECT_EQ(
        translated({down(10, 20), move(20, 20), down(100, 100, false), move(110, 90, 1, false),
                    move(30, 25), up(110, 90, false), cancel(false), up(30, 25)}),
        (std::vector<Seen>{{WM_LBUTTONDOWN, 10, 20},
                           {WM_MOUSEMOVE, 20, 20},
                           {WM_MOUSEMOVE, 30, 25},
                           {WM_LBUTTONUP, 30, 25}}));
}

// The browser taking a touch for a gesture ends the drag; a cancel with no
// drag, or a second one, says nothing.
TEST(WebPointerInput, ACancelEndsTheDragAsAReleaseWould) {
    const auto seen = translated({down(10, 20), move(15, 20), cancel(), cancel()});
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].message, UINT(WM_LBUTTONUP));
    EXPECT_TRUE(translated({move(5, 5, 0), cancel()}).size() == 1);
    EXPECT_TRUE(translated({down(1, 1), up(1, 1), cancel()}).size() == 2);
}

// Other buttons (the right one, a pen's barrel button or eraser) make no
// message; pressed while one is held, the main button still comes through
// a move, as the Pointer Events standard chords it.
TEST(WebPointerInput, OnlyTheMainButtonIsReported) {
    EXPECT_TRUE(translated({{true, kRight, 2, false, 1, 1},
                            {true, 5, 32, false, 1, 1},
                            {true, kRight, 0, false, 1, 1}})
                    .empty());
    EXPECT_EQ(translated({{true, kRight, 2, false, 1, 1},
                          {true, kMain, 3, false, 2, 2},
                          {true, kMain, 2, false, 3, 3}}),
              (std::vector<Seen>{{WM_LBUTTONDOWN, 2, 2}, {WM_LBUTTONUP, 3, 3}}));
}

// A finger keeps the browser's capture outside the canvas: its coordinates
// there stay within the client's range.
TEST(WebPointerInput, PointsOutsideTheCanvasAreClamped) {
    EXPECT_EQ(translated({move(-7, 70000, 0)}), (std::vector<Seen>{{WM_MOUSEMOVE, 0, 0xFFFF}}));
}

}  // namespace
