#include "platform/web/canvas_keys.h"

#include <array>

namespace {

struct Arrow {
    std::string_view key;
    int dx, dy;  // the direction of the drag it stands for, y downwards
};

constexpr std::array<Arrow, 4> kArrows{{
    {"ArrowLeft", -1, 0},
    {"ArrowRight", 1, 0},
    {"ArrowUp", 0, -1},
    {"ArrowDown", 0, 1},
}};

}  // namespace

KeyAction canvasKey(std::string_view key, bool shift, bool otherModifier) {
    if (otherModifier) return {KeyAction::kPassOn, {}};
    if (key == " ") return {KeyAction::kTogglePause, {}};
    const int step = shift ? kLargeTurnStep : kTurnStep;
    for (const Arrow& arrow : kArrows) {
        if (arrow.key == key) return {KeyAction::kTurn, {arrow.dx * step, arrow.dy * step}};
    }
    return {KeyAction::kPassOn, {}};
}
