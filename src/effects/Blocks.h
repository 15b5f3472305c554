#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace vexa::effects {

// One pixel's RGBA bytes from 0xRRGGBB, as one four-byte copy: in a plain pass over a canvas,
// stores through the frame's byte pointer may alias anything, so the compiler would otherwise
// write the bytes one by one. (Where each colour comes from a look-up, byte stores are faster.)
inline void putPixel(std::uint8_t *out, std::uint32_t colour)
{
    const std::uint8_t bytes[4] = {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour), 255};
    std::memcpy(out, bytes, 4);
}

// An effect drawn at 1/res of the applet's size (a page's "res"), as 0xRRGGBB, shown on the
// applet's width x height RGBA pixels in res x res blocks; `columns` holds each pixel
// column's inner column.
inline void showBlocks(const std::vector<std::uint32_t> &inner, int innerWidth, int res,
                       const std::vector<int> &columns, int width, int height, std::uint8_t *rgba)
{
    for (int y = 0; y < height; ++y) {
        const std::uint32_t *row = &inner[std::size_t(y / res) * std::size_t(innerWidth)];
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = row[columns[std::size_t(x)]];
            *rgba++ = std::uint8_t(colour >> 16);
            *rgba++ = std::uint8_t(colour >> 8);
            *rgba++ = std::uint8_t(colour);
            *rgba++ = 255;
        }
    }
}

} // namespace vexa::effects
