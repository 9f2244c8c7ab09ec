#pragma once

#include <deque>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/common/desktop.h"

// A backend for the unit tests of the Win32 subset (platform/common/): its
// surfaces, input, formats, contexts and font are plain records that a test
// sets and reads.

struct Surface {
    HWND window;
    std::string title;
    std::string className;
    SurfaceRequest request;  // its strings point into title and className
    SurfaceState state;
    bool canShow = true;     // false: showSurface fails, as for a destroyed window
    int pixelFormat = 0;     // set by setSurfaceFormat
    bool destroyed = false;  // destroySurface ran
};

struct RenderContext {
    Surface* surface;
    int pixelFormat;
};

struct SystemFont {
    int advance;  // of every character
};

namespace fake {

// A message the next wait posts for a surface's window.
struct Posted {
    Surface* surface;  // nullptr: the latest made
    Message message;
};

// The clock moving on, with nothing posted.
struct ClockAt {
    uint64_t now;
};

struct Backend {
    // Surfaces
    bool refuseSurfaces = false;
    bool refuseFormats = false;                 // setSurfaceFormat fails
    SurfaceState made{640, 480, false, false};  // the state of each new surface
    std::vector<std::unique_ptr<Surface>> surfaces;

    // Input: each wait takes the next; with none left it paints when asked
    // to, and is otherwise lost.
    std::deque<std::variant<Posted, ClockAt, Wake>> input;
    int waits = 0;
    uint64_t now = 0;

    // Pixel formats and contexts
    std::vector<PixelFormatDescription> formats;
    bool refuseContexts = false;
    std::vector<std::unique_ptr<RenderContext>> contexts;  // made and not deleted
    RenderContext* current = nullptr;
    Surface* currentSurface = nullptr;
    int presents = 0;

    // The font and the message box
    bool hasFont = true;
    SystemFont font{8};
    bool hasCurrentContextForLists = true;
    std::vector<std::string> lists;  // "first count base" of each makeFontBitmaps
    struct Box {
        Surface* owner;
        std::string text;
        std::string caption;
        friend bool operator==(const Box&, const Box&) = default;
    };
    std::vector<Box> boxes;
};

Backend& backend();

// The most recently made surface.
Surface& lastSurface();

// An opaque TrueColor RGBA double-buffered OpenGL format of the main plane,
// as a screen offers it; nothing else is set.
PixelFormatDescription screenFormat(int colorBits, int alphaBits, int depthBits,
                                    int stencilBits = 0);

}  // namespace fake
