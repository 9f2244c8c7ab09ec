#pragma once

#include <string_view>

#include "platform/web/pointer_input.h"

// A turn per press, and per repeat while the key is held: 5 client pixels,
// 5 degrees (scene/drag.h turns one degree per pixel), small enough to aim
// and 72 presses for a whole turn; Shift takes 15, a quarter turn in six.
inline constexpr int kTurnStep = 5;
inline constexpr int kLargeTurnStep = 15;

// What a key pressed on the focused canvas, or a turn button standing for
// it, does.
struct KeyAction {
    enum Kind {
        kPassOn,       // not the page's: the browser handles it (Tab leaves the canvas)
        kTurn,         // a drag by `step`
        kTogglePause,  // pauses or plays the motion
    } kind;
    DragStep step;
};

// The action of a key by its KeyboardEvent.key name: the arrows turn the
// camera as a drag in their direction would, Space pauses and plays. With
// Control, Alt or Meta held every key passes on, to the browser's shortcuts.
KeyAction canvasKey(std::string_view key, bool shift, bool otherModifier);
