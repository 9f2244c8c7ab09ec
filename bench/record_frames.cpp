// Records two frames of the program as the recording doubles see them: its
// first frame, and a later one with both plants drawn. Each goes to its file
// as the calls' text (tests/stream/stream_text.h), for the replays to read.
//
//   record_frames FIRST_FRAME_FILE LATER_FRAME_FILE
#include <cstdio>
#include <string>

#include "app/frame.h"
#include "app/globals.h"
#include "bench/frame_calls.h"
#include "tests/doubles/program_window.h"
#include "tests/stream/stream_text.h"

namespace {

bool recordFrame(HWND window, const char* path) {
    CallLog log;
    renderFrame(window);
    std::string error;
    if (RecordedFrame(log.calls, error).empty()) {
        std::fprintf(stderr, "record_frames: no replay for %s\n", error.c_str());
        return false;
    }
    const std::string text =
        streamText(log.calls, static_cast<uint32_t>(font.listBase + font.firstChar));
    FILE* file = std::fopen(path, "wb");
    const bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (!file || std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "record_frames: cannot write %s\n", path);
        return false;
    }
    std::printf("%s: %zu calls, %zu bytes\n", path, log.calls.size(), text.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: record_frames FIRST_FRAME_FILE LATER_FRAME_FILE\n");
        return 2;
    }
    // The clock at window creation and at the first frame, then at the later one.
    const HWND window = makeProgramWindow(1000);
    if (!window || !recordFrame(window, argv[1])) return 1;
    fake::backend().now = 1000 + kLaterFrameAfterFirstMs;
    return recordFrame(window, argv[2]) ? 0 : 1;
}
