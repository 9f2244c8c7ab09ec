#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "plant/plant.h"
#include "plant/rule_set.h"
#include "platform/opengl.h"
#include "tests/doubles/call_log.h"

namespace {

// A plant whose text is `text` itself (depth 0).
Plant plantOf(const char* text, float stepLength = 1.0f) {
    return Plant(text, 0, nullptr, 0, stepLength);
}

FrameInfo frameAt(uint32_t ms) {
    return FrameInfo{Duration{ms}, nullptr};
}

Calls segment(float width, float r, float g, float b, Vec3 from, Vec3 to) {
    return {call("glLineWidth", {width}),
            call("glColor3f", {r, g, b}),
            call("glBegin", {GL_LINES}),
            call("glVertex3f", {from.x, from.y, from.z}),
            call("glVertex3f", {to.x, to.y, to.z}),
            call("glEnd")};
}

Calls stem(Vec3 from, Vec3 to) {
    return segment(2.0f, 0.7f, 0.6f, 0.5f, from, to);
}

// What every drawing pass starts with.
const Calls kPrologue = {call("glDisable", {GL_CULL_FACE}),
                         call("glPolygonMode", {GL_FRONT, GL_FILL})};

// A pass that draws one stem upwards from the origin.
const Calls kOneStem = kPrologue + stem({0, 0, 0}, {0, 1, 0});

Calls drawn(Plant& plant, uint32_t ms = 0) {
    return callsOf([&] { plant.draw(frameAt(ms)); });
}

// What a plant whose text is `text` draws at age 0.
Calls drawnText(const char* text, float stepLength = 1.0f) {
    Plant plant = plantOf(text, stepLength);
    return drawn(plant);
}

long segmentsOf(Plant& plant) {
    return std::ranges::count(drawn(plant), std::string_view("glBegin"), &Call::name);
}

TEST(TurtleDrawing, OneStemIsOneSegmentUpwards) {
    Plant plant = plantOf("T");
    EXPECT_EQ(drawn(plant), kOneStem);
    EXPECT_EQ(plant.bounds.min, (Vec3{0, 0, 0}));
    EXPECT_EQ(plant.bounds.max, (Vec3{0, 1, 0}));
    const Sphere sphere = plant.boundingSphere();
    EXPECT_EQ(sphere.centre, (Vec3{0, 0.5f, 0}));
    EXPECT_EQ(sphere.radius, 0.5f);
}

TEST(TurtleDrawing, EachDrawingSymbolHasItsStyle) {
    EXPECT_EQ(drawnText("tSL", 2.0f), kPrologue + stem({0, 0, 0}, {0, 2, 0}) +
                                          segment(2.0f, 0.3f, 1.0f, 0.3f, {0, 2, 0}, {0, 4, 0}) +
                                          segment(3.0f, 0.6f, 0.6f, 0.9f, {0, 4, 0}, {0, 6, 0}));
}

TEST(TurtleDrawing, LineLeavesTheTurtleWhereItWas) {
    EXPECT_EQ(drawnText("LT"), kPrologue + segment(3.0f, 0.6f, 0.6f, 0.9f, {0, 0, 0}, {0, 1, 0}) +
                                   stem({0, 0, 0}, {0, 1, 0}));
}

TEST(TurtleDrawing, BranchWorksOnACopyOfTheTurtle) {
    EXPECT_EQ(drawnText("[T]T"), kOneStem + stem({0, 0, 0}, {0, 1, 0}));
}

TEST(TurtleDrawing, UnbalancedBracketsEndTheWalk) {
    EXPECT_EQ(drawnText("T]T"), kOneStem);
    EXPECT_EQ(drawnText("[T"), kOneStem);
    EXPECT_EQ(drawnText("[[T]T"), kOneStem + stem({0, 0, 0}, {0, 1, 0}));
}

TEST(TurtleDrawing, InterpretReturnsWhereTheBranchEnded) {
    Plant plant = plantOf("T]x");
    CallLog gl;
    EXPECT_EQ(plant.interpret(plant.text, {{0, 0, 0}, {0, 1, 0}}), plant.text + 2);
    EXPECT_EQ(plant.interpret(plant.text + 2, {{0, 0, 0}, {0, 1, 0}}), nullptr);
}

TEST(TurtleDrawing, EmptyTextDrawsNothingAndLeavesBoundsEmpty) {
    Plant plant = plantOf("");
    EXPECT_EQ(drawn(plant), kPrologue);
    EXPECT_EQ(plant.bounds.min.x, FLT_MAX);
    EXPECT_EQ(plant.bounds.max.x, -FLT_MAX);
}

TEST(TurtleDrawing, SymbolsOutsideTheTableDoNothing) {
    // After a bend, so that a stray turn about Y would show too.
    EXPECT_EQ(drawnText(".vs<qxX#T\x80"), drawnText(".<T"));
}

TEST(TurtleDrawing, TurnsAboutYLeaveAnUprightHeading) {
    EXPECT_EQ(drawnText("<>T"), kOneStem);
}

// The end point of the last segment of `text` drawn at `ms` after the begin time.
Vec3 tipOf(const char* text, uint32_t ms) {
    Plant plant = plantOf(text);
    CallLog gl;
    plant.draw(frameAt(ms));
    const Call last = gl.named("glVertex3f").back();
    return {float(last.args[0]), float(last.args[1]), float(last.args[2])};
}

constexpr double kRadians = 3.14159265358979 / 180.0;

TEST(TurtleSway, BendsByTwoAndAHalfDegreesAtAgeZero) {
    const Vec3 bent = tipOf(".T", 0);
    EXPECT_EQ(bent.x, 0.0f);
    EXPECT_NEAR(bent.y, std::cos(2.5 * kRadians), 1e-6);
    EXPECT_NEAR(bent.z, std::sin(2.5 * kRadians), 1e-6);
    const Vec3 back = tipOf("^T", 0);
    EXPECT_NEAR(back.z, -std::sin(2.5 * kRadians), 1e-6);
    const Vec3 straight = tipOf(".^T", 0);
    EXPECT_NEAR(straight.y, 1.0, 1e-6);
    EXPECT_NEAR(straight.z, 0.0, 1e-6);
}

TEST(TurtleSway, FollowsTheSineOfHalfTheAge) {
    // At pi seconds the sway is at its top: sin(pi / 2) * 2.5 + 2.5 = 5 degrees.
    const Vec3 top = tipOf(".T", 3142);
    EXPECT_NEAR(top.z, std::sin(5.0 * kRadians), 1e-5);
    EXPECT_NEAR(tipOf("^T", 3142).z, -std::sin(5.0 * kRadians), 1e-5);
    EXPECT_NEAR(tipOf(".^T", 3142).z, 0.0, 1e-6);
    // At 3 pi seconds it is at its bottom, 0 degrees.
    const Vec3 bottom = tipOf(".T", 9425);
    EXPECT_NEAR(bottom.z, 0.0, 1e-5);
}

TEST(TurtleSway, TurnsAboutYByFortyOneDegreesAfterABend) {
    const Vec3 tip = tipOf(".<T", 0);
    const double lean = std::sin(2.5 * kRadians);
    EXPECT_NEAR(tip.x, std::sin(41 * kRadians) * lean, 1e-6);
    EXPECT_NEAR(tip.z, std::cos(41 * kRadians) * lean, 1e-6);
    EXPECT_NEAR(tipOf(".>T", 0).x, -std::sin(41 * kRadians) * lean, 1e-6);
}

TEST(TurtleTiming, NothingIsDrawnBeforeTheBeginTime) {
    Plant plant = plantOf("T");
    plant.draw(frameAt(10));
    plant.setBeginTime(TickTime{1000});
    EXPECT_EQ(drawn(plant, 999), Calls{});
    EXPECT_EQ(plant.age, Duration{10});
    EXPECT_EQ(plant.bounds.max, (Vec3{0, 1, 0}));
    EXPECT_EQ(drawn(plant, 1000), kOneStem);
    EXPECT_EQ(plant.age, Duration{0});
    drawn(plant, 1250);
    EXPECT_EQ(plant.age, Duration{250});
}

TEST(TurtleTiming, BeginTimeComparesAsUnsigned) {
    Plant plant = plantOf("T");
    plant.setBeginTime(TickTime{0x80000000u});
    EXPECT_EQ(drawn(plant, 0x7FFFFFFFu), Calls{});
    EXPECT_EQ(drawn(plant, 0xFFFFFFFFu).size(), kPrologue.size() + 6);
}

TEST(BuiltInPlants, DrawTheKnownNumberOfSegments) {
    for (const auto& [depth, segments] : {std::pair{5, 5182L}, {4, 1068L}, {3, 233L}}) {
        Plant plant(builtInAxiom(), 4, builtInRules, depth, 1.0f);
        EXPECT_EQ(segmentsOf(plant), segments) << "depth " << depth;
    }
}

TEST(BuiltInPlants, FirstPlantBoundsAtAgeZero) {
    Plant plant(builtInAxiom(), 4, builtInRules, 5, 1.0f);
    segmentsOf(plant);
    EXPECT_NEAR(plant.bounds.min.x, -73.75, 0.01);
    EXPECT_NEAR(plant.bounds.min.y, -30.60, 0.01);
    EXPECT_NEAR(plant.bounds.min.z, -3.23, 0.01);
    EXPECT_NEAR(plant.bounds.max.x, 68.13, 0.01);
    EXPECT_NEAR(plant.bounds.max.y, 45.60, 0.01);
    EXPECT_NEAR(plant.bounds.max.z, 52.57, 0.01);
    const Sphere sphere = plant.boundingSphere();
    EXPECT_NEAR(sphere.centre.x, -2.81, 0.01);
    EXPECT_NEAR(sphere.centre.y, 7.50, 0.01);
    EXPECT_NEAR(sphere.centre.z, 24.67, 0.01);
    EXPECT_NEAR(sphere.radius, 85.22, 0.01);
}

TEST(BuiltInPlants, DrawingTwiceRepeatsThePass) {
    Plant plant(builtInAxiom(), 4, builtInRules, 3, 1.0f);
    const Calls first = drawn(plant, 40);
    EXPECT_EQ(drawn(plant, 40), first);
}

TEST(NestingBound, DeepBranchesAreSkippedWithoutExhaustingTheStack) {
    const std::string deep = std::string(kMaxBranchNesting + 1, '[') + "T" +
                             std::string(kMaxBranchNesting + 1, ']') + "T";
    EXPECT_EQ(drawnText(deep.c_str()), kOneStem);

    const std::string within = std::string(kMaxBranchNesting, '[') + "T";
    EXPECT_EQ(drawnText(within.c_str()), kOneStem);

    const std::string huge(kExpansionBufferSize - 1, '[');
    EXPECT_EQ(drawnText(huge.c_str()), kPrologue);
}

}  // namespace
