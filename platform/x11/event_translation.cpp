#include "platform/x11/event_translation.h"

#include <X11/Xutil.h>

namespace {

Translation told(WindowInput::Kind kind, int x, int y, WindowView view) {
    return {WindowInput{kind, x, y}, view};
}

Translation consumed(WindowView view) {
    return {std::nullopt, view};
}

// An iconic window's client stays 0 by 0 to its procedure until restored.
Translation configured(const XConfigureEvent& event, WindowView view) {
    view.width = event.width;
    view.height = event.height;
    return {sizeInput(view), view};
}

// X grabs the pointer while a button is held and keeps reporting outside
// the window; the shared layer keeps what reaches the window to its client area.
Translation leftButton(const XButtonEvent& event, WindowInput::Kind kind, WindowView view) {
    if (event.button != Button1) return consumed(view);
    return told(kind, event.x, event.y, view);
}

Translation clientMessage(const XClientMessageEvent& event, WindowView view, ProtocolAtoms atoms) {
    if (isCloseRequest(event, atoms)) return told(WindowInput::Close, 0, 0, view);
    return consumed(view);
}

// The window's own destruction, not a child's (none are selected anyway).
Translation destroyed(const XDestroyWindowEvent& event, WindowView view) {
    if (event.window != event.event) return consumed(view);
    view.mapped = false;
    view.destroyed = true;
    return told(WindowInput::Close, 0, 0, view);
}

Translation withMapped(WindowView view, bool mapped) {
    view.mapped = mapped;
    return consumed(view);
}

}  // namespace

bool isCloseRequest(const XClientMessageEvent& event, ProtocolAtoms atoms) {
    return event.message_type == atoms.protocols && event.format == 32 &&
           static_cast<Atom>(event.data.l[0]) == atoms.deleteWindow;
}

WindowInput sizeInput(WindowView view) {
    if (view.iconic) return {WindowInput::Minimized, 0, 0};
    return {WindowInput::Resized, view.width, view.height};
}

bool isOnScreen(WindowView view) {
    return view.mapped && !view.iconic && !view.destroyed;
}

Translation translateEvent(const XEvent& event, WindowView view, ProtocolAtoms atoms) {
    switch (event.type) {
        case ConfigureNotify: return configured(event.xconfigure, view);
        case ButtonPress: return leftButton(event.xbutton, WindowInput::LeftDown, view);
        case ButtonRelease: return leftButton(event.xbutton, WindowInput::LeftUp, view);
        case MotionNotify:
            return told(WindowInput::PointerMove, event.xmotion.x, event.xmotion.y, view);
        case ClientMessage: return clientMessage(event.xclient, view, atoms);
        case DestroyNotify: return destroyed(event.xdestroywindow, view);
        case MapNotify: return withMapped(view, true);
        case UnmapNotify: return withMapped(view, false);
        default: return consumed(view);
    }
}

bool isStateChange(const XEvent& event, ProtocolAtoms atoms) {
    return event.type == PropertyNotify && event.xproperty.atom == atoms.wmState;
}

Translation translateState(long state, WindowView view) {
    const bool iconic = state == IconicState;
    if ((state != IconicState && state != NormalState) || iconic == view.iconic) {
        return consumed(view);
    }
    view.iconic = iconic;
    return {sizeInput(view), view};
}
