#include "app/frame_rate_counter.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// Counts frames at the given elapsed milliseconds.
void countFrames(FrameRateCounter& counter, std::initializer_list<uint32_t> elapsed) {
    for (const uint32_t ms : elapsed) counter.update(FrameInfo{Duration{ms}, nullptr});
}

TEST(FrameRateCounter, StartsAtZero) {
    const FrameRateCounter counter;
    EXPECT_EQ(counter.mark, Duration{0});
    EXPECT_EQ(counter.framesPerSecond, 0);
    EXPECT_EQ(counter.frameCount, 0);
}

TEST(FrameRateCounter, ASecondCountsUpToAThousandMilliseconds) {
    FrameRateCounter counter;
    countFrames(counter, {0, 16, 500, 1000});
    EXPECT_EQ(counter.frameCount, 4);
    EXPECT_EQ(counter.framesPerSecond, 0);
}

TEST(FrameRateCounter, TheFirstFrameAfterItClosesItUncounted) {
    FrameRateCounter counter;
    countFrames(counter, {0, 16, 500, 1000, 1001});
    EXPECT_EQ(counter.framesPerSecond, 4);
    EXPECT_EQ(counter.frameCount, 0);
    EXPECT_EQ(counter.mark, Duration{1001});
    countFrames(counter, {1500, 2001});
    EXPECT_EQ(counter.frameCount, 2);
    countFrames(counter, {2002});
    EXPECT_EQ(counter.framesPerSecond, 2);
    EXPECT_EQ(counter.mark, Duration{2002});
}

TEST(FrameRateCounter, SixtyFramesASecondShowSixty) {
    FrameRateCounter counter;
    // Every 1000/61 ms: 61 frames fit in a second, the closing one uncounted.
    for (uint32_t frame = 0; frame < 61 * 5; ++frame) countFrames(counter, {frame * 1000 / 61});
    EXPECT_NEAR(counter.framesPerSecond, 60, 1);
}

TEST(FrameRateCounter, AWrapOfTheClockChangesNothing) {
    FrameRateCounter counter{Duration{0xFFFFFF00}, 0, 0};
    countFrames(counter, {0xFFFFFFFF, 0x2E8});  // 1,000 ms after the mark, across the wrap
    EXPECT_EQ(counter.frameCount, 2);
    countFrames(counter, {0x2E9});
    EXPECT_EQ(counter.framesPerSecond, 2);
    EXPECT_EQ(counter.mark, Duration{0x2E9});
}

}  // namespace
