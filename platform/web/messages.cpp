// The message loop's calls: input from the canvas, sizes and the close
// control from the page, and a paint at every animation frame.
#include <emscripten/emscripten.h>

#include "platform/web/page.h"
#include "platform/web/pointer_input.h"

namespace {

MessageQueue& queue() {
    static MessageQueue* messages = new MessageQueue;
    return *messages;
}

PointerInput& pointers() {
    static PointerInput* input = new PointerInput;
    return *input;
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

}  // namespace

// A pointer event on the canvas; 1 when it made a message, and the browser's
// own handling of it is to be prevented.
extern "C" EMSCRIPTEN_KEEPALIVE int quennPagePointer(int primary, int button, int buttons,
                                                     int cancelled, int x, int y) {
    const std::optional<QueuedMessage> message =
        pointers().translate({primary != 0, button, buttons, cancelled != 0, x, y});
    if (!message) return 0;
    queue().post(*message);
    quennPageWake();
    return 1;
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
