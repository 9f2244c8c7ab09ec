#pragma once

#include <cstdint>

#include "common/frame_info.h"
#include "common/tick_time.h"

struct BitmapFont;

// Frames per second, counted over seconds of the frame clock.
struct FrameRateCounter {
    Duration mark;                // elapsed time of the frame that began this second
    int32_t framesPerSecond = 0;  // frames of the last completed second, shown
    int32_t frameCount = 0;       // frames counted since mark

    // Draws "FPS n" in the lower-left corner of the viewport, in the current
    // colour. Leaves the projection matrix current.
    void draw(const BitmapFont& font) const;

    // Counts the frame, or closes the second when more than one has passed
    // since mark; the closing frame is not counted.
    void update(const FrameInfo& frame);
};
