// The page's pause: the program's clock stands still and goes on without a
// jump, and a paused page paints only what changed.
#include <gtest/gtest.h>

#include "platform/web/playback.h"

namespace {

TEST(WebPlayback, TheClockStandsWhilePausedAndGoesOnFromThere) {
    Playback playback;
    EXPECT_EQ(playback.milliseconds(1000), 1000u);  // playing: the real clock
    playback.pause(1500);
    playback.pause(1900);  // paused already: nothing
    EXPECT_EQ(playback.milliseconds(1800), 1500u);
    EXPECT_EQ(playback.milliseconds(5000), 1500u);
    playback.play(5000);
    playback.play(5100);  // playing already: nothing
    EXPECT_EQ(playback.milliseconds(5000), 1500u);
    EXPECT_EQ(playback.milliseconds(5250), 1750u);
    playback.pause(6000);  // a second pause adds to the first
    playback.play(7000);
    EXPECT_EQ(playback.milliseconds(7001), 2501u);
}

// Playing, every frame is painted; paused, the first frame, and then a frame
// only after a new size or a move of the left button (a turn), or after a
// context came back.
TEST(WebPlayback, APausedPagePaintsOnlyWhatChanged) {
    Playback playback;
    playback.pause(0);
    EXPECT_TRUE(playback.wantsFrame());  // paused from the start: its first frame
    playback.painted();
    EXPECT_FALSE(playback.wantsFrame());
    playback.play(0);
    EXPECT_TRUE(playback.wantsFrame());
    playback.painted();
    EXPECT_TRUE(playback.wantsFrame());
    playback.pause(0);
    EXPECT_FALSE(playback.wantsFrame());
    for (const auto kind : {WindowInput::PointerMove, WindowInput::LeftDown, WindowInput::LeftUp,
                            WindowInput::Close}) {
        playback.note({kind, 0, 0}, false);
    }
    EXPECT_FALSE(playback.wantsFrame());
    playback.note({WindowInput::PointerMove, 0, 0}, true);
    EXPECT_TRUE(playback.wantsFrame());
    playback.painted();
    playback.note({WindowInput::Resized, 0, 0}, false);
    EXPECT_TRUE(playback.wantsFrame());
    playback.painted();
    playback.invalidate();
    EXPECT_TRUE(playback.wantsFrame());
    playback.painted();
    playback.play(1);
    EXPECT_TRUE(playback.wantsFrame());
}

}  // namespace
