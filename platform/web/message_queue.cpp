#include "platform/web/message_queue.h"

#include <algorithm>

void MessageQueue::post(QueuedMessage message) {
    if (message.message == WM_SIZE) {
        if (lastSize == message.lParam) return;
        lastSize = message.lParam;
    }
    // Moves faster than frames: only the latest position counts.
    if (message.message == WM_MOUSEMOVE && !messages.empty() &&
        messages.back().message == WM_MOUSEMOVE) {
        messages.back().lParam = message.lParam;
        return;
    }
    messages.push_back(message);
}

void MessageQueue::postQuit(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}

MessageQueue::Next MessageQueue::take() {
    if (quitPosted) {
        quitPosted = false;  // one WM_QUIT per request, as on Windows
        return {true, quitCode, std::nullopt};
    }
    if (messages.empty()) return {false, 0, std::nullopt};
    const QueuedMessage message = messages.front();
    messages.pop_front();
    return {false, 0, message};
}

LPARAM packPoint(int x, int y) {
    const auto half = [](int v) { return static_cast<LPARAM>(std::clamp(v, 0, 0xFFFF)); };
    return half(x) | half(y) << 16;
}
