// LENS: a glass lens gliding over the picture, magnifying what lies under it and bouncing off
// the picture's edges; with distortion on, the view through it ripples and stretches.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

// Offsets inside the lens are in 1/256 of a pixel; heights and gains are 0..256.
constexpr int Sub = 256;
constexpr int Unit = 256;
// The light falls on the glass from the upper left (a unit vector in 1/256).
constexpr int LightX = -115, LightY = -141, LightZ = 179;
// The ripple's phase advance per time step, in 1/4096 turn: about one wave a second.
constexpr int RipplePhaseStep = 160;

// One pixel of the lens's square: where it looks into the picture and how the glass lights it.
struct LensPixel {
    std::int32_t lookX = 0, lookY = 0; // offset into the picture from the lens centre, 1/256 px
    std::uint16_t height = 0;          // the glass's height here, 0 at the rim .. 256 at the centre
    std::uint16_t gain = 0;            // brightness of the glass, 256 = unchanged
    std::uint8_t shine = 0;            // white added by the highlight
    bool inside = false;
};

// A position bouncing between 0 and `range`: `start` moved by `distance`, folded back at each end.
int bounced(int start, std::int64_t distance, int range)
{
    if (range <= 0) return 0;
    const std::int64_t period = 2 * std::int64_t(range);
    const std::int64_t p = (start + distance) % period;
    return int(p <= range ? p : period - p);
}

class Lens : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // The picture fills the applet, whatever its own size.
        const Picture &picture = in.picture("image");
        m_picture.resize(std::size_t(m_width) * std::size_t(m_height) * 4);
        std::uint8_t *out = m_picture.data();
        for (int y = 0; y < m_height; ++y) {
            const int py = int(std::int64_t(y) * picture.height / m_height);
            for (int x = 0; x < m_width; ++x) {
                const std::uint32_t colour = picture.at(int(std::int64_t(x) * picture.width / m_width), py);
                *out++ = std::uint8_t(colour >> 16);
                *out++ = std::uint8_t(colour >> 8);
                *out++ = std::uint8_t(colour);
                *out++ = 255;
            }
        }
        // The lens (its width is the radius) always fits into the picture.
        m_radius = clampInt(in.integer("lenswidth"), 0, (std::min(m_width, m_height) - 1) / 2);
        m_speedX = in.integer("spdx");
        m_speedY = in.integer("spdy");
        const bool distort = in.flag("distort");
        // The diagonal waves shift the view by distdval/200 of the lens's width (the glass magnifies
        // that further); the x/y stretch is in percent.
        m_rippleSize = distort ? in.integer("distdval") * m_radius * Sub / 200 : 0;
        const int stretch = distort ? in.integer("distoxy") : 0;
        buildLens(in.integer("zoomfactor"), stretch);
        m_ripple.assign(std::size_t(4 * m_radius + 1), 0);
    }

    void reset() override { m_steps = 0; }

    void step() override { ++m_steps; }

    void draw(std::uint8_t *rgba) override
    {
        std::memcpy(rgba, m_picture.data(), m_picture.size());
        if (m_radius < 1) return;
        // The lens starts in the middle of the picture and moves by its speed every step.
        const int centreX = m_radius + bounced((m_width - 1) / 2 - m_radius, std::int64_t(m_speedX) * m_steps,
                                               m_width - 1 - 2 * m_radius);
        const int centreY = m_radius + bounced((m_height - 1) / 2 - m_radius, std::int64_t(m_speedY) * m_steps,
                                               m_height - 1 - 2 * m_radius);
        updateRipple();
        const int side = 2 * m_radius + 1;
        for (int dy = -m_radius; dy <= m_radius; ++dy) {
            const LensPixel *lens = &m_lens[std::size_t(dy + m_radius) * std::size_t(side)];
            std::uint8_t *row = rgba + (std::size_t(centreY + dy) * std::size_t(m_width) + std::size_t(centreX - m_radius)) * 4;
            for (int dx = -m_radius; dx <= m_radius; ++dx, ++lens, row += 4) {
                if (!lens->inside) continue;
                // The ripple shifts the view across the diagonal, most where the glass is thickest.
                const int shift = lens->height * m_ripple[std::size_t(dx + dy + 2 * m_radius)] / Unit;
                shade(row, sample(centreX * Sub + lens->lookX + shift, centreY * Sub + lens->lookY - shift), *lens);
            }
        }
    }

private:
    // The lens's square: a glass sphere cap that magnifies most at its centre, 1 + zoom/10 times,
    // and not at all at its rim, so the view joins the picture around it without a seam.
    void buildLens(int zoom, int stretch)
    {
        const int r = m_radius, side = 2 * r + 1;
        m_lens.assign(std::size_t(side) * std::size_t(side), LensPixel{});
        if (r < 1) return;
        const std::int64_t reach = std::int64_t(r) * r + r; // a rounder outline than r * r
        const int pull = zoom * Unit / (zoom + 10);          // how far the centre draws the view in
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const std::int64_t distance2 = std::int64_t(dx) * dx + std::int64_t(dy) * dy;
                if (distance2 > reach) continue;
                LensPixel &pixel = m_lens[std::size_t(dy + r) * std::size_t(side) + std::size_t(dx + r)];
                const std::int64_t above = std::max<std::int64_t>(std::int64_t(r) * r - distance2, 0);
                const int height = int(std::min<std::int64_t>(squareRoot(std::uint64_t(above) << 16) / r, Unit));
                const std::int64_t shrink = Unit - pull * height / Unit;
                // A stretch widens the view one way and narrows it the other, strongest at the centre.
                const std::int64_t shrinkX = shrink * (100 * Unit - stretch * height) / (100 * Unit);
                const std::int64_t shrinkY = shrink * (100 * Unit + stretch * height) / (100 * Unit);
                pixel.lookX = std::int32_t(dx * shrinkX * Sub / Unit);
                pixel.lookY = std::int32_t(dy * shrinkY * Sub / Unit);
                pixel.height = std::uint16_t(height);
                pixel.inside = true;
                // Light on the glass: slightly brighter facing the light, a small highlight, and a
                // dark rim over the last pixel and a half so the lens reads as a lens at any zoom.
                const int facing = int((std::int64_t(dx) * Unit / r * LightX + std::int64_t(dy) * Unit / r * LightY +
                                        std::int64_t(height) * LightZ) / Unit);
                int gain = 232 + facing / 8;
                const std::int64_t edge = std::int64_t(r) * Sub - squareRoot(std::uint64_t(distance2) << 16);
                if (edge < 3 * Sub / 2) gain = gain * (140 + int(std::max<std::int64_t>(edge, 0) * 116 / (3 * Sub / 2))) / Unit;
                int glint = std::max(facing, 0);
                for (int k = 0; k < 5; ++k) glint = glint * glint / Unit; // sharpens it to a spot
                pixel.gain = std::uint16_t(gain);
                pixel.shine = std::uint8_t(glint * 160 / Unit);
            }
        }
    }

    // The diagonal wave for this step, by dx + dy: about three waves across the lens.
    void updateRipple()
    {
        if (m_rippleSize == 0) return;
        const int phase = int((std::int64_t(m_steps) * RipplePhaseStep) & AngleMask);
        const int waveStep = AngleSteps / m_radius;
        for (int i = 0; i <= 4 * m_radius; ++i)
            m_ripple[std::size_t(i)] = int(std::int64_t(m_rippleSize) * sine(phase + i * waveStep) / 65536);
    }

    // The picture at (x, y) in 1/256 px, blended from its four nearest pixels; outside it, its edge.
    const std::uint8_t *sample(int x, int y)
    {
        x = clampInt(x, 0, (m_width - 1) * Sub);
        y = clampInt(y, 0, (m_height - 1) * Sub);
        const int x0 = x / Sub, y0 = y / Sub, fx = x % Sub, fy = y % Sub;
        const int x1 = std::min(x0 + 1, m_width - 1), y1 = std::min(y0 + 1, m_height - 1);
        const std::uint8_t *a = &m_picture[(std::size_t(y0) * std::size_t(m_width) + std::size_t(x0)) * 4];
        const std::uint8_t *b = &m_picture[(std::size_t(y0) * std::size_t(m_width) + std::size_t(x1)) * 4];
        const std::uint8_t *c = &m_picture[(std::size_t(y1) * std::size_t(m_width) + std::size_t(x0)) * 4];
        const std::uint8_t *d = &m_picture[(std::size_t(y1) * std::size_t(m_width) + std::size_t(x1)) * 4];
        for (int k = 0; k < 3; ++k) {
            const int top = a[k] * (Sub - fx) + b[k] * fx, bottom = c[k] * (Sub - fx) + d[k] * fx;
            m_blend[k] = std::uint8_t((top * (Sub - fy) + bottom * fy) / (Sub * Sub));
        }
        return m_blend;
    }

    static void shade(std::uint8_t *out, const std::uint8_t *colour, const LensPixel &lens)
    {
        for (int k = 0; k < 3; ++k) {
            const int lit = colour[k] * lens.gain / Unit;
            out[k] = toByte(lit + (255 - std::min(lit, 255)) * lens.shine / Unit);
        }
    }

    int m_width = 0, m_height = 0, m_radius = 0;
    int m_speedX = 0, m_speedY = 0, m_rippleSize = 0;
    std::uint32_t m_steps = 0;
    std::vector<std::uint8_t> m_picture; // the picture at the applet's size, RGBA
    std::vector<LensPixel> m_lens;       // (2r+1) x (2r+1), row by row
    std::vector<int> m_ripple;           // the wave's shift by dx + dy + 2r, 1/256 px
    std::uint8_t m_blend[3] = {};
};

} // namespace

EffectInfo lensEffect()
{
    return {"VxLens.class",
            "LENS",
            {
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "missing.jpg"},
                {"lenswidth", ParamKind::Integer, "45", 0, MaxSide / 2, "25"},
                {"distdval", ParamKind::Integer, "10", 5, 20, "20", true, nullptr, "distort=YES"},
                {"distoxy", ParamKind::Integer, "0", -40, 40, "30", true, nullptr, "distort=YES"},
                {"zoomfactor", ParamKind::Integer, "10", 0, 30, "25"},
                {"interactive", ParamKind::Flag, "NO", 0, 1, "YES", false,
                 "the lens follows the mouse: a recorded frame has none, so the lens keeps moving by itself"},
                {"distort", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"spdx", ParamKind::Integer, "2", 0, 8, "5"},
                {"spdy", ParamKind::Integer, "1", 0, 8, "4"},
            },
            [] { return std::unique_ptr<Effect>(new Lens); },
            25};
}

} // namespace vexa::effects
