#pragma once

#include <cstdint>

#include "platform/win32.h"

struct BitmapFont;

// The OpenGL rendering context of the program's one window. The device
// context is acquired afresh by every operation that needs it: the window
// class's private device context (CS_OWNDC) keeps the pixel format and the
// selected font between acquisitions.
struct GlContext {
    HWND window = nullptr;          // set by init
    HDC deviceContext = nullptr;    // meaningful between an acquisition and its release
    HGLRC renderContext = nullptr;  // owned; NULL when creation failed or never ran
    bool doubleBuffered = false;    // whether present swaps

    // Sets the window's pixel format and creates the rendering context,
    // without making it current. True only if a context was created.
    bool init(HWND newWindow, bool newDoubleBuffered);

    // Acquires the device context and makes the rendering context current.
    void bind();

    // Releases the device context bind acquired; the context stays current.
    void releaseDeviceContext();

    // Shows the finished frame: swaps the buffers when double-buffered.
    void present();

    // The teardown at exit: no context current, the rendering context
    // deleted. Nothing when init never ran.
    void destroy();

    // Builds `font` for the character codes first..last from the system
    // font: one display list and one width per code. Leaves the context
    // current. A range with last below first builds an empty font.
    void buildFont(BitmapFont& font, int32_t first, int32_t last);
};
