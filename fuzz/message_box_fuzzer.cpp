// Lays out a message box for any text (any bytes up to 64 KiB, up to the
// first NUL as MessageBoxA reads it) in any core font, centred on any screen
// as the layer places it. Checks that the box lies on the screen, that X can
// make a window of its size, and that on a screen that has room for it the
// OK button lies within it.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "fuzz/invariant.h"
#include "platform/x11/font_metrics.h"
#include "platform/x11/message_box_layout.h"

namespace {

constexpr size_t kMaxText = 64 * 1024;
// Screens of any size X allows; from VGA's up, one holds a line of the
// tallest font below and the button.
constexpr int kMaxScreenSide = 32767;
constexpr int kRoomyWidth = 640;
constexpr int kRoomyHeight = 480;
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
};

// The box's font as the layer measures it.
BoxFont boxFont(const CoreFont& font) {
    return {font.font.ascent, font.font.descent,
            [&font](unsigned char c) { return advanceWidth(font.font, c); }};
}

// A screen that holds the tallest font's line and the button: there the
// button lies within the box as well.
bool roomyScreen(ScreenSize screen) {
    return screen.width >= kRoomyWidth && screen.height >= kRoomyHeight;
}

void checkLayout(const BoxLayout& layout, ScreenSize screen) {
    require(layout.width > 0 && layout.width <= kMaxWindowSide && layout.height > 0 &&
                layout.height <= kMaxWindowSide,
            "X can make a window of the box's size");
    require(layout.x >= 0 && layout.y >= 0 && layout.x + layout.width <= screen.width &&
                layout.y + layout.height <= screen.height,
            "the box lies on the screen");
    if (!roomyScreen(screen)) return;
    const BoxRect& button = layout.button;
    require(button.x >= 0 && button.y >= 0 && button.x + button.width <= layout.width &&
                button.y + button.height <= layout.height,
            "the OK button lies within the box");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const ScreenSize screen{data.ConsumeIntegralInRange(1, kMaxScreenSide),
                            data.ConsumeIntegralInRange(1, kMaxScreenSide)};
    const CoreFont font(data);
    const std::string bytesOfText = data.ConsumeRandomLengthString(kMaxText);
    checkLayout(layoutMessageBox(bytesOfText.c_str(), boxFont(font), screen), screen);
    return 0;
}
