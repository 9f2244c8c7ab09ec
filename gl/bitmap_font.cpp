#include "gl/bitmap_font.h"

#include "platform/opengl.h"

void BitmapFont::selectLists() const {
    glListBase(static_cast<GLuint>(listBase));
}

uint32_t BitmapFont::textWidth(const char* text, int32_t length) const {
    uint32_t total = 0;
    for (int32_t i = 0; i < length; ++i) {
        // Bytes read as signed codes, as the lists are numbered; 128 and
        // above come out negative and, like every code outside the table,
        // add nothing.
        const int32_t index = static_cast<signed char>(text[i]) - firstChar;
        if (index >= 0 && index < charCount) total += static_cast<uint32_t>(charWidths[index]);
    }
    return total;
}

void BitmapFont::drawText(const char* text, int32_t length, int32_t alignment) const {
    if (alignment != kUnaligned) {
        const float width = static_cast<float>(textWidth(text, length));
        const float move = alignment == kCentred ? -width * 0.5f : -width;
        // A bitmap of no size only moves the raster position.
        glBitmap(0, 0, 0.0f, 0.0f, move, 0.0f, nullptr);
    }
    glCallLists(length, GL_UNSIGNED_BYTE, text);
}
