#pragma once

#ifdef _WIN32
#error "the backends stand in for Windows: there the system provides these calls"
#endif

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/win32.h"

// What a backend (platform/x11/, platform/web/) does for the Win32 subset in
// platform/common/, which defines every entry point of platform/win32.h once
// and asks the backend only for what needs the window system. Each backend
// implements every function below; the build links one of them (the unit
// tests link a fake one). Handles and their checks, the window procedure's
// message sequence, the queue's order and the pixel format choice are the
// shared layer's: a backend sees only its own records, and only valid ones.

// A backend's window on the screen, its rendering context and its font;
// each backend completes them.
struct Surface;
struct RenderContext;
struct SystemFont;

// What a window's surface is made with.
struct SurfaceRequest {
    const char* title;
    const char* className;
    int x;  // unless placedBySystem
    int y;
    bool placedBySystem;  // CW_USEDEFAULT: the window system chooses the position
    int width;            // of the client area
    int height;
};

// What the window procedure is told of a surface.
struct SurfaceState {
    int width;  // the client size
    int height;
    bool onScreen;  // shown and neither minimised nor destroyed: to be painted
    bool shown;     // shown by showSurface, and not hidden since
};

// What a backend tells of a surface's window, for the shared layer to make
// the window's message of (postInput).
struct WindowInput {
    enum Kind : uint8_t {
        PointerMove,  // the pointer at x, y of the client area (any, even outside it)
        LeftDown,     // the left button pressed there
        LeftUp,       // released there
        Resized,      // the client area is now x by y
        Minimized,
        Close,  // the close box, or the window destroyed by another client
    };
    Kind kind;
    int x;
    int y;
    // The pointer is captured (a finger's drag keeps it): a point outside
    // the client area reaches the window too, clamped to 0..65535.
    bool captured = false;

    friend bool operator==(const WindowInput&, const WindowInput&) = default;
};

// What the wait for input ended with.
enum class Wake {
    Input,  // input arrived, and is queued (postInput) if it made a message
    Paint,  // nothing waits: time to paint
    Lost,   // nothing can come: no connection
};

// One pixel format as a backend describes it. Colour bits count red, green
// and blue, without alpha, as a PIXELFORMATDESCRIPTOR does.
struct PixelFormatDescription {
    bool openGl;          // renders OpenGL
    bool rgba;            // RGBA, not colour index
    bool doubleBuffered;  // has a back buffer
    bool mainPlane;       // neither overlay nor underlay
    bool opaque;          // of the screen's depth: no alpha channel a compositor would show
    bool trueColor;       // fixed colour ramps, no colormap to load
    bool stereo;
    bool slow;  // rated slow or non-conformant
    int colorBits;
    int alphaBits;
    int depthBits;
    int stencilBits;
    int accumBits;
    int auxBuffers;
    int samples;
};

// The parts of a description, read one at a time, each only when a choice
// needs it: a backend may have hundreds of formats, each attribute a query.
enum DescriptionPart : unsigned {
    kIdentityPart = 1u << 0,   // opaque and trueColor: known without a query
    kCandidacyPart = 1u << 1,  // the four flags of isPixelFormatCandidate, and a candidate's depth
    kRatingPart = 1u << 2,     // slow
    kColorPart = 1u << 3,
    kAlphaPart = 1u << 4,
    kStencilPart = 1u << 5,
    kAccumPart = 1u << 6,
    kAuxPart = 1u << 7,
    kExtrasPart = 1u << 8,  // stereo and samples
    kAllParts = (1u << 9) - 1,
};

namespace backend {

// ---- Surfaces ----

// Opens the connection or the page on the first call that succeeds, then
// makes a surface for `window` of the requested client size, not shown yet.
// nullptr, said once on stderr, when there is no connection or the window
// system refuses the surface.
Surface* createSurface(HWND window, const SurfaceRequest& request);

// Frees a surface whose window refused its creation.
void destroySurface(Surface* surface);

// Shows or hides it; false when it can no longer be shown (destroyed by another client).
bool showSurface(Surface& surface, bool show);

// Its client size and whether it is to be painted.
SurfaceState surfaceState(const Surface& surface);

// Puts the surface on a pixel format (a 1-based index of describePixelFormat's)
// before anything is drawn; false when it cannot be.
bool setSurfaceFormat(Surface& surface, int pixelFormat);

// ---- Input ----

// Called when the queue is empty: moves the input that has come into the
// queue with postInput, or with `paintWaiting` (a window is to be painted) returns
// Paint at once if there is none (the web waits for the next animation frame
// first). Blocks until something comes.
Wake waitForInput(bool paintWaiting);

// Milliseconds of a monotonic clock.
uint64_t milliseconds();

// ---- Pixel formats ----

// How many pixel formats there are; read once.
size_t pixelFormatCount();

// Fills `part` of format `index`'s (0-based) description; fields of other parts stay.
void describePixelFormat(size_t index, DescriptionPart part, PixelFormatDescription& description);

// ---- Rendering contexts ----

// A context for surfaces of that format; nullptr on failure.
RenderContext* createContext(Surface& surface, int pixelFormat);

// Makes the context current on the surface; (nullptr, nullptr) makes none current.
bool makeCurrent(Surface* surface, RenderContext* context);

// Deletes the context (current or not); false when it cannot.
bool deleteContext(RenderContext* context);

// Shows the back buffer.
bool present(Surface& surface);

// ---- The system font ----

// The stock system font; nullptr when there is none.
SystemFont* systemFont();

// The advance in pixels of character `code`, as its bitmap moves the raster position.
int charAdvance(const SystemFont& font, unsigned code);

// Builds display lists listBase.. for characters first.. in the current
// context; false without a current context.
bool makeFontBitmaps(const SystemFont& font, DWORD first, DWORD count, DWORD listBase);

// ---- The message box ----

// Says the text (stderr or the console) and shows it with an OK button over
// `owner` (nullptr: none), until dismissed. Text and caption are never null.
void showMessageBox(Surface* owner, const char* text, const char* caption);

}  // namespace backend

// What the shared layer offers a backend.

// Queues the message of what happened to the window of a surface's, once
// for every backend: a pointer outside the client area reaches the window
// only while captured; a size the window was last told of is no news, as
// Windows sends WM_SIZE only for a change; a move right after a move of the
// same window replaces it, since moves come faster than frames.
void postInput(HWND window, WindowInput input);

// The surface of the first window, in the order made, that `matches` takes;
// nullptr for none. The windows' records are the shared layer's: a backend
// finds its surfaces here instead of keeping a list of its own.
Surface* findSurface(const std::function<bool(const Surface&)>& matches);

// The pixel format closest to the request among the backend's, as
// ChoosePixelFormat picks it; 0 for none.
int choosePixelFormat(const PIXELFORMATDESCRIPTOR& request);

// Whether a window's rendering context can use the format at all: OpenGL,
// RGBA, double-buffered, in the main plane.
bool isPixelFormatCandidate(const PixelFormatDescription& format);
