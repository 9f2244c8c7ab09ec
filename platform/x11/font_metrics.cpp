#include "platform/x11/font_metrics.h"

#include <optional>

namespace {

// Index of `code` in the font's per-character table, if the font covers it.
// One-row fonts index by the code itself; others by its two bytes.
std::optional<unsigned> charIndex(const XFontStruct& font, unsigned code) {
    const unsigned columns = font.max_char_or_byte2 - font.min_char_or_byte2 + 1;
    const bool oneRow = font.min_byte1 == font.max_byte1;
    const unsigned row = oneRow ? font.min_byte1 : code >> 8;
    const unsigned column = oneRow ? code : code & 0xFF;
    if (row < font.min_byte1 || row > font.max_byte1) return std::nullopt;
    if (column < font.min_char_or_byte2 || column > font.max_char_or_byte2) return std::nullopt;
    return (row - font.min_byte1) * columns + (column - font.min_char_or_byte2);
}

// The metrics glXUseXFont takes for a covered character; without a table
// every character has the same ones.
const XCharStruct& metrics(const XFontStruct& font, unsigned index) {
    return font.per_char ? font.per_char[index] : font.min_bounds;
}

}  // namespace

int advanceWidth(const XFontStruct& font, unsigned code) {
    const std::optional<unsigned> index = charIndex(font, code);
    return index ? metrics(font, *index).width : font.max_bounds.width;
}

bool isBlankGlyph(const XFontStruct& font, unsigned code) {
    const std::optional<unsigned> index = charIndex(font, code);
    if (!index) return true;
    const XCharStruct& glyph = metrics(font, *index);
    return glyph.rbearing <= glyph.lbearing || glyph.ascent + glyph.descent <= 0;
}
