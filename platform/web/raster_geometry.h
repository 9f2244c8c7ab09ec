#pragma once

// Where primitives land in the window: the viewport's mapping, clipping,
// and the quads of wide lines.

#include <array>

#include "platform/web/matrix.h"

// The viewport: window pixels, origin at the lower-left corner, y up.
struct Viewport {
    int x, y, width, height;

    bool empty() const { return width <= 0 || height <= 0; }
};

// A point in window coordinates, pixels from the lower-left corner.
struct WindowPoint {
    float x, y;
};

// Where a clip-space point lands in the window; w must be positive.
WindowPoint toWindow(Vec4 clip, Viewport viewport);

// The clip-space point (w = 1, depth `z`) of a window point.
Vec4 fromWindow(WindowPoint point, float z, Viewport viewport);

// Whether a clip-space point lies in the view volume, as the raster
// position must.
bool insideClipVolume(Vec4 clip);

// Cuts the segment a-b to the part in front of the near plane (z >= -w),
// where w is positive and the window position defined. False when nothing
// is left.
bool clipToNearPlane(Vec4& a, Vec4& b);

// Whether the segment a-b (clip space, in front of the near plane) lies
// wholly beyond one side of the view, or beyond the far plane, by more than
// a wide line's half width: it would draw no pixel.
bool outsideView(Vec4 a, Vec4 b, Viewport viewport);

// The width in pixels a line of the requested width is drawn with, without
// antialiasing: rounded to a whole pixel, at least one.
float lineWidthInPixels(float requested);

// A line of `width` pixels from a to b (clip space, in front of the near
// plane) as the four clip-space corners of a quad: like Mesa, the segment
// widened along the minor axis, a column of `width` pixels for each pixel
// along the major axis.
std::array<Vec4, 4> lineQuad(Vec4 a, Vec4 b, float width, Viewport viewport);
