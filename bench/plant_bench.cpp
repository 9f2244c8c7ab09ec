// Rewriting and drawing the plants, against OpenGL that does nothing. The
// replay issues the same calls for the same segments from an array: the
// floor that the turtle's walk is measured against.
#include <benchmark/benchmark.h>

#include <vector>

#include "plant/plant.h"
#include "plant/rule_set.h"
#include "platform/opengl.h"

namespace {

void BM_Expand(benchmark::State& state) {
    const auto depth = static_cast<int32_t>(state.range(0));
    size_t symbols = 0;
    for (auto _ : state) {
        Plant plant(builtInAxiom(), 4, builtInRules, depth, 1.0f);
        symbols += std::char_traits<char>::length(plant.text);
        benchmark::DoNotOptimize(plant.text);
        free(const_cast<char*>(plant.text));
    }
    state.counters["symbols/s"] = benchmark::Counter(double(symbols), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Expand)->Arg(5)->Arg(7)->Unit(benchmark::kMillisecond);

struct Segment {
    float width, r, g, b;
    Vec3 from, to;
};

// The segments of the plant's walk at age 0, found by walking the text with
// a stack instead of recursion (stems and leaves only: the built-in rules
// make no "L" or "^").
std::vector<Segment> segmentsOf(const Plant& plant) {
    const Rotation bend = Rotation::byDegrees(2.5f), left = Rotation::byDegrees(41.0f);
    std::vector<TurtleState> stack{{{0, 0, 0}, {0, 1, 0}}};
    std::vector<Segment> segments;
    for (const char* c = plant.text; *c; ++c) {
        TurtleState& t = stack.back();
        switch (*c) {
            case 'T':
            case 't':
            case 'S': {
                const Vec3 to = t.position + t.heading * plant.stepLength;
                segments.push_back(*c == 'S' ? Segment{2.0f, 0.3f, 1.0f, 0.3f, t.position, to}
                                             : Segment{2.0f, 0.7f, 0.6f, 0.5f, t.position, to});
                t.position = to;
                break;
            }
            case '.': t.heading = rotateX(t.heading, bend); break;
            case '<': t.heading = rotateY(t.heading, left); break;
            case '>': t.heading = rotateY(t.heading, left.reversed()); break;
            case '[': stack.push_back(t); break;
            case ']': stack.pop_back(); break;
        }
    }
    return segments;
}

void BM_DrawDepth5(benchmark::State& state) {
    Plant plant(builtInAxiom(), 4, builtInRules, 5, 1.0f);
    const FrameInfo frame{Duration{0}, nullptr};
    plant.draw(frame);  // warm up: the first pass does not count
    for (auto _ : state) plant.draw(frame);
    state.counters["segments"] = double(segmentsOf(plant).size());
}
BENCHMARK(BM_DrawDepth5)->Unit(benchmark::kMicrosecond);

void BM_ReplayDepth5(benchmark::State& state) {
    const Plant plant(builtInAxiom(), 4, builtInRules, 5, 1.0f);
    const std::vector<Segment> segments = segmentsOf(plant);
    for (auto _ : state) {
        glDisable(GL_CULL_FACE);
        glPolygonMode(GL_FRONT, GL_FILL);
        for (const Segment& s : segments) {
            glLineWidth(s.width);
            glColor3f(s.r, s.g, s.b);
            glBegin(GL_LINES);
            glVertex3f(s.from.x, s.from.y, s.from.z);
            glVertex3f(s.to.x, s.to.y, s.to.z);
            glEnd();
        }
    }
    state.counters["segments"] = double(segments.size());
}
BENCHMARK(BM_ReplayDepth5)->Unit(benchmark::kMicrosecond);

}  // namespace
