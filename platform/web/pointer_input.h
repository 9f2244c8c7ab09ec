#pragma once

#include <optional>

#include "platform/common/backend.h"

// A Pointer Events event on the canvas, as the page hands it on.
struct PointerEvent {
    bool primary;    // isPrimary: the mouse, the first finger down, the pen
    int button;      // the button whose state changed: -1 none, 0 the main one
    int buttons;     // the buttons down now; bit 0 the main one
    bool cancelled;  // pointercancel: the browser took the pointer for itself
    int x, y;        // client coordinates in device pixels
};

// Mouse, touch and pen input as Windows promotes it for a program that reads
// mouse messages: the primary pointer's main button (the mouse's left button,
// a finger's contact, a pen's tip) pressed and released, and its moves. Other
// pointers and other buttons make no message. A finger keeps the browser's
// capture outside the canvas: its coordinates there are clamped to 0..65535.
class PointerInput {
public:
    // The message the event makes, if any.
    std::optional<Message> translate(const PointerEvent& event);

private:
    bool pressed = false;  // the primary pointer's main button is down
};
