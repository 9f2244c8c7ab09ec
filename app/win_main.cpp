// The program's entry point.
#include "app/exit_code.h"
#include "app/main_window.h"
#include "platform/win32.h"

namespace {

constexpr int kClientWidth = 256;
constexpr int kClientHeight = 256;

// Dispatches messages until the quit request; returns its exit code.
int runMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(msg.wParam);
        if (result == -1) continue;  // an error: no message to dispatch
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const ATOM windowClass = registerWindowClass(instance);
    const HWND window =
        createMainWindow(windowClass, instance, kClientWidth, kClientHeight, "vell!");
    if (!window) return kExitFailure;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);  // paints the first frame before the loop
    return runMessageLoop();
}
