#include <X11/Xutil.h>

#include <cstdio>
#include <optional>
#include <string>

#include "platform/x11/message_box_layout.h"
#include "platform/x11/surface.h"

namespace {

constexpr long kBoxEvents =
    ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
constexpr const char* kBoxClass = "MessageBox";

BoxFont boxFont(XFontStruct* font) {
    if (!font) return {0, 0, nullptr};
    return {font->ascent, font->descent, [font](unsigned char c) {
                const char text = static_cast<char>(c);
                return XTextWidth(font, &text, 1);
            }};
}

ScreenSize screenSize(const Connection& connection) {
    return {DisplayWidth(connection.display, connection.screen),
            DisplayHeight(connection.display, connection.screen)};
}

// A window of the layout's size and place; nothing if the server refuses it.
std::optional<XWindowHandle> createBox(Connection& connection, const BoxLayout& layout,
                                       const char* caption) {
    return createXWindow(connection, {.visual = nullptr,
                                      .x = layout.x,
                                      .y = layout.y,
                                      .placedBySystem = false,
                                      .width = layout.width,
                                      .height = layout.height,
                                      .fixedSize = true,
                                      .eventMask = kBoxEvents,
                                      .title = caption,
                                      .className = kBoxClass});
}

void drawText(Display* display, ::Window window, GC gc, int x, int y, std::string_view text) {
    XDrawString(display, window, gc, x, y, text.data(), static_cast<int>(text.size()));
}

// White ground, black text, the button a framed label.
void drawBox(const Connection& connection, ::Window window, XFontStruct* font,
             const BoxLayout& layout) {
    Display* display = connection.display;
    GC gc = XCreateGC(display, window, 0, nullptr);
    XSetForeground(display, gc, WhitePixel(display, connection.screen));
    XFillRectangle(display, window, gc, 0, 0, layout.width, layout.height);
    XSetForeground(display, gc, BlackPixel(display, connection.screen));
    if (font) XSetFont(display, gc, font->fid);
    for (size_t i = 0; i < layout.lines.size(); ++i) {
        drawText(display, window, gc, layout.textX,
                 layout.firstBaseline + static_cast<int>(i) * layout.lineHeight, layout.lines[i]);
    }
    const BoxRect& button = layout.button;
    XDrawRectangle(display, window, gc, button.x, button.y, button.width - 1, button.height - 1);
    drawText(display, window, gc, layout.labelX, layout.labelBaseline, kBoxLabel);
    XFreeGC(display, gc);
}

BoxInput inputOf(XEvent& event, ProtocolAtoms atoms) {
    switch (event.type) {
        case KeyPress: return {BoxInput::Kind::Key, XLookupKeysym(&event.xkey, 0), 0, 0, 0};
        case ButtonPress:
        case ButtonRelease:
            return {event.type == ButtonPress ? BoxInput::Kind::Press : BoxInput::Kind::Release,
                    NoSymbol, event.xbutton.button, event.xbutton.x, event.xbutton.y};
        case ClientMessage:
            return {isCloseRequest(event.xclient, atoms) ? BoxInput::Kind::Close
                                                         : BoxInput::Kind::Other,
                    NoSymbol, 0, 0, 0};
        default: return {BoxInput::Kind::Other, NoSymbol, 0, 0, 0};
    }
}

Bool isForWindow(Display*, XEvent* event, XPointer window) {
    return event->xany.window == *reinterpret_cast<::Window*>(window) ? True : False;
}

// Handles the box's own events until it is dismissed; false if another
// client destroyed it first. Events of other windows stay queued for GetMessageA.
bool runBox(const Connection& connection, ::Window window, XFontStruct* font,
            const BoxLayout& layout) {
    BoxState state{false, false};
    while (!state.dismissed) {
        XEvent event;
        XIfEvent(connection.display, &event, isForWindow, reinterpret_cast<XPointer>(&window));
        if (event.type == DestroyNotify) return false;
        if (event.type == Expose && event.xexpose.count == 0) {
            drawBox(connection, window, font, layout);
        } else if (event.type == MapNotify) {
            XSetInputFocus(connection.display, window, RevertToPointerRoot, CurrentTime);
        }
        state = advanceBox(state, inputOf(event, connection.atoms), layout);
    }
    return true;
}

void showBox(Connection& connection, const Surface* owner, const char* text, const char* caption) {
    const SystemFont* stock = backend::systemFont();
    XFontStruct* font = stock ? stock->core : nullptr;
    const BoxLayout layout = layoutMessageBox(text, boxFont(font), screenSize(connection));
    const std::optional<XWindowHandle> box = createBox(connection, layout, caption);
    if (!box) return;
    if (owner) XSetTransientForHint(connection.display, box->window, owner->xWindow.window);
    XMapRaised(connection.display, box->window);
    if (runBox(connection, box->window, font, layout)) {
        destroyXWindow(connection, *box);
    } else {
        XFreeColormap(connection.display, box->colormap);
    }
    XSync(connection.display, False);
}

}  // namespace

// The text also goes to stderr, on one line; with no display, or when the
// server refuses the box's window, only there.
void backend::showMessageBox(Surface* owner, const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", programName(), oneLine(text).c_str());
    if (Connection* connection = connectDisplay()) showBox(*connection, owner, text, caption);
}
