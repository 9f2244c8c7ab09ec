#pragma once

// What the two bare start-up floors share (startup_floor_x11.cpp natively,
// startup_floor_windows.cpp on Windows): each opens a window of the
// program's size, makes a double-buffered context, builds the same font from
// the same system font, replays the program's first frame from its recorded
// calls (record_frames) and presents it. It grows no plants and walks no
// turtle.
//
//   startup_floor FIRST_FRAME_FILE

#include <cstdio>
#include <string>

#include "bench/bench_clock.h"
#include "bench/frame_calls.h"

inline constexpr int kFloorClientSize = 256;
inline constexpr int kFloorFirstChar = 32;  // the program's font: codes 32 to 127
inline constexpr int kFloorCharCount = 96;

// Reads the recording. That is no part of the floor: it prints "load_us"
// with the microseconds it took, for the timing to leave out.
inline bool loadFirstFrame(const char* path, RecordedFrame& frame) {
    const double start = nowMicroseconds();
    std::string error;
    if (!frame.load(path, error)) {
        std::fprintf(stderr, "startup_floor: no recorded calls in %s: %s\n", path, error.c_str());
        return false;
    }
    std::printf("load_us %.0f\n", microsecondsSince(start));
    std::fflush(stdout);
    return true;
}
