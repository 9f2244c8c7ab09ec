// Prints the OpenGL calls of one frame of the program, as the recording
// doubles see them, in the neutral text of stream_text.h: the first frame
// (every call from the start up to the first swap), or a later one, drawn
// AFTER_MS after the first. The real programs' streams are compared with it.
//
//   record_stream first
//   record_stream later AFTER_MS
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/globals.h"
#include "tests/doubles/fake_backend.h"
#include "tests/doubles/test_win32.h"
#include "tests/stream/stream_text.h"

namespace {

// The clock at the window's creation and at the first frame.
constexpr DWORD kStartTicks = 1000;

int usage() {
    std::fprintf(stderr, "usage: record_stream first | record_stream later AFTER_MS\n");
    return 2;
}

// AFTER_MS as a whole number of milliseconds, or -1.
long afterMs(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0 && value <= 0x7FFFFFFF ? value : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool first = argc == 2 && std::strcmp(argv[1], "first") == 0;
    const bool later = argc == 3 && std::strcmp(argv[1], "later") == 0;
    const long after = later ? afterMs(argv[2]) : 0;
    if ((!first && !later) || after < 0) return usage();

    resetWin32();
    fake::Backend& backend = fake::backend();
    backend.now = kStartTicks;
    // The window's first paint draws the first frame; one more paint, after
    // the clock moved on, the later one; then the window is closed.
    if (later) {
        backend.input.push_back(fake::ClockAt{kStartTicks + static_cast<uint64_t>(after)});
        backend.input.push_back(fake::Posted{nullptr, {WM_PAINT, 0, 0}});
    }
    backend.input.push_back(fake::Posted{nullptr, {WM_CLOSE, 0, 0}});
    CallLog log;
    WinMain(nullptr, nullptr, nullptr, SW_SHOW);

    const std::vector<Calls> frames = openGlFrames(log.calls);
    const size_t wanted = later ? 1 : 0;
    if (frames.size() <= wanted) {
        std::fprintf(stderr, "record_stream: the program drew %zu frames\n", frames.size());
        return 1;
    }
    const auto firstList = static_cast<uint32_t>(font.listBase + font.firstChar);
    const std::string text = streamText(frames[wanted], firstList);
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
