#include <gtest/gtest.h>

#include "platform/x11/queue_step.h"
#include "platform/x11/tick_count.h"

namespace {

TEST(QueueStep, AnIdleShownWindowIsPainted) {
    EXPECT_EQ(nextQueueStep({false, false, true}), QueueStep::Paint);
}

TEST(QueueStep, AnIdleIconifiedWindowWaitsInsteadOfPainting) {
    EXPECT_EQ(nextQueueStep({false, false, false}), QueueStep::WaitForEvent);
}

TEST(QueueStep, WaitingEventsComeBeforePainting) {
    EXPECT_EQ(nextQueueStep({false, true, true}), QueueStep::ReadEvent);
    EXPECT_EQ(nextQueueStep({false, true, false}), QueueStep::ReadEvent);
}

TEST(QueueStep, AQuitRequestComesFirst) {
    for (bool waiting : {false, true}) {
        for (bool mapped : {false, true}) {
            EXPECT_EQ(nextQueueStep({true, waiting, mapped}), QueueStep::Quit);
        }
    }
}

TEST(TickCount, CountsMillisecondsOfTheClock) {
    EXPECT_EQ(ticksOf({0, 0}), 0u);
    EXPECT_EQ(ticksOf({12, 345'999'999}), 12'345u);
}

TEST(TickCount, WrapsAt32Bits) {
    // 2^32 ms is 4294967.296 s.
    EXPECT_EQ(ticksOf({4'294'967, 295'000'000}), 4'294'967'295u);
    EXPECT_EQ(ticksOf({4'294'967, 296'000'000}), 0u);
    EXPECT_EQ(ticksOf({4'294'968, 0}), 704u);
}

}  // namespace
