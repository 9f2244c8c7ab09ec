#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "platform/win32.h"

// A message waiting for GetMessageA.
struct QueuedMessage {
    UINT message;
    LPARAM lParam;
};

// The page's message queue: input as it arrives, size changes, close
// requests and the quit request. Paint messages are not queued: an empty
// queue paints at the next animation frame.
class MessageQueue {
public:
    // Queues a message; a size equal to the last one queued or sent is
    // dropped, so that only changes arrive, and a move right after a move
    // replaces it.
    void post(QueuedMessage message);
    void postQuit(int exitCode);
    // The size the window procedure was told of outside the queue.
    void sizeSent(LPARAM size) { lastSize = size; }

    // What GetMessageA hands out next: the quit request first, then queued
    // messages in order; nothing when the queue is empty.
    struct Next {
        bool quit;
        int exitCode;
        std::optional<QueuedMessage> message;
    };
    Next take();

private:
    std::deque<QueuedMessage> messages;
    std::optional<LPARAM> lastSize;
    bool quitPosted = false;
    int quitCode = 0;
};

// WM_SIZE's and the mouse messages' lParam: x (or width) in the low 16
// bits, y (or height) in the high 16, each clamped to 0..65535.
LPARAM packPoint(int x, int y);
