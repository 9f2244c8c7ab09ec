#include "platform/web/pointer_input.h"

namespace {

constexpr int kNoButton = -1;
constexpr int kMainButton = 0;
constexpr int kMainButtonDown = 1;  // its bit in `buttons`

}  // namespace

std::optional<QueuedMessage> PointerInput::translate(const PointerEvent& event) {
    if (!event.primary) return std::nullopt;
    const LPARAM point = packPoint(event.x, event.y);
    // A cancelled drag ends as a release would; a cancel without one is nothing.
    if (event.cancelled) {
        if (!pressed) return std::nullopt;
        pressed = false;
        return QueuedMessage{WM_LBUTTONUP, point};
    }
    if (event.button == kNoButton) return QueuedMessage{WM_MOUSEMOVE, point};
    if (event.button != kMainButton) return std::nullopt;
    // pointerdown, pointerup, or a move that presses or releases the main
    // button while another is held: `buttons` says which.
    pressed = (event.buttons & kMainButtonDown) != 0;
    return QueuedMessage{pressed ? UINT{WM_LBUTTONDOWN} : UINT{WM_LBUTTONUP}, point};
}
