#include "app/window_procedure.h"

#include "app/error.h"
#include "app/exit_code.h"
#include "app/frame.h"
#include "app/globals.h"
#include "scene/drag.h"

namespace {

constexpr int32_t kFirstFontChar = 32;  // the printable ASCII codes, 96 of them
constexpr int32_t kLastFontChar = 127;

// The creation sequence: the frame clock starts, the rendering context and
// the font are made. A failed context ends the program through its quit
// request, after the font build, which then has no effect.
void createRendering(HWND window) {
    startTime = TickTime{GetTickCount()};
    if (!glContext.init(window, true)) {
        showError("OpenGL context init failed");
        PostQuitMessage(kExitFailure);
    }
    glContext.buildFont(font, kFirstFontChar, kLastFontChar);
}

void resizeClient(int width, int height) {
    clientWidth = width;
    clientHeight = height;
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The two 16-bit halves, unsigned: a set high bit never makes them negative.
    const int x = static_cast<int>(lParam & 0xFFFF);
    const int y = static_cast<int>((lParam >> 16) & 0xFFFF);
    switch (message) {
        case WM_CREATE: createRendering(window); return 0;
        case WM_SIZE: resizeClient(x, y); return 0;
        case WM_PAINT: renderFrame(window); return 0;  // never validated: paints never stop
        case WM_CLOSE: PostQuitMessage(kExitSuccess); return 0;  // the window is left alive
        case WM_MOUSEMOVE: mouseMove(x, y); return 0;
        case WM_LBUTTONDOWN: mouseDown(kLeftButton, x, y); return 0;
        case WM_LBUTTONUP: mouseUp(kLeftButton, x, y); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
