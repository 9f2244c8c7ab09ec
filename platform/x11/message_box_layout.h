#pragma once

#ifdef _WIN32
#error "platform/x11 is the Linux layer: on Windows the system provides these calls"
#endif

#include <X11/X.h>

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

// What the box's drawing needs to know of its text and font.
struct BoxMetrics {
    std::vector<int> lineWidths;  // pixels, one per line
    int ascent;
    int descent;
    int labelWidth;  // of the button's "OK"
};

// Where everything of a message box goes, in the box's own pixels.
struct BoxLayout {
    int width;
    int height;
    int textX;
    int firstBaseline;  // of the first line; each next one is lineHeight lower
    int lineHeight;
    BoxRect button;
    int labelX;
    int labelBaseline;
};

// The text at the top left within a margin, the OK button centred below it;
// the box as wide as the widest line or the button's minimum width.
BoxLayout layoutMessageBox(const BoxMetrics& metrics);

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
