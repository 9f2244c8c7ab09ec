#include "platform/web/pointer_input.h"

namespace {

constexpr int kNoButton = -1;
constexpr int kMainButton = 0;
constexpr int kMainButtonDown = 1;  // its bit in `buttons`

WindowInput told(WindowInput::Kind kind, int x, int y) {
    return {kind, x, y, true};
}

}  // namespace

std::optional<WindowInput> PointerInput::translate(const PointerEvent& event) {
    if (!event.primary) return std::nullopt;
    // A cancelled drag ends as a release would; a cancel without one is nothing.
    if (event.cancelled) {
        if (!pressed) return std::nullopt;
        pressed = false;
        return told(WindowInput::LeftUp, event.x, event.y);
    }
    if (event.button == kNoButton) return told(WindowInput::PointerMove, event.x, event.y);
    if (event.button != kMainButton) return std::nullopt;
    // pointerdown, pointerup, or a move that presses or releases the main
    // button while another is held: `buttons` says which.
    pressed = (event.buttons & kMainButtonDown) != 0;
    return told(pressed ? WindowInput::LeftDown : WindowInput::LeftUp, event.x, event.y);
}

std::vector<WindowInput> PointerInput::turn(DragStep step, int clientWidth,
                                            int clientHeight) const {
    if (pressed) return {};
    const int x = clientWidth / 2;
    const int y = clientHeight / 2;
    return {told(WindowInput::LeftDown, x, y),
            told(WindowInput::PointerMove, x + step.dx, y + step.dy),
            told(WindowInput::LeftUp, x + step.dx, y + step.dy)};
}
