#pragma once

#include <cstdint>

namespace vexa::effects {

// Texels of a picture blended at fractional places: each channel in its own 16 bits or more
// (red at bit 0, blue at 16, green at 40), so that one multiplication weighs all three and a
// blend cannot carry from one channel into the next; folding the upper half onto the lower
// then gives the frame's bytes R, G, B.
using Texel = std::uint64_t;
constexpr Texel ChannelMask = 0x0000FF0000FF00FFull;

inline Texel spread(std::uint32_t rgb)
{
    return Texel((rgb >> 16) & 0xFFu) | (Texel(rgb & 0xFF00u) << 32) | (Texel(rgb & 0xFFu) << 16);
}

// `one` and `other` weighed by 256 - weight and weight (of 256).
inline Texel blend(Texel one, Texel other, std::uint32_t weight)
{
    return ((one * (256 - weight) + other * weight) >> 8) & ChannelMask;
}

// A texel as the frame's four bytes R, G, B, 255.
inline void put(std::uint8_t *out, Texel texel)
{
    const std::uint32_t rgb = std::uint32_t(texel | (texel >> 32));
    out[0] = std::uint8_t(rgb);
    out[1] = std::uint8_t(rgb >> 8);
    out[2] = std::uint8_t(rgb >> 16);
    out[3] = 255;
}

} // namespace vexa::effects
