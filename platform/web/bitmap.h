#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A bitmap as glBitmap draws it: `height` rows from the bottom up, each
// (width + 7) / 8 bytes with the leftmost pixel in the top bit; drawn with
// its origin (xorig, yorig) at the raster position, which then moves by
// (xmove, ymove).
struct Bitmap {
    int32_t width, height;
    float xorig, yorig, xmove, ymove;
    std::vector<uint8_t> rows;

    int32_t bytesPerRow() const { return (width + 7) / 8; }
    bool set(int32_t column, int32_t row) const {
        const size_t byte = static_cast<size_t>(row) * static_cast<size_t>(bytesPerRow()) +
                            static_cast<size_t>(column / 8);
        return rows[byte] & (0x80 >> column % 8);
    }
};
