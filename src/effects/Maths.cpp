#include "Maths.h"

#include <array>

namespace vexa::effects {
namespace {

// A quarter turn of sines, from a Taylor series in 2.62 fixed point: integer steps only.
std::array<std::int32_t, AngleSteps / 4 + 1> makeQuarter()
{
    std::array<std::int32_t, AngleSteps / 4 + 1> table{};
    constexpr std::int64_t One = std::int64_t(1) << 30;        // 2.30 fixed point
    constexpr std::int64_t HalfPi = 1686629713;                // pi/2 in 2.30
    for (int i = 0; i <= AngleSteps / 4; ++i) {
        const std::int64_t x = HalfPi * i / (AngleSteps / 4);  // radians, 2.30
        std::int64_t term = x;
        std::int64_t sum = x;
        const std::int64_t x2 = (x * x) >> 30;
        for (int n = 1; n <= 8; ++n) {
            term = -((term * x2) >> 30) / ((2 * n) * (2 * n + 1));
            sum += term;
        }
        std::int64_t value = (sum + (One >> 17)) >> 14; // to 16.16, rounded
        table[std::size_t(i)] = std::int32_t(value > 65536 ? 65536 : value);
    }
    return table;
}

const std::array<std::int32_t, AngleSteps / 4 + 1> &quarter()
{
    static const auto table = makeQuarter();
    return table;
}

} // namespace

std::int32_t sine(std::int32_t angle)
{
    const int a = angle & AngleMask;
    const int q = AngleSteps / 4;
    const auto &t = quarter();
    if (a <= q) return t[std::size_t(a)];
    if (a <= 2 * q) return t[std::size_t(2 * q - a)];
    if (a <= 3 * q) return -t[std::size_t(a - 2 * q)];
    return -t[std::size_t(4 * q - a)];
}

std::uint32_t squareRoot(std::uint64_t value)
{
    std::uint64_t result = 0;
    std::uint64_t bit = std::uint64_t(1) << 62;
    while (bit > value) bit >>= 2;
    while (bit != 0) {
        if (value >= result + bit) {
            value -= result + bit;
            result = (result >> 1) + bit;
        } else {
            result >>= 1;
        }
        bit >>= 2;
    }
    return std::uint32_t(result);
}

std::int32_t angleOf(std::int32_t x, std::int32_t y)
{
    if (x == 0 && y == 0) return 0;
    // The octant, then a binary search over the sine table for the angle inside it.
    const std::int64_t ax = x < 0 ? -std::int64_t(x) : x;
    const std::int64_t ay = y < 0 ? -std::int64_t(y) : y;
    const bool steep = ay > ax;
    const std::int64_t big = steep ? ay : ax, small = steep ? ax : ay;
    // tan(a) = small / big with a in 0..1/8 turn: find a with sin(a) * big >= cos(a) * small.
    int low = 0, high = AngleSteps / 8;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (std::int64_t(sine(mid)) * big < std::int64_t(cosine(mid)) * small)
            low = mid + 1;
        else
            high = mid;
    }
    int a = steep ? AngleSteps / 4 - low : low;
    if (x < 0) a = AngleSteps / 2 - a;
    if (y < 0) a = AngleSteps - a;
    return a & AngleMask;
}

} // namespace vexa::effects
