#include "platform/x11/font.h"

#include <GL/gl.h>
#include <GL/glx.h>

#include <climits>
#include <cstdint>

#include "platform/x11/font_metrics.h"
#include "platform/x11/window.h"

namespace {

// The font selected into a device context; a new one has the system font.
XFontStruct* selectedFont(HDC deviceContext) {
    if (deviceContext->font) return static_cast<XFontStruct*>(deviceContext->font);
    const Connection* connection = liveConnection();
    return connection ? systemFont(*connection) : nullptr;
}

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

XFontStruct* systemFont(const Connection& connection) {
    static XFontStruct* font = XLoadQueryFont(connection.display, "fixed");
    return font;
}

// SYSTEM_FONT is the one stock object there is.
HGDIOBJ WINAPI GetStockObject(int object) {
    const Connection* connection = liveConnection();
    if (object != SYSTEM_FONT || !connection) return nullptr;
    return systemFont(*connection);
}

// The system font is the one font there is to select.
HGDIOBJ WINAPI SelectObject(HDC deviceContext, HGDIOBJ object) {
    const HDC known = findDeviceContext(deviceContext);
    const Connection* connection = liveConnection();
    if (!known || !object || !connection || object != systemFont(*connection)) return nullptr;
    const HGDIOBJ previous = selectedFont(known);
    known->font = object;
    return previous;
}

BOOL WINAPI GetCharWidth32A(HDC deviceContext, UINT first, UINT last, LPINT widths) {
    const HDC known = findDeviceContext(deviceContext);
    XFontStruct* font = known ? selectedFont(known) : nullptr;
    if (!font || !widths || first > last) return FALSE;
    for (uint64_t i = 0; i <= last - first; ++i) {
        widths[i] = advanceWidth(*font, static_cast<UINT>(first + i));
    }
    return TRUE;
}

// Needs a current rendering context, which the lists are made in.
BOOL WINAPI wglUseFontBitmapsA(HDC deviceContext, DWORD first, DWORD count, DWORD listBase) {
    const HDC known = findDeviceContext(deviceContext);
    XFontStruct* font = known ? selectedFont(known) : nullptr;
    if (!font || !glXGetCurrentContext()) return FALSE;
    if (!fitsInt(first) || !fitsInt(count) || !fitsInt(listBase)) return FALSE;
    glXUseXFont(font->fid, static_cast<int>(first), static_cast<int>(count),
                static_cast<int>(listBase));
    remakeBlankLists(*font, first, count, listBase);
    return TRUE;
}
