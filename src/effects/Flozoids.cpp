// FLOZOIDS: a flock of small swimming creatures over a background colour or picture. Each one
// steers towards its neighbours, swims along with them, keeps its distance, is drawn back to
// the middle and bounces off the edges; it leaves a fading tail behind its head.
#include "Blocks.h"
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

// Positions and speeds are in 1/256 pixel (per frame).
constexpr int Unit = 256;
// The flock is bounded so that every flozoid may look at every other one each frame.
constexpr int MaxFlozoids = 250;
// A flozoid sees the others within ViewFactor times the distance it keeps from them, but never
// nearer than MinView or farther than MaxView pixels.
constexpr int ViewFactor = 3;
constexpr int MinView = 16, MaxView = 160;
// Weights of the urges, as divisors of the difference each one closes: towards the neighbours'
// middle, towards their mean speed, away from those too near.
constexpr int CohesionDivisor = 96;
constexpr int AlignmentDivisor = 12;
constexpr int SeparationDivisor = 6;
// The pull to the middle of the applet per unit of the page's value, as a divisor of the distance.
constexpr int CenterDivisor = 16000;
// The page's acceleration at which the urges act at their own weight.
constexpr int AccelerationOne = 30;
// A small random urge so that the flock never freezes into a lattice, in 1/256 pixel per frame.
constexpr int Jitter = 24;
// No flozoid swims slower than this share of the top speed, in 1/256.
constexpr int MinSpeedShare = 100;
// The tail: the head's last TailLength places, fading away from it.
constexpr int TailLength = 10;

struct Flozoid {
    std::int32_t x, y, vx, vy;
};

std::uint32_t mix(std::uint32_t a, std::uint32_t b, int weight, int total)
{
    std::uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const int ca = int((a >> shift) & 255), cb = int((b >> shift) & 255);
        out |= std::uint32_t(ca + (cb - ca) * weight / total) << shift;
    }
    return out;
}

class Flozoids : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        m_count = in.integer("numfloz");
        m_keep = std::max(1, in.integer("flozdistance") * Unit / 10); // the page's distance is in 1/10 pixel
        m_view = clampInt(std::int64_t(m_keep) * ViewFactor, MinView * Unit, MaxView * Unit);
        m_toCenter = in.integer("tocenter");
        m_acceleration = in.integer("acceleration");
        m_topSpeed = in.integer("speed") * Unit;
        m_bounce = in.integer("sidebouncing");
        m_heads = in.flag("fheads");
        const std::uint32_t first = (std::uint32_t(in.integer("flozR1")) << 16) |
                                    (std::uint32_t(in.integer("flozG1")) << 8) | std::uint32_t(in.integer("flozB1"));
        const std::uint32_t last = (std::uint32_t(in.integer("flozR2")) << 16) |
                                   (std::uint32_t(in.integer("flozG2")) << 8) | std::uint32_t(in.integer("flozB2"));
        // The flock's colours run from the first flozoid's to the last one's.
        for (int i = 0; i < m_count; ++i) m_colours[i] = mix(first, last, i, std::max(1, m_count - 1));

        const std::uint32_t colour = (std::uint32_t(in.integer("backR")) << 16) |
                                     (std::uint32_t(in.integer("backG")) << 8) | std::uint32_t(in.integer("backB"));
        m_background = in.background("backimage", colour, m_width, m_height);
        m_canvas.resize(m_background.size());
    }

    void reset() override
    {
        m_random.start(0xF102u);
        m_tailHead = 0;
        for (int i = 0; i < m_count; ++i) {
            Flozoid &f = m_flock[i];
            f.x = std::int32_t(m_random.below(std::uint32_t(m_width) * Unit));
            f.y = std::int32_t(m_random.below(std::uint32_t(m_height) * Unit));
            const std::int32_t heading = std::int32_t(m_random.below(AngleSteps));
            f.vx = std::int32_t(std::int64_t(cosine(heading)) * m_topSpeed / 2 / 65536);
            f.vy = std::int32_t(std::int64_t(sine(heading)) * m_topSpeed / 2 / 65536);
            for (int k = 0; k < TailLength; ++k) m_tail[k][i] = {f.x, f.y, 0, 0};
        }
    }

    void step() override
    {
        for (int i = 0; i < m_count; ++i) steer(i);
        m_tailHead = (m_tailHead + 1) % TailLength;
        for (int i = 0; i < m_count; ++i) {
            Flozoid &f = m_flock[i];
            f.x += f.vx;
            f.y += f.vy;
            bounce(f.x, f.vx, m_width * Unit - 1);
            bounce(f.y, f.vy, m_height * Unit - 1);
            m_tail[m_tailHead][i] = f;
        }
    }

    void draw(std::uint8_t *rgba) override
    {
        std::copy(m_background.begin(), m_background.end(), m_canvas.begin());
        // Tails first, oldest part first, then all heads on top.
        for (int age = TailLength - 1; age > 0; --age) {
            const int newer = (m_tailHead - age + 1 + TailLength) % TailLength;
            const int older = (m_tailHead - age + TailLength) % TailLength;
            for (int i = 0; i < m_count; ++i) {
                const Flozoid &a = m_tail[newer][i], &b = m_tail[older][i];
                line(a.x / Unit, a.y / Unit, b.x / Unit, b.y / Unit, m_colours[i], TailLength - age, TailLength);
            }
        }
        if (m_heads) {
            for (int i = 0; i < m_count; ++i) {
                const Flozoid &f = m_tail[m_tailHead][i];
                head(f.x / Unit, f.y / Unit, m_colours[i]);
            }
        }
        for (const std::uint32_t colour : m_canvas) {
            putPixel(rgba, colour);
            rgba += 4;
        }
    }

private:
    // The urges of flozoid i from the others, folded into its speed.
    void steer(int i)
    {
        Flozoid &f = m_flock[i];
        const std::int64_t view2 = std::int64_t(m_view) * m_view, keep2 = std::int64_t(m_keep) * m_keep;
        std::int64_t seen = 0, sumX = 0, sumY = 0, sumVx = 0, sumVy = 0, awayX = 0, awayY = 0;
        for (int j = 0; j < m_count; ++j) {
            if (j == i) continue;
            const Flozoid &o = m_flock[j];
            const std::int64_t dx = std::int64_t(f.x) - o.x, dy = std::int64_t(f.y) - o.y;
            const std::int64_t d2 = dx * dx + dy * dy;
            if (d2 >= view2) continue;
            ++seen;
            sumX += o.x;
            sumY += o.y;
            sumVx += o.vx;
            sumVy += o.vy;
            // Too near: pushed away, the harder the nearer (1 when touching, 0 at the distance kept).
            if (d2 < keep2) {
                const std::int64_t push = (keep2 - d2) * 256 / keep2;
                awayX += dx * push / 256;
                awayY += dy * push / 256;
            }
        }
        std::int64_t ax = 0, ay = 0;
        if (seen > 0) {
            ax += (sumX / seen - f.x) / CohesionDivisor + (sumVx / seen - f.vx) / AlignmentDivisor;
            ay += (sumY / seen - f.y) / CohesionDivisor + (sumVy / seen - f.vy) / AlignmentDivisor;
        }
        ax += awayX / SeparationDivisor + (std::int64_t(m_width) * Unit / 2 - f.x) * m_toCenter / CenterDivisor;
        ay += awayY / SeparationDivisor + (std::int64_t(m_height) * Unit / 2 - f.y) * m_toCenter / CenterDivisor;
        ax = ax * m_acceleration / AccelerationOne + int(m_random.below(2 * Jitter + 1)) - Jitter;
        ay = ay * m_acceleration / AccelerationOne + int(m_random.below(2 * Jitter + 1)) - Jitter;
        // Speeds stay between the slowest swimming speed and the top speed.
        const std::int64_t vx = clampInt(f.vx + ax, -4 * m_topSpeed, 4 * m_topSpeed);
        const std::int64_t vy = clampInt(f.vy + ay, -4 * m_topSpeed, 4 * m_topSpeed);
        const std::int64_t speed = std::max<std::int64_t>(1, squareRoot(std::uint64_t(vx * vx + vy * vy)));
        const std::int64_t wanted = clampInt(speed, std::int64_t(m_topSpeed) * MinSpeedShare / 256, m_topSpeed);
        f.vx = std::int32_t(vx * wanted / speed);
        f.vy = std::int32_t(vy * wanted / speed);
    }

    // Off an edge, a flozoid comes back reflected with the page's share (percent) of its speed.
    void bounce(std::int32_t &position, std::int32_t &speed, std::int32_t limit)
    {
        if (position < 0) {
            position = std::min(limit, -position);
            speed = std::int32_t(std::int64_t(speed < 0 ? -speed : speed) * m_bounce / 100);
        } else if (position > limit) {
            position = std::max(0, 2 * limit - position);
            speed = -std::int32_t(std::int64_t(speed < 0 ? -speed : speed) * m_bounce / 100);
        }
    }

    void plot(int x, int y, std::uint32_t colour, int weight, int total)
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        std::uint32_t &pixel = m_canvas[std::size_t(y) * std::size_t(m_width) + std::size_t(x)];
        pixel = mix(pixel, colour, weight, total);
    }

    // A tail piece from (x0, y0) to (x1, y1), one pixel wide, blended by weight / total.
    void line(int x0, int y0, int x1, int y1, std::uint32_t colour, int weight, int total)
    {
        const int dx = x1 - x0, dy = y1 - y0;
        const int steps = std::max(std::max(dx, -dx), std::max(dy, -dy));
        for (int s = 0; s < steps; ++s) plot(x0 + dx * s / steps, y0 + dy * s / steps, colour, weight, total);
        if (steps == 0) plot(x0, y0, colour, weight, total);
    }

    // A head: a small round blob, lighter in the middle.
    void head(int x, int y, std::uint32_t colour)
    {
        static constexpr int Blob[3][3] = {{1, 2, 1}, {2, 3, 2}, {1, 2, 1}};
        const std::uint32_t light = mix(colour, 0xFFFFFF, 1, 2);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int level = Blob[dy + 1][dx + 1];
                plot(x + dx, y + dy, level == 3 ? light : colour, level + 1, 4);
            }
    }

    int m_width = 0, m_height = 0, m_count = 0;
    std::int32_t m_keep = Unit, m_view = Unit, m_topSpeed = Unit;
    int m_toCenter = 0, m_acceleration = 0, m_bounce = 0;
    bool m_heads = true;
    Flozoid m_flock[MaxFlozoids] = {};
    Flozoid m_tail[TailLength][MaxFlozoids] = {}; // the last places, a ring of TailLength frames
    int m_tailHead = 0;
    std::uint32_t m_colours[MaxFlozoids] = {};
    std::vector<std::uint32_t> m_background, m_canvas;
    Random m_random;
};

} // namespace

EffectInfo flozoidsEffect()
{
    return {"flozoids.class",
            "FLOZOIDS",
            {
                {"numfloz", ParamKind::Integer, "50", 0, MaxFlozoids, "150"},
                {"flozdistance", ParamKind::Integer, "200", 1, 2000, "600"},
                {"tocenter", ParamKind::Integer, "20", 0, 1000, "200"},
                {"acceleration", ParamKind::Integer, "30", 1, 1000, "5"},
                {"speed", ParamKind::Integer, "5", 1, 50, "12"},
                {"sidebouncing", ParamKind::Integer, "80", 0, 200, "10"},
                {"fheads", ParamKind::Flag, "YES", 0, 1, "NO"},
                {"interactive", ParamKind::Flag, "YES", 0, 1, "NO", false,
                 "the flock follows the mouse: no mouse in a recorded frame"},
                {"overtext", ParamKind::Flag, "NO", 0, 1, "YES", false,
                 "whether the flock swims over the scrolling text, which the engine does not draw"},
                {"backimage", ParamKind::Picture, "NO", 0, 0, "sample.jpg"},
                {"backR", ParamKind::Integer, "0", 0, 255, "40"},
                {"backG", ParamKind::Integer, "0", 0, 255, "90"},
                {"backB", ParamKind::Integer, "0", 0, 255, "160"},
                {"flozR1", ParamKind::Integer, "255", 0, 255, "0"},
                {"flozG1", ParamKind::Integer, "255", 0, 255, "80"},
                {"flozB1", ParamKind::Integer, "0", 0, 255, "255"},
                {"flozR2", ParamKind::Integer, "255", 0, 255, "0"},
                {"flozG2", ParamKind::Integer, "0", 0, 255, "255"},
                {"flozB2", ParamKind::Integer, "0", 0, 255, "255"},
            },
            [] { return std::unique_ptr<Effect>(new Flozoids); },
            25};
}

} // namespace vexa::effects
