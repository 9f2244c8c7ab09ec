#include "platform/x11/event_translation.h"

namespace {

constexpr WPARAM kNoKeyState = 0;  // the program reads no MK_ flags

Translation message(UINT id, LPARAM lParam, WindowView view) {
    return {Message{id, kNoKeyState, lParam}, view};
}

Translation consumed(WindowView view) {
    return {std::nullopt, view};
}

// Only a size change is news: moves and restacking come as ConfigureNotify too.
Translation configured(const XConfigureEvent& event, WindowView view) {
    if (event.width == view.width && event.height == view.height) return consumed(view);
    view.width = event.width;
    view.height = event.height;
    return message(WM_SIZE, packPoint(event.width, event.height), view);
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

Translation withMapped(WindowView view, bool mapped) {
    view.mapped = mapped;
    return consumed(view);
}

}  // namespace

bool isCloseRequest(const XClientMessageEvent& event, ProtocolAtoms atoms) {
    return event.message_type == atoms.protocols && event.format == 32 &&
           static_cast<Atom>(event.data.l[0]) == atoms.deleteWindow;
}

LPARAM packPoint(int x, int y) {
    const DWORD low = static_cast<DWORD>(x) & 0xFFFF;
    const DWORD high = static_cast<DWORD>(y) & 0xFFFF;
    return static_cast<LPARAM>(low | (high << 16));
}

Translation translateEvent(const XEvent& event, WindowView view, ProtocolAtoms atoms) {
    switch (event.type) {
        case ConfigureNotify: return configured(event.xconfigure, view);
        case ButtonPress: return leftButton(event.xbutton, WM_LBUTTONDOWN, view);
        case ButtonRelease: return leftButton(event.xbutton, WM_LBUTTONUP, view);
        case MotionNotify: return pointer(WM_MOUSEMOVE, event.xmotion.x, event.xmotion.y, view);
        case ClientMessage:
            if (isCloseRequest(event.xclient, atoms)) return message(WM_CLOSE, 0, view);
            return consumed(view);
        case MapNotify: return withMapped(view, true);
        case UnmapNotify: return withMapped(view, false);
        default: return consumed(view);
    }
}
