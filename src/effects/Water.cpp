// WATER: the picture seen through a rippling water surface. A wave height field is stirred by
// rain, a fixed drop, crosses and swimming fish; its slope bends the picture and lights it.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <utility>

namespace vexa::effects {
namespace {

// Heights stay inside +-HeightLimit, so slopes (differences of two) stay inside +-2^16.
constexpr int HeightLimit = 30000;
// Added before a right shift so that shifted values are never negative (an exact floor division).
constexpr int ShiftBias = 1 << 30;
// The wave step's weights are in 1/2^WeightShift; with heights inside +-HeightLimit its sums
// stay inside +-2^29, so adding ShiftBias cannot overflow.
constexpr int WeightShift = 12, WeightOne = 1 << WeightShift, WeightHalf = WeightOne / 2;
// Depth of a drop per unit of the page's rain pressure.
constexpr int DepthPerPressure = 6;
// The slope moves the picture by slope / 2^RefractShift cells and lights it by slope / 2^LightShift.
constexpr int RefractShift = 5;
constexpr int LightShift = 1;
// Light ranges over +-MaxLight; a lit channel is looked up in a table of clamped levels.
constexpr int MaxLight = 255;
// A fluid: the square of its wave speed in 1/8 cell per step (4, half a cell, is the fastest
// the wave step allows) and its viscosity (each step a cell goes 1/2^shift of the way to its
// neighbours' mean). Water is quick and thin, oil slow and thick.
struct Fluid {
    int speedSquared;
    int viscosityShift;
};
constexpr Fluid WaterFluid{4, 5}, OilFluid{1, 3};
// A swimming fish: cells per frame in 16.16, its largest turn per frame (1/4096 turn), the
// width of its wake and how deep it pushes compared with a drop.
constexpr int FishSpeed = 32768;
constexpr int FishMaxTurn = 20;
constexpr int FishWake = 7;
constexpr int FishDepthDivisor = 3;
constexpr int MaxFish = 2;
// A cross is a groove this many cells wide along a whole row and a whole column.
constexpr int CrossWidth = 3;
// Energy lost per wave step, in 1/256, by fluid density 2..6: a denser fluid calms sooner.
constexpr int DensityLoss[] = {2, 3, 5, 8, 12};
constexpr int MinDensity = 2;

// Where and how often the surface is stirred. Periods are in frames; a size or period of 0
// switches a source off.
struct Design {
    int rainSize, rainPeriod;   // big drops: diameter in cells, one in `period` frames on average
    int smallSize, smallPeriod; // small rain drops, the same way
    int fish;
    int crossPeriod;            // a cross every `period` frames
    int fixedPeriod;            // the fixed drop every `period` frames
};

// Autodesign plays these in turn, each for DesignFrames frames, with the fixed drop in the middle.
constexpr Design AutoDesigns[] = {
    {12, 4, 3, 1, 0, 0, 0},   // a shower
    {0, 1, 2, 6, 2, 0, 0},    // two fish in a calm pool
    {0, 1, 0, 1, 0, 0, 10},   // a fountain
    {24, 20, 0, 1, 0, 40, 0}, // crosses
    {32, 8, 4, 1, 1, 0, 0},   // a downpour with a fish
};
constexpr int DesignFrames = 250;
constexpr int AutoFixedSize = 10;

// value / 2^shift rounded down, for values from -ShiftBias to ShiftBias - 1.
inline int shiftDown(int value, int shift) { return ((value + ShiftBias) >> shift) - (ShiftBias >> shift); }

struct Fish {
    std::int32_t x = 0, y = 0; // 16.16 cells
    int angle = 0, turn = 0;   // 1/4096 turn
};

class Water : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // The surface is simulated at the page's resolution: one cell is res x res pixels.
        const int res = in.integer("res");
        m_cellsX = std::max(1, m_width / res);
        m_cellsY = std::max(1, m_height / res);
        m_stride = m_cellsX + 2; // a still border of one cell all round
        m_light = in.flag("light");
        m_lightMin = in.integer("minlight");
        m_lightMax = std::max(m_lightMin, in.integer("maxlight"));
        m_autodesign = in.flag("autodesign");
        m_oil = in.word("fluidmode", {"water", "oil"}) == 1;
        // The wave equation with c^2 = q / 8: next = (2 - 4c^2) here + c^2 around - before; kept at
        // (1 - 1/v) with around / 4 at 1/v (viscosity), all kept at (1 - loss) (density). Over
        // 32v that is around x (4q(v - 1) + 8), here x 16(4 - q)(v - 1), before x 32(v - 1).
        const Fluid &fluid = m_oil ? OilFluid : WaterFluid;
        const std::int64_t keep = 256 - DensityLoss[in.integer("density") - MinDensity];
        const std::int64_t q = fluid.speedSquared, v = std::int64_t(1) << fluid.viscosityShift;
        const std::int64_t scale = WeightOne * keep, over = 32 * v * 256;
        m_weightAround = int(scale * (4 * q * (v - 1) + 8) / over);
        m_weightHere = int(scale * 16 * (4 - q) * (v - 1) / over);
        m_weightBefore = int(scale * 32 * (v - 1) / over);
        m_depth = in.integer("pressure") * DepthPerPressure;

        m_design.rainSize = in.integer("rainsize");
        m_design.rainPeriod = in.integer("rainfactor");
        m_design.smallSize = in.integer("srainsize");
        m_design.smallPeriod = in.integer("srainfactor");
        m_design.fish = in.integer("fishnum");
        m_design.crossPeriod = in.flag("cross") ? in.integer("crossfactor") : 0;
        m_design.fixedPeriod = in.flag("fixdrop") ? in.integer("fixdropF") : 0;
        m_fixedSize = in.integer("fixdropS");
        // The fixed drop is placed in applet pixels.
        m_fixedX = clampInt(in.integer("fixdropX") / res, 0, m_cellsX - 1);
        m_fixedY = clampInt(in.integer("fixdropY") / res, 0, m_cellsY - 1);

        // The picture fills the surface, whatever its own size.
        const Picture &picture = in.picture("image");
        m_picture.resize(std::size_t(m_cellsX) * std::size_t(m_cellsY) * 4);
        std::uint8_t *cell = m_picture.data();
        for (int y = 0; y < m_cellsY; ++y) {
            const int py = int(std::int64_t(y) * picture.height / m_cellsY);
            for (int x = 0; x < m_cellsX; ++x, cell += 4) {
                const std::uint32_t colour = picture.at(int(std::int64_t(x) * picture.width / m_cellsX), py);
                cell[0] = std::uint8_t(colour >> 16);
                cell[1] = std::uint8_t(colour >> 8);
                cell[2] = std::uint8_t(colour);
                cell[3] = 255;
            }
        }
        const std::size_t cells = std::size_t(m_stride) * std::size_t(m_cellsY + 2);
        m_now.assign(cells, 0);
        m_before.assign(cells, 0);
        m_line.resize(std::size_t(m_cellsX) * 4);
        for (int i = 0; i < int(m_levels.size()); ++i) m_levels[std::size_t(i)] = toByte(i - MaxLight);
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = int(std::int64_t(x) * m_cellsX / m_width);
        m_rows.resize(std::size_t(m_height));
        for (int y = 0; y < m_height; ++y) m_rows[std::size_t(y)] = int(std::int64_t(y) * m_cellsY / m_height);
    }

    void reset() override
    {
        std::fill(m_now.begin(), m_now.end(), 0);
        std::fill(m_before.begin(), m_before.end(), 0);
        m_random.start(0x3A7E2u);
        m_time = 0;
        for (Fish &fish : m_fish) {
            fish.x = std::int32_t(m_random.below(std::uint32_t(m_cellsX))) << 16;
            fish.y = std::int32_t(m_random.below(std::uint32_t(m_cellsY))) << 16;
            fish.angle = int(m_random.below(AngleSteps));
            fish.turn = 0;
        }
    }

    void step() override
    {
        ++m_time;
        const Design &design = m_autodesign ? AutoDesigns[(m_time / DesignFrames) % std::size(AutoDesigns)] : m_design;
        stir(design);
        propagate();
    }

    void draw(std::uint8_t *rgba) override
    {
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int y = 0; y < m_height; ++y) {
            std::uint8_t *out = rgba + std::size_t(y) * rowBytes;
            const int cellY = m_rows[std::size_t(y)];
            if (y > 0 && cellY == m_rows[std::size_t(y - 1)]) {
                std::memcpy(out, out - rowBytes, rowBytes); // the same row of cells again
            } else if (m_cellsX == m_width) {
                shadeRow(cellY, out);
            } else {
                shadeRow(cellY, m_line.data());
                for (int x = 0; x < m_width; ++x) std::memcpy(out + 4 * x, &m_line[std::size_t(m_columns[std::size_t(x)]) * 4], 4);
            }
        }
    }

private:
    int &height(int x, int y) { return m_now[std::size_t(y + 1) * std::size_t(m_stride) + std::size_t(x + 1)]; }

    // Pushes the surface down in a round dip of `size` cells across, deepest in the middle.
    void drop(int centreX, int centreY, int size, int depth)
    {
        const int radius = std::max(1, (size + 1) / 2);
        const int x0 = std::max(0, centreX - radius + 1), x1 = std::min(m_cellsX - 1, centreX + radius - 1);
        const int y0 = std::max(0, centreY - radius + 1), y1 = std::min(m_cellsY - 1, centreY + radius - 1);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const int dx = x - centreX, dy = y - centreY;
                // The distance in 1/16 cell; the dip follows half a cosine wave to the rim.
                const int distance = int(squareRoot(std::uint64_t(dx * dx + dy * dy) << 8));
                if (distance >= radius * 16) continue;
                const int profile = (65536 + cosine(distance * (AngleSteps / 2) / (radius * 16))) / 2;
                int &h = height(x, y);
                h = clampInt(h - ((std::int64_t(depth) * profile) >> 16), -HeightLimit, HeightLimit);
            }
        }
    }

    // A groove along a whole row and a whole column through a random point: straight waves.
    void cross()
    {
        const int cx = int(m_random.below(std::uint32_t(m_cellsX)));
        const int cy = int(m_random.below(std::uint32_t(m_cellsY)));
        for (int k = -(CrossWidth / 2); k <= CrossWidth / 2; ++k) {
            const int depth = k == 0 ? m_depth : m_depth / 2;
            if (cy + k >= 0 && cy + k < m_cellsY)
                for (int x = 0; x < m_cellsX; ++x) height(x, cy + k) = clampInt(std::int64_t(height(x, cy + k)) - depth, -HeightLimit, HeightLimit);
            if (cx + k >= 0 && cx + k < m_cellsX)
                for (int y = 0; y < m_cellsY; ++y) height(cx + k, y) = clampInt(std::int64_t(height(cx + k, y)) - depth, -HeightLimit, HeightLimit);
        }
    }

    // A fish wanders just under the surface, turning smoothly and away from the edges,
    // and leaves a wake behind it.
    void swim(Fish &fish)
    {
        // The turn wanders and straightens out again, so the fish swims in long curves.
        fish.turn = clampInt(fish.turn - fish.turn / 16 + int(m_random.below(5)) - 2, -FishMaxTurn, FishMaxTurn);
        const int x = fish.x >> 16, y = fish.y >> 16;
        const int marginX = m_cellsX / 8, marginY = m_cellsY / 8;
        if (x < marginX || x >= m_cellsX - marginX || y < marginY || y >= m_cellsY - marginY) {
            // Near an edge it heads for the middle of the pool.
            const int home = angleOf(m_cellsX / 2 - x, m_cellsY / 2 - y);
            const int off = ((home - fish.angle + AngleSteps / 2) & AngleMask) - AngleSteps / 2; // 0 = facing home
            fish.turn = off < 0 ? -FishMaxTurn : off > 0 ? FishMaxTurn : 0;
        }
        fish.angle = (fish.angle + fish.turn) & AngleMask;
        fish.x = clampInt(std::int64_t(fish.x) + std::int64_t(cosine(fish.angle)) * FishSpeed / 65536, 0, (m_cellsX - 1) << 16);
        fish.y = clampInt(std::int64_t(fish.y) + std::int64_t(sine(fish.angle)) * FishSpeed / 65536, 0, (m_cellsY - 1) << 16);
        drop(fish.x >> 16, fish.y >> 16, FishWake, m_depth / FishDepthDivisor);
    }

    void stir(const Design &design)
    {
        if (design.rainSize > 0 && m_random.below(std::uint32_t(design.rainPeriod)) == 0) {
            const int x = int(m_random.below(std::uint32_t(m_cellsX))), y = int(m_random.below(std::uint32_t(m_cellsY)));
            drop(x, y, design.rainSize, m_depth);
        }
        if (design.smallSize > 0 && m_random.below(std::uint32_t(design.smallPeriod)) == 0) {
            const int x = int(m_random.below(std::uint32_t(m_cellsX))), y = int(m_random.below(std::uint32_t(m_cellsY)));
            drop(x, y, design.smallSize, m_depth);
        }
        // Timed sources fire on the first frame, then once a period.
        if (design.fixedPeriod > 0 && (m_time - 1) % std::uint32_t(design.fixedPeriod) == 0) {
            if (m_autodesign)
                drop(m_cellsX / 2, m_cellsY / 2, AutoFixedSize, m_depth);
            else
                drop(m_fixedX, m_fixedY, m_fixedSize, m_depth);
        }
        if (design.crossPeriod > 0 && (m_time - 1) % std::uint32_t(design.crossPeriod) == 0) cross();
        for (int i = 0; i < design.fish && i < MaxFish; ++i) swim(m_fish[std::size_t(i)]);
    }

    // One wave step: the fluid's weighted sum of the four neighbours, the cell itself and the
    // cell one step before, in 1/2^WeightShift.
    void propagate()
    {
        const int s = m_stride, cellsX = m_cellsX;
        const int around = m_weightAround, here = m_weightHere, before = m_weightBefore;
        for (int y = 1; y <= m_cellsY; ++y) {
            const int *a = &m_now[std::size_t(y) * std::size_t(s)];
            int *b = &m_before[std::size_t(y) * std::size_t(s)];
            for (int x = 1; x <= cellsX; ++x) {
                const int sum = a[x - 1] + a[x + 1] + a[x - s] + a[x + s];
                const int next = shiftDown(sum * around + a[x] * here - b[x] * before + WeightHalf, WeightShift);
                b[x] = std::min(std::max(next, -HeightLimit), HeightLimit);
            }
        }
        std::swap(m_now, m_before);
    }

    // One row of cells as the surface shows the picture, as RGBA: each cell looks along its
    // slope and is lit by it.
    void shadeRow(int y, std::uint8_t *out) const
    {
        const int s = m_stride, cellsX = m_cellsX, lastY = m_cellsY - 1;
        const int lightMin = m_light ? m_lightMin : 0, lightMax = m_light ? m_lightMax : 0;
        const int *h = &m_now[std::size_t(y + 1) * std::size_t(s) + 1];
        const std::uint8_t *picture = m_picture.data();
        for (int x = 0; x < cellsX; ++x, out += 4) {
            const int slopeX = h[x - 1] - h[x + 1], slopeY = h[x - s] - h[x + s];
            const int px = std::min(std::max(x + shiftDown(slopeX, RefractShift), 0), cellsX - 1);
            const int py = std::min(std::max(y + shiftDown(slopeY, RefractShift), 0), lastY);
            const std::uint8_t *colour = picture + (std::size_t(py) * std::size_t(cellsX) + std::size_t(px)) * 4;
            // Light from the upper left: slopes facing it brighten, the others darken.
            const int light = std::min(std::max(shiftDown(slopeX + slopeY, LightShift), lightMin), lightMax);
            const std::uint8_t *level = &m_levels[std::size_t(MaxLight + light)];
            out[0] = level[colour[0]];
            out[1] = level[colour[1]];
            out[2] = level[colour[2]];
            out[3] = 255;
        }
    }

    int m_width = 0, m_height = 0, m_cellsX = 1, m_cellsY = 1, m_stride = 3;
    bool m_light = true, m_autodesign = false, m_oil = false;
    int m_lightMin = 0, m_lightMax = 0, m_weightAround = 0, m_weightHere = 0, m_weightBefore = 0, m_depth = 0;
    Design m_design{};
    int m_fixedSize = 1, m_fixedX = 0, m_fixedY = 0;
    std::uint32_t m_time = 0; // frames since the start
    Fish m_fish[MaxFish];
    std::vector<int> m_now, m_before;       // heights with a still border: now and one step before
    std::vector<std::uint8_t> m_picture;    // the picture at cell size, RGBA
    std::vector<std::uint8_t> m_line;       // one row of cells as drawn, RGBA
    std::array<std::uint8_t, 256 + 2 * MaxLight> m_levels{}; // channel + MaxLight + light -> lit channel
    std::vector<int> m_columns, m_rows;     // pixel -> cell
    Random m_random;
};

} // namespace

EffectInfo waterEffect()
{
    return {"VxWater.class",
            "WATER",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "missing.jpg"},
                {"light", ParamKind::Flag, "YES", 0, 1, "NO"},
                {"minlight", ParamKind::Integer, "-64", -255, 255, "0", true, nullptr, "light=YES"},
                {"maxlight", ParamKind::Integer, "128", -255, 255, "16", true, nullptr, "light=YES"},
                {"autodesign", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"density", ParamKind::Integer, "4", 2, 6, "2"},
                {"fishnum", ParamKind::Integer, "0", 0, MaxFish, "2"},
                {"cross", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"crossfactor", ParamKind::Integer, "100", 1, 99999, "20", true, nullptr, "cross=YES"},
                {"rainsize", ParamKind::Integer, "16", 0, 128, "48"},
                {"rainfactor", ParamKind::Integer, "10", 1, 999, "2"},
                {"srainsize", ParamKind::Integer, "2", 0, 4, "4"},
                {"srainfactor", ParamKind::Integer, "5", 1, 999, "1"},
                {"fixdrop", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"fixdropX", ParamKind::Integer, "160", 0, 9999, "40", true, nullptr, "fixdrop=YES"},
                {"fixdropY", ParamKind::Integer, "100", 0, 9999, "40", true, nullptr, "fixdrop=YES"},
                {"fixdropS", ParamKind::Integer, "8", 1, 128, "40", true, nullptr, "fixdrop=YES"},
                {"fixdropF", ParamKind::Integer, "50", 1, 9999, "7", true, nullptr, "fixdrop=YES"},
                {"pressure", ParamKind::Integer, "100", 1, 2000, "400"},
                {"fluidmode", ParamKind::Word, "water", 0, 1, "oil"},
                {"interactive", ParamKind::Flag, "YES", 0, 1, "NO", false, "drops by mouse: no mouse in a recorded frame"},
            },
            [] { return std::unique_ptr<Effect>(new Water); },
            50}; // small steps keep the waves quick and smooth
}

} // namespace vexa::effects
