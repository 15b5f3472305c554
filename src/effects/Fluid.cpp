// FLUID: a shaded fluid surface (water, or lava for the volcano) stirred by big and small
// drops, swimming fish and, on autodesign, a stirrer drawing figures through it.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace vexa::effects {
namespace {

// Heights stay inside +-HeightLimit so that sums of four neighbours never overflow.
constexpr int HeightLimit = 16000;
// Added before a right shift so that the shifted value is never negative (an exact floor).
constexpr int ShiftBias = 1 << 24;
// Energy lost per wave step, in 1/256, by fluid density 2..6: a denser fluid calms sooner.
constexpr int DensityLoss[] = {2, 4, 6, 10, 16};
constexpr int MinDensity = 2;
// Lava is thicker than water of the same density.
constexpr int LavaExtraLoss = 6;
// Depth of a drop's centre: big drops, small rain drops, the stirrer and a fish's wake.
constexpr int BigDropDepth = 2400;
constexpr int SmallDropDepth = 1600;
constexpr int StirDepth = 700;
constexpr int WakeDepth = 90;
// The slope lights the surface by slope / 2^LightShift palette steps and bends what lies
// below (the fish) by slope / 2^RefractShift cells, at most MaxBend cells.
constexpr int LightShift = 3;
constexpr int RefractShift = 7;
constexpr int MaxBend = 3;
// The surface is a little darker far away (top) than near (bottom): palette steps over the height.
constexpr int DepthShade = 24;

// A palette is spread between these key colours (at palette positions 0..255).
struct Key {
    int at;
    std::uint32_t colour;
};
constexpr Key WaterKeys[] = {{0, 0x000818}, {90, 0x0A3070}, {128, 0x145A9E}, {185, 0x3C96D2},
                             {230, 0xA0DCF5}, {255, 0xFFFFFF}};
constexpr Key LavaKeys[] = {{0, 0x0A0000}, {80, 0x641000}, {128, 0xB42800}, {180, 0xF07814},
                            {225, 0xFFD250}, {255, 0xFFFFDC}};

// Swimming fish: at most MaxFish, length and width in applet pixels, speed in 16.16 pixels per
// frame, largest random turn per frame (1/4096 turn), darkness of the silhouette in palette steps.
constexpr int MaxFish = 2;
constexpr int FishLength = 26;
constexpr int FishWidth = 8;
constexpr int FishSpeed = 90000;
constexpr int FishTurn = 40;
constexpr int FishShadow = 70;

// Autodesign: each figure is drawn for DesignFrames frames, the stirrer going once round it in
// TurnFrames frames.
constexpr int DesignFrames = 200;
constexpr int TurnFrames = 100;
enum class Figure { Circle, Eight, Flower, Sweep };
constexpr Figure Figures[] = {Figure::Circle, Figure::Eight, Figure::Flower, Figure::Sweep};

struct Fish {
    std::int32_t x, y; // 16.16 cells
    std::int32_t heading;
};

class Fluid : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        m_res = in.integer("res");
        m_gw = std::max(1, (m_width + m_res - 1) / m_res);
        m_gh = std::max(1, (m_height + m_res - 1) / m_res);
        m_stride = m_gw + 2;
        m_autodesign = in.flag("autodesign");
        const bool lava = in.flag("volcano");
        m_loss = DensityLoss[in.integer("density") - MinDensity] + (lava ? LavaExtraLoss : 0);
        m_fishCount = in.integer("fishnum");
        // Drop sizes are diameters in cells; a frequency of n means one drop in n frames.
        m_bigSize = in.integer("rainsize");
        m_bigPeriod = in.integer("rainfactor");
        m_smallSize = in.integer("srainsize");
        m_smallPeriod = in.integer("srainfactor");
        makePalette(lava ? LavaKeys : WaterKeys, lava ? std::size(LavaKeys) : std::size(WaterKeys));

        const std::size_t cells = std::size_t(m_stride) * std::size_t(m_gh + 2);
        m_now.assign(cells, 0);
        m_before.assign(cells, 0);
        m_shadow.assign(cells, 0);
        m_rowColours.assign(std::size_t(m_gw), 0);
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;
        m_rowShade.resize(std::size_t(m_gh));
        for (int y = 0; y < m_gh; ++y) m_rowShade[std::size_t(y)] = (y * DepthShade) / m_gh - DepthShade / 2;
        m_fishLength = std::max(4, FishLength / m_res);
        m_fishWidth = std::max(2, FishWidth / m_res);
    }

    void reset() override
    {
        std::fill(m_now.begin(), m_now.end(), 0);
        std::fill(m_before.begin(), m_before.end(), 0);
        std::fill(m_shadow.begin(), m_shadow.end(), std::uint8_t(0));
        m_random.start(0xF1D0u);
        m_frame = 0;
        for (int i = 0; i < MaxFish; ++i) {
            m_fish[i].x = std::int32_t((std::int64_t(m_gw) * (1 + 2 * i) << 16) / 4);
            m_fish[i].y = std::int32_t((std::int64_t(m_gh) * (1 + 2 * i) << 16) / 4);
            m_fish[i].heading = i * AngleSteps / 2 + AngleSteps / 8;
        }
        // The first big drop falls at once, so the surface is never still at the start.
        if (m_bigSize > 0) drop(m_gw / 2, m_gh / 2, m_bigSize / 2, BigDropDepth);
        drawFish();
    }

    void step() override
    {
        ++m_frame;
        rain();
        if (m_autodesign) stir();
        swimFish();
        wave();
        drawFish();
    }

    void draw(std::uint8_t *rgba) override
    {
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int gy = 0; gy < m_gh; ++gy) {
            std::uint8_t *line = rgba + std::size_t(gy) * std::size_t(m_res) * rowBytes;
            const int rows = std::min(m_res, m_height - gy * m_res);
            if (rows <= 0) break;
            // At full size the cells are the pixels: the row is lit straight into the frame.
            if (m_res == 1) {
                shadeRow(gy, line);
                continue;
            }
            shadeRow(gy, reinterpret_cast<std::uint8_t *>(m_rowColours.data()));
            for (int x = 0; x < m_width; ++x)
                std::memcpy(line + std::size_t(x) * 4, &m_rowColours[std::size_t(m_columns[std::size_t(x)])], 4);
            for (int r = 1; r < rows; ++r) std::memcpy(line + std::size_t(r) * rowBytes, line, rowBytes);
        }
    }

private:
    void makePalette(const Key *keys, std::size_t count)
    {
        for (std::size_t k = 0; k + 1 < count; ++k) {
            const Key &a = keys[k], &b = keys[k + 1];
            for (int i = a.at; i <= b.at; ++i) {
                // Kept as the frame's bytes R, G, B, 255, so a lit cell is one copy.
                std::uint8_t bytes[4] = {0, 0, 0, 255};
                for (int channel = 0; channel < 3; ++channel) {
                    const int shift = 16 - 8 * channel;
                    const int from = int((a.colour >> shift) & 255), to = int((b.colour >> shift) & 255);
                    bytes[channel] = std::uint8_t(from + (to - from) * (i - a.at) / (b.at - a.at));
                }
                std::memcpy(&m_palette[i], bytes, 4);
            }
        }
    }

    std::size_t cell(int x, int y) const { return std::size_t(y + 1) * std::size_t(m_stride) + std::size_t(x + 1); }

    // A round dent of the given radius (cells) and centre depth, deepest in the middle.
    void drop(int cx, int cy, int radius, int depth)
    {
        radius = std::max(1, radius);
        const int r2 = radius * radius;
        for (int y = std::max(0, cy - radius); y <= std::min(m_gh - 1, cy + radius); ++y) {
            for (int x = std::max(0, cx - radius); x <= std::min(m_gw - 1, cx + radius); ++x) {
                const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                if (d2 >= r2) continue;
                std::int32_t &h = m_now[cell(x, y)];
                h = clampInt(std::int64_t(h) - std::int64_t(depth) * (r2 - d2) / r2, -HeightLimit, HeightLimit);
            }
        }
    }

    void rain()
    {
        // One draw after the other: the order of a call's arguments differs between compilers.
        if (m_bigSize > 0 && m_random.below(std::uint32_t(m_bigPeriod)) == 0) {
            const int x = int(m_random.below(std::uint32_t(m_gw)));
            const int y = int(m_random.below(std::uint32_t(m_gh)));
            drop(x, y, m_bigSize / 2, BigDropDepth);
        }
        if (m_smallSize > 0 && m_random.below(std::uint32_t(m_smallPeriod)) == 0) {
            const int x = int(m_random.below(std::uint32_t(m_gw)));
            const int y = int(m_random.below(std::uint32_t(m_gh)));
            drop(x, y, m_smallSize, SmallDropDepth);
        }
    }

    // The stirrer's point on the current figure, in cells.
    void stir()
    {
        const Figure figure = Figures[(m_frame / DesignFrames) % int(std::size(Figures))];
        const int t = (m_frame % TurnFrames) * AngleSteps / TurnFrames;
        const std::int64_t rx = m_gw * 3 / 8, ry = m_gh * 3 / 8;
        std::int64_t fx = 0, fy = 0; // 16.16, -1..1 of the radii
        switch (figure) {
        case Figure::Circle: fx = cosine(t); fy = sine(t); break;
        case Figure::Eight: fx = sine(t); fy = sine(2 * t); break;
        case Figure::Flower: {
            const std::int64_t petal = cosine(3 * t);
            fx = petal * cosine(t) / 65536;
            fy = petal * sine(t) / 65536;
            break;
        }
        case Figure::Sweep: fx = 2 * std::int64_t(t) * 65536 / AngleSteps - 65536; fy = sine(4 * t) / 2; break;
        }
        drop(m_gw / 2 + int(fx * rx / 65536), m_gh / 2 + int(fy * ry / 65536), 2, StirDepth);
    }

    void swimFish()
    {
        const std::int32_t margin = m_fishLength << 16;
        for (int i = 0; i < m_fishCount; ++i) {
            Fish &f = m_fish[i];
            // Near an edge the fish turns towards the middle, elsewhere it wanders.
            const bool nearEdge = f.x < margin || f.y < margin || f.x > (m_gw << 16) - margin ||
                                  f.y > (m_gh << 16) - margin;
            if (nearEdge) {
                const std::int32_t home = angleOf((m_gw << 15) - f.x, (m_gh << 15) - f.y);
                const std::int32_t turn = ((home - f.heading + AngleSteps / 2) & AngleMask) - AngleSteps / 2;
                f.heading += std::max(-FishTurn, std::min(FishTurn, turn));
            } else {
                f.heading += int(m_random.below(2 * FishTurn + 1)) - FishTurn;
            }
            f.heading &= AngleMask;
            const std::int32_t speed = FishSpeed / m_res;
            f.x = clampInt(f.x + std::int64_t(cosine(f.heading)) * speed / 65536, 0, (m_gw << 16) - 1);
            f.y = clampInt(f.y + std::int64_t(sine(f.heading)) * speed / 65536, 0, (m_gh << 16) - 1);
            // The wake starts at the head, half a length ahead of the centre.
            const int headX = (f.x >> 16) + int(std::int64_t(cosine(f.heading)) * m_fishLength / 2 / 65536);
            const int headY = (f.y >> 16) + int(std::int64_t(sine(f.heading)) * m_fishLength / 2 / 65536);
            drop(headX, headY, std::max(1, m_fishWidth / 2), WakeDepth);
        }
    }

    // Silhouettes of the fish below the surface: an oval body and a forked tail behind it.
    void drawFish()
    {
        if (m_fishCount == 0) return; // the shadows stay as reset left them: none
        std::fill(m_shadow.begin(), m_shadow.end(), std::uint8_t(0));
        const int length = m_fishLength, width = m_fishWidth;
        for (int i = 0; i < m_fishCount; ++i) {
            const Fish &f = m_fish[i];
            const int cx = f.x >> 16, cy = f.y >> 16;
            const std::int64_t c = cosine(f.heading), s = sine(f.heading);
            for (int y = std::max(0, cy - length); y <= std::min(m_gh - 1, cy + length); ++y) {
                for (int x = std::max(0, cx - length); x <= std::min(m_gw - 1, cx + length); ++x) {
                    // Along and across the fish, in 1/256 cell: the head is at along = +length/2.
                    const std::int64_t dx = x - cx, dy = y - cy;
                    const std::int64_t along = (dx * c + dy * s) / 256, across = (dy * c - dx * s) / 256;
                    const std::int64_t half = std::int64_t(length) * 128, side = std::int64_t(width) * 128;
                    const bool body = along * along * side * side / 65536 + across * across * half * half / 65536 <=
                                      half * half * side * side / 65536;
                    const std::int64_t behind = -along - half; // 0.. into the tail
                    const bool tail = behind >= 0 && behind < half / 2 && across * 2 < behind + side / 2 &&
                                      -across * 2 < behind + side / 2;
                    if (body || tail) m_shadow[cell(x, y)] = FishShadow;
                }
            }
        }
    }

    void wave()
    {
        const std::int32_t *now = m_now.data();
        std::int32_t *before = m_before.data();
        const std::ptrdiff_t stride = m_stride;
        const std::int32_t loss = m_loss;
        for (int y = 0; y < m_gh; ++y) {
            const std::size_t first = cell(0, y);
            const std::int32_t *here = now + first;
            std::int32_t *next = before + first;
            for (int x = 0; x < m_gw; ++x) {
                const std::int32_t around = here[x - 1] + here[x + 1] + here[x - stride] + here[x + stride];
                std::int32_t height = around / 2 - next[x];
                height -= height * loss / 256;
                next[x] = std::max(-HeightLimit, std::min(HeightLimit, height));
            }
        }
        std::swap(m_now, m_before);
    }

    // Lights one row of cells by its slope and darkens it where a fish shows through; writes
    // the row's colours as RGBA bytes to `out`.
    void shadeRow(int gy, std::uint8_t *out) const
    {
        // The light is floor((sx + sy) / 2^LightShift) + rowShade: the bias keeps the shifted
        // sum positive and carries the row's shade along.
        const int rowBias = ShiftBias + ((128 + m_rowShade[std::size_t(gy)]) << LightShift);
        const int bias = ShiftBias >> LightShift;
        const std::int32_t *h = &m_now[cell(0, gy)];
        const std::ptrdiff_t stride = m_stride;
        const std::uint32_t *palette = m_palette;
        const int width = m_gw;
        if (m_fishCount == 0) {
            // No fish: nothing below the surface to bend or darken.
            for (int x = 0; x < width; ++x) {
                const int sum = h[x - 1] - h[x + 1] + h[x - stride] - h[x + stride];
                const int index = ((sum + rowBias) >> LightShift) - bias;
                std::memcpy(out + std::size_t(x) * 4, &palette[std::max(0, std::min(255, index))], 4);
            }
            return;
        }
        const std::uint8_t *shadow = m_shadow.data();
        for (int x = 0; x < width; ++x) {
            const int sx = h[x - 1] - h[x + 1];
            const int sy = h[x - stride] - h[x + stride];
            const int bendX = clampInt(((sx + ShiftBias) >> RefractShift) - (ShiftBias >> RefractShift), -MaxBend, MaxBend);
            const int bendY = clampInt(((sy + ShiftBias) >> RefractShift) - (ShiftBias >> RefractShift), -MaxBend, MaxBend);
            const int bentX = clampInt(x + bendX, 0, m_gw - 1), bentY = clampInt(gy + bendY, 0, m_gh - 1);
            const int index = ((sx + sy + rowBias) >> LightShift) - bias - shadow[cell(bentX, bentY)];
            std::memcpy(out + std::size_t(x) * 4, &palette[std::max(0, std::min(255, index))], 4);
        }
    }

    int m_width = 0, m_height = 0, m_res = 1, m_gw = 1, m_gh = 1, m_stride = 3;
    bool m_autodesign = false;
    int m_loss = 0, m_fishCount = 0, m_fishLength = 4, m_fishWidth = 2;
    int m_bigSize = 0, m_bigPeriod = 1, m_smallSize = 0, m_smallPeriod = 1;
    int m_frame = 0;
    std::uint32_t m_palette[256] = {}; // RGBA bytes
    std::vector<std::int32_t> m_now, m_before; // heights with a still border of one cell
    std::vector<std::uint8_t> m_shadow;        // darkness of the fish below each cell
    std::vector<std::uint32_t> m_rowColours; // one row of cells as RGBA bytes
    std::vector<int> m_columns, m_rowShade;
    Fish m_fish[MaxFish] = {};
    Random m_random;
};

} // namespace

EffectInfo fluidEffect()
{
    return {"fluid.class",
            "FLUID",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"autodesign", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"density", ParamKind::Integer, "4", 2, 6, "2"},
                {"fishnum", ParamKind::Integer, "0", 0, MaxFish, "2"},
                {"rainsize", ParamKind::Integer, "16", 0, 128, "60"},
                {"rainfactor", ParamKind::Integer, "10", 1, 999, "2"},
                {"srainsize", ParamKind::Integer, "2", 0, 4, "4"},
                {"srainfactor", ParamKind::Integer, "5", 1, 999, "1"},
                {"volcano", ParamKind::Flag, "NO", 0, 1, "YES"},
            },
            [] { return std::unique_ptr<Effect>(new Fluid); },
            25};
}

} // namespace vexa::effects
