#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

#include "platform/web/canvas_device.h"
#include "platform/web/gl_machine.h"

// A WebGlDevice (or WebGlPage) that keeps what it was asked to do.
template <typename Device>
struct Recording : Device {
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
using RecordingDevice = Recording<WebGlDevice>;

// Vertices drawn alike: every coordinate and the colour.
inline bool operator==(const QuadVertex& a, const QuadVertex& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w && a.rgba == b.rgba;
}

// Where a recorded vertex lands in the window.
inline WindowPoint windowOf(const QuadVertex& v, Viewport viewport) {
    return toWindow({v.x, v.y, v.z, v.w}, viewport);
}

// One primitive of `mode` through `vertices`.
inline void drawPrimitive(GlMachine& gl, GLenum mode,
                          std::initializer_list<std::array<float, 3>> vertices) {
    gl.begin(mode);
    for (const auto& [x, y, z] : vertices) gl.vertex(x, y, z);
    gl.end();
}

// The web layer's OpenGL drawing on a recording device.
class RecordedGl : public ::testing::Test {
protected:
    void setViewport(Viewport view) { gl.viewport(view.x, view.y, view.width, view.height); }

    RecordingDevice device;
    GlMachine gl{device};
};
