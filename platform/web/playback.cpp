#include "platform/web/playback.h"

void Playback::pause(uint64_t real) {
    if (!paused()) pausedAt = milliseconds(real);
}

void Playback::play(uint64_t real) {
    if (!paused()) return;
    stood = real - *pausedAt;
    pausedAt.reset();
}

uint64_t Playback::milliseconds(uint64_t real) const {
    return pausedAt.value_or(real - stood);
}

void Playback::note(const Message& message, bool buttonDown) {
    if (message.message == WM_SIZE || (message.message == WM_MOUSEMOVE && buttonDown)) {
        invalidate();
    }
}
