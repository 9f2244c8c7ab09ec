// Records two frames of the program as the recording doubles see them: its
// first frame, and a later one with both plants drawn. Each goes to its file
// as the words of bench/frame_calls.h, for the replays to read.
//
//   record_frames FIRST_FRAME_FILE LATER_FRAME_FILE
#include <cstdio>
#include <vector>

#include "app/frame.h"
#include "bench/frame_calls.h"
#include "bench/frame_encoding.h"
#include "tests/doubles/program_window.h"

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
    // The clock at window creation and at the first frame, then at the later one.
    const HWND window = makeProgramWindow(1000);
    if (!window || !recordFrame(window, argv[1])) return 1;
    fake::backend().now = 1000 + kLaterFrameAfterFirstMs;
    return recordFrame(window, argv[2]) ? 0 : 1;
}
