#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "scene/drag.h"
#include "scene/scene.h"

namespace {

class Drag : public ::testing::Test {
protected:
    void SetUp() override {
        dragState = DragState{};
        currentScene = &scene;
        scene.camera.setAngles(OrbitAngles(20, 45));
    }
    void TearDown() override { currentScene = nullptr; }

    OrbitAngles angles() const { return scene.camera.angles; }

    // A pointer move that must leave the angles as they are.
    void expectStillAfterMove(int x, int y) {
        const OrbitAngles before = angles();
        mouseMove(x, y);
        EXPECT_EQ(angles(), before);
    }

    Scene scene;
};

TEST_F(Drag, OnePixelTurnsOneDegree) {
    mouseDown(1, 100, 100);
    mouseMove(130, 110);  // right and down
    EXPECT_EQ(angles(), OrbitAngles(20 - 30, 45 + 10));
    mouseMove(90, 95);  // left and up: dy upwards is positive
    EXPECT_EQ(angles(), OrbitAngles(20 + 10, 45 - 5));
}

TEST_F(Drag, PitchStopsAtTheLimitsAndFollowsThePointerBack) {
    mouseDown(1, 0, 300);
    for (const auto& [y, pitch] :
         {std::pair{500, 90.0f}, {310, 55.0f}, {100, -90.0f}, {290, 35.0f}}) {
        mouseMove(0, y);
        EXPECT_EQ(angles().pitch, pitch) << "at y " << y;
    }
}

TEST_F(Drag, BackAtTheStartPointRestoresTheStartAngles) {
    scene.camera.setAngles(OrbitAngles(20.3f, 44.7f));
    mouseDown(1, 17, 23);
    for (int step = 0; step < 50; ++step) mouseMove(17 + step * 7, 23 - step * 3);
    mouseMove(17, 23);
    EXPECT_EQ(angles(), OrbitAngles(20.3f, 44.7f));
}

TEST_F(Drag, YawIsNeverWrapped) {
    mouseDown(1, 1000, 0);
    mouseMove(0, 0);
    EXPECT_EQ(angles().yaw, 1020.0f);
    mouseMove(3000, 0);
    EXPECT_EQ(angles().yaw, -1980.0f);
}

TEST_F(Drag, MovesWithoutADragChangeNothing) {
    expectStillAfterMove(50, 50);
    mouseUp(1, 0, 0);
    expectStillAfterMove(80, 80);
    EXPECT_EQ(angles(), OrbitAngles(20, 45));
}

TEST_F(Drag, OnlyTheLeftButtonStartsAndEndsADrag) {
    mouseDown(2, 10, 10);
    expectStillAfterMove(20, 20);
    mouseDown(1, 10, 10);
    mouseUp(2, 0, 0);
    mouseMove(15, 10);
    EXPECT_EQ(angles(), OrbitAngles(15, 45));
    mouseUp(1, 0, 0);
    expectStillAfterMove(40, 40);
}

TEST_F(Drag, ASecondPressKeepsTheStartPoint) {
    mouseDown(1, 10, 10);
    mouseMove(20, 10);
    mouseDown(1, 20, 10);
    mouseMove(30, 10);
    EXPECT_EQ(angles(), OrbitAngles(0, 45));
    EXPECT_EQ(dragState.startX, 10);
}

TEST_F(Drag, ExtremeCoordinatesDoNotOverflow) {
    mouseDown(1, INT_MIN, INT_MAX);
    mouseMove(INT_MAX, INT_MIN);
    EXPECT_EQ(angles(), OrbitAngles(20.0f - 4294967295.0f, -90));
}

TEST_F(Drag, CoordinatesUpTo65535Work) {
    mouseDown(1, 0, 0);
    mouseMove(65535, 65535);
    EXPECT_EQ(angles(), OrbitAngles(20 - 65535, 90));
}

}  // namespace
