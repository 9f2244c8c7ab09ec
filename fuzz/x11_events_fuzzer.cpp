// Reads any bytes as a sequence of X events of one window and translates
// each into a window message, carrying what is known of the window from one
// event to the next. Checks that each message is one the window procedure
// handles, made by the event it answers, with its point on the client area
// and never negative, and that only size, map and unmap events change what
// is known of the window.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

#include "fuzz/invariant.h"
#include "platform/x11/event_translation.h"

namespace {

constexpr int kMaxEvents = 64;

XEvent eventFrom(FuzzedDataProvider& data) {
    XEvent event;
    std::memset(&event, 0, sizeof event);
    const std::vector<uint8_t> bytes = data.ConsumeBytes<uint8_t>(sizeof event);
    std::memcpy(&event, bytes.data(), bytes.size());
    return event;
}

// The two 16-bit halves of lParam, as the window procedure takes them.
struct Point {
    int x;
    int y;
};
Point halves(LPARAM lParam) {
    return {static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF)};
}

bool onClientArea(int x, int y, WindowView view) {
    return x >= 0 && y >= 0 && x < view.width && y < view.height;
}

// A press, release or move: of its event, over the client area, at the
// event's point.
void checkPointer(const XEvent& event, const Message& message, WindowView view) {
    int x = event.xmotion.x;
    int y = event.xmotion.y;
    if (message.message == WM_MOUSEMOVE) {
        require(event.type == MotionNotify, "a move comes from a motion");
    } else {
        require(event.type == (message.message == WM_LBUTTONDOWN ? ButtonPress : ButtonRelease) &&
                    event.xbutton.button == Button1,
                "a left-button message comes from button 1's press or release");
        x = event.xbutton.x;
        y = event.xbutton.y;
    }
    require(onClientArea(x, y, view), "a pointer message is over the client area");
    const Point point = halves(message.lParam);
    require(point.x == (x & 0xFFFF) && point.y == (y & 0xFFFF), "the point is the event's");
}

void checkSize(const XEvent& event, const Message& message, WindowView before, WindowView after) {
    require(event.type == ConfigureNotify, "a size comes from a configure event");
    require(after.width == event.xconfigure.width && after.height == event.xconfigure.height &&
                after.mapped == before.mapped,
            "the new size is known");
    require(after.width != before.width || after.height != before.height,
            "a size is sent only when it changes");
    const Point size = halves(message.lParam);
    require(size.x == (after.width & 0xFFFF) && size.y == (after.height & 0xFFFF),
            "the size message carries the size");
}

void checkClose(const XEvent& event, ProtocolAtoms atoms) {
    const XClientMessageEvent& client = event.xclient;
    require(event.type == ClientMessage && client.message_type == atoms.protocols &&
                client.format == 32 && static_cast<Atom>(client.data.l[0]) == atoms.deleteWindow,
            "a close comes from the window manager's delete request");
}

void checkMessage(const XEvent& event, const Message& message, WindowView before, WindowView after,
                  ProtocolAtoms atoms) {
    require(message.wParam == 0, "wParam carries nothing");
    require(message.lParam >= 0 && message.lParam <= 0xFFFFFFFF, "lParam is two 16-bit halves");
    switch (message.message) {
        case WM_SIZE: checkSize(event, message, before, after); return;
        case WM_CLOSE: checkClose(event, atoms); break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: checkPointer(event, message, before); break;
        default: require(false, "only messages the window procedure handles");
    }
    require(after == before, "only a size changes the view with a message");
}

void checkConsumed(const XEvent& event, WindowView before, WindowView after) {
    WindowView expected = before;
    if (event.type == MapNotify) expected.mapped = true;
    if (event.type == UnmapNotify) expected.mapped = false;
    require(after == expected, "an event without a message changes at most the mapping");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const ProtocolAtoms atoms{data.ConsumeIntegral<Atom>(), data.ConsumeIntegral<Atom>()};
    WindowView view{data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>(), data.ConsumeBool()};
    for (int i = 0; i < kMaxEvents && data.remaining_bytes() > 0; ++i) {
        const XEvent event = eventFrom(data);
        const Translation translation = translateEvent(event, view, atoms);
        if (translation.message) {
            checkMessage(event, *translation.message, view, translation.view, atoms);
        } else {
            checkConsumed(event, view, translation.view);
        }
        view = translation.view;
    }
    return 0;
}
