// Pointer input as the page's layer hands it to the program: the primary
// pointer's main button and moves, whatever the pointer; keys and turn
// buttons as the drags they stand for.
#include <gtest/gtest.h>

#include <vector>

#include "platform/web/canvas_keys.h"
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

using Seen = WindowInput;
using enum WindowInput::Kind;

// What the page tells of the pointer: always captured, since a finger keeps
// the browser's capture outside the canvas.
Seen seen(WindowInput::Kind kind, int x, int y) {
    return {kind, x, y, true};
}

// What a run of events tells, in order.
std::vector<Seen> translated(std::vector<PointerEvent> events) {
    PointerInput input;
    std::vector<Seen> all;
    for (const PointerEvent& event : events) {
        if (auto told = input.translate(event)) all.push_back(*told);
    }
    return all;
}

// What a key's turn tells in a 256x256 client area.
std::vector<Seen> keyTurn(const PointerInput& input, const char* key, bool shift = false) {
    const KeyAction action = canvasKey(key, shift, false);
    EXPECT_EQ(action.kind, KeyAction::kTurn) << key;
    return input.turn(action.step, 256, 256);
}

TEST(WebPointerInput, TheMainButtonDragsWhateverThePointer) {
    const std::vector<Seen> expected{seen(LeftDown, 10, 20), seen(PointerMove, 40, 30),
                                     seen(LeftUp, 40, 30)};
    EXPECT_EQ(translated({down(10, 20), move(40, 30), up(40, 30)}), expected);
}

TEST(WebPointerInput, ASecondFingerChangesNothing) {
    EXPECT_EQ(
        translated({down(10, 20), move(20, 20), down(100, 100, false), move(110, 90, 1, false),
                    move(30, 25), up(110, 90, false), cancel(false), up(30, 25)}),
        (std::vector<Seen>{seen(LeftDown, 10, 20), seen(PointerMove, 20, 20),
                           seen(PointerMove, 30, 25), seen(LeftUp, 30, 25)}));
}

// The browser taking a touch for a gesture ends the drag; a cancel with no
// drag, or a second one, says nothing.
TEST(WebPointerInput, ACancelEndsTheDragAsAReleaseWould) {
    const auto seen = translated({down(10, 20), move(15, 20), cancel(), cancel()});
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].kind, LeftUp);
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
              (std::vector<Seen>{seen(LeftDown, 2, 2), seen(LeftUp, 3, 3)}));
}

// A finger keeps the browser's capture outside the canvas: its points there
// are told as they are, for the shared layer to clamp.
TEST(WebPointerInput, PointsOutsideTheCanvasAreToldCaptured) {
    EXPECT_EQ(translated({move(-7, 70000, 0)}), (std::vector<Seen>{seen(PointerMove, -7, 70000)}));
}

// Each press is a whole drag from the client area's centre: the program
// sees a mouse's press, move and release.
TEST(WebKeyInput, ArrowsDragByTheStepInTheirDirection) {
    const PointerInput input;
    EXPECT_EQ(keyTurn(input, "ArrowRight"),
              (std::vector<Seen>{seen(LeftDown, 128, 128), seen(PointerMove, 133, 128),
                                 seen(LeftUp, 133, 128)}));
    EXPECT_EQ(keyTurn(input, "ArrowLeft")[1], seen(PointerMove, 123, 128));
    EXPECT_EQ(keyTurn(input, "ArrowUp")[1], seen(PointerMove, 128, 123));
    EXPECT_EQ(keyTurn(input, "ArrowDown", true)[2], seen(LeftUp, 128, 143));
}

// Space pauses; other keys, and any key with Control, Alt or Meta, go on to
// the browser (Tab leaves the canvas, Alt+Left goes back).
TEST(WebKeyInput, OnlyTheArrowsAndSpaceAreThePages) {
    EXPECT_EQ(canvasKey(" ", false, false).kind, KeyAction::kTogglePause);
    EXPECT_EQ(canvasKey(" ", true, false).kind, KeyAction::kTogglePause);
    for (const char* key : {"Tab", "Enter", "a", "Right", "", "ArrowLeftX", "F5"}) {
        EXPECT_EQ(canvasKey(key, false, false).kind, KeyAction::kPassOn) << key;
    }
    EXPECT_EQ(canvasKey("ArrowLeft", false, true).kind, KeyAction::kPassOn);
    EXPECT_EQ(canvasKey(" ", false, true).kind, KeyAction::kPassOn);
}

// A turn during a pointer's drag would press the button again and end the
// drag: it makes nothing. Once the pointer lifts, turns come through again.
// In a window narrower than the step, the move is captured, for the shared
// layer to clamp.
TEST(WebKeyInput, TurnsWaitForAPointersDragAndAreCaptured) {
    PointerInput input;
    input.translate(down(10, 20));
    EXPECT_TRUE(input.turn({5, 0}, 256, 256).empty());
    input.translate(up(10, 20));
    EXPECT_EQ(input.turn({5, 0}, 256, 256).size(), 3u);
    EXPECT_FALSE(input.dragging());
    EXPECT_EQ(input.turn({-15, -15}, 4, 4)[1], seen(PointerMove, -13, -13));
}

}  // namespace
