// Reads any bytes as a sequence of X events and window-manager states of one
// window and translates each into what it tells the shared layer, carrying
// what is known of the window from one to the next. Checks that each input
// is made by the event it answers, with the event's point; that an iconic
// window stays minimised; and that nothing else changes what is known of the
// window.
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

// A press, release or move: of its event, at the event's point.
void checkPointer(const XEvent& event, const WindowInput& input) {
    int x = event.xmotion.x;
    int y = event.xmotion.y;
    if (input.kind == WindowInput::PointerMove) {
        require(event.type == MotionNotify, "a move comes from a motion");
    } else {
        require(event.type == (input.kind == WindowInput::LeftDown ? ButtonPress : ButtonRelease) &&
                    event.xbutton.button == Button1,
                "a left-button press or release comes from button 1's");
        x = event.xbutton.x;
        y = event.xbutton.y;
    }
    require(input.x == x && input.y == y, "the point is the event's");
}

// A size from the server: the client size, or minimised while iconic.
void checkConfigured(const XEvent& event, const WindowInput& input, WindowView before,
                     WindowView after) {
    require(event.type == ConfigureNotify, "a size comes from a configure event");
    require(after.width == event.xconfigure.width && after.height == event.xconfigure.height,
            "the new size is known");
    require(input == sizeInput(after), "the size told is the client size, or minimised");
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

void checkInput(const XEvent& event, const WindowInput& input, WindowView before, WindowView after,
                ProtocolAtoms atoms) {
    switch (input.kind) {
        case WindowInput::Resized:
        case WindowInput::Minimized: return checkConfigured(event, input, before, after);
        case WindowInput::Close: return checkClose(event, before, after, atoms);
        default: break;
    }
    checkPointer(event, input);
    require(after == before, "a pointer's input changes nothing of the window");
}

void checkConsumed(const XEvent& event, WindowView before, WindowView after) {
    require(event.type != ConfigureNotify, "every size from the server is told");
    WindowView expected = before;
    if (event.type == MapNotify) expected.mapped = true;
    if (event.type == UnmapNotify) expected.mapped = false;
    require(after == expected, "an event that tells nothing changes at most the mapping");
}

// A WM_STATE value: iconic minimises, normal again restores the client size.
void checkState(long state, const Translation& translation, WindowView before) {
    const WindowView after = translation.view;
    if (!translation.input) {
        require(after == before, "a state that changes nothing tells nothing");
        return;
    }
    require(after.iconic == (state == IconicState) && after.iconic != before.iconic,
            "a state's input comes from a change between normal and iconic");
    const WindowInput expected = after.iconic
                                     ? WindowInput{WindowInput::Minimized, 0, 0}
                                     : WindowInput{WindowInput::Resized, after.width, after.height};
    require(*translation.input == expected, "iconic is minimised, normal the client size");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const ProtocolAtoms atoms{data.ConsumeIntegral<Atom>(), data.ConsumeIntegral<Atom>(),
                              data.ConsumeIntegral<Atom>()};
    WindowView view{data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>(), data.ConsumeBool(),
                    data.ConsumeBool(), data.ConsumeBool()};
    for (int i = 0; i < kMaxEvents && data.remaining_bytes() > 0; ++i) {
        if (data.ConsumeBool()) {
            const long state = data.ConsumeIntegralInRange<long>(-1, 4);
            const Translation translation = translateState(state, view);
            checkState(state, translation, view);
            view = translation.view;
            continue;
        }
        const XEvent event = eventFrom(data);
        const Translation translation = translateEvent(event, view, atoms);
        if (translation.input) {
            checkInput(event, *translation.input, view, translation.view, atoms);
        } else {
            checkConsumed(event, view, translation.view);
        }
        view = translation.view;
    }
    return 0;
}
