// WORMHOLE: a tunnel of dots flying toward the viewer. Rings of dots come out of the far end,
// grow and brighten as they near, turn round the tunnel's axis, and the far end sways from side
// to side so the hole seems to wind.
#include "Blocks.h"
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// The tunnel in world units: its radius, where the nearest ring sits and how long it is. Depths
// are kept in 1/16 unit so slow flights still move smoothly.
constexpr int TunnelRadius = 256;
constexpr int DepthUnit = 16;
constexpr int NearDepth = 64 * DepthUnit;
constexpr int TunnelLength = 1280 * DepthUnit;
// How far the far end swings off the axis, and how fast it sways (1/4096 turn per step).
constexpr int BendReach = 1400;
constexpr int SwayStepX = 7, SwayStepY = 5;
// A dot's own size in world units (a near dot is several pixels wide, a far one a single pixel).
constexpr int DotSize = 7;
constexpr int LargestDot = 6;
// Per step of the page's speeds: depth flown (1/16 unit) and turn (1/4096 turn).
constexpr int FlightPerSpeed = 4 * DepthUnit;
constexpr int TurnPerSpeed = 6;
// The nearest ring fills 9/10 of the applet's longer side.
constexpr int NearFill = 9;

class Wormhole : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // Density thickens the tunnel both ways: more dots round each ring and more rings.
        const int density = in.integer("dotden");
        m_dotsPerRing = 8 + 4 * density;
        m_rings = 20 + 2 * density;
        m_ringSpacing = TunnelLength / m_rings;
        m_flight = in.integer("yspeed") * FlightPerSpeed;
        m_turnSpeed = in.integer("xspeed") * TurnPerSpeed;
        m_negative = in.flag("negative");
        const int back[3] = {in.integer("backR"), in.integer("backG"), in.integer("backB")};
        m_background = (std::uint32_t(back[0]) << 16) | (std::uint32_t(back[1]) << 8) | std::uint32_t(back[2]);
        // Dots are white on a dark background and black on a light one; with distance they fade
        // into the background, so the far end is a soft glow rather than a hard edge.
        const int lightness = (back[0] * 3 + back[1] * 6 + back[2]) / 10;
        const int dot = lightness > 140 ? 0 : 255;
        for (int level = 0; level < 256; ++level) {
            std::uint32_t colour = 0;
            for (int c = 0; c < 3; ++c) colour = (colour << 8) | std::uint32_t(back[c] + (dot - back[c]) * level / 255);
            m_shades[level] = colour;
        }
        // Pixels on screen per world unit at the nearest ring, 16.16.
        m_nearScale = std::int64_t(std::max(m_width, m_height)) * 65536 * NearFill / (10 * TunnelRadius);
        m_frame.resize(std::size_t(m_width) * std::size_t(m_height));
    }

    void reset() override { m_steps = 0; }

    void step() override { ++m_steps; }

    void draw(std::uint8_t *rgba) override
    {
        std::fill(m_frame.begin(), m_frame.end(), m_background);
        const std::int64_t flown = std::int64_t(m_steps) * m_flight;
        const int passed = int(flown % m_ringSpacing);
        const std::int64_t firstRing = flown / m_ringSpacing;
        const int turn = int((std::int64_t(m_steps) * m_turnSpeed) & AngleMask);
        const int swayX = sine(int((std::int64_t(m_steps) * SwayStepX) & AngleMask));
        const int swayY = sine(int((std::int64_t(m_steps) * SwayStepY + AngleSteps / 4) & AngleMask));
        // Far rings first, so nearer dots cover them.
        for (int k = m_rings - 1; k >= 0; --k) {
            const int depth = NearDepth + k * m_ringSpacing - passed;
            if (depth < NearDepth / 2) continue;
            // 0 at the near end (and nearer) .. 256 at the far end.
            const int far = clampInt(std::int64_t(depth - NearDepth) * 256 / TunnelLength, 0, 256);
            const int nearness = 256 - far;
            // Brightness falls with the cube of distance, so rings come softly out of the dark.
            const int level = int(std::int64_t(nearness) * nearness * nearness * 255 / (256 * 65536));
            if (level <= 0) continue;
            const std::int64_t scale = m_nearScale * NearDepth / depth; // pixels per unit, 16.16
            const int dotSide = clampInt(DotSize * scale / 65536, 1, LargestDot);
            // The axis bends away with the square of the distance, in the sway's direction.
            const std::int64_t bend = std::int64_t(BendReach) * far * far / 65536;
            const std::int64_t axisX = bend * swayX / 65536, axisY = bend * swayY / 65536;
            // Every other ring sits half a dot round, so the dots form a woven pattern.
            const int stagger = ((firstRing + k) % 2 == 0) ? 0 : AngleSteps / (2 * m_dotsPerRing);
            const std::uint32_t colour = m_shades[level];
            for (int j = 0; j < m_dotsPerRing; ++j) {
                const int angle = (turn + stagger + j * AngleSteps / m_dotsPerRing) & AngleMask;
                const std::int64_t worldX = axisX * 65536 + std::int64_t(TunnelRadius) * cosine(angle);
                const std::int64_t worldY = axisY * 65536 + std::int64_t(TunnelRadius) * sine(angle);
                const std::int64_t screenX = m_width / 2 + worldX * scale / (std::int64_t(65536) * 65536);
                const std::int64_t screenY = m_height / 2 + worldY * scale / (std::int64_t(65536) * 65536);
                plot(screenX - dotSide / 2, screenY - dotSide / 2, dotSide, colour);
            }
        }
        const std::uint32_t invert = m_negative ? 0xFFFFFFu : 0u;
        for (const std::uint32_t pixel : m_frame) {
            putPixel(rgba, pixel ^ invert);
            rgba += 4;
        }
    }

private:
    // A dot of side x side pixels with its top-left at (left, top); the bigger ones lose their
    // corners so they read as round.
    void plot(std::int64_t left, std::int64_t top, int side, std::uint32_t colour)
    {
        for (int dy = 0; dy < side; ++dy) {
            const std::int64_t y = top + dy;
            if (y < 0 || y >= m_height) continue;
            for (int dx = 0; dx < side; ++dx) {
                const bool corner = side >= 4 && (dx == 0 || dx == side - 1) && (dy == 0 || dy == side - 1);
                const std::int64_t x = left + dx;
                if (corner || x < 0 || x >= m_width) continue;
                m_frame[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = colour;
            }
        }
    }

    int m_width = 0, m_height = 0;
    int m_dotsPerRing = 8, m_rings = 20, m_ringSpacing = 1;
    int m_flight = 0, m_turnSpeed = 0;
    bool m_negative = false;
    std::uint32_t m_background = 0;
    std::uint32_t m_shades[256] = {}; // background .. dot colour, by brightness
    std::int64_t m_nearScale = 0;
    std::int64_t m_steps = 0;
    std::vector<std::uint32_t> m_frame; // width x height, 0xRRGGBB
};

} // namespace

EffectInfo wormholeEffect()
{
    return {"wormhole.class",
            "WORMHOLE",
            {
                {"dotden", ParamKind::Integer, "12", 1, 23, "3"},
                {"backR", ParamKind::Integer, "0", 0, 255, "200"},
                {"backG", ParamKind::Integer, "0", 0, 255, "120"},
                {"backB", ParamKind::Integer, "0", 0, 255, "160"},
                {"xspeed", ParamKind::Integer, "3", 0, 20, "15"},
                {"yspeed", ParamKind::Integer, "4", 0, 20, "12"},
                {"negative", ParamKind::Flag, "NO", 0, 1, "YES"},
            },
            [] { return std::unique_ptr<Effect>(new Wormhole); },
            25};
}

} // namespace vexa::effects
