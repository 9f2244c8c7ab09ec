#include "platform/x11/pixel_format_choice.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// One key of the distance between a visual and the request, smaller being
// closer: the part of a description it reads (0: only what every candidate
// has), and its value, of the visual and of what the request wants.
struct Key {
    unsigned part;
    int (*value)(const VisualDescription& visual, int wanted);
    int wanted;
    bool sameForAll;  // nothing to read: a count not asked for is short in no visual
};

template <int VisualDescription::*field>
int shortfall(const VisualDescription& visual, int wanted) {
    return std::max(wanted - visual.*field, 0);
}

template <int VisualDescription::*field>
int excess(const VisualDescription& visual, int wanted) {
    return std::max(visual.*field - wanted, 0);
}

template <unsigned part, int VisualDescription::*field>
Key shortfallKey(int wanted) {
    return {part, shortfall<field>, wanted, wanted <= 0};
}

template <unsigned part, int VisualDescription::*field>
Key excessKey(int wanted) {
    return {part, excess<field>, wanted, false};
}

int accumBits(const PIXELFORMATDESCRIPTOR& request) {
    return std::max<int>(request.cAccumBits, request.cAccumRedBits + request.cAccumGreenBits +
                                                 request.cAccumBlueBits + request.cAccumAlphaBits);
}

using V = VisualDescription;

// The keys, most important first.
std::array<Key, 14> distanceKeys(const PIXELFORMATDESCRIPTOR& request) {
    const int accum = accumBits(request);
    return {{
        // A context asked to have a depth buffer must get one, whatever else.
        {0, [](const V& v, int wanted) -> int { return wanted > 0 && v.depthBits == 0; },
         request.cDepthBits, false},
        {0, [](const V& v, int) -> int { return !v.opaque; }, 0, false},
        {0, [](const V& v, int) -> int { return !v.trueColor; }, 0, false},
        {kRatingPart, [](const V& v, int) -> int { return v.slow; }, 0, false},
        shortfallKey<kColorPart, &V::colorBits>(request.cColorBits),
        shortfallKey<0, &V::depthBits>(request.cDepthBits),
        shortfallKey<kAlphaPart, &V::alphaBits>(request.cAlphaBits),
        shortfallKey<kStencilPart, &V::stencilBits>(request.cStencilBits),
        shortfallKey<kAccumPart, &V::accumBits>(accum),
        shortfallKey<kAuxPart, &V::auxBuffers>(request.cAuxBuffers),
        {kExtrasPart, [](const V& v, int) -> int { return v.stereo || v.samples > 0; }, 0, false},
        excessKey<kStencilPart, &V::stencilBits>(request.cStencilBits),
        excessKey<kAccumPart, &V::accumBits>(accum),
        excessKey<kAuxPart, &V::auxBuffers>(request.cAuxBuffers),
    }};
}

// Keeps of `tied` the visuals closest on the key, in the server's order.
void narrow(std::vector<size_t>& tied, const Key& key, const DescribeVisual& describe) {
    auto value = [&](size_t index) { return key.value(describe(index, key.part), key.wanted); };
    int closest = value(tied.front());
    for (const size_t index : tied) closest = std::min(closest, value(index));
    std::erase_if(tied, [&](size_t index) { return value(index) != closest; });
}

}  // namespace

bool isPixelFormatCandidate(const VisualDescription& visual) {
    return visual.openGl && visual.rgba && visual.doubleBuffered && visual.mainPlane;
}

bool opaqueTrueColorLeads(std::span<const VisualDescription> visuals) {
    return std::any_of(visuals.begin(), visuals.end(), [](const VisualDescription& visual) {
        return visual.opaque && visual.trueColor && isPixelFormatCandidate(visual) &&
               visual.depthBits > 0;
    });
}

int choosePixelFormat(size_t count, const PIXELFORMATDESCRIPTOR& request,
                      const DescribeVisual& describe) {
    std::vector<size_t> tied;
    tied.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (isPixelFormatCandidate(describe(i, 0))) tied.push_back(i);
    }
    // Key by key, until one visual is left; the first of those left wins.
    for (const Key& key : distanceKeys(request)) {
        if (tied.size() <= 1) break;
        if (!key.sameForAll) narrow(tied, key, describe);
    }
    return tied.empty() ? 0 : static_cast<int>(tied.front()) + 1;
}
