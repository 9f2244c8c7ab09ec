// Reads any bytes as a sequence of X events and window-manager states of one
// window and translates each into a window message, carrying what is known of
// the window from one to the next. Checks that each message is one the window
// procedure handles, made by the event it answers, with its point on the
// client area and never negative; that an iconic window's size is 0 by 0 to
// its procedure; and that nothing else changes what is known of the window.
#include <fuzzer/FuzzedDataProvider.h>

#include <X11/Xutil.h>

#include <cstring>

#include "fuzz/invariant.h"
#include "platform/x11/event_translation.h"

namespace {

constexpr int kMaxEvents = 64;

XEvent eventFrom(FuzzedDataProvider& data) {
    XEvent event;
    std::memset(&event, 0, sizeof event);
    const std::vector<uint8_t> bytes = data.ConsumeBytes<uint8_t>(sizeof event);
    if (!bytes.empty()) std::memcpy(&event, bytes.data(), bytes.size());
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

// A new size from the server, of a window that is not iconic.
void checkConfigured(const XEvent& event, const Message& message, WindowView before,
                     WindowView after) {
    require(event.type == ConfigureNotify && !before.iconic, "a size comes from a configure event");
    require(after.width == event.xconfigure.width && after.height == event.xconfigure.height,
            "the new size is known");
    require(after.width != before.width || after.height != before.height,
            "a size is sent only when it changes");
    require(message == sizeMessage(after) && message.wParam == 0,
            "the size message carries the size");
    WindowView rest = after;
    rest.width = before.width;
    rest.height = before.height;
    require(rest == before, "a size changes only the size");
}

void checkClose(const XEvent& event, WindowView before, WindowView after, ProtocolAtoms atoms) {
    if (event.type == DestroyNotify) {
        require(event.xdestroywindow.window == event.xdestroywindow.event,
                "only the window's own destruction closes it");
        require(after.destroyed && !after.mapped, "a destroyed window is known as gone");
        return;
    }
    require(event.type == ClientMessage && isCloseRequest(event.xclient, atoms),
            "a close comes from the window manager's delete request");
    require(after == before, "a close request changes nothing of the window");
}

void checkMessage(const XEvent& event, const Message& message, WindowView before, WindowView after,
                  ProtocolAtoms atoms) {
    require(message.lParam >= 0 && message.lParam <= 0xFFFFFFFF, "lParam is two 16-bit halves");
    if (message.message == WM_SIZE) return checkConfigured(event, message, before, after);
    require(message.wParam == 0, "wParam carries nothing");
    if (message.message == WM_CLOSE) return checkClose(event, before, after, atoms);
    require(message.message == WM_MOUSEMOVE || message.message == WM_LBUTTONDOWN ||
                message.message == WM_LBUTTONUP,
            "only messages the window procedure handles");
    checkPointer(event, message, before);
    require(after == before, "a pointer message changes nothing of the window");
}

void checkConsumed(const XEvent& event, WindowView before, WindowView after) {
    WindowView expected = before;
    if (event.type == MapNotify) expected.mapped = true;
    if (event.type == UnmapNotify) expected.mapped = false;
    if (event.type == ConfigureNotify) {
        expected.width = event.xconfigure.width;
        expected.height = event.xconfigure.height;
        require(before.iconic || (before.width == after.width && before.height == after.height),
                "a size is kept without a message only while iconic");
    }
    require(after == expected, "an event without a message changes at most the mapping");
}

// A WM_STATE value: iconic sends 0 by 0, normal again the client size.
void checkState(long state, const Translation& translation, WindowView before) {
    const WindowView after = translation.view;
    if (!translation.message) {
        require(after == before, "a state that changes nothing sends nothing");
        return;
    }
    require(after.iconic == (state == IconicState) && after.iconic != before.iconic,
            "a state message comes from a change between normal and iconic");
    const Message expected = after.iconic
                                 ? Message{WM_SIZE, 1, 0}
                                 : Message{WM_SIZE, 0, packPoint(after.width, after.height)};
    require(*translation.message == expected, "iconic is 0 by 0, normal the client size");
}

void checkContinuation(const XEvent& previous, const XEvent& event) {
    if (!continuesMotion(previous, event)) return;
    require(previous.type == MotionNotify && event.type == MotionNotify &&
                previous.xmotion.window == event.xmotion.window,
            "only a motion over the same window continues a motion");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const ProtocolAtoms atoms{data.ConsumeIntegral<Atom>(), data.ConsumeIntegral<Atom>(),
                              data.ConsumeIntegral<Atom>()};
    WindowView view{data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>(), data.ConsumeBool(),
                    data.ConsumeBool(), data.ConsumeBool()};
    XEvent previous{};
    for (int i = 0; i < kMaxEvents && data.remaining_bytes() > 0; ++i) {
        if (data.ConsumeBool()) {
            const long state = data.ConsumeIntegralInRange<long>(-1, 4);
            const Translation translation = translateState(state, view);
            checkState(state, translation, view);
            view = translation.view;
            continue;
        }
        const XEvent event = eventFrom(data);
        checkContinuation(previous, event);
        const Translation translation = translateEvent(event, view, atoms);
        if (translation.message) {
            checkMessage(event, *translation.message, view, translation.view, atoms);
        } else {
            checkConsumed(event, view, translation.view);
        }
        view = translation.view;
        previous = event;
    }
    return 0;
}
