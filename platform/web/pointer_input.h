#pragma once

#include <optional>
#include <vector>

#include "platform/common/backend.h"

// A Pointer Events event on the canvas, as the page hands it on.
struct PointerEvent {
    bool primary;    // isPrimary: the mouse, the first finger down, the pen
    int button;      // the button whose state changed: -1 none, 0 the main one
    int buttons;     // the buttons down now; bit 0 the main one
    bool cancelled;  // pointercancel: the browser took the pointer for itself
    int x, y;        // client coordinates in device pixels
};

// A turn of the camera by keys or buttons: a drag of that many client
// pixels, right and down positive.
struct DragStep {
    int dx, dy;
};

// The layer's one left button. Mouse, touch and pen input as Windows promotes
// it for a program that reads mouse messages: the primary pointer's main
// button (the mouse's left button, a finger's contact, a pen's tip) pressed
// and released, and its moves. Other pointers and other buttons tell
// nothing. A finger keeps the browser's capture outside the canvas, so every
// point is told as captured. Turns by keys and buttons press the same
// button, as an operating system's mouse keys do.
class PointerInput {
public:
    // What the event tells, if anything.
    std::optional<WindowInput> translate(const PointerEvent& event);

    // The whole drag a turn stands for, in a client area of that size:
    // press at its centre, move by the step, release. Nothing while a
    // pointer holds the button: its drag goes on undisturbed.
    std::vector<WindowInput> turn(DragStep step, int clientWidth, int clientHeight) const;

    // A pointer holds the button down.
    bool dragging() const { return pressed; }

private:
    bool pressed = false;  // the primary pointer's main button is down
};
