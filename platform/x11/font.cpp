// The system font: the server's "fixed" core font, and its display lists.
#include <GL/gl.h>
#include <GL/glx.h>

#include <climits>

#include "platform/x11/connection.h"
#include "platform/x11/font_metrics.h"

namespace {

bool fitsInt(DWORD value) {
    return value <= static_cast<DWORD>(INT_MAX);
}

// HACK: Mesa compiles a glBitmap without bitmap data into a display list
// without its raster move, and that is how glXUseXFont makes the lists of
// blank characters: the space would not advance. Their lists are made again
// with an empty bitmap that is not NULL.
void remakeBlankLists(const XFontStruct& font, DWORD first, DWORD count, DWORD listBase) {
    static const GLubyte kNoBits = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!isBlankGlyph(font, first + i)) continue;
        glNewList(listBase + i, GL_COMPILE);
        glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(advanceWidth(font, first + i)), 0.0f,
                 &kNoBits);
        glEndList();
    }
}

}  // namespace

// Loaded on the first call.
SystemFont* backend::systemFont() {
    Connection* connection = liveConnection();
    if (!connection) return nullptr;
    if (!connection->fontLoaded) {
        connection->font.core = XLoadQueryFont(connection->display, "fixed");
        connection->fontLoaded = true;
    }
    return connection->font.core ? &connection->font : nullptr;
}

int backend::charAdvance(const SystemFont& font, unsigned code) {
    return advanceWidth(*font.core, code);
}

bool backend::makeFontBitmaps(const SystemFont& font, DWORD first, DWORD count, DWORD listBase) {
    if (!glXGetCurrentContext()) return false;
    if (!fitsInt(first) || !fitsInt(count) || !fitsInt(listBase)) return false;
    glXUseXFont(font.core->fid, static_cast<int>(first), static_cast<int>(count),
                static_cast<int>(listBase));
    remakeBlankLists(*font.core, first, count, listBase);
    return true;
}
