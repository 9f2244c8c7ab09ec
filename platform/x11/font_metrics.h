#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

// The advance in pixels of character `code` in an X core font: the one
// glXUseXFont builds into the character's display list, so that measured text
// ends where drawn text does. A code the font does not cover advances by the
// font's widest character, as glXUseXFont's empty list for it does.
int advanceWidth(const XFontStruct& font, unsigned code);

// Whether glXUseXFont gives the character no bitmap, only an advance: a code
// the font does not cover, or a glyph without ink (the space).
bool isBlankGlyph(const XFontStruct& font, unsigned code);
