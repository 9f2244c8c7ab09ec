// One whole frame pass, scene and counter, against OpenGL that does nothing
// and the test Win32, which logs nothing while no call log is active.
#include <benchmark/benchmark.h>

#include "app/frame.h"
#include "app/globals.h"
#include "tests/doubles/program_window.h"

namespace {

void BM_RenderFrame(benchmark::State& state) {
    const HWND window = makeProgramWindow(0);
    fake::backend().now = 5000;  // both plants drawing
    renderFrame(window);         // warm up: the first frame also fits the camera
    for (auto _ : state) renderFrame(window);
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
