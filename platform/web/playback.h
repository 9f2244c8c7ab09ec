#pragma once

#include <cstdint>
#include <optional>

#include "platform/common/backend.h"

// The pause of the page: the program's clock (the layer's milliseconds) and
// which animation frames are painted. Playing, the clock is the real one and
// every frame is painted, as ever. Paused, the clock stands still, so that
// everything timed waits, and a frame is painted only for what changes the
// picture without the clock: a turn, a new size, a context given back. Play
// goes on from the moment the pause stopped at.
class Playback {
public:
    bool paused() const { return pausedAt.has_value(); }

    // At `real`, a reading of the real monotonic clock; each does nothing
    // when already so.
    void pause(uint64_t real);
    void play(uint64_t real);

    // The program's clock when the real one reads `real`.
    uint64_t milliseconds(uint64_t real) const;

    // What the page tells the program: a new size, or a move with the left
    // button down, is a change to paint.
    void note(const WindowInput& input, bool buttonDown);
    // The picture is to be painted again, whatever the clock.
    void invalidate() { changed = true; }

    // Whether the next animation frame is to be painted; a paint takes the change.
    bool wantsFrame() const { return !paused() || changed; }
    void painted() { changed = false; }

private:
    std::optional<uint64_t> pausedAt;  // the program's clock at the pause
    uint64_t stood = 0;                // how long it stood still, in all
    bool changed = true;               // since the last paint; the first frame is one
};
