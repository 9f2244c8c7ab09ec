// The bare start-up floor on Windows (bench/startup_floor.h): Win32 and
// WGL, through the program's rendering context code. Once the frame is
// presented it keeps its window until the window is closed, as the program
// does, so that a watcher outside (under Wine) sees the frame.
#include "bench/startup_floor.h"
#include "bench/win32_replay_target.h"
#include "gl/bitmap_font.h"
#include "gl/gl_context.h"

namespace {

LRESULT CALLBACK floorWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND openWindow(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = floorWindowProcedure;
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

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
