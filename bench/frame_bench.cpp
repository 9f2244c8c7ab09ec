// One whole frame pass, scene and counter, against OpenGL that does nothing
// and the Win32 stand-in, which logs nothing while no call log is active.
#include <benchmark/benchmark.h>

#include "app/frame.h"
#include "app/globals.h"
#include "tests/doubles/recording_win32.h"

namespace {

void BM_RenderFrame(benchmark::State& state) {
    RecordingWin32 win32;
    win32.ticks = {5000};  // both plants drawing
    glContext.init(win32.window, true);
    glContext.buildFont(font, 32, 127);
    clientWidth = 256;
    clientHeight = 256;
    renderFrame(win32.window);  // warm up: the first frame also fits the camera
    for (auto _ : state) renderFrame(win32.window);
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
