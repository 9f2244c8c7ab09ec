#pragma once

#ifdef _WIN32
#error "the backends stand in for Windows: there the system provides these calls"
#endif

#include <cstddef>
#include <span>
#include <vector>

#include "platform/common/backend.h"

// ChoosePixelFormat's closest match, over the descriptions a backend gives
// (choosePixelFormat in backend.h, over the backend's own).

// Whether the opaque TrueColor formats lead: one of them is a candidate with
// a depth buffer, so no other format can be chosen, whether a request wants
// a depth buffer or not. It reads only identity and candidacy.
bool opaqueTrueColorLeads(std::span<const PixelFormatDescription> formats);

// Descriptions as a choice reads them: part by part, by format.
class PixelFormatSource {
public:
    virtual size_t count() const = 0;
    // Format `index`'s description with at least `parts` read; parts not read are zero.
    virtual const PixelFormatDescription& describe(size_t index, unsigned parts) = 0;

protected:
    ~PixelFormatSource() = default;
};

// The pixel format closest to the request: the 1-based index of a candidate,
// 0 when there is none. A depth buffer, when asked for, comes first, then
// opaque, TrueColor and unrated formats; the request's bit counts are
// minimums, met where a format can and never a reason to refuse; among
// formats that meet them equally, those without unrequested extras (stencil,
// accumulation, auxiliary buffers, multisampling, stereo) come first, then
// the backend's order. Each key reads its part only of the formats still
// tied when it decides, so that one that loses early is never read further;
// it takes the candidacy the source already holds.
int closestPixelFormat(PixelFormatSource& source, const PIXELFORMATDESCRIPTOR& request);

// The backend's pixel formats, read part by part as choices need them.
class PixelFormatTable final : public PixelFormatSource {
public:
    // Reads every format's identity, and the candidacy of the opaque
    // TrueColor ones; the others' only if none of those leads
    // (opaqueTrueColorLeads), since otherwise no request can choose them.
    PixelFormatTable();

    size_t count() const override { return descriptions_.size(); }
    const PixelFormatDescription& describe(size_t index, unsigned parts) override;

    // Whether a window's context can use the 1-based format (read if need be).
    bool isCandidate(int pixelFormat);

    // Of each format, the parts read so far.
    const std::vector<unsigned>& partsRead() const { return partsRead_; }

private:
    std::vector<PixelFormatDescription> descriptions_;
    std::vector<unsigned> partsRead_;
};

// The desktop's table (desktop.h), read on first use.
PixelFormatTable& pixelFormatTable();
