#include "platform/web/pointer_input.h"

#include <algorithm>

namespace {

constexpr int kNoButton = -1;
constexpr int kMainButton = 0;
constexpr int kMainButtonDown = 1;  // its bit in `buttons`
constexpr WPARAM kNoKeyState = 0;   // the program reads no MK_ flags

int clamped(int coordinate) {
    return std::clamp(coordinate, 0, 0xFFFF);
}

Message message(UINT id, LPARAM point) {
    return {id, kNoKeyState, point};
}

}  // namespace

std::optional<Message> PointerInput::translate(const PointerEvent& event) {
    if (!event.primary) return std::nullopt;
    const LPARAM point = packPoint(clamped(event.x), clamped(event.y));
    // A cancelled drag ends as a release would; a cancel without one is nothing.
    if (event.cancelled) {
        if (!pressed) return std::nullopt;
        pressed = false;
        return message(WM_LBUTTONUP, point);
    }
    if (event.button == kNoButton) return message(WM_MOUSEMOVE, point);
    if (event.button != kMainButton) return std::nullopt;
    // pointerdown, pointerup, or a move that presses or releases the main
    // button while another is held: `buttons` says which.
    pressed = (event.buttons & kMainButtonDown) != 0;
    return message(pressed ? UINT{WM_LBUTTONDOWN} : UINT{WM_LBUTTONUP}, point);
}

std::vector<Message> PointerInput::turn(DragStep step, int clientWidth, int clientHeight) const {
    if (pressed) return {};
    const int x = clientWidth / 2;
    const int y = clientHeight / 2;
    const LPARAM to = packPoint(clamped(x + step.dx), clamped(y + step.dy));
    return {message(WM_LBUTTONDOWN, packPoint(clamped(x), clamped(y))),
            message(WM_MOUSEMOVE, to), message(WM_LBUTTONUP, to)};
}
