// The page as a backend: the canvas is the one window, its pointer events,
// its keys and the page's own controls are the input, each animation frame a
// paint (paused, only a frame that shows a change).
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/web/canvas_keys.h"
#include "platform/web/glyph_font.h"
#include "platform/web/page.h"

namespace {

// The canvas offers one format: RGBA, double-buffered, as the browser
// composes it, without alpha or depth (see context.cpp).
constexpr int kColorBits = 24;

// Never destroyed, like the window on it.
Page& thePage = *new Page;

// The program's end takes its window's input with it, as a process's end
// does on Windows; the canvas keeps its last picture.
const int inputEndsWithProgram = std::atexit([] { thePage.ended = true; });

// The canvas while it is the window of a running program, else null.
Surface* liveCanvas() {
    return thePage.canvas && !thePage.ended ? &*thePage.canvas : nullptr;
}

// With `buttonDown`, the left button is down for it: a move of it turns.
void post(const WindowInput& input, bool buttonDown = false) {
    Surface* canvas = liveCanvas();
    if (!canvas) return;
    postInput(canvas->window, input);
    thePage.playback.note(input, buttonDown);
}

// A reading of performance.now() in whole milliseconds.
uint64_t realMilliseconds() {
    return static_cast<uint64_t>(std::floor(emscripten_get_now()));
}

void setPaused(bool paused, bool reducedMotion = false) {
    Playback& playback = thePage.playback;
    if (paused) {
        playback.pause(realMilliseconds());
    } else {
        playback.play(realMilliseconds());
        quennPageWake();  // a wait for input alone now waits for a frame
    }
    quennPageShowPaused(playback.paused(), reducedMotion);
}

// A turn by a key or a button on the live canvas: the whole drag it stands for.
void turn(const Surface& canvas, DragStep step) {
    const SurfaceState client = backend::surfaceState(canvas);
    for (const WindowInput& input : thePage.pointers.turn(step, client.width, client.height)) {
        post(input, true);
    }
    quennPageWake();
}

}  // namespace

// A pointer event on the canvas; 1 when it made a message, and the browser's
// own handling of it is to be prevented.
extern "C" EMSCRIPTEN_KEEPALIVE int quennPagePointer(int primary, int button, int buttons,
                                                     int cancelled, int x, int y) {
    const std::optional<WindowInput> input =
        thePage.pointers.translate({primary != 0, button, buttons, cancelled != 0, x, y});
    if (!input) return 0;
    post(*input, thePage.pointers.dragging());
    quennPageWake();
    return 1;
}

// A key pressed on the canvas (KeyboardEvent.key), or a turn button standing
// for one; 1 when the page used it, and the browser's own handling of it is
// to be prevented. Once the program ended, none is the page's.
extern "C" EMSCRIPTEN_KEEPALIVE int quennPageKey(const char* key, int shift, int otherModifier) {
    const Surface* canvas = liveCanvas();
    if (!key || !canvas) return 0;
    const KeyAction action = canvasKey(key, shift != 0, otherModifier != 0);
    switch (action.kind) {
        case KeyAction::kTurn: turn(*canvas, action.step); return 1;
        case KeyAction::kTogglePause: setPaused(!thePage.playback.paused()); return 1;
        case KeyAction::kPassOn: return 0;
    }
    return 0;
}

extern "C" EMSCRIPTEN_KEEPALIVE void quennPageTogglePause() {
    setPaused(!thePage.playback.paused());
}

// The browser gave the WebGL context back: a paused page paints it again.
extern "C" EMSCRIPTEN_KEEPALIVE void quennPageRedraw() {
    thePage.playback.invalidate();
    quennPageWake();
}

// The page's own messages: a new canvas size, the close control.
extern "C" EMSCRIPTEN_KEEPALIVE void quennPagePost(UINT message, int x, int y) {
    if (message == WM_SIZE) post({WindowInput::Resized, x, y});
    if (message == WM_CLOSE) post({WindowInput::Close, 0, 0});
}

// The canvas is the page's one window: a second creation fails, said on
// the console.
Surface* backend::createSurface(HWND window, const SurfaceRequest& request) {
    if (thePage.canvas) {
        std::fprintf(stderr, "the page has one window: \"%s\" is refused\n", request.title);
        return nullptr;
    }
    thePage.canvas = Surface{window};
    quennPageOpen(kCanvasId, request.width, request.height, request.title, WM_SIZE, WM_CLOSE);
    quennPageListenToPointers();
    quennPageListenToKeys();
    if (quennPagePrefersReducedMotion()) setPaused(true, true);
    return &*thePage.canvas;
}

void backend::destroySurface(Surface*) {
    thePage.canvas.reset();
}

// The canvas is always shown.
bool backend::showSurface(Surface&, bool) {
    return true;
}

SurfaceState backend::surfaceState(const Surface&) {
    return {quennPageCanvasWidth(), quennPageCanvasHeight(), true, true};
}

bool backend::setSurfaceFormat(Surface&, int) {
    return true;
}

// Paints at the next frame, unless input comes first; paused, with nothing
// new to show, waits for input alone.
Wake backend::waitForInput(bool) {
    Playback& playback = thePage.playback;
    if (!quennPageWaitForFrame(playback.wantsFrame())) return Wake::Input;
    playback.painted();
    return Wake::Paint;
}

// performance.now() in whole milliseconds, standing still while paused.
uint64_t backend::milliseconds() {
    return thePage.playback.milliseconds(realMilliseconds());
}

size_t backend::pixelFormatCount() {
    return 1;
}

void backend::describePixelFormat(size_t, DescriptionPart part,
                                  PixelFormatDescription& description) {
    switch (part) {
        case kIdentityPart: description.opaque = description.trueColor = true; break;
        case kCandidacyPart:
            description.openGl = description.rgba = true;
            description.doubleBuffered = description.mainPlane = true;
            break;
        case kColorPart: description.colorBits = kColorBits; break;
        default: break;  // none of the rest
    }
}

SystemFont* backend::systemFont() {
    return &thePage.font;
}

int backend::charAdvance(const SystemFont&, unsigned code) {
    return glyph_font::advance(code);
}

void backend::showMessageBox(Surface*, const char* text, const char* caption) {
    quennPageMessageBox(text, caption);
}
