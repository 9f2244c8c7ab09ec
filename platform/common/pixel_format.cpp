#include "platform/common/pixel_format.h"

#include <algorithm>
#include <array>
#include <optional>

#include "platform/common/desktop.h"

namespace {

// One key of the distance between a format and the request, smaller being
// closer: the part of a description it reads (0: only what every candidate
// has), and its value, of the format and of what the request wants.
struct Key {
    unsigned part;
    int (*value)(const PixelFormatDescription& format, int wanted);
    int wanted;
    bool sameForAll;  // nothing to read: a count not asked for is short in no format
};

using F = PixelFormatDescription;

template <int F::*field>
int shortfall(const F& format, int wanted) {
    return std::max(wanted - format.*field, 0);
}

template <int F::*field>
int excess(const F& format, int wanted) {
    return std::max(format.*field - wanted, 0);
}

template <unsigned part, int F::*field>
Key shortfallKey(int wanted) {
    return {part, shortfall<field>, wanted, wanted <= 0};
}

template <unsigned part, int F::*field>
Key excessKey(int wanted) {
    return {part, excess<field>, wanted, false};
}

int accumBits(const PIXELFORMATDESCRIPTOR& request) {
    return std::max<int>(request.cAccumBits, request.cAccumRedBits + request.cAccumGreenBits +
                                                 request.cAccumBlueBits + request.cAccumAlphaBits);
}

// The keys, most important first.
std::array<Key, 14> distanceKeys(const PIXELFORMATDESCRIPTOR& request) {
    const int accum = accumBits(request);
    return {{
        // A context asked to have a depth buffer must get one, whatever else.
        {0, [](const F& f, int wanted) -> int { return wanted > 0 && f.depthBits == 0; },
         request.cDepthBits, false},
        {0, [](const F& f, int) -> int { return !f.opaque; }, 0, false},
        {0, [](const F& f, int) -> int { return !f.trueColor; }, 0, false},
        {kRatingPart, [](const F& f, int) -> int { return f.slow; }, 0, false},
        shortfallKey<kColorPart, &F::colorBits>(request.cColorBits),
        shortfallKey<0, &F::depthBits>(request.cDepthBits),
        shortfallKey<kAlphaPart, &F::alphaBits>(request.cAlphaBits),
        shortfallKey<kStencilPart, &F::stencilBits>(request.cStencilBits),
        shortfallKey<kAccumPart, &F::accumBits>(accum),
        shortfallKey<kAuxPart, &F::auxBuffers>(request.cAuxBuffers),
        {kExtrasPart, [](const F& f, int) -> int { return f.stereo || f.samples > 0; }, 0, false},
        excessKey<kStencilPart, &F::stencilBits>(request.cStencilBits),
        excessKey<kAccumPart, &F::accumBits>(accum),
        excessKey<kAuxPart, &F::auxBuffers>(request.cAuxBuffers),
    }};
}

// Keeps of `tied` the formats closest on the key, in the backend's order.
void narrow(std::vector<size_t>& tied, const Key& key, PixelFormatSource& source) {
    auto value = [&](size_t index) {
        return key.value(source.describe(index, key.part), key.wanted);
    };
    int closest = value(tied.front());
    for (const size_t index : tied) closest = std::min(closest, value(index));
    std::erase_if(tied, [&](size_t index) { return value(index) != closest; });
}

}  // namespace

bool isPixelFormatCandidate(const PixelFormatDescription& format) {
    return format.openGl && format.rgba && format.doubleBuffered && format.mainPlane;
}

bool opaqueTrueColorLeads(std::span<const PixelFormatDescription> formats) {
    return std::any_of(formats.begin(), formats.end(), [](const PixelFormatDescription& format) {
        return format.opaque && format.trueColor && isPixelFormatCandidate(format) &&
               format.depthBits > 0;
    });
}

int closestPixelFormat(PixelFormatSource& source, const PIXELFORMATDESCRIPTOR& request) {
    std::vector<size_t> tied;
    tied.reserve(source.count());
    for (size_t i = 0; i < source.count(); ++i) {
        if (isPixelFormatCandidate(source.describe(i, 0))) tied.push_back(i);
    }
    // Key by key, until one format is left; the first of those left wins.
    for (const Key& key : distanceKeys(request)) {
        if (tied.size() <= 1) break;
        if (!key.sameForAll) narrow(tied, key, source);
    }
    return tied.empty() ? 0 : static_cast<int>(tied.front()) + 1;
}

PixelFormatTable::PixelFormatTable()
    : descriptions_(backend::pixelFormatCount()), partsRead_(descriptions_.size(), 0) {
    for (size_t i = 0; i < descriptions_.size(); ++i) describe(i, kIdentityPart);
    for (const bool opaqueTrueColor : {true, false}) {
        if (!opaqueTrueColor && opaqueTrueColorLeads(descriptions_)) break;
        for (size_t i = 0; i < descriptions_.size(); ++i) {
            const PixelFormatDescription& description = descriptions_[i];
            if ((description.opaque && description.trueColor) == opaqueTrueColor)
                describe(i, kCandidacyPart);
        }
    }
}

const PixelFormatDescription& PixelFormatTable::describe(size_t index, unsigned parts) {
    PixelFormatDescription& description = descriptions_[index];
    const unsigned unread = parts & ~partsRead_[index];
    for (unsigned part = 1; part & kAllParts; part <<= 1) {
        if (unread & part)
            backend::describePixelFormat(index, static_cast<DescriptionPart>(part), description);
    }
    partsRead_[index] |= parts;
    return description;
}

bool PixelFormatTable::isCandidate(int pixelFormat) {
    if (pixelFormat < 1 || static_cast<size_t>(pixelFormat) > count()) return false;
    return isPixelFormatCandidate(describe(static_cast<size_t>(pixelFormat - 1), kCandidacyPart));
}

PixelFormatTable& pixelFormatTable() {
    std::optional<PixelFormatTable>& table = desktop().pixelFormats;
    if (!table) table.emplace();
    return *table;
}

int choosePixelFormat(const PIXELFORMATDESCRIPTOR& request) {
    return closestPixelFormat(pixelFormatTable(), request);
}
