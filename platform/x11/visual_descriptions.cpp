#include "platform/x11/visual_descriptions.h"

#include <utility>

VisualDescriptions::VisualDescriptions(std::vector<VisualDescription> known, ReadPart readPart)
    : descriptions_(std::move(known)),
      partsRead_(descriptions_.size(), 0),
      readPart_(std::move(readPart)) {
    for (const bool opaqueTrueColor : {true, false}) {
        if (!opaqueTrueColor && opaqueTrueColorLeads(descriptions_)) break;
        for (size_t i = 0; i < descriptions_.size(); ++i) {
            const VisualDescription& description = descriptions_[i];
            if ((description.opaque && description.trueColor) == opaqueTrueColor)
                describe(i, kCandidacyPart);
        }
    }
}

const VisualDescription& VisualDescriptions::describe(size_t index, unsigned parts) {
    VisualDescription& description = descriptions_[index];
    const unsigned unread = parts & ~partsRead_[index];
    for (unsigned part = 1; part & kAllParts; part <<= 1) {
        if (unread & part) readPart_(index, part, description);
    }
    partsRead_[index] |= parts;
    return description;
}

int VisualDescriptions::choose(const PIXELFORMATDESCRIPTOR& request) {
    return choosePixelFormat(descriptions_.size(), request,
                             [this](size_t index, unsigned parts) -> const VisualDescription& {
                                 return describe(index, parts);
                             });
}
