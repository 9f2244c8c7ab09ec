// The message loop's calls: input from the canvas, sizes and the close
// control from the page, and a paint at every animation frame.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "platform/web/page.h"

namespace {

constexpr unsigned short kLeftButton = 0;  // MouseEvent.button of the primary button
constexpr const char* kCanvas = "#quenn";

MessageQueue& queue() {
    static MessageQueue* messages = new MessageQueue;
    return *messages;
}

BOOL deliver(LPMSG msg, UINT message, WPARAM wParam, LPARAM lParam) {
    *msg = MSG{message == WM_QUIT ? nullptr : pageWindow(),
               message,
               wParam,
               lParam,
               GetTickCount(),
               {0, 0}};
    return message == WM_QUIT ? FALSE : TRUE;
}

// Client coordinates in device pixels, as the canvas's own pixels count.
LPARAM clientPoint(const EmscriptenMouseEvent& event) {
    const double ratio = emscripten_get_device_pixel_ratio();
    return packPoint(static_cast<int>(event.targetX * ratio),
                     static_cast<int>(event.targetY * ratio));
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* event, void*) {
    UINT message = WM_MOUSEMOVE;
    if (type != EMSCRIPTEN_EVENT_MOUSEMOVE) {
        if (event->button != kLeftButton) return EM_FALSE;
        message = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    }
    queue().post({message, clientPoint(*event)});
    quennPageWake();
    return EM_TRUE;
}

}  // namespace

// Only the canvas listens: a release or move outside it does not arrive,
// as without capture on Windows.
void listenToCanvas() {
    emscripten_set_mousedown_callback(kCanvas, nullptr, EM_TRUE, onMouse);
    emscripten_set_mouseup_callback(kCanvas, nullptr, EM_TRUE, onMouse);
    emscripten_set_mousemove_callback(kCanvas, nullptr, EM_TRUE, onMouse);
}

MessageQueue& pageQueue() {
    return queue();
}

// The page's own messages: a new canvas size, the close control.
extern "C" EMSCRIPTEN_KEEPALIVE void quennPagePost(UINT message, int x, int y) {
    if (message != WM_SIZE && message != WM_CLOSE) return;
    queue().post({message, packPoint(x, y)});
}

// Every message of the thread: the window and filter arguments are not used.
BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    if (!msg) return -1;
    for (;;) {
        const MessageQueue::Next next = queue().take();
        if (next.quit) return deliver(msg, WM_QUIT, static_cast<WPARAM>(next.exitCode), 0);
        if (next.message) return deliver(msg, next.message->message, 0, next.message->lParam);
        // Nothing waiting: paint at the next frame, unless input comes first.
        // The window is never validated; without one there is nothing to paint.
        if (quennPageWaitForFrame() && pageWindow()) return deliver(msg, WM_PAINT, 0, 0);
    }
}

// Key messages make no character messages: the program reads no keys.
BOOL WINAPI TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd || msg->hwnd != pageWindow()) return 0;
    return msg->hwnd->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void WINAPI PostQuitMessage(int exitCode) {
    queue().postQuit(exitCode);
}
