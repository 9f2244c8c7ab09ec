// The bare start-up floor on Windows (bench/startup_floor.h): Win32 and
// WGL, through the program's rendering context code.
#include "bench/startup_floor.h"
#include "bench/win32_replay_target.h"
#include "gl/bitmap_font.h"
#include "gl/gl_context.h"

namespace {

HWND openWindow(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "QuennFloor";
    const ATOM atom = RegisterClassExA(&windowClass);
    RECT frame{0, 0, kFloorClientSize - 1, kFloorClientSize - 1};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, MAKEINTATOM(atom), "floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                           frame.right - frame.left + 1, frame.bottom - frame.top + 1, nullptr,
                           nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    RecordedFrame firstFrame;
    if (!loadFirstFrame(commandLine, firstFrame)) return 1;

    const HWND window = openWindow(instance);
    GlContext context;
    if (!window || !context.init(window, true)) return 1;
    BitmapFont font;
    context.buildFont(font, kFloorFirstChar, kFloorFirstChar + kFloorCharCount - 1);
    ShowWindow(window, SW_SHOW);
    Win32ReplayTarget target(GetDC(window), context.renderContext, font.listBase);
    firstFrame.replay(target);
    return 0;
}
