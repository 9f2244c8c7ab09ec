// Records two frames of the program as the recording doubles see them: its
// first frame, and a later one with both plants drawn. Each goes to its file
// as the words of bench/frame_calls.h, for the replays to read.
//
//   record_frames FIRST_FRAME_FILE LATER_FRAME_FILE
#include <cstdio>
#include <vector>

#include "app/frame.h"
#include "app/main_window.h"
#include "bench/frame_calls.h"
#include "bench/frame_encoding.h"
#include "tests/doubles/recording_win32.h"

namespace {

bool recordFrame(HWND window, const char* path) {
    CallLog log;
    renderFrame(window);
    std::vector<uint32_t> words;
    std::string error;
    if (!encodeCalls(log.calls, words, error)) {
        std::fprintf(stderr, "record_frames: no replay for %s\n", error.c_str());
        return false;
    }
    FILE* file = std::fopen(path, "wb");
    const bool written =
        file && std::fwrite(words.data(), sizeof words[0], words.size(), file) == words.size();
    if (!file || std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "record_frames: cannot write %s\n", path);
        return false;
    }
    std::printf("%s: %zu calls, %zu words\n", path, log.calls.size(), words.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: record_frames FIRST_FRAME_FILE LATER_FRAME_FILE\n");
        return 2;
    }
    RecordingWin32 win32;
    // The clock at window creation, at the first frame, and at the later one.
    win32.ticks = {1000, 1000, 1000 + kLaterFrameAfterFirstMs};
    const HWND window = createMainWindow(registerWindowClass(nullptr), nullptr, 256, 256, "vell!");
    if (!window) return 1;
    return recordFrame(window, argv[1]) && recordFrame(window, argv[2]) ? 0 : 1;
}
