#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xlib.h>

#include "platform/x11/connection.h"

// The stock system font: the server's "fixed" core font, loaded once;
// nullptr if the server has none.
XFontStruct* systemFont(const Connection& connection);
