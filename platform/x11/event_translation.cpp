#include "platform/x11/event_translation.h"

#include <X11/Xutil.h>

namespace {

constexpr WPARAM kNoKeyState = 0;     // the program reads no MK_ flags
constexpr WPARAM kSizeRestored = 0;   // SIZE_RESTORED
constexpr WPARAM kSizeMinimized = 1;  // SIZE_MINIMIZED

Translation message(UINT id, LPARAM lParam, WindowView view) {
    return {Message{id, kNoKeyState, lParam}, view};
}

Translation consumed(WindowView view) {
    return {std::nullopt, view};
}

// Only a size change is news: moves and restacking come as ConfigureNotify
// too. An iconic window's client stays 0 by 0 to its procedure until restored.
Translation configured(const XConfigureEvent& event, WindowView view) {
    if (event.width == view.width && event.height == view.height) return consumed(view);
    view.width = event.width;
    view.height = event.height;
    if (view.iconic) return consumed(view);
    return {sizeMessage(view), view};
}

// The pointer is not captured: X grabs it while a button is held and keeps
// reporting outside the window, but as on Windows only what happens over the
// client area reaches the window.
Translation pointer(UINT id, int x, int y, WindowView view) {
    if (x < 0 || y < 0 || x >= view.width || y >= view.height) return consumed(view);
    return message(id, packPoint(x, y), view);
}

Translation leftButton(const XButtonEvent& event, UINT id, WindowView view) {
    if (event.button != Button1) return consumed(view);
    return pointer(id, event.x, event.y, view);
}

Translation clientMessage(const XClientMessageEvent& event, WindowView view, ProtocolAtoms atoms) {
    if (isCloseRequest(event, atoms)) return message(WM_CLOSE, 0, view);
    return consumed(view);
}

// The window's own destruction, not a child's (none are selected anyway).
Translation destroyed(const XDestroyWindowEvent& event, WindowView view) {
    if (event.window != event.event) return consumed(view);
    view.mapped = false;
    view.destroyed = true;
    return message(WM_CLOSE, 0, view);
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

Message sizeMessage(WindowView view) {
    if (view.iconic) return {WM_SIZE, kSizeMinimized, packPoint(0, 0)};
    return {WM_SIZE, kSizeRestored, packPoint(view.width, view.height)};
}

bool isOnScreen(WindowView view) {
    return view.mapped && !view.iconic && !view.destroyed;
}

Translation translateEvent(const XEvent& event, WindowView view, ProtocolAtoms atoms) {
    switch (event.type) {
        case ConfigureNotify: return configured(event.xconfigure, view);
        case ButtonPress: return leftButton(event.xbutton, WM_LBUTTONDOWN, view);
        case ButtonRelease: return leftButton(event.xbutton, WM_LBUTTONUP, view);
        case MotionNotify: return pointer(WM_MOUSEMOVE, event.xmotion.x, event.xmotion.y, view);
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
    return {sizeMessage(view), view};
}

bool continuesMotion(const XEvent& motion, const XEvent& next) {
    return motion.type == MotionNotify && next.type == MotionNotify &&
           next.xmotion.window == motion.xmotion.window;
}
