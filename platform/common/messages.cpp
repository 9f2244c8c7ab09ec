// The thread's message queue: the messages of what the backends tell, the
// quit request, and a paint whenever nothing waits; dispatch to the window
// procedure; the clock.
#include <algorithm>

#include "platform/common/desktop.h"

namespace {

constexpr WPARAM kNoKeyState = 0;     // the program reads no MK_ flags
constexpr WPARAM kSizeRestored = 0;   // SIZE_RESTORED
constexpr WPARAM kSizeMinimized = 1;  // SIZE_MINIMIZED

bool onClientArea(const HWND__& window, int x, int y) {
    const SurfaceState state = backend::surfaceState(*window.surface);
    return x >= 0 && y >= 0 && x < state.width && y < state.height;
}

BOOL deliver(LPMSG msg, HWND window, Message message) {
    *msg = MSG{window, message.message, message.wParam, message.lParam, GetTickCount(), {0, 0}};
    return TRUE;
}

// WM_QUIT goes out once per request, as on Windows.
BOOL deliverQuit(LPMSG msg) {
    Desktop& state = desktop();
    state.quitPosted = false;
    deliver(msg, nullptr, {WM_QUIT, static_cast<WPARAM>(state.exitCode), 0});
    return FALSE;
}

// The first window to paint, in the order made; nullptr for none.
HWND firstWindowOnScreen() {
    return desktop().windows.findIf(
        [](const HWND__& w) { return backend::surfaceState(*w.surface).onScreen; });
}

bool foldsIntoLast(HWND window, Message message) {
    const auto& queue = desktop().queue;
    return message.message == WM_MOUSEMOVE && !queue.empty() && queue.back().first == window &&
           queue.back().second.message == WM_MOUSEMOVE;
}

}  // namespace

Message messageOf(WindowInput input) {
    const LPARAM point = packPoint(input.x, input.y);
    switch (input.kind) {
        case WindowInput::PointerMove: return {WM_MOUSEMOVE, kNoKeyState, point};
        case WindowInput::LeftDown: return {WM_LBUTTONDOWN, kNoKeyState, point};
        case WindowInput::LeftUp: return {WM_LBUTTONUP, kNoKeyState, point};
        case WindowInput::Resized: return {WM_SIZE, kSizeRestored, point};
        case WindowInput::Minimized: return {WM_SIZE, kSizeMinimized, packPoint(0, 0)};
        case WindowInput::Close: break;
    }
    return {WM_CLOSE, 0, 0};
}

void postInput(HWND window, WindowInput input) {
    const HWND known = findWindow(window);
    if (!known) return;
    const bool pointer = input.kind == WindowInput::PointerMove ||
                         input.kind == WindowInput::LeftDown || input.kind == WindowInput::LeftUp;
    if (pointer && input.captured) {
        input.x = std::clamp(input.x, 0, 0xFFFF);
        input.y = std::clamp(input.y, 0, 0xFFFF);
    } else if (pointer && !onClientArea(*known, input.x, input.y)) {
        return;
    }
    postMessage(known, messageOf(input));
}

// A size the window was last told of, sent or still queued, is dropped; a
// move right after a move of the same window replaces it.
void postMessage(HWND window, Message message) {
    const HWND known = findWindow(window);
    if (!known) return;
    if (message.message == WM_SIZE) {
        if (known->lastSize == message) return;
        known->lastSize = message;
    }
    auto& queue = desktop().queue;
    if (foldsIntoLast(known, message)) {
        queue.back().second.lParam = message.lParam;
        return;
    }
    queue.emplace_back(known, message);
}

// Every message of the thread: the window and filter arguments are not used.
// The quit request comes first, then what was posted, in order; with nothing
// waiting, WM_PAINT for the first window on the screen, since no window is
// ever validated. -1 when no input can ever come.
BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    if (!msg) return -1;
    Desktop& state = desktop();
    for (;;) {
        if (state.quitPosted) return deliverQuit(msg);
        if (!state.queue.empty()) {
            const auto [window, message] = state.queue.front();
            state.queue.pop_front();
            return deliver(msg, window, message);
        }
        const HWND painted = firstWindowOnScreen();
        switch (backend::waitForInput(painted != nullptr)) {
            case Wake::Input: break;
            case Wake::Paint:
                if (painted) return deliver(msg, painted, {WM_PAINT, 0, 0});
                break;
            case Wake::Lost: return -1;
        }
    }
}

// Key messages make no character messages: the program reads no keys.
BOOL WINAPI TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    const HWND window = msg ? findWindow(msg->hwnd) : nullptr;
    if (!window) return 0;
    return window->procedure(window, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void WINAPI PostQuitMessage(int exitCode) {
    desktop().quitPosted = true;
    desktop().exitCode = exitCode;
}

// Milliseconds modulo 2^32.
DWORD WINAPI GetTickCount() {
    return static_cast<DWORD>(backend::milliseconds());
}
