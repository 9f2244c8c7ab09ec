#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <span>
#include <vector>

#include "platform/win32.h"

// One X visual of the screen as GLX describes it. Colour bits count red,
// green and blue, without alpha, as a PIXELFORMATDESCRIPTOR does.
struct VisualDescription {
    bool openGl;          // GLX renders to it
    bool rgba;            // RGBA, not colour index
    bool doubleBuffered;  // has a back buffer
    bool mainPlane;       // level 0: neither overlay nor underlay
    bool opaque;          // of the screen's depth: no alpha channel a compositor would show
    bool trueColor;       // fixed colour ramps, no colormap to load
    bool stereo;
    bool slow;  // rated slow or non-conformant by the server
    int colorBits;
    int alphaBits;
    int depthBits;
    int stencilBits;
    int accumBits;
    int auxBuffers;
    int samples;
};

// Whether a window's rendering context can use the visual at all: OpenGL,
// RGBA, double-buffered, in the main plane.
bool isPixelFormatCandidate(const VisualDescription& visual);

// The pixel format closest to the request: the 1-based index of a candidate
// visual, 0 when there is none. A depth buffer, when asked for, comes first;
// the request's bit counts are minimums, met where a visual can and never a
// reason to refuse; among visuals that meet
// them equally, those without unrequested extras (stencil, accumulation,
// auxiliary buffers, multisampling, stereo) come first, then the server's order.
int choosePixelFormat(std::span<const VisualDescription> visuals,
                      const PIXELFORMATDESCRIPTOR& request);

// Which visuals some request could choose: the candidates that no other
// candidate beats on the keys that come before every bit count (a depth
// buffer when one is asked for, opaque, TrueColor). It reads only those
// fields and the candidates' flags, so that a table may leave the rest
// unread, as zeros, for the others: no request's choice changes.
std::vector<bool> choosableVisuals(std::span<const VisualDescription> visuals);

// Whether the screen's opaque TrueColor visuals lead on those keys: one of
// them is a candidate with a depth buffer, so no other visual can be chosen,
// whether a request wants a depth buffer or not. It reads opacity, TrueColor
// and the flags and depth buffers of those visuals only, so that a table may
// leave the others' unread until it knows they matter.
bool opaqueTrueColorLeads(std::span<const VisualDescription> visuals);
