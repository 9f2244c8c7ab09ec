#pragma once

#include <cstdint>

// Single-line text drawn at the current raster position from one display
// list per character, built by GlContext::buildFont.
struct BitmapFont {
    int32_t listBase = 0;  // the display list of code c is listBase + c
    int32_t firstChar = 0;
    int32_t charCount = 0;
    int32_t* charWidths = nullptr;  // advance in pixels, index code - firstChar; never freed

    // How drawText places the text against the raster position.
    static constexpr int32_t kUnaligned = -1;  // starts there
    static constexpr int32_t kCentred = 0;     // centred on it
    // Any other value ends the text there.

    // Makes this font's lists the ones drawText calls.
    void selectLists() const;

    // Draws `length` bytes of `text` (not necessarily terminated) with the
    // lists selected. Bytes the font does not cover draw nothing and measure 0.
    void drawText(const char* text, int32_t length, int32_t alignment) const;

    // The advance of `length` bytes of `text` in pixels.
    uint32_t textWidth(const char* text, int32_t length) const;
};
