// Rewriting and drawing the plants, against OpenGL that does nothing. The
// replay issues the same calls for the same segments from an array: the
// floor that the turtle's walk is measured against.
#include <benchmark/benchmark.h>

#include "bench/segments.h"
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
        replay(segments);
    }
    state.counters["segments"] = double(segments.size());
}
BENCHMARK(BM_ReplayDepth5)->Unit(benchmark::kMicrosecond);

}  // namespace
