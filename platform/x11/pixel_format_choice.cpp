#include "platform/x11/pixel_format_choice.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// One key of the distance between a visual and the request: the part of a
// description it reads (0: only what every candidate has) and its value,
// smaller being closer.
struct Key {
    unsigned part;
    std::function<int(const VisualDescription&)> value;
};

// A bit count the request asks for at least.
struct Minimum {
    unsigned part;
    int VisualDescription::*field;
    int wanted;
};

int accumBits(const PIXELFORMATDESCRIPTOR& request) {
    return std::max<int>(request.cAccumBits, request.cAccumRedBits + request.cAccumGreenBits +
                                                 request.cAccumBlueBits + request.cAccumAlphaBits);
}

// The keys, most important first.
std::vector<Key> distanceKeys(const PIXELFORMATDESCRIPTOR& request) {
    const bool depthWanted = request.cDepthBits > 0;
    std::vector<Key> keys = {
        // A context asked to have a depth buffer must get one, whatever else.
        {0, [depthWanted](const VisualDescription& v) { return depthWanted && v.depthBits == 0; }},
        {0, [](const VisualDescription& v) { return !v.opaque; }},
        {0, [](const VisualDescription& v) { return !v.trueColor; }},
        {kRatingPart, [](const VisualDescription& v) { return v.slow; }},
    };
    const std::array<Minimum, 6> minimums = {{
        {kColorPart, &VisualDescription::colorBits, request.cColorBits},
        {0, &VisualDescription::depthBits, request.cDepthBits},
        {kAlphaPart, &VisualDescription::alphaBits, request.cAlphaBits},
        {kStencilPart, &VisualDescription::stencilBits, request.cStencilBits},
        {kAccumPart, &VisualDescription::accumBits, accumBits(request)},
        {kAuxPart, &VisualDescription::auxBuffers, request.cAuxBuffers},
    }};
    // A shortfall; a count not asked for is short in no visual, and needs no key.
    for (const Minimum& m : minimums) {
        if (m.wanted <= 0) continue;
        keys.push_back({m.part, [m](const VisualDescription& v) {
                            return std::max(m.wanted - v.*m.field, 0);
                        }});
    }
    keys.push_back(
        {kExtrasPart, [](const VisualDescription& v) { return v.stereo || v.samples > 0; }});
    // Stencil, accumulation and auxiliary buffers beyond what was asked for.
    for (const Minimum& m : std::span(minimums).last(3)) {
        keys.push_back({m.part, [m](const VisualDescription& v) {
                            return std::max(v.*m.field - m.wanted, 0);
                        }});
    }
    return keys;
}

// Keeps of `tied` the visuals closest on the key, in the server's order.
void narrow(std::vector<size_t>& tied, const Key& key, const DescribeVisual& describe) {
    std::vector<int> values(tied.size());
    for (size_t i = 0; i < tied.size(); ++i) values[i] = key.value(describe(tied[i], key.part));
    const int closest = *std::min_element(values.begin(), values.end());
    size_t kept = 0;
    for (size_t i = 0; i < tied.size(); ++i) {
        if (values[i] == closest) tied[kept++] = tied[i];
    }
    tied.resize(kept);
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
    for (size_t i = 0; i < count; ++i) {
        if (isPixelFormatCandidate(describe(i, 0))) tied.push_back(i);
    }
    // Key by key, until one visual is left; the first of those left wins.
    for (const Key& key : distanceKeys(request)) {
        if (tied.size() <= 1) break;
        narrow(tied, key, describe);
    }
    return tied.empty() ? 0 : static_cast<int>(tied.front()) + 1;
}

int choosePixelFormat(std::span<const VisualDescription> visuals,
                      const PIXELFORMATDESCRIPTOR& request) {
    return choosePixelFormat(
        visuals.size(), request,
        [visuals](size_t index, unsigned) -> const VisualDescription& { return visuals[index]; });
}
