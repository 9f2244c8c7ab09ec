#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xutil.h>

#include <vector>

#include "platform/x11/connection.h"
#include "platform/x11/pixel_format_choice.h"

// The screen's visuals in the server's order; pixel format n is visual n - 1.
// A description holds what some choice could read (pixel_format_choice.h).
struct VisualTable {
    std::vector<XVisualInfo> visuals;
    std::vector<VisualDescription> descriptions;
    std::vector<bool> candidacyRead;  // whether a description's flags were read

    // The visual of a pixel format, nullptr for an index out of range.
    const XVisualInfo* visual(int pixelFormat) const;

    // Whether a window's context can use the pixel format's visual (see
    // isPixelFormatCandidate), read from GLX on `display` if the table has not.
    bool isCandidate(Display* display, int pixelFormat) const;
};

// The table of the connection's screen, read once. Without GLX no visual is
// described as OpenGL-capable.
const VisualTable& visualTable(const Connection& connection);

// The pixel format of a double-buffered RGBA visual with a depth buffer, the
// one windows are first made on; 0 when the server has none.
int defaultWindowPixelFormat(const Connection& connection);
