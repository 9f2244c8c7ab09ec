#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

// What GetMessageA does next.
enum class QueueStep {
    Quit,          // hand out WM_QUIT
    ReadEvent,     // an event is waiting: read and translate it
    Paint,         // nothing waiting: paint the mapped window, which is never validated
    WaitForEvent,  // nothing waiting and nothing to paint: block until an event comes
};

struct QueueState {
    bool quitPosted;
    bool eventWaiting;
    bool windowOnScreen;
};

// A quit request comes before events, events before painting; a window not
// on the screen (unmapped, iconic or destroyed) is not painted, so the queue
// sleeps instead of spinning.
QueueStep nextQueueStep(QueueState state);
