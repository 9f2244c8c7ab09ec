#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/X.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The lines of a message box's text: split at line feeds, a carriage return
// before one dropped. An empty text is one empty line.
std::vector<std::string_view> splitLines(std::string_view text);

// The text on one line, for stderr: line breaks and tabs become spaces.
std::string oneLine(std::string_view text);

struct BoxRect {
    int x;
    int y;
    int width;
    int height;

    bool contains(int px, int py) const {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

// The font the box is drawn with.
struct BoxFont {
    int ascent;
    int descent;
    std::function<int(unsigned char)> charWidth;  // pixels; text measures as the sum
};

struct ScreenSize {
    int width;
    int height;
};

// Where a message box goes on the screen and where everything goes in it,
// in the box's own pixels.
struct BoxLayout {
    int x;  // on the screen
    int y;
    int width;
    int height;
    std::vector<std::string_view> lines;  // the text's lines as drawn: wrapped, and cut to fit
    int textX;
    int firstBaseline;  // of the first line; each next one is lineHeight lower
    int lineHeight;
    BoxRect button;
    int labelX;
    int labelBaseline;
};

// The label of the box's one button.
inline constexpr std::string_view kBoxLabel = "OK";

// The text at the top left within a margin, the OK button centred below it;
// the box as wide as the widest line or the button's minimum width, and
// centred on the screen. The box stays on the screen, whatever the text and
// the font: a line wider than three quarters of the screen wraps (at its last
// space that fits, else between characters), lines too many for the screen's
// height are cut, and on a
// screen too small for even the button the box is the screen's size at its
// top left. The lines refer into `text`, which must outlive the layout.
BoxLayout layoutMessageBox(std::string_view text, const BoxFont& font, ScreenSize screen);

// One event for the box, as far as dismissing it goes.
struct BoxInput {
    enum class Kind { Key, Press, Release, Close, Other };
    Kind kind;
    KeySym key;       // for Key
    unsigned button;  // for Press and Release
    int x;
    int y;
};

struct BoxState {
    bool buttonPressed;  // the left button went down on OK and is still down
    bool dismissed;
};

// Return, keypad Enter and Escape dismiss the box, and so does the window
// manager's close; a left click dismisses it when both press and release are
// on the button.
BoxState advanceBox(BoxState state, const BoxInput& input, const BoxLayout& layout);
