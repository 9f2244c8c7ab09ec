#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <cstddef>
#include <functional>
#include <vector>

#include "platform/x11/pixel_format_choice.h"

// What is known of a screen's visuals, read part by part as choices need it:
// every attribute is a query of its own, and a server may have hundreds of
// visuals.
class VisualDescriptions {
public:
    // Reads one DescriptionPart of visual `index` into `description`.
    using ReadPart =
        std::function<void(size_t index, unsigned part, VisualDescription& description)>;

    // `known` holds what each visual's own record tells: its opacity and
    // class. Reads the candidacy of the opaque TrueColor visuals, and of the
    // others only if none of those leads (opaqueTrueColorLeads), since
    // otherwise no request can choose them.
    VisualDescriptions(std::vector<VisualDescription> known, ReadPart readPart);

    // Visual `index`'s description, its `parts` read first where not yet read.
    const VisualDescription& describe(size_t index, unsigned parts);

    // The pixel format closest to the request (choosePixelFormat).
    int choose(const PIXELFORMATDESCRIPTOR& request);

    // Of each visual, the DescriptionParts read so far.
    const std::vector<unsigned>& partsRead() const { return partsRead_; }

private:
    std::vector<VisualDescription> descriptions_;
    std::vector<unsigned> partsRead_;
    ReadPart readPart_;
};
