#include "platform/x11/message_box_layout.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <algorithm>

namespace {

constexpr int kMargin = 16;        // around the text and below the button
constexpr int kButtonGap = 14;     // between the text and the button
constexpr int kButtonWidth = 80;   // at least; wider for a wider label
constexpr int kButtonHeight = 26;  // at least; higher for a taller font
constexpr int kLabelPadding = 12;  // each side of the label, and above and below it
constexpr int kMinTextWidth = 160;

int widest(const std::vector<int>& widths) {
    return widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
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

BoxLayout layoutMessageBox(const BoxMetrics& metrics) {
    const int lineHeight = metrics.ascent + metrics.descent;
    const int lines = static_cast<int>(metrics.lineWidths.size());
    const int buttonWidth = std::max(kButtonWidth, metrics.labelWidth + 2 * kLabelPadding);
    const int buttonHeight = std::max(kButtonHeight, lineHeight + kLabelPadding);
    const int contentWidth = std::max({widest(metrics.lineWidths), buttonWidth, kMinTextWidth});
    const int width = contentWidth + 2 * kMargin;
    const int buttonY = kMargin + lines * lineHeight + kButtonGap;
    const BoxRect button{(width - buttonWidth) / 2, buttonY, buttonWidth, buttonHeight};
    return {width,
            buttonY + buttonHeight + kMargin,
            kMargin,
            kMargin + metrics.ascent,
            lineHeight,
            button,
            button.x + (buttonWidth - metrics.labelWidth) / 2,
            button.y + (buttonHeight - lineHeight) / 2 + metrics.ascent};
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
