// WARP: the picture twisted into a spiral and breathing in and out about the applet's centre.
// Two values swing between their limits at their own pace: the spiral's twist and the breath
// (how far the view is drawn in or pushed out); the warp mode picks how both spread over the
// distance from the centre.
#include "Effect.h"
#include "Maths.h"
#include "Texels.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

constexpr int RadiusSub = 4;         // distances are kept in 1/4 of an (inner) pixel
constexpr int Sub = 256;             // sample positions in 1/256 texel
constexpr int One = 65536;           // 16.16 fixed point
constexpr int TwistPerTurn = 2000;   // a spiral value of 2000 turns the centre once around
constexpr int BreathPerDouble = 1000; // a breath of 1000 draws the view in twice (-1000 pushes it out twice)
constexpr int OuterReach = 2;        // the modes' shapes are followed out to twice the picture's half size

// How the warp spreads with the distance from the centre (rho, 16.16 of the picture's half
// size), 16.16: each entry is one choice of the page's warp mode list.
enum class Shape { Whirl, Spiral, Rings };
constexpr Shape Shapes[] = {
    Shape::Whirl,  // 1: strongest at the centre, none from the picture's edge on: a whirlpool
    Shape::Spiral, // 2: growing outwards: the whole picture (tiled) winds up and zooms
    Shape::Rings,  // 3: rings of the picture turning and breathing against each other
};
constexpr int ShapeCount = int(sizeof(Shapes) / sizeof(Shapes[0]));

std::int64_t shapeAt(Shape shape, std::int64_t rho)
{
    const std::int64_t inside = std::max<std::int64_t>(One - rho, 0);
    switch (shape) {
    case Shape::Whirl: return inside * inside / One;
    case Shape::Spiral: return rho;
    case Shape::Rings: return std::int64_t(sine(int(rho * AngleSteps * 3 / 2 / One))) * inside / One;
    }
    return 0;
}

// A value from `start` moved `distance` upwards, turning back at `low` and at `high`.
std::int32_t bounced(std::int32_t start, std::int64_t distance, std::int32_t low, std::int32_t high)
{
    if (high <= low) return low;
    const std::int64_t range = std::int64_t(high) - low, period = 2 * range;
    const std::int64_t p = (std::int64_t(clampInt(start, low, high)) - low + distance) % period;
    return std::int32_t(low + (p <= range ? p : period - p));
}

// Swing: where it starts, how much it moves per frame, and its limits.
struct Swing {
    std::int32_t start = 0, step = 0, low = 0, high = 0;
    std::int32_t at(std::uint32_t frames) const
    {
        return bounced(start, std::int64_t(step) * frames, std::min(low, high), std::max(low, high));
    }
};

// Added to a signed 16.16 product before its shift, so that the shift is of a positive number
// (an exact floor); what it adds after the shift, 2^24 in 1/256 texel, is a whole number of
// texture widths and heights (sides up to 2^16) and so vanishes when the place wraps.
constexpr std::int64_t WrapBias = std::int64_t(1) << 40;

int powerOfTwoAtLeast(int side)
{
    int power = 1;
    while (power < side) power *= 2;
    return power;
}

class Warp : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // "res" draws at 1/res of the applet's size, in blocks of res x res pixels.
        m_res = in.integer("res");
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;
        m_shape = Shapes[clampInt(in.integer("warpmode") - 1, 0, ShapeCount - 1)];
        m_spiral = {in.integer("w1start"), in.integer("wadd1"), in.integer("w1min"), in.integer("w1max")};
        m_breath = {in.integer("w2start"), in.integer("wadd2"), in.integer("w2min"), in.integer("w2max")};

        loadTexture(in.picture("image"));
        buildPolar();
        const std::size_t longest = std::size_t(m_halfSize) * OuterReach * RadiusSub + 1;
        m_twist.assign(longest, 0);
        m_reachU.assign(longest, 0);
        m_reachV.assign(longest, 0);
        for (int a = 0; a < AngleSteps; ++a) m_sine[a] = sine(a);
        m_row.assign(std::size_t(m_innerWidth), 0);
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;
    }

    void reset() override { m_steps = 0; }

    void step() override { ++m_steps; }

    void draw(std::uint8_t *rgba) override
    {
        updateWarp(m_spiral.at(m_steps), m_breath.at(m_steps));
        // The centre of the inner frame, in 1/256 texel.
        const std::int64_t centreU = std::int64_t(m_innerWidth - 1) * Sub * m_textureWidth / (2 * m_innerWidth);
        const std::int64_t centreV = std::int64_t(m_innerHeight - 1) * Sub * m_textureHeight / (2 * m_innerHeight);
        // Locals, not members: the frame's bytes may alias anything, members would be reloaded.
        const Polar *polar = m_polar.data();
        const std::int32_t *twist = m_twist.data(), *reachU = m_reachU.data(), *reachV = m_reachV.data();
        const std::int32_t *sines = m_sine;
        const Texel *texture = m_texture.data();
        const int innerWidth = m_innerWidth;
        const std::uint32_t maskU = std::uint32_t(m_textureWidth - 1), maskV = std::uint32_t(m_textureHeight - 1);
        const int textureBits = bitsOf(m_textureWidth);
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int y = 0; y < m_innerHeight; ++y) {
            // At full size the inner row is the frame's row: written there at once.
            std::uint8_t *line = rgba + std::size_t(y) * std::size_t(m_res) * rowBytes;
            std::uint8_t *out = m_res == 1 ? line : reinterpret_cast<std::uint8_t *>(m_row.data());
            for (int x = 0; x < innerWidth; ++x, ++polar, out += 4) {
                const int r = polar->distance;
                const int angle = (polar->angle + twist[r]) & AngleMask;
                const std::uint32_t u = std::uint32_t(centreU + ((std::int64_t(reachU[r]) * sines[(angle + AngleSteps / 4) & AngleMask] + WrapBias) >> 16));
                const std::uint32_t v = std::uint32_t(centreV + ((std::int64_t(reachV[r]) * sines[angle] + WrapBias) >> 16));
                // The four texels around (u, v) in 1/256 texel, wrapped, blended.
                const std::uint32_t x0 = (u >> 8) & maskU, x1 = (x0 + 1) & maskU;
                const Texel *top = texture + (std::size_t((v >> 8) & maskV) << textureBits);
                const Texel *bottom = texture + (std::size_t(((v >> 8) + 1) & maskV) << textureBits);
                const std::uint32_t fu = u & 255, fv = v & 255;
                put(out, blend(blend(top[x0], top[x1], fu), blend(bottom[x0], bottom[x1], fu), fv));
            }
            if (m_res > 1) writeRows(line, y);
        }
    }

private:
    struct Polar {
        std::uint16_t distance; // from the centre, 1/4 px
        std::uint16_t angle;    // 1/4096 turn
    };

    // The picture stretched over a power-of-two texture, so the warp can wrap it with a mask.
    void loadTexture(const Picture &picture)
    {
        // No larger than the picture needs: a texture wider than the picture (or the frame) adds
        // no detail, only memory the samples would have to fetch.
        m_textureWidth = powerOfTwoAtLeast(std::min(m_innerWidth, std::max(1, picture.width)));
        m_textureHeight = powerOfTwoAtLeast(std::min(m_innerHeight, std::max(1, picture.height)));
        m_texture.resize(std::size_t(m_textureWidth) * std::size_t(m_textureHeight));
        Texel *out = m_texture.data();
        for (int y = 0; y < m_textureHeight; ++y) {
            const int pictureY = int(std::int64_t(y) * picture.height / m_textureHeight);
            for (int x = 0; x < m_textureWidth; ++x)
                *out++ = spread(picture.at(int(std::int64_t(x) * picture.width / m_textureWidth), pictureY));
        }
    }

    // Distance and angle of every inner pixel from the centre.
    void buildPolar()
    {
        m_halfSize = std::max(1, std::max(m_innerWidth, m_innerHeight) / 2);
        m_polar.resize(std::size_t(m_innerWidth) * std::size_t(m_innerHeight));
        Polar *out = m_polar.data();
        for (int y = 0; y < m_innerHeight; ++y) {
            const std::int64_t dy = 2 * std::int64_t(y) - (m_innerHeight - 1); // in half pixels
            for (int x = 0; x < m_innerWidth; ++x, ++out) {
                const std::int64_t dx = 2 * std::int64_t(x) - (m_innerWidth - 1);
                out->distance = std::uint16_t(squareRoot(std::uint64_t(dx * dx + dy * dy) * RadiusSub * RadiusSub / 4));
                out->angle = std::uint16_t(angleOf(std::int32_t(dx), std::int32_t(dy)));
            }
        }
    }

    // This frame's twist and reach (how far from the centre each distance looks) by distance.
    void updateWarp(std::int32_t spiral, std::int32_t breath)
    {
        const int count = int(m_twist.size());
        const std::int64_t halfSize = std::int64_t(m_halfSize) * RadiusSub;
        for (int r = 0; r < count; ++r) {
            const std::int64_t shape = shapeAt(m_shape, std::int64_t(r) * One / halfSize);
            m_twist[std::size_t(r)] = std::int32_t(std::int64_t(spiral) * AngleSteps / TwistPerTurn * shape / One);
            // Breathing in draws the view towards the centre by 1 + b, out pushes it by 1 / (1 + b).
            const std::int64_t amount = std::int64_t(breath) * shape / BreathPerDouble;
            const std::int64_t scale = amount >= 0 ? One + amount : std::int64_t(One) * One / (One - amount);
            const std::int64_t reach = std::int64_t(r) * Sub * scale / (RadiusSub * One); // 1/256 inner px
            m_reachU[std::size_t(r)] = std::int32_t(reach * m_textureWidth / m_innerWidth);
            m_reachV[std::size_t(r)] = std::int32_t(reach * m_textureHeight / m_innerHeight);
        }
    }

    static int bitsOf(int powerOfTwo)
    {
        int bits = 0;
        while ((1 << bits) < powerOfTwo) ++bits;
        return bits;
    }

    // The inner row (RGBA bytes) to the applet's rows it covers, each inner pixel res pixels wide.
    void writeRows(std::uint8_t *line, int y) const
    {
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int x = 0; x < m_width; ++x)
            std::memcpy(line + std::size_t(x) * 4, &m_row[std::size_t(m_columns[std::size_t(x)])], 4);
        const int rows = std::min(m_height, (y + 1) * m_res) - y * m_res;
        for (int r = 1; r < rows; ++r) std::memcpy(line + std::size_t(r) * rowBytes, line, rowBytes);
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1, m_halfSize = 1;
    int m_textureWidth = 1, m_textureHeight = 1;
    Shape m_shape = Shape::Whirl;
    Swing m_spiral, m_breath;
    std::uint32_t m_steps = 0;
    std::int32_t m_sine[AngleSteps] = {};
    std::vector<Texel> m_texture;         // the picture, power-of-two sides
    std::vector<Polar> m_polar;           // per inner pixel
    std::vector<std::int32_t> m_twist;    // by distance: added angle, 1/4096 turn
    std::vector<std::int32_t> m_reachU;   // by distance: distance looked at, 1/256 texel across
    std::vector<std::int32_t> m_reachV;   // ... and down
    std::vector<std::uint32_t> m_row;     // one row at the inner resolution, RGBA bytes
    std::vector<int> m_columns;
};

} // namespace

EffectInfo warpEffect()
{
    return {"Warp.class",
            "WARP",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "missing.jpg"},
                {"w1start", ParamKind::Integer, "0", -10000, 10000, "1500"},
                {"w2start", ParamKind::Integer, "0", -2000, 2000, "-300"},
                {"wadd1", ParamKind::Integer, "50", 0, 250, "10"},
                {"wadd2", ParamKind::Integer, "5", 0, 25, "20"},
                {"w1min", ParamKind::Integer, "-2000", -10000, 10000, "500"},
                {"w1max", ParamKind::Integer, "2000", -10000, 10000, "800"},
                {"w2min", ParamKind::Integer, "-500", -2000, 2000, "100"},
                {"w2max", ParamKind::Integer, "500", -2000, 2000, "150"},
                {"warpmode", ParamKind::Integer, "1", 1, ShapeCount, "2"},
            },
            [] { return std::unique_ptr<Effect>(new Warp); },
            25};
}

} // namespace vexa::effects
