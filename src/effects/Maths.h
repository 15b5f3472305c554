#pragma once

// Integer arithmetic for everything that decides a pixel: the C library's sin, cos, exp and
// pow may differ by an ulp between platforms, these never do.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vexa::effects {

// Angles are in 1/4096 of a turn; sines are 16.16 fixed point (-65536..65536).
constexpr int AngleSteps = 4096;
constexpr int AngleMask = AngleSteps - 1;
// A whole turn of sines, one per angle step.
extern const std::array<std::int32_t, AngleSteps> SineValues;
inline std::int32_t sine(std::int32_t angle) { return SineValues[std::size_t(angle & AngleMask)]; }
inline std::int32_t cosine(std::int32_t angle) { return sine(angle + AngleSteps / 4); }

// The whole square root of `value` (rounded down).
std::uint32_t squareRoot(std::uint64_t value);
// The angle (in 1/4096 of a turn) of the vector (x, y).
std::int32_t angleOf(std::int32_t x, std::int32_t y);

inline std::int32_t clampInt(std::int64_t value, std::int32_t low, std::int32_t high)
{
    return value < low ? low : value > high ? high : std::int32_t(value);
}
inline std::uint8_t toByte(std::int32_t value) { return std::uint8_t(clampInt(value, 0, 255)); }

// A small, fast generator (xorshift32): started from the same number, the same numbers everywhere.
// Draw once per statement: compilers order a call's arguments differently, and so the draws.
class Random {
public:
    explicit Random(std::uint32_t first = 0x9E3779B9u) : m_state(first ? first : 0x9E3779B9u) {}
    void start(std::uint32_t first) { m_state = first ? first : 0x9E3779B9u; }
    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    // A number in 0..bound-1 (bound >= 1).
    std::uint32_t below(std::uint32_t bound) { return std::uint32_t((std::uint64_t(next()) * bound) >> 32); }

private:
    std::uint32_t m_state;
};

} // namespace vexa::effects
