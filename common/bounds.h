#pragma once

#include <algorithm>
#include <limits>

#include "common/vec3.h"

// An axis-aligned box. Empty is min = +FLT_MAX and max = -FLT_MAX in every
// axis, so that the first point included becomes both corners.
struct Bounds {
    static constexpr float kLargest = std::numeric_limits<float>::max();

    Vec3 min{kLargest, kLargest, kLargest};
    Vec3 max{-kLargest, -kLargest, -kLargest};

    constexpr void makeEmpty() { *this = Bounds{}; }

    // Widens the box per axis so that it holds `point`.
    constexpr void include(Vec3 point) {
        min = {std::min(min.x, point.x), std::min(min.y, point.y), std::min(min.z, point.z)};
        max = {std::max(max.x, point.x), std::max(max.y, point.y), std::max(max.z, point.z)};
    }
};
