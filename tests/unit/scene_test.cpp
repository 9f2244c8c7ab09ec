#include <gtest/gtest.h>

#include "plant/rule_set.h"
#include "platform/opengl.h"
#include "scene/drag.h"
#include "scene/scene.h"
#include "tests/doubles/call_log.h"
#include "tests/unit/gl_transform.h"

namespace {

FrameInfo frameAt(uint32_t ms) {
    return FrameInfo{Duration{ms}, nullptr};
}

// What a plant grown like the scene's draws at `ms` after its begin time.
Calls plantCalls(int32_t depth, uint32_t ms) {
    Plant plant(builtInAxiom(), 4, builtInRules, depth, 1.0f);
    return callsOf([&] { plant.draw(frameAt(ms)); });
}

Calls gridCalls(GroundGrid grid) {
    return callsOf([&] { grid.draw(); });
}

class SceneFrames : public ::testing::Test {
protected:
    void SetUp() override { cameraFitted = false; }

    Calls render(uint32_t ms) {
        return callsOf([&] { scene.render(frameAt(ms)); });
    }

    // The frame after the pre-draw: clear, camera, grid, first plant, the
    // second plant's placement.
    Calls frameBody(uint32_t age) const {
        const Frustum& f = scene.camera.frustum;
        const OrbitAngles& a = scene.camera.angles;
        const Vec3& c = scene.camera.target.centre;
        return Calls{call("glClearColor", {0.4f, 0.3f, 0.35f, 0}),
                     call("glClear", {GL_COLOR_BUFFER_BIT}),
                     call("glMatrixMode", {GL_PROJECTION}),
                     call("glLoadIdentity"),
                     call("glFrustum", {f.left, f.right, f.bottom, f.top, f.near, f.far}),
                     call("glMatrixMode", {GL_MODELVIEW}),
                     call("glLoadIdentity"),
                     call("glTranslatef", {0, 0, -scene.camera.distance}),
                     call("glRotatef", {a.pitch, 1, 0, 0}),
                     call("glRotatef", {-a.yaw, 0, 1, 0}),
                     call("glTranslatef", {-c.x, -c.y, -c.z}),
                     call("glLineWidth", {0.5f}),
                     call("glPolygonMode", {GL_FRONT, GL_LINE}),
                     call("glPolygonMode", {GL_BACK, GL_LINE}),
                     call("glColor3f", {0.7f, 0.7f, 0.7f})} +
               gridCalls(scene.grid) + plantCalls(QUENN_FIRST_PLANT_DEPTH, age) +
               Calls{call("glTranslatef", {50, 0, 0}), call("glRotatef", {180, 0, 1, 0})};
    }

    Scene scene;
};

TEST_F(SceneFrames, ConstructionGrowsBothPlants) {
    EXPECT_FALSE(scene.started);
    EXPECT_EQ(scene.camera.fov, 60.0f);
    EXPECT_EQ(scene.camera.angles, OrbitAngles(20, 45));
    EXPECT_EQ(scene.grid.sizeX, 200.0f);
    EXPECT_EQ(scene.grid.cellsZ, 4u);
    EXPECT_EQ(std::string(scene.plant1->text).size(),
              QUENN_FIRST_PLANT_DEPTH == 5 ? 48034u : 10231u);
    EXPECT_EQ(std::string(scene.plant2->text).size(), 2269u);
    EXPECT_EQ(scene.plant1->stepLength, 1.0f);
}

TEST_F(SceneFrames, FirstFrameDrawsThePlantTwiceAndFitsOnce) {
    const Calls calls = render(700);
    EXPECT_EQ(calls, plantCalls(QUENN_FIRST_PLANT_DEPTH, 0) + frameBody(0));
    EXPECT_TRUE(scene.started);
    EXPECT_TRUE(cameraFitted);
    EXPECT_EQ(scene.plant1->beginTime, TickTime{700});
    EXPECT_EQ(scene.plant2->beginTime, TickTime{2200});
}

TEST_F(SceneFrames, SecondFrameNeitherFitsNorRestarts) {
    render(700);
    const OrbitCamera fitted = scene.camera;
    scene.plant1->bounds.makeEmpty();  // a new fit would now go wrong
    EXPECT_EQ(render(716), frameBody(16));
    EXPECT_EQ(scene.camera.distance, fitted.distance);
    EXPECT_EQ(scene.camera.target.centre, fitted.target.centre);
    EXPECT_EQ(scene.plant1->beginTime, TickTime{700});
    EXPECT_EQ(scene.plant2->beginTime, TickTime{2200});
}

TEST_F(SceneFrames, SecondPlantAppearsOneAndAHalfSecondsIn) {
    render(700);
    EXPECT_EQ(render(2199), frameBody(1499));
    EXPECT_EQ(render(2200), frameBody(1500) + plantCalls(3, 0));
    EXPECT_EQ(render(2300), frameBody(1600) + plantCalls(3, 100));
}

TEST_F(SceneFrames, OnlyTheProgramsFirstRenderFits) {
    render(0);
    Scene another;
    another.render(frameAt(0));
    EXPECT_EQ(another.camera.distance, 0.0f);
}

TEST_F(SceneFrames, ADragBeforeTheFirstFrameIsKept) {
    dragState = DragState{};
    currentScene = &scene;
    mouseDown(1, 100, 100);
    mouseMove(110, 120);
    currentScene = nullptr;
    render(0);
    EXPECT_EQ(scene.camera.angles, OrbitAngles(10, 65));
}

#if QUENN_FIRST_PLANT_DEPTH == 5
const Sphere kFitted{{-2.81f, 7.50f, 24.67f}, 85.22f};
const float kDistance = 170.44f, kNear = 85.22f, kFar = 1107.9f, kHalf = 49.20f;
#else
const Sphere kFitted{{-0.81f, 22.35f, 22.13f}, 42.52f};
const float kDistance = 85.04f, kNear = 42.52f, kFar = 552.77f, kHalf = 24.55f;
#endif

TEST_F(SceneFrames, CameraIsFittedToTheFirstPlant) {
    render(0);
    const OrbitCamera& camera = scene.camera;
    EXPECT_NEAR(camera.target.centre.x, kFitted.centre.x, 0.01);
    EXPECT_NEAR(camera.target.centre.y, kFitted.centre.y, 0.01);
    EXPECT_NEAR(camera.target.centre.z, kFitted.centre.z, 0.01);
    EXPECT_NEAR(camera.target.radius, kFitted.radius, 0.01);
    EXPECT_NEAR(camera.distance, kDistance, 0.01);
    EXPECT_NEAR(camera.frustum.near, kNear, 0.01);
    EXPECT_NEAR(camera.frustum.far, kFar, 0.05);
    EXPECT_NEAR(camera.frustum.right, kHalf, 0.01);
    EXPECT_NEAR(camera.frustum.top, kHalf, 0.01);
    EXPECT_NEAR(camera.frustum.left, -kHalf, 0.01);
    EXPECT_NEAR(camera.frustum.bottom, -kHalf, 0.01);
}

#if QUENN_FIRST_PLANT_DEPTH == 5
TEST_F(SceneFrames, EyeStartsAboveAndInFrontOfThePlant) {
    render(0);
    const Point eye = untransformed(callsOf([&] { scene.camera.applyView(); }), {0, 0, 0});
    EXPECT_NEAR(eye.x, 38.41, 0.01);
    EXPECT_NEAR(eye.y, 128.02, 0.01);
    EXPECT_NEAR(eye.z, 137.92, 0.01);
}
#endif

TEST_F(SceneFrames, SecondPlantStandsFiftyAlongXTurnedHalfAround) {
    const Calls placement{call("glTranslatef", {plantSpacing, 0, 0}),
                          call("glRotatef", {180, 0, 1, 0})};
    const Point top = transformed(placement, {0, 1, 0});
    EXPECT_NEAR(top.x, 50, 1e-9);
    EXPECT_NEAR(top.y, 1, 1e-9);
    EXPECT_NEAR(top.z, 0, 1e-9);
    const Point side = transformed(placement, {1, 0, 0});
    EXPECT_NEAR(side.x, 49, 1e-9);
    EXPECT_NEAR(side.z, 0, 1e-9);
    const Calls frame = render(0);
    EXPECT_EQ(Calls(frame.end() - 2, frame.end()), placement);
}

TEST(GroundGrid, EmitsSixteenQuadsRowByRow) {
    const Calls calls = gridCalls(GroundGrid{200, 200, 4, 4});
    ASSERT_EQ(calls.size(), 66u);
    EXPECT_EQ(calls.front(), call("glBegin", {GL_QUADS}));
    EXPECT_EQ(calls.back(), call("glEnd"));
    EXPECT_EQ(Calls(calls.begin() + 1, calls.begin() + 5),
              (Calls{call("glVertex3f", {-100, 0, -100}), call("glVertex3f", {-100, 0, -50}),
                     call("glVertex3f", {-50, 0, -50}), call("glVertex3f", {-50, 0, -100})}));
    EXPECT_EQ(Calls(calls.end() - 5, calls.end() - 1),
              (Calls{call("glVertex3f", {50, 0, 50}), call("glVertex3f", {50, 0, 100}),
                     call("glVertex3f", {100, 0, 100}), call("glVertex3f", {100, 0, 50})}));
    // The second quad is the next cell along x.
    EXPECT_EQ(calls[5], call("glVertex3f", {-50, 0, -100}));
}

TEST(GroundGrid, NoCellsMakeAnEmptyPair) {
    const Calls empty{call("glBegin", {GL_QUADS}), call("glEnd")};
    EXPECT_EQ(gridCalls(GroundGrid{200, 200, 0, 4}), empty);
    EXPECT_EQ(gridCalls(GroundGrid{200, 200, 4, 0}), empty);
}

TEST(GroundGrid, UnevenCellsSpanTheWholeSize) {
    const Calls calls = gridCalls(GroundGrid{90, 30, 3, 1});
    ASSERT_EQ(calls.size(), 14u);
    EXPECT_EQ(calls[1], call("glVertex3f", {-45, 0, -15}));
    EXPECT_EQ(calls[11], call("glVertex3f", {45, 0, 15}));
}

}  // namespace
