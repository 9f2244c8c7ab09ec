// The program's frame pass against its floor: the replay of the same frame's
// recorded calls (record_frames) from memory, through the same OpenGL, on
// the program's own window and rendering context. Rounds alternate which of
// the two goes first; each times a batch of frames of both.
//
//   frame_floor LATER_FRAME_FILE ROUNDS FRAMES_PER_ROUND
//
// Prints "name value" lines: the median time of a frame pass and of a
// replay, the median, lowest and highest ratio of the two over the rounds.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frame.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "bench/bench_clock.h"
#include "bench/win32_replay_target.h"
#include "scene/scene.h"

namespace {

// Microseconds a frame, over `frames` runs of `draw`.
template <typename Draw>
double timePerFrame(int frames, Draw draw) {
    const double start = nowMicroseconds();
    for (int i = 0; i < frames; ++i) draw();
    return microsecondsSince(start) / frames;
}

// Sets the frame clock so that the next pass is drawn at the recorded frame's
// time. The plants sway with the clock, and what their lines cost to
// rasterise sways with them (by up to 14% over a cycle): timed at another
// time, the pass and the replay would not draw the same picture.
void atRecordedTime() {
    const uint32_t recorded =
        currentScene->plant1->beginTime.milliseconds + kLaterFrameAfterFirstMs;
    startTime = TickTime{GetTickCount() - recorded};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    char path[1024];
    int rounds = 0, frames = 0;
    RecordedFrame recorded;
    if (std::sscanf(commandLine, "%1023s %d %d", path, &rounds, &frames) != 3 || rounds < 1 ||
        frames < 1) {
        std::fprintf(stderr, "usage: frame_floor LATER_FRAME_FILE ROUNDS FRAMES_PER_ROUND\n");
        return 2;
    }
    std::string error;
    if (!recorded.load(path, error)) {
        std::fprintf(stderr, "frame_floor: no recorded calls in %s: %s\n", path, error.c_str());
        return 1;
    }
    const HWND window =
        createMainWindow(registerWindowClass(instance), instance, 256, 256, "vell!");
    if (!window || !glContext.renderContext) return 1;
    ShowWindow(window, SW_SHOW);

    // Frames until the second plant shows and for a while after: warm-up.
    const double start = nowMicroseconds();
    while (microsecondsSince(start) < 2.5e6) renderFrame(window);

    Win32ReplayTarget target(GetDC(window), glContext.renderContext, font.listBase);
    const auto pass = [&] {
        atRecordedTime();
        renderFrame(window);
    };
    const auto replay = [&] { recorded.replay(target); };
    std::vector<double> passTimes, replayTimes, ratios;
    for (int round = 0; round < rounds; ++round) {
        double passTime, replayTime;
        if (round % 2 == 0) {
            passTime = timePerFrame(frames, pass);
            replayTime = timePerFrame(frames, replay);
        } else {
            replayTime = timePerFrame(frames, replay);
            passTime = timePerFrame(frames, pass);
        }
        passTimes.push_back(passTime);
        replayTimes.push_back(replayTime);
        ratios.push_back(passTime / replayTime);
    }
    std::printf("frame_us %.1f\n", median(passTimes));
    std::printf("replay_us %.1f\n", median(replayTimes));
    std::printf("ratio_median %.3f\n", median(ratios));
    std::printf("ratio_min %.3f\n", *std::min_element(ratios.begin(), ratios.end()));
    std::printf("ratio_max %.3f\n", *std::max_element(ratios.begin(), ratios.end()));
    return 0;
}
