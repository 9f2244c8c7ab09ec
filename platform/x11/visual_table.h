#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xutil.h>

#include <vector>

#include "platform/x11/connection.h"
#include "platform/x11/pixel_format_choice.h"

// The screen's visuals in the server's order; pixel format n is visual n - 1.
// Each description is read from GLX part by part, as choices need it.
struct VisualTable {
    std::vector<XVisualInfo> visuals;
    std::vector<VisualDescription> descriptions;
    std::vector<unsigned> partsRead;  // of each description, the DescriptionParts read

    // The visual of a pixel format, nullptr for an index out of range.
    const XVisualInfo* visual(int pixelFormat) const;

    // Visual `index`'s description, its `parts` read from GLX on `display`
    // first where the table has not read them yet.
    const VisualDescription& describe(Display* display, size_t index, unsigned parts);

    // Whether a window's context can use the pixel format's visual (see
    // isPixelFormatCandidate).
    bool isCandidate(Display* display, int pixelFormat);

    // The pixel format closest to the request (see choosePixelFormat).
    int choose(Display* display, const PIXELFORMATDESCRIPTOR& request);
};

// The table of the connection's screen, made once. Without GLX no visual is
// described as OpenGL-capable.
VisualTable& visualTable(const Connection& connection);

// The pixel format of a double-buffered RGBA visual with a depth buffer, the
// one windows are first made on; 0 when the server has none.
int defaultWindowPixelFormat(const Connection& connection);
