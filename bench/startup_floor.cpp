// The floor of the program's start-up: a bare program that opens a window of
// the same size, makes the same rendering context, builds the same font and
// replays the program's first frame from its recorded calls (record_frames),
// then presents it. It grows no plants and walks no turtle.
//
//   startup_floor FIRST_FRAME_FILE
//
// Reading the recording is no part of the floor: it prints "load_us" with the
// microseconds it took, for the timing to leave out.
#include <cstdio>

#include "bench/bench_clock.h"
#include "bench/frame_calls.h"
#include "gl/bitmap_font.h"
#include "gl/gl_context.h"

namespace {

constexpr int kClientSize = 256;

HWND openWindow(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "QuennFloor";
    const ATOM atom = RegisterClassExA(&windowClass);
    RECT frame{0, 0, kClientSize - 1, kClientSize - 1};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, MAKEINTATOM(atom), "floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                           frame.right - frame.left + 1, frame.bottom - frame.top + 1, nullptr,
                           nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const double loadStart = nowMicroseconds();
    RecordedFrame firstFrame;
    if (!firstFrame.load(commandLine)) {
        std::fprintf(stderr, "startup_floor: no recorded calls in %s\n", commandLine);
        return 1;
    }
    std::printf("load_us %.0f\n", microsecondsSince(loadStart));
    std::fflush(stdout);

    const HWND window = openWindow(instance);
    GlContext context;
    if (!window || !context.init(window, true)) return 1;
    BitmapFont font;
    context.buildFont(font, 32, 127);
    ShowWindow(window, SW_SHOW);
    const HDC deviceContext = GetDC(window);
    firstFrame.replay(deviceContext, context.renderContext, font.listBase);
    ReleaseDC(window, deviceContext);
    return 0;
}
