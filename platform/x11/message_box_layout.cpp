#include "platform/x11/message_box_layout.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdint>

#include "platform/x11/x_limits.h"

namespace {

constexpr int kMargin = 16;        // around the text and below the button
constexpr int kButtonGap = 14;     // between the text and the button
constexpr int kButtonWidth = 80;   // at least; wider for a wider label
constexpr int kButtonHeight = 26;  // at least; higher for a taller font
constexpr int kLabelPadding = 12;  // each side of the label, and above and below it
constexpr int kMinTextWidth = 160;

// Pixel sizes from the font, kept where sums of a few of them cannot overflow.
int bounded(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, 0, kMaxXSize));
}

int64_t charWidth(const BoxFont& font, char c) {
    return font.charWidth ? bounded(font.charWidth(static_cast<unsigned char>(c))) : 0;
}

int64_t textWidth(const BoxFont& font, std::string_view text) {
    int64_t width = 0;
    for (char c : text) width += charWidth(font, c);
    return width;
}

// How many characters of `line` fit in `maxWidth`: at least one, so that
// wrapping always moves on; the break goes after the last space that fits
// when there is one.
size_t fittingPrefix(std::string_view line, int64_t maxWidth, const BoxFont& font) {
    int64_t width = 0;
    size_t lastSpace = 0;
    for (size_t end = 0; end < line.size(); ++end) {
        width += charWidth(font, line[end]);
        if (width > maxWidth && end > 0) return lastSpace > 0 ? lastSpace : end;
        if (line[end] == ' ') lastSpace = end;
    }
    return line.size();
}

// Breaks a line into pieces no wider than `maxWidth` (but one character);
// the spaces at a break go.
void wrapLine(std::string_view line, int64_t maxWidth, const BoxFont& font,
              std::vector<std::string_view>& lines) {
    for (;;) {
        const size_t length = fittingPrefix(line, maxWidth, font);
        lines.push_back(line.substr(0, length));
        line.remove_prefix(length);
        const size_t next = line.find_first_not_of(' ');
        if (next == std::string_view::npos) return;
        line.remove_prefix(next);
    }
}

std::vector<std::string_view> wrapLines(std::string_view text, int64_t maxWidth,
                                        const BoxFont& font) {
    std::vector<std::string_view> lines;
    for (std::string_view line : splitLines(text)) wrapLine(line, maxWidth, font, lines);
    return lines;
}

int64_t widest(const std::vector<std::string_view>& lines, const BoxFont& font) {
    int64_t width = 0;
    for (std::string_view line : lines) width = std::max(width, textWidth(font, line));
    return width;
}

bool dismissesByKey(KeySym key) {
    return key == XK_Return || key == XK_KP_Enter || key == XK_Escape;
}

BoxState onRelease(BoxState state, const BoxInput& input, const BoxLayout& layout) {
    if (input.button != Button1) return state;
    const bool click = state.buttonPressed && layout.button.contains(input.x, input.y);
    return {false, click};
}

BoxState onPress(BoxState state, const BoxInput& input, const BoxLayout& layout) {
    if (input.button != Button1) return state;
    return {layout.button.contains(input.x, input.y), false};
}

// The text wrapped to three quarters of the screen's width, as many of its
// lines as leave room for the button below them.
std::vector<std::string_view> linesThatFit(std::string_view text, const BoxFont& font,
                                           ScreenSize screen, int lineHeight, int buttonHeight) {
    std::vector<std::string_view> lines =
        wrapLines(text, std::max(1, screen.width * 3 / 4 - 2 * kMargin), font);
    const int64_t spareHeight = int64_t{screen.height} - (2 * kMargin + kButtonGap) - buttonHeight;
    const int64_t fitting = std::max<int64_t>(0, spareHeight / lineHeight);
    if (std::ssize(lines) > fitting) lines.resize(static_cast<size_t>(fitting));
    return lines;
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (;;) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 1);
    }
}

std::string oneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    return line;
}

BoxLayout layoutMessageBox(std::string_view text, const BoxFont& font, ScreenSize screen) {
    const int screenWidth = std::clamp(screen.width, 1, kMaxXSize);
    const int screenHeight = std::clamp(screen.height, 1, kMaxXSize);
    const int ascent = bounded(font.ascent);
    const int lineHeight = std::max(1, bounded(int64_t{ascent} + bounded(font.descent)));
    const int labelWidth = bounded(textWidth(font, kBoxLabel));
    const int buttonWidth = bounded(std::max(kButtonWidth, labelWidth + 2 * kLabelPadding));
    const int buttonHeight = bounded(std::max(kButtonHeight, lineHeight + kLabelPadding));

    std::vector<std::string_view> lines =
        linesThatFit(text, font, {screenWidth, screenHeight}, lineHeight, buttonHeight);
    const int64_t contentWidth =
        std::max({widest(lines, font), int64_t{buttonWidth}, int64_t{kMinTextWidth}});
    const int width =
        static_cast<int>(std::min<int64_t>(contentWidth + int64_t{2} * kMargin, screenWidth));
    const int buttonY = kMargin + static_cast<int>(std::ssize(lines)) * lineHeight + kButtonGap;
    const int height = std::min(buttonY + buttonHeight + kMargin, screenHeight);
    const BoxRect button{std::max(0, (width - buttonWidth) / 2), buttonY, buttonWidth,
                         buttonHeight};
    return {.x = (screenWidth - width) / 2,
            .y = (screenHeight - height) / 2,
            .width = width,
            .height = height,
            .lines = std::move(lines),
            .textX = kMargin,
            .firstBaseline = kMargin + ascent,
            .lineHeight = lineHeight,
            .button = button,
            .labelX = button.x + (buttonWidth - labelWidth) / 2,
            .labelBaseline = button.y + (buttonHeight - lineHeight) / 2 + ascent};
}

BoxState advanceBox(BoxState state, const BoxInput& input, const BoxLayout& layout) {
    switch (input.kind) {
        case BoxInput::Kind::Key: return {state.buttonPressed, dismissesByKey(input.key)};
        case BoxInput::Kind::Press: return onPress(state, input, layout);
        case BoxInput::Kind::Release: return onRelease(state, input, layout);
        case BoxInput::Kind::Close: return {state.buttonPressed, true};
        case BoxInput::Kind::Other: return state;
    }
    return state;
}
