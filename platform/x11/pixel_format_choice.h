#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <cstddef>
#include <functional>
#include <span>

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

// The parts of a description that are read from GLX together, one query per
// attribute. Opacity and class come with the visual itself.
enum DescriptionPart : unsigned {
    kCandidacyPart = 1u << 0,  // the flags, and a candidate's depth buffer
    kRatingPart = 1u << 1,     // slow
    kColorPart = 1u << 2,
    kAlphaPart = 1u << 3,
    kStencilPart = 1u << 4,
    kAccumPart = 1u << 5,
    kAuxPart = 1u << 6,
    kExtrasPart = 1u << 7,  // stereo and samples
    kAllParts = (1u << 8) - 1,
};

// Visual `index`'s description with at least `parts` read; parts not read
// are zero.
using DescribeVisual = std::function<const VisualDescription&(size_t index, unsigned parts)>;

// Whether a window's rendering context can use the visual at all: OpenGL,
// RGBA, double-buffered, in the main plane.
bool isPixelFormatCandidate(const VisualDescription& visual);

// The pixel format closest to the request among `count` visuals: the
// 1-based index of a candidate visual, 0 when there is none. A depth
// buffer, when asked for, comes first, then opaque, TrueColor and unrated
// visuals; the request's bit counts are minimums, met where a visual can and
// never a reason to refuse; among visuals that meet them equally, those
// without unrequested extras (stencil, accumulation, auxiliary buffers,
// multisampling, stereo) come first, then the server's order.
//
// It takes the candidacy that `describe` already holds, and asks it for
// each further part only for the candidates still tied when that part
// decides, so that a visual that loses early is never read further.
int choosePixelFormat(size_t count, const PIXELFORMATDESCRIPTOR& request,
                      const DescribeVisual& describe);

// Whether the screen's opaque TrueColor visuals lead: one of them is a
// candidate with a depth buffer, so no other visual can be chosen, whether
// a request wants a depth buffer or not. It reads opacity, TrueColor and the
// candidacy of those visuals only, so that a table may leave the others'
// unread until it knows they matter.
bool opaqueTrueColorLeads(std::span<const VisualDescription> visuals);
