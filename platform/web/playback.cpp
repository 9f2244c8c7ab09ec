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

void Playback::note(const WindowInput& input, bool buttonDown) {
    const bool sized = input.kind == WindowInput::Resized || input.kind == WindowInput::Minimized;
    if (sized || (input.kind == WindowInput::PointerMove && buttonDown)) {
        invalidate();
    }
}
