#pragma once

#include <vector>

#include "platform/web/canvas_device.h"

// A WebGlDevice that keeps what it was asked to do.
struct RecordingDevice final : WebGlDevice {
    struct Draw {
        std::vector<QuadVertex> vertices;
        Viewport viewport;
        BlendState blend;
    };
    struct Clear {
        float r, g, b, a;
        size_t drawsBefore;
    };
    std::vector<Draw> draws;
    std::vector<Clear> clears;

    void clear(float r, float g, float b, float a) override {
        clears.push_back({r, g, b, a, draws.size()});
    }
    void drawQuads(const QuadVertex* vertices, size_t count, Viewport viewport,
                   BlendState blend) override {
        draws.push_back({{vertices, vertices + count}, viewport, blend});
    }

    // Every vertex drawn, in order.
    std::vector<QuadVertex> allVertices() const {
        std::vector<QuadVertex> all;
        for (const Draw& draw : draws)
            all.insert(all.end(), draw.vertices.begin(), draw.vertices.end());
        return all;
    }
};

// Where a recorded vertex lands in the window.
inline WindowPoint windowOf(const QuadVertex& v, Viewport viewport) {
    return toWindow({v.x, v.y, v.z, v.w}, viewport);
}
