#include "app/frame_rate_counter.h"

#include <cstdio>

#include "gl/bitmap_font.h"
#include "platform/opengl.h"

void FrameRateCounter::draw(const BitmapFont& font) const {
    char text[256];
    const int length = std::snprintf(text, sizeof text, "FPS %d", framesPerSecond);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Normalised coordinates: (-1, -1) is the viewport's lower-left corner.
    glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
    glRasterPos2f(-1.0f, -1.0f);
    font.selectLists();
    font.drawText(text, length, BitmapFont::kUnaligned);
}

void FrameRateCounter::update(const FrameInfo& frame) {
    constexpr Duration kSecond = Duration::fromWholeSeconds(1);
    // Modulo 2^32, so a wrap of the tick counter changes nothing.
    if (frame.elapsed - mark > kSecond) {
        mark = frame.elapsed;
        framesPerSecond = frameCount;
        frameCount = 0;
    } else {
        ++frameCount;
    }
}
