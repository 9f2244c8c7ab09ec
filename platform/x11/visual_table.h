#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/Xutil.h>

#include <vector>

#include "platform/x11/connection.h"
#include "platform/x11/visual_descriptions.h"

// The screen's visuals in the server's order; pixel format n is visual n - 1.
// Their descriptions are read from GLX part by part, as choices need them.
// Made once, in place: its reading of GLX refers to its own visuals.
class VisualTable {
public:
    // The visuals of the connection's screen. Without GLX no visual is
    // described as OpenGL-capable.
    explicit VisualTable(const Connection& connection);
    VisualTable(const VisualTable&) = delete;
    VisualTable& operator=(const VisualTable&) = delete;

    // The visual of a pixel format, nullptr for an index out of range.
    const XVisualInfo* visual(int pixelFormat) const;

    // Whether a window's context can use the pixel format's visual (see
    // isPixelFormatCandidate).
    bool isCandidate(int pixelFormat);

    // The pixel format closest to the request (see choosePixelFormat).
    int choose(const PIXELFORMATDESCRIPTOR& request);

private:
    // How the descriptions are read: from GLX on the connection, if it has GLX.
    VisualDescriptions::ReadPart reader(const Connection& connection);

    std::vector<XVisualInfo> visuals_;
    VisualDescriptions descriptions_;
};

// The table of the connection's screen, made once.
VisualTable& visualTable(const Connection& connection);

// The pixel format of a double-buffered RGBA visual with a depth buffer, the
// one windows are first made on; 0 when the server has none.
int defaultWindowPixelFormat(const Connection& connection);
