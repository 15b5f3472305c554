// PLASMA: a smooth, ever-changing colour field made of overlapping sine waves, coloured
// through a cycling palette whose red, green and blue tones are set on the page.
#include "Effect.h"
#include "Maths.h"

namespace vexa::effects {
namespace {

// The waves that make up the field: each travels across the applet in a slowly turning
// direction. Angles and rates in 1/4096 turn; rates are per frame at speed 1.
struct Wave {
    int startDirection;
    int turnRate;
    int startPhase;
    int phaseRate;
};
constexpr Wave Waves[] = {
    {0, 3, 0, 45},
    {1100, -2, 900, -60},
    {2300, 5, 2100, 75},
    {3400, -4, 3000, 35},
};
constexpr int WaveCount = int(sizeof Waves / sizeof Waves[0]);

// How fast the sway of each axis travels, and where it starts, in 1/4096 turn.
constexpr int SwayRate[2] = {-28, 22};
constexpr int SwayStart[2] = {0, 1500};

// An angle of any size (either sign) brought into one turn; the unsigned conversion wraps
// exactly, and a turn divides 2^32.
std::int32_t withinTurn(std::int64_t angle) { return std::int32_t(std::uint32_t(angle) & AngleMask); }

// Palette steps the colours cycle by per frame at speed 1, in 1/16 of an entry.
constexpr int PaletteDrift = 8;

class Plasma : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // The field is worked out once per block of res x res pixels.
        m_res = in.integer("res");
        m_cols = (m_width + m_res - 1) / m_res;
        m_rows = (m_height + m_res - 1) / m_res;
        m_stretchX = in.integer("gen2");
        m_stretchY = in.integer("gen3");
        m_speed = in.integer("speed");
        // The smooth value spreads the field over fewer palette entries: the higher it is, the
        // gentler the colour changes from place to place.
        const std::int64_t smooth = in.integer("gen1");
        m_indexScale = std::int32_t((std::int64_t(1) << 24) / (smooth * 8));

        // Each channel rises and falls as a sine over one palette cycle: the multiplier is its
        // swing, the added value its middle, the smoothing value how many waves it makes.
        const char *multipliers[3] = {"red1", "green1", "blue1"};
        const char *added[3] = {"red2", "green2", "blue2"};
        const char *waves[3] = {"red3", "green3", "blue3"};
        for (int c = 0; c < 3; ++c) {
            const std::int64_t swing = in.integer(multipliers[c]), middle = in.integer(added[c]);
            const int count = in.integer(waves[c]);
            for (int i = 0; i < 256; ++i) {
                const std::int64_t level = middle + (swing * sine(i * count * (AngleSteps / 256))) / 65536;
                m_channels[c][i] = toByte(std::int32_t(level));
            }
        }
        for (int a = 0; a < AngleSteps; ++a) m_sines[a] = sine(a);
        m_field.assign(std::size_t(m_cols) * std::size_t(m_rows), 0);
        m_columnPhase.assign(std::size_t(WaveCount) * std::size_t(m_cols), 0);
        m_rowPhase.assign(std::size_t(WaveCount) * std::size_t(m_rows), 0);
        m_blockOf.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_blockOf[std::size_t(x)] = x / m_res;
    }

    void reset() override
    {
        m_frame = 0;
        computeField();
    }

    void step() override
    {
        ++m_frame;
        computeField();
    }

    void draw(std::uint8_t *rgba) override
    {
        const int shift = int((std::int64_t(m_frame) * m_speed * PaletteDrift / 16) & 255);
        for (int y = 0; y < m_height; ++y) {
            const std::uint8_t *field = &m_field[std::size_t(y / m_res) * std::size_t(m_cols)];
            for (int x = 0; x < m_width; ++x) {
                const int i = (field[m_blockOf[std::size_t(x)]] + shift) & 255;
                *rgba++ = m_channels[0][i];
                *rgba++ = m_channels[1][i];
                *rgba++ = m_channels[2][i];
                *rgba++ = 255;
            }
        }
    }

private:
    // The field at the current frame: the sum of the waves at the centre of each block,
    // turned into a palette entry. The plane is warped first (x sways with y and y with x),
    // so the waves bend into drifting blobs instead of a straight lattice.
    void computeField()
    {
        // A wave's phase as 16.16 angle steps, wrapping freely in 32 bits (4096 steps a turn
        // fit a whole number of times). One turn takes twice the stretcher in pixels.
        const std::int64_t time = std::int64_t(m_frame) * m_speed;
        for (int w = 0; w < WaveCount; ++w) {
            const std::int32_t direction = withinTurn(Waves[w].startDirection + time * Waves[w].turnRate);
            const std::int64_t perPixelX = std::int64_t(cosine(direction)) * (AngleSteps / 2) / m_stretchX;
            const std::int64_t perPixelY = std::int64_t(sine(direction)) * (AngleSteps / 2) / m_stretchY;
            const std::int64_t phase = withinTurn(Waves[w].startPhase + time * Waves[w].phaseRate);
            // Separable: the phase at a block is its column's part plus its row's part.
            for (int col = 0; col < m_cols; ++col) {
                const std::int64_t x = std::int64_t(col) * m_res + m_res / 2;
                m_columnPhase[std::size_t(w * m_cols + col)] =
                    std::uint32_t(perPixelX * x + perPixelY * sway(x, m_stretchX, m_stretchY, time, 0));
            }
            for (int row = 0; row < m_rows; ++row) {
                const std::int64_t y = std::int64_t(row) * m_res + m_res / 2;
                m_rowPhase[std::size_t(w * m_rows + row)] =
                    std::uint32_t((phase << 16) + perPixelY * y + perPixelX * sway(y, m_stretchY, m_stretchX, time, 1));
            }
        }
        std::uint8_t *out = m_field.data();
        for (int row = 0; row < m_rows; ++row) {
            std::uint32_t rowPhase[WaveCount];
            const std::uint32_t *columnPhase[WaveCount];
            for (int w = 0; w < WaveCount; ++w) {
                rowPhase[w] = m_rowPhase[std::size_t(w * m_rows + row)];
                columnPhase[w] = &m_columnPhase[std::size_t(w * m_cols)];
            }
            for (int col = 0; col < m_cols; ++col) {
                std::int32_t sum = 0;
                for (int w = 0; w < WaveCount; ++w) sum += m_sines[((rowPhase[w] + columnPhase[w][col]) >> 16) & AngleMask];
                // sum is within +-WaveCount * 65536; offset it to be non-negative before scaling.
                const std::int64_t level = std::int64_t(sum + WaveCount * 65536) * m_indexScale;
                *out++ = std::uint8_t((level >> 24) & 255);
            }
        }
    }

    // How far (in pixels) the other coordinate is pushed at position `at` along one axis: a
    // slow sine as long as four stretchers of this axis, as high as half the other's.
    static std::int64_t sway(std::int64_t at, int stretchAlong, int stretchAcross, std::int64_t time, int axis)
    {
        const std::int64_t angle = at * (AngleSteps / 4) / stretchAlong + time * SwayRate[axis] + SwayStart[axis];
        return std::int64_t(sine(withinTurn(angle))) * stretchAcross / (2 * 65536);
    }

    int m_width = 0, m_height = 0, m_res = 1, m_cols = 1, m_rows = 1;
    int m_stretchX = 64, m_stretchY = 64, m_speed = 1;
    std::int32_t m_indexScale = 0;
    std::uint32_t m_frame = 0;
    std::uint8_t m_channels[3][256] = {};
    std::int32_t m_sines[AngleSteps] = {};
    std::vector<std::uint8_t> m_field; // palette entry per block, cols x rows
    std::vector<std::uint32_t> m_columnPhase, m_rowPhase; // per wave, then per column / row
    std::vector<int> m_blockOf;        // the block column of each pixel column
};

} // namespace

EffectInfo plasmaEffect()
{
    return {"Plasma3.class",
            "PLASMA",
            {
                {"res", ParamKind::Integer, "3", 1, 8, "8"},
                {"gen1", ParamKind::Integer, "200", 8, 2000, "40"},
                {"gen2", ParamKind::Integer, "64", 3, 256, "16"},
                {"gen3", ParamKind::Integer, "64", 3, 256, "200"},
                {"red1", ParamKind::Integer, "128", 0, 255, "0"},
                {"red2", ParamKind::Integer, "128", 0, 255, "0"},
                {"red3", ParamKind::Integer, "1", 1, 8, "5"},
                {"green1", ParamKind::Integer, "64", 0, 255, "255"},
                {"green2", ParamKind::Integer, "64", 0, 255, "200"},
                {"green3", ParamKind::Integer, "2", 1, 8, "6"},
                {"blue1", ParamKind::Integer, "255", 0, 255, "0"},
                {"blue2", ParamKind::Integer, "0", 0, 255, "200"},
                {"blue3", ParamKind::Integer, "3", 1, 8, "1"},
                {"speed", ParamKind::Integer, "1", 1, 8, "8"},
            },
            [] { return std::unique_ptr<Effect>(new Plasma); },
            25};
}

} // namespace vexa::effects
