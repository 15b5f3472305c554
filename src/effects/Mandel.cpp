// MANDEL: the Mandelbrot set, diving from its whole shape into the start point and back out
// again, its colour bands flowing outwards as the picture zooms.
//
// The page's numbers are whole: the start point is in 1/10000 units of the plane (the page
// suggests 0, 7000: the edge of the set just above the main body), and the X and Y zoom
// limits are zoom levels, 40 to a doubling of the view; 60 shows the whole set, -120 is 512
// times closer. The zoom runs between the two limits of each axis: the same limits for X and
// Y keep the set in proportion, different ones stretch it.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

// The plane in fixed point with 28 fraction bits. Iteration stops once |z| passes 2, so its
// parts stay within 6 and their products within 2^62.
constexpr int FractionBits = 28;
constexpr std::int64_t One = std::int64_t(1) << FractionBits;
constexpr std::int64_t EscapeRadiusSquared = 4 * One;
// Lifts x*y above zero before its shift (see escapeTime).
constexpr std::int64_t Lift = std::int64_t(1) << 62;
// Page units of the start point.
constexpr std::int64_t StartUnit = 10000;
// The middle of the whole set: the widest view is centred here.
constexpr std::int64_t HomeX = -One / 2;
constexpr std::int64_t HomeY = 0;

// Zoom levels: 40 to a doubling of the view's half width, level 0 a half width of one unit.
// The limits keep the deepest view within what 28 fraction bits draw cleanly.
constexpr int LevelsPerDoubling = 40;
constexpr int DeepestLevel = -480;
constexpr int WidestLevel = 200;
// The zoom moves by one level per frame; levels are tracked in 1/LevelSteps for smoothness.
constexpr std::int64_t LevelSteps = 256;

// More detail needs more iterations the deeper the dive goes.
constexpr int LeastIterations = 96;
constexpr int MostIterations = 256;
// Colour bands: palette entries per iteration, and how fast the bands flow per frame.
constexpr int BandWidth = 6;
constexpr int BandFlow = 3;
// Points that escape within this many iterations fade to black: the far outside stays dark.
constexpr int FadeIterations = 10;

// The page's palette list: colour bands run from the first colour to the second and back.
struct Palette {
    std::uint32_t from, to;
};
constexpr Palette Palettes[] = {
    {0xFF2000, 0x2040FF}, // red -> blue
    {0xFF8000, 0x20E040}, // orange -> green
    {0x20E040, 0x2040FF}, // green -> blue
    {0x2040FF, 0x40FF90}, // blue -> green
    {0x30FF30, 0xFF2020}, // green -> red
    {0x3050FF, 0xFF3030}, // blue -> red
    {0x604000, 0xFFF040}, // yellow
    {0xFFE020, 0x2030FF}, // yellow -> blue
    {0x400060, 0xE060FF}, // violet
    {0x500000, 0xFF4030}, // red
    {0xC040FF, 0x40FF60}, // violet -> green
    {0xFF70C0, 0x40E040}, // pink -> green
    {0x000050, 0x4080FF}, // blue
    {0x102080, 0xC0E0FF}, // blue2
    {0x004060, 0x40E0FF}, // azure
    {0x003000, 0x40FF40}, // green
    {0x205000, 0xD0FF80}, // green2
    {0x202020, 0xFFFFFF}, // gray
    {0x2040FF, 0xFFE020}, // blue -> yellow
    {0xFFFF80, 0xC08000}, // yellow (light)
    {0x40E0FF, 0xFF2020}, // azure -> red
    {0x40FF40, 0xB030FF}, // green -> violet
    {0xFFC0A0, 0xA00000}, // red (light)
    {0xFFC0FF, 0x600080}, // violet (light)
    {0xFFFFFF, 0x404040}, // gray (light)
    {0x000000, 0xC0C0C0}, // gray2
    {0x808080, 0xFFFFFF}, // gray3
};
constexpr int PaletteCount = int(sizeof Palettes / sizeof Palettes[0]);

// Whether c lies in the main body or the large disc left of it: both are wholly inside the
// set, and skipping them saves the most iterations.
bool insideMainShapes(std::int64_t cx, std::int64_t cy)
{
    const std::int64_t bx = cx + One;                                  // disc centred on -1
    if ((bx * bx + cy * cy) / One <= One / 16) return true;
    if (cx < -3 * One / 4 || cx > One / 2 || cy > One || cy < -One) return false;
    const std::int64_t ax = cx - One / 4;                              // cardioid about 1/4
    const std::int64_t q = (ax * ax + cy * cy) / One;
    return q * (q + ax) / One <= cy * cy / (4 * One);
}

// A point further than 2 from 0 escapes at the first step (and would overflow the products);
// the main shapes stay. Else -1: the point needs iterating.
int decidedAtOnce(std::int64_t cx, std::int64_t cy, int limit)
{
    if (cx > 2 * One || cx < -2 * One || cy > 2 * One || cy < -2 * One) return 1;
    if (insideMainShapes(cx, cy)) return limit;
    return -1;
}

// One iteration z -> z^2 + c; false when z has escaped (and is left as it was).
// Squares are never negative, so shifting divides them; x*y is lifted by 2^62 first so its
// shift is of a positive number too (|x*y| <= 2 * 2^56 once |z| <= 2).
inline bool iterate(std::int64_t &x, std::int64_t &y, std::int64_t cx, std::int64_t cy)
{
    const std::int64_t xx = (x * x) >> FractionBits, yy = (y * y) >> FractionBits;
    if (xx + yy > EscapeRadiusSquared) return false;
    y = ((x * y + Lift) >> (FractionBits - 1)) - (Lift >> (FractionBits - 1)) + cy;
    x = xx - yy + cx;
    return true;
}

// An orbit caught by a cycle never escapes: in fixed point it comes back to exactly a value
// it had. That value is kept at powers of two of the count, so a cycle of any length up to
// the gap is caught. The count goes on from `from` with z and the kept value as given.
int escapeFrom(int from, std::int64_t x, std::int64_t y, std::int64_t keptX, std::int64_t keptY, int keepAt,
               std::int64_t cx, std::int64_t cy, int limit)
{
    for (int n = from; n < limit; ++n) {
        if (!iterate(x, y, cx, cy)) return n;
        if (x == keptX && y == keptY) return limit;
        if (n == keepAt) {
            keptX = x;
            keptY = y;
            keepAt *= 2;
        }
    }
    return limit;
}

// The rest of iteration n for z just iterated (the cycle check), then on from n + 1.
int carryOn(int n, std::int64_t x, std::int64_t y, std::int64_t keptX, std::int64_t keptY, int keepAt,
            std::int64_t cx, std::int64_t cy, int limit)
{
    if (x == keptX && y == keptY) return limit;
    if (n == keepAt) {
        keptX = x;
        keptY = y;
        keepAt *= 2;
    }
    return escapeFrom(n + 1, x, y, keptX, keptY, keepAt, cx, cy, limit);
}

// How many iterations two points take to escape (`limit` for those that stay), each the
// same as alone. The two orbits run side by side: each iteration waits on the one before,
// so two in step take little longer than one. Once one is decided the other goes on alone.
void escapeTimes(std::int64_t acx, std::int64_t acy, std::int64_t bcx, std::int64_t bcy, int limit, int &countA,
                 int &countB)
{
    countA = decidedAtOnce(acx, acy, limit);
    countB = decidedAtOnce(bcx, bcy, limit);
    if (countA >= 0 || countB >= 0) {
        if (countA < 0) countA = escapeFrom(0, 0, 0, 0, 0, 1, acx, acy, limit);
        if (countB < 0) countB = escapeFrom(0, 0, 0, 0, 0, 1, bcx, bcy, limit);
        return;
    }
    std::int64_t ax = 0, ay = 0, bx = 0, by = 0;
    std::int64_t akx = 0, aky = 0, bkx = 0, bky = 0;
    int keepAt = 1;
    for (int n = 0; n < limit; ++n) {
        const bool aGoes = iterate(ax, ay, acx, acy);
        const bool bGoes = iterate(bx, by, bcx, bcy);
        const bool aCaught = aGoes && ax == akx && ay == aky, bCaught = bGoes && bx == bkx && by == bky;
        if (!aGoes || !bGoes || aCaught || bCaught) {
            countA = !aGoes ? n : carryOn(n, ax, ay, akx, aky, keepAt, acx, acy, limit);
            countB = !bGoes ? n : carryOn(n, bx, by, bkx, bky, keepAt, bcx, bcy, limit);
            return;
        }
        if (n == keepAt) {
            akx = ax;
            aky = ay;
            bkx = bx;
            bky = by;
            keepAt *= 2;
        }
    }
    countA = countB = limit;
}

// 2^(level / LevelsPerDoubling) in 16.16, level given in 1/LevelSteps.
class Zoom {
public:
    Zoom()
    {
        // One step's factor 2^(1/40), in 2.30, multiplied up once: the same table everywhere.
        constexpr std::int64_t StepFactor = 1092510500; // 2^(1/40) * 2^30
        std::int64_t value = std::int64_t(1) << 30;
        for (int k = 0; k <= LevelsPerDoubling; ++k) {
            m_fraction[k] = value;
            value = value * StepFactor >> 30;
        }
    }
    // The view's half width for `level` (in 1/LevelSteps), in the plane's fixed point.
    std::int64_t halfWidth(std::int64_t level) const
    {
        const std::int64_t perDoubling = LevelsPerDoubling * LevelSteps;
        const std::int64_t shifted = level - std::int64_t(DeepestLevel) * LevelSteps; // >= 0
        const std::int64_t doublings = shifted / perDoubling;
        const std::int64_t rest = shifted % perDoubling;
        const std::int64_t k = rest / LevelSteps, part = rest % LevelSteps;
        const std::int64_t fraction = m_fraction[k] + (m_fraction[k + 1] - m_fraction[k]) * part / LevelSteps;
        // 2^(DeepestLevel / 40) = 2^-12 of a unit, doubled `doublings` times.
        const int deepestBits = -DeepestLevel / LevelsPerDoubling;
        return (fraction << doublings) >> (30 - FractionBits + deepestBits);
    }

private:
    std::int64_t m_fraction[LevelsPerDoubling + 1] = {};
};

class Mandel : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        const int res = in.integer("res");
        m_cols = std::max(1, (m_width + res - 1) / res);
        m_rows = std::max(1, (m_height + res - 1) / res);
        m_targetX = in.integer("xstart") * One / StartUnit;
        m_targetY = in.integer("ystart") * One / StartUnit;
        m_firstX = in.integer("xmin");
        m_lastX = in.integer("xmax");
        m_firstY = in.integer("ymin");
        m_lastY = in.integer("ymax");
        // One sweep takes a frame per level of the longer of the two ranges.
        m_sweep = std::max({std::abs(m_lastX - m_firstX), std::abs(m_lastY - m_firstY), 1});
        m_widestX = std::max(m_firstX, m_lastX);
        const int deepest = std::min({m_firstX, m_lastX, m_firstY, m_lastY});
        m_iterations = clampInt(LeastIterations + (WidestLevel / 2 - deepest) / 3, LeastIterations, MostIterations);
        makePalette(in.integer("numpal") - 1);
        m_escape.assign(std::size_t(m_cols) * std::size_t(m_rows), 0);
        m_columnOf.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columnOf[std::size_t(x)] = x / res;
        m_rowOf.resize(std::size_t(m_height));
        for (int y = 0; y < m_height; ++y) m_rowOf[std::size_t(y)] = y / res;
    }

    void reset() override
    {
        m_frame = 0;
        render();
    }

    void step() override
    {
        ++m_frame;
        render();
    }

    void draw(std::uint8_t *rgba) override
    {
        // Iterations to colours for this frame: bands flow outwards, the far outside fades
        // to black and the set itself is black.
        const int flow = int((std::int64_t(m_frame) * BandFlow) % 256);
        for (int n = 0; n < m_iterations; ++n) {
            const std::uint32_t colour = m_palette[(n * BandWidth + 256 - flow) & 255];
            const int fade = std::min(n, FadeIterations);
            // Kept as the frame's bytes R, G, B, 255, so a pixel is one copy.
            std::uint8_t bytes[4] = {0, 0, 0, 255};
            for (int channel = 0; channel < 3; ++channel)
                bytes[channel] = std::uint8_t(((colour >> (16 - 8 * channel)) & 255) * std::uint32_t(fade) / FadeIterations);
            std::memcpy(&m_colourOf[n], bytes, 4);
        }
        const std::uint8_t black[4] = {0, 0, 0, 255};
        std::memcpy(&m_colourOf[m_iterations], black, 4);
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int y = 0; y < m_height; ++y, rgba += rowBytes) {
            // Rows of the same blocks are copies of the first.
            if (y > 0 && m_rowOf[std::size_t(y)] == m_rowOf[std::size_t(y - 1)]) {
                std::memcpy(rgba, rgba - rowBytes, rowBytes);
                continue;
            }
            const std::uint16_t *escape = &m_escape[std::size_t(m_rowOf[std::size_t(y)]) * std::size_t(m_cols)];
            for (int x = 0; x < m_width; ++x)
                std::memcpy(rgba + std::size_t(x) * 4, &m_colourOf[escape[m_columnOf[std::size_t(x)]]], 4);
        }
    }

private:
    void makePalette(int number)
    {
        const Palette &palette = Palettes[clampInt(number, 0, PaletteCount - 1)];
        for (int i = 0; i < 256; ++i) {
            const int t = i < 128 ? i : 255 - i; // there and back: 0..127..0
            std::uint32_t colour = 0;
            for (int shift = 16; shift >= 0; shift -= 8) {
                const int from = int((palette.from >> shift) & 255), to = int((palette.to >> shift) & 255);
                colour = (colour << 8) | std::uint32_t(from + (to - from) * t / 127);
            }
            m_palette[i] = colour;
        }
    }

    // The zoom level of one axis at this frame, in 1/LevelSteps: from its first limit to its
    // last and back.
    std::int64_t levelAt(int first, int last) const
    {
        const std::int64_t place = m_frame % (2 * std::int64_t(m_sweep));
        const std::int64_t along = place <= m_sweep ? place : 2 * std::int64_t(m_sweep) - place;
        return std::int64_t(first) * LevelSteps + std::int64_t(last - first) * LevelSteps * along / m_sweep;
    }

    void render()
    {
        const std::int64_t halfWidth = m_zoom.halfWidth(levelAt(m_firstX, m_lastX));
        const std::int64_t halfHeight =
            m_zoom.halfWidth(levelAt(m_firstY, m_lastY)) * m_height / std::max(m_width, 1);
        const std::int64_t widest = m_zoom.halfWidth(std::int64_t(m_widestX) * LevelSteps);
        // The start point keeps its place on screen: the view closes in on it from the
        // widest view around the whole set.
        const std::int64_t centreX = m_targetX + (HomeX - m_targetX) * halfWidth / widest;
        const std::int64_t centreY = m_targetY + (HomeY - m_targetY) * halfWidth / widest;
        const std::int64_t stepX = 2 * halfWidth / m_cols, stepY = 2 * halfHeight / m_rows;
        m_left = centreX - halfWidth + stepX / 2;
        m_top = centreY + halfHeight - stepY / 2; // the imaginary axis points up
        m_stepX = stepX;
        m_stepY = stepY;
        // The frame's border, then rectangles split until their borders agree.
        const int right = m_cols - 1, bottom = m_rows - 1;
        computeLine(0, 0, 1, 0, m_cols);
        if (bottom > 0) computeLine(0, bottom, 1, 0, m_cols);
        computeLine(0, 1, 0, 1, bottom - 1);
        if (right > 0) computeLine(right, 1, 0, 1, bottom - 1);
        subdivide(0, 0, right, bottom);
    }

    // The escape times of `count` blocks from (col, row) on, (dcol, drow) apart, two at a time.
    void computeLine(int col, int row, int dcol, int drow, int count)
    {
        for (int i = 0; i < count; i += 2) {
            const int colA = col + dcol * i, rowA = row + drow * i;
            const int colB = i + 1 < count ? colA + dcol : colA, rowB = i + 1 < count ? rowA + drow : rowA;
            int countA = 0, countB = 0;
            escapeTimes(m_left + m_stepX * colA, m_top - m_stepY * rowA, m_left + m_stepX * colB,
                        m_top - m_stepY * rowB, m_iterations, countA, countB);
            m_escape[std::size_t(rowA) * std::size_t(m_cols) + std::size_t(colA)] = std::uint16_t(countA);
            m_escape[std::size_t(rowB) * std::size_t(m_cols) + std::size_t(colB)] = std::uint16_t(countB);
        }
    }
    std::uint16_t escapeAt(int col, int row) const
    {
        return m_escape[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)];
    }

    // A rectangle whose border is known: when the whole border has one escape time, so has
    // the inside (exactly so for the set itself, which has no holes; outside, a band that
    // closes around a rectangle hides nothing wider than the rectangle's blocks). Else it is
    // cut in two across its longer side and each half is looked at alike.
    void subdivide(int left, int top, int right, int bottom)
    {
        if (right - left < 2 || bottom - top < 2) return; // no inside
        const std::uint16_t first = escapeAt(left, top);
        bool same = true;
        for (int col = left; col <= right && same; ++col)
            same = escapeAt(col, top) == first && escapeAt(col, bottom) == first;
        for (int row = top + 1; row < bottom && same; ++row)
            same = escapeAt(left, row) == first && escapeAt(right, row) == first;
        if (same) {
            for (int row = top + 1; row < bottom; ++row) {
                std::uint16_t *line = &m_escape[std::size_t(row) * std::size_t(m_cols)];
                std::fill(line + left + 1, line + right, first);
            }
            return;
        }
        if (right - left < 4 && bottom - top < 4) {
            // Small enough that splitting costs more than it saves.
            for (int row = top + 1; row < bottom; ++row) computeLine(left + 1, row, 1, 0, right - left - 1);
            return;
        }
        if (right - left >= bottom - top) {
            const int middle = (left + right) / 2;
            computeLine(middle, top + 1, 0, 1, bottom - top - 1);
            subdivide(left, top, middle, bottom);
            subdivide(middle, top, right, bottom);
        } else {
            const int middle = (top + bottom) / 2;
            computeLine(left + 1, middle, 1, 0, right - left - 1);
            subdivide(left, top, right, middle);
            subdivide(left, middle, right, bottom);
        }
    }

    int m_width = 0, m_height = 0, m_cols = 1, m_rows = 1;
    std::int64_t m_targetX = 0, m_targetY = 0;
    int m_firstX = 0, m_lastX = 0, m_firstY = 0, m_lastY = 0, m_widestX = 0, m_sweep = 1;
    int m_iterations = LeastIterations;
    std::int64_t m_frame = 0;
    // This frame's view: the middle of the top left block and the step between blocks.
    std::int64_t m_left = 0, m_top = 0, m_stepX = 1, m_stepY = 1;
    Zoom m_zoom;
    std::uint32_t m_palette[256] = {};
    std::uint32_t m_colourOf[MostIterations + 1] = {}; // RGBA bytes
    std::vector<std::uint16_t> m_escape; // iterations per block, cols x rows
    std::vector<int> m_columnOf, m_rowOf;
};

} // namespace

EffectInfo mandelEffect()
{
    return {"mandel.class",
            "MANDEL",
            {
                {"res", ParamKind::Integer, "2", 1, 8, "5"},
                {"xstart", ParamKind::Integer, "0", -20000, 20000, "-7500"},
                {"ystart", ParamKind::Integer, "7000", -20000, 20000, "1000"},
                {"xmin", ParamKind::Integer, "60", DeepestLevel, WidestLevel, "40"},
                {"xmax", ParamKind::Integer, "-120", DeepestLevel, WidestLevel, "-240"},
                {"ymin", ParamKind::Integer, "60", DeepestLevel, WidestLevel, "100"},
                {"ymax", ParamKind::Integer, "-120", DeepestLevel, WidestLevel, "0"},
                {"numpal", ParamKind::Integer, "1", 1, PaletteCount, "15"},
            },
            [] { return std::unique_ptr<Effect>(new Mandel); },
            25};
}

} // namespace vexa::effects
