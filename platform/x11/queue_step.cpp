#include "platform/x11/queue_step.h"

QueueStep nextQueueStep(QueueState state) {
    if (state.quitPosted) return QueueStep::Quit;
    if (state.eventWaiting) return QueueStep::ReadEvent;
    if (state.windowOnScreen) return QueueStep::Paint;
    return QueueStep::WaitForEvent;
}
