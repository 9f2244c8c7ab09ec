// Rewriting and drawing the plants, against OpenGL that does nothing. The
// expansion is held to a memcpy of its output; the drawing to the replay of
// the same calls for the same segments from an array.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

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
BENCHMARK(BM_Expand)->Arg(5)->Arg(7)->Unit(benchmark::kMicrosecond);

// The expansion alone, into the buffer, and the floor it is held to: one
// memcpy of as many bytes as it writes, between two buffers of that size.
void BM_ExpandIntoBuffer(benchmark::State& state) {
    const Plant plant(builtInAxiom(), 4, builtInRules, 0, 1.0f);  // allocates the buffer
    const auto depth = static_cast<int32_t>(state.range(0));
    const char* end = nullptr;
    for (auto _ : state) {
        benchmark::DoNotOptimize(end = plant.expand(expansionBuffer, builtInAxiom(), depth));
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = double(end - expansionBuffer);
}
BENCHMARK(BM_ExpandIntoBuffer)->Arg(7)->Unit(benchmark::kMicrosecond);

void BM_CopyExpansion(benchmark::State& state) {
    const Plant plant(builtInAxiom(), 4, builtInRules, 0, 1.0f);
    const auto depth = static_cast<int32_t>(state.range(0));
    const auto size =
        static_cast<size_t>(plant.expand(expansionBuffer, builtInAxiom(), depth) - expansionBuffer);
    std::vector<char> copy(size);
    for (auto _ : state) {
        std::memcpy(copy.data(), expansionBuffer, size);
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_CopyExpansion)->Arg(7)->Unit(benchmark::kMicrosecond);

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
