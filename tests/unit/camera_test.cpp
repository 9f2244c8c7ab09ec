#include <gtest/gtest.h>

#include <limits>

#include "platform/opengl.h"
#include "scene/orbit_camera.h"
#include "tests/doubles/call_log.h"
#include "tests/unit/gl_transform.h"

namespace {

constexpr float kTan30 = 0.57735027f;

TEST(FrustumFit, SixtyDegreesFrameARadiusOneSphere) {
    Frustum frustum;
    const float distance = frustum.fit(60.0f, Sphere{{5, 6, 7}, 1.0f});
    EXPECT_FLOAT_EQ(distance, 2.0f);
    EXPECT_FLOAT_EQ(frustum.near, 1.0f);
    EXPECT_FLOAT_EQ(frustum.far, 13.0f);
    EXPECT_FLOAT_EQ(frustum.left, -kTan30);
    EXPECT_FLOAT_EQ(frustum.right, kTan30);
    EXPECT_FLOAT_EQ(frustum.top, kTan30);
    EXPECT_FLOAT_EQ(frustum.bottom, -kTan30);
}

TEST(FrustumFit, ScalesWithTheRadius) {
    Frustum frustum;
    EXPECT_FLOAT_EQ(frustum.fit(60.0f, Sphere{{0, 0, 0}, 10.0f}), 20.0f);
    EXPECT_FLOAT_EQ(frustum.near, 10.0f);
    EXPECT_FLOAT_EQ(frustum.far, 130.0f);
    EXPECT_FLOAT_EQ(frustum.right, 10.0f * kTan30);
    EXPECT_FLOAT_EQ(frustum.bottom, -10.0f * kTan30);
}

TEST(FrustumApply, LoadsTheProjectionBottomBeforeTop) {
    Frustum frustum;
    frustum.fit(60.0f, Sphere{{0, 0, 0}, 1.0f});
    frustum.top = 0.75f;  // unequal, to tell the two apart
    const float h = frustum.right;
    EXPECT_EQ(callsOf([&] { frustum.apply(); }),
              (Calls{call("glMatrixMode", {GL_PROJECTION}), call("glLoadIdentity"),
                     call("glFrustum", {-h, h, -h, 0.75f, 1, 13})}));
}

TEST(OrbitCamera, StartsUnfittedOnTheUnitSphere) {
    const OrbitCamera camera(OrbitAngles(20, 45), 60);
    EXPECT_EQ(camera.fov, 60.0f);
    EXPECT_EQ(camera.distance, 0.0f);
    EXPECT_EQ(camera.frustum.far, 0.0f);
    EXPECT_EQ(camera.target.centre, (Vec3{0, 0, 0}));
    EXPECT_EQ(camera.target.radius, 1.0f);
    EXPECT_EQ(camera.angles, OrbitAngles(20, 45));
}

TEST(OrbitCamera, FitTakesTheSphereAsTarget) {
    OrbitCamera camera(OrbitAngles(0, 0), 60);
    camera.fitToSphere(Sphere{{1, 2, 3}, 10});
    EXPECT_EQ(camera.target.centre, (Vec3{1, 2, 3}));
    EXPECT_FLOAT_EQ(camera.distance, 20.0f);
    EXPECT_FLOAT_EQ(camera.frustum.near, 10.0f);
    EXPECT_EQ(camera.angles, OrbitAngles(0, 0));
}

TEST(OrbitCamera, SphereItCannotFrameLeavesTheUnitSphere) {
    const float inf = std::numeric_limits<float>::infinity();
    for (Sphere bad : {Sphere{{0, 0, 0}, inf}, Sphere{{0, 0, 0}, 0}, Sphere{{0, 0, 0}, -1},
                       Sphere{{std::nanf(""), 0, 0}, 5}}) {
        OrbitCamera camera(OrbitAngles(0, 0), 60);
        camera.fitToSphere(bad);
        EXPECT_EQ(camera.target.centre, (Vec3{0, 0, 0}));
        EXPECT_EQ(camera.target.radius, 1.0f);
        EXPECT_FLOAT_EQ(camera.distance, 2.0f);
    }
}

TEST(OrbitCamera, ViewPutsTheEyeAboveAndAroundTheTarget) {
    OrbitCamera camera(OrbitAngles(20, 45), 60);
    camera.fitToSphere(Sphere{{1, 2, 3}, 10});
    const Calls view = callsOf([&] { camera.applyView(); });
    ASSERT_GE(view.size(), 2u);
    EXPECT_EQ(view[0], call("glMatrixMode", {GL_MODELVIEW}));
    EXPECT_EQ(view[1], call("glLoadIdentity"));
    // The eye is where the view takes the eye-space origin from.
    const Point eye = untransformed(view, {0, 0, 0});
    const double d = 20, rad = 3.14159265358979 / 180;
    EXPECT_NEAR(eye.x, 1 + d * std::cos(45 * rad) * std::sin(20 * rad), 1e-4);
    EXPECT_NEAR(eye.y, 2 + d * std::sin(45 * rad), 1e-4);
    EXPECT_NEAR(eye.z, 3 + d * std::cos(45 * rad) * std::cos(20 * rad), 1e-4);
    // And the target's centre lies straight ahead.
    const Point centre = transformed(view, {1, 2, 3});
    EXPECT_NEAR(centre.x, 0, 1e-4);
    EXPECT_NEAR(centre.y, 0, 1e-4);
    EXPECT_NEAR(centre.z, -d, 1e-4);
}

TEST(OrbitAngles, PlusLimitsPitchButNotYaw) {
    EXPECT_EQ(OrbitAngles(20, 45).plus(OrbitAngles(-30, 10)), OrbitAngles(-10, 55));
    EXPECT_EQ(OrbitAngles(20, 45).plus(OrbitAngles(0, 200)), OrbitAngles(20, 90));
    EXPECT_EQ(OrbitAngles(20, 45).plus(OrbitAngles(0, -200)), OrbitAngles(20, -90));
    EXPECT_EQ(OrbitAngles(350, 0).plus(OrbitAngles(400, 0)), OrbitAngles(750, 0));
    const OrbitAngles start(1, 2);
    start.plus(OrbitAngles(5, 5));
    EXPECT_EQ(start, OrbitAngles(1, 2));
}

TEST(OrbitAngles, RotationIsPitchAboutXThenMinusYawAboutY) {
    EXPECT_EQ(callsOf([] { OrbitAngles(20, 45).applyRotation(); }),
              (Calls{call("glRotatef", {45, 1, 0, 0}), call("glRotatef", {-20, 0, 1, 0})}));
}

}  // namespace
