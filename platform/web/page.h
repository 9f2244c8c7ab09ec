#pragma once

#ifndef __EMSCRIPTEN__
#error "platform/web is the browser layer: it is built with Emscripten"
#endif

#include <optional>

#include "platform/common/backend.h"
#include "platform/web/playback.h"
#include "platform/web/pointer_input.h"

// The page's side of the layer, written in JavaScript (page.js).
extern "C" {
// Sizes the canvas of that element id to the client size and names the
// page; starts watching the canvas's size and the close control, which it
// posts (quennPagePost) as the messages numbered `sizeMessage` and `closeMessage`.
void quennPageOpen(const char* canvasId, int width, int height, const char* title, UINT sizeMessage,
                   UINT closeMessage);
// Suspends until the next animation frame (1) or until input arrives (0);
// with `frameWanted` 0, until input alone.
int quennPageWaitForFrame(int frameWanted);
// Ends a wait for a frame early: input arrived.
void quennPageWake();
// A modal dialog with the text and an OK button, the text also on the
// console; suspends until dismissed.
void quennPageMessageBox(const char* text, const char* caption);
// Hands the canvas's pointer events to quennPagePointer.
void quennPageListenToPointers();
// Hands the keys pressed on the canvas, and the turn buttons, to quennPageKey;
// the Pause button to quennPageTogglePause.
void quennPageListenToKeys();
// Whether the user asks for reduced motion (prefers-reduced-motion).
int quennPagePrefersReducedMotion();
// Shows the pause on the Pause button and says it in the status; with
// `reducedMotion`, that the page starts paused for it.
void quennPageShowPaused(int paused, int reducedMotion);
// The canvas's client size in CSS pixels, which its backing store has.
int quennPageCanvasWidth();
int quennPageCanvasHeight();
}

// The element id of the canvas, the page's one window, in the page's HTML.
inline constexpr const char* kCanvasId = "quenn";

// The canvas as a backend surface.
struct Surface {
    HWND window;
};

// The font the layer carries (glyph_font.h) as the system font.
struct SystemFont {};

// The page, and everything the layer keeps of it.
struct Page {
    std::optional<Surface> canvas;  // once a window was made on it
    PointerInput pointers;
    Playback playback;
    SystemFont font;
    bool ended = false;  // the program exited: the page's input is no longer its
};
