#pragma once

#include <cstdint>

#include "platform/web/bitmap.h"

// The font the page draws text with in place of the system font: 5 by 7
// pixel glyphs with two rows of descent, one advance for every character
// of 32 to 127.
namespace glyph_font {

inline constexpr uint32_t kFirstChar = 32;
inline constexpr uint32_t kLastChar = 127;

// The advance of `code` in pixels; 0 for a character the font lacks.
int32_t advance(uint32_t code);

// The glyph of `code`, its origin on the baseline at the left edge; a
// bitmap of no size that only advances for a character the font lacks.
Bitmap glyph(uint32_t code);

}  // namespace glyph_font
