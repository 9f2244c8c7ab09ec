// Lays out a message box for any text (any bytes up to 64 KiB, up to the
// first NUL as MessageBoxA reads it) in any core font, centred on any screen
// as the layer places it. Checks that the box lies on the screen, that X can
// make a window of its size, and that its OK button lies within it.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "fuzz/invariant.h"
#include "platform/x11/font_metrics.h"
#include "platform/x11/message_box_layout.h"

namespace {

constexpr size_t kMaxText = 64 * 1024;
// Screens from VGA's to the largest X allows. The smallest holds one line of
// the tallest font below, and the button.
constexpr int kMinScreenWidth = 640;
constexpr int kMinScreenHeight = 480;
constexpr int kMaxScreenSide = 32767;
constexpr int kMaxWindowSide = 65535;  // a window's width and height are 16-bit

// A one-row core font covering [first, last], its advances from the input;
// other codes advance by the widest.
struct CoreFont {
    std::vector<XCharStruct> chars;
    XFontStruct font{};

    explicit CoreFont(FuzzedDataProvider& data) {
        const auto first = data.ConsumeIntegral<uint8_t>();
        const auto last = data.ConsumeIntegralInRange<unsigned>(first, 255);
        short widest = 0;
        for (unsigned code = first; code <= last; ++code) {
            XCharStruct glyph{};
            glyph.width = data.ConsumeIntegralInRange<short>(0, 40);
            widest = std::max(widest, glyph.width);
            chars.push_back(glyph);
        }
        font.min_char_or_byte2 = first;
        font.max_char_or_byte2 = last;
        font.per_char = chars.data();
        font.max_bounds.width = widest;
        font.ascent = data.ConsumeIntegralInRange(1, 64);
        font.descent = data.ConsumeIntegralInRange(0, 32);
    }

    int widthOf(std::string_view text) const {
        int width = 0;
        for (unsigned char c : text) width += advanceWidth(font, c);
        return width;
    }
};

BoxMetrics metricsOf(const std::vector<std::string_view>& lines, const CoreFont& font) {
    BoxMetrics metrics{{}, font.font.ascent, font.font.descent, font.widthOf("OK")};
    for (std::string_view line : lines) metrics.lineWidths.push_back(font.widthOf(line));
    return metrics;
}

struct ScreenSize {
    int width;
    int height;
};

// Centred on the screen, as the layer places the box.
BoxRect placed(const BoxLayout& layout, ScreenSize screen) {
    return {(screen.width - layout.width) / 2, (screen.height - layout.height) / 2, layout.width,
            layout.height};
}

void checkLayout(const BoxLayout& layout, ScreenSize screen) {
    require(layout.width > 0 && layout.width <= kMaxWindowSide && layout.height > 0 &&
                layout.height <= kMaxWindowSide,
            "X can make a window of the box's size");
    const BoxRect box = placed(layout, screen);
    require(box.x >= 0 && box.y >= 0 && box.x + box.width <= screen.width &&
                box.y + box.height <= screen.height,
            "the box lies on the screen");
    const BoxRect& button = layout.button;
    require(button.x >= 0 && button.y >= 0 && button.x + button.width <= layout.width &&
                button.y + button.height <= layout.height,
            "the OK button lies within the box");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const ScreenSize screen{data.ConsumeIntegralInRange(kMinScreenWidth, kMaxScreenSide),
                            data.ConsumeIntegralInRange(kMinScreenHeight, kMaxScreenSide)};
    const CoreFont font(data);
    const std::string bytesOfText = data.ConsumeRandomLengthString(kMaxText);
    const std::string_view text(bytesOfText.c_str());
    const std::vector<std::string_view> lines = splitLines(text);
    require(!lines.empty(), "a text has at least one line");
    checkLayout(layoutMessageBox(metricsOf(lines, font)), screen);
    return 0;
}
