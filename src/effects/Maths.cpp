#include "Maths.h"

#include <array>

namespace vexa::effects {
namespace {

constexpr int Quarter = AngleSteps / 4;

// A whole turn of sines, made by the compiler from a Taylor series over a quarter turn in 2.62
// fixed point: integer steps only, so the table is the same wherever it is built.
constexpr std::array<std::int32_t, AngleSteps> makeSines()
{
    std::int32_t quarter[Quarter + 1] = {};
    constexpr std::int64_t One = std::int64_t(1) << 30;        // 2.30 fixed point
    constexpr std::int64_t HalfPi = 1686629713;                // pi/2 in 2.30
    for (int i = 0; i <= Quarter; ++i) {
        const std::int64_t x = HalfPi * i / Quarter;           // radians, 2.30
        std::int64_t term = x;
        std::int64_t sum = x;
        const std::int64_t x2 = (x * x) >> 30;
        for (int n = 1; n <= 8; ++n) {
            term = -((term * x2) >> 30) / ((2 * n) * (2 * n + 1));
            sum += term;
        }
        const std::int64_t value = (sum + (One >> 17)) >> 14; // to 16.16, rounded
        quarter[i] = std::int32_t(value > 65536 ? 65536 : value);
    }
    std::array<std::int32_t, AngleSteps> table{};
    for (int a = 0; a < AngleSteps; ++a) {
        table[std::size_t(a)] = a <= Quarter       ? quarter[a]
                          : a <= 2 * Quarter ? quarter[2 * Quarter - a]
                          : a <= 3 * Quarter ? -quarter[a - 2 * Quarter]
                                             : -quarter[4 * Quarter - a];
    }
    return table;
}

} // namespace

constexpr std::array<std::int32_t, AngleSteps> SineValues = makeSines();

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
