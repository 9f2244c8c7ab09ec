#include "platform/x11/pixel_format_choice.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// How far a visual is from the request, most important first; smaller is closer.
using Distance = std::array<int, 14>;

int shortfall(int wanted, int have) {
    return std::max(wanted - have, 0);
}

int excess(int wanted, int have) {
    return std::max(have - wanted, 0);
}

int accumBits(const PIXELFORMATDESCRIPTOR& request) {
    return std::max<int>(request.cAccumBits, request.cAccumRedBits + request.cAccumGreenBits +
                                                 request.cAccumBlueBits + request.cAccumAlphaBits);
}

// The first keys of a distance, which no later one outweighs. Of the
// request they read only whether it asks for a depth buffer.
using LeadingKeys = std::array<int, 3>;

LeadingKeys leadingKeys(const VisualDescription& visual, bool depthWanted) {
    // A context asked to have a depth buffer must get one, whatever else.
    return {depthWanted && visual.depthBits == 0, !visual.opaque, !visual.trueColor};
}

Distance distance(const VisualDescription& visual, const PIXELFORMATDESCRIPTOR& request) {
    const int accum = accumBits(request);
    const LeadingKeys leading = leadingKeys(visual, request.cDepthBits > 0);
    return {leading[0],
            leading[1],
            leading[2],
            visual.slow,
            shortfall(request.cColorBits, visual.colorBits),
            shortfall(request.cDepthBits, visual.depthBits),
            shortfall(request.cAlphaBits, visual.alphaBits),
            shortfall(request.cStencilBits, visual.stencilBits),
            shortfall(accum, visual.accumBits),
            shortfall(request.cAuxBuffers, visual.auxBuffers),
            visual.stereo || visual.samples > 0,
            excess(request.cStencilBits, visual.stencilBits),
            excess(accum, visual.accumBits),
            excess(request.cAuxBuffers, visual.auxBuffers)};
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

int choosePixelFormat(std::span<const VisualDescription> visuals,
                      const PIXELFORMATDESCRIPTOR& request) {
    int best = 0;
    Distance bestDistance{};
    for (size_t i = 0; i < visuals.size(); ++i) {
        if (!isPixelFormatCandidate(visuals[i])) continue;
        const Distance d = distance(visuals[i], request);
        if (best == 0 || d < bestDistance) {
            best = static_cast<int>(i) + 1;
            bestDistance = d;
        }
    }
    return best;
}

std::vector<bool> choosableVisuals(std::span<const VisualDescription> visuals) {
    std::vector<bool> choosable(visuals.size(), false);
    for (const bool depthWanted : {false, true}) {
        std::optional<LeadingKeys> best;
        for (const VisualDescription& visual : visuals) {
            if (!isPixelFormatCandidate(visual)) continue;
            const LeadingKeys keys = leadingKeys(visual, depthWanted);
            if (!best || keys < *best) best = keys;
        }
        for (size_t i = 0; i < visuals.size(); ++i) {
            if (isPixelFormatCandidate(visuals[i]) && leadingKeys(visuals[i], depthWanted) == best)
                choosable[i] = true;
        }
    }
    return choosable;
}
