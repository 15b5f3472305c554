// BUMP: a light travelling over the picture as if it were a relief. Each pixel's height comes
// from the bump picture (or the picture's own brightness); where the surface slopes towards the
// light it is lit, where it slopes away it falls into shadow.
#include "Blocks.h"
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

constexpr int SpotSteps = 1024;      // entries of the light's profile, by squared distance
constexpr int SpotShift = 30;        // squared distance * inverse >> SpotShift gives the entry
constexpr int PathStepPerUnit = 8;   // 1/4096 turn the light moves per frame per step of angle_x / angle_y
constexpr int PathReachPercent = 45; // the light swings up to 45% of the frame's size from its middle
constexpr int GainPerPower = 8;      // the light's strength at its centre: power * 8 / 256 of full light
constexpr int FullLight = 256;       // a multiplier of 256 shows the picture's own colour

// Brightness of a 0xRRGGBB pixel, 0..255 (green weighs most, as the eye sees it).
inline int brightness(std::uint32_t colour)
{
    return int((((colour >> 16) & 255) * 77 + ((colour >> 8) & 255) * 150 + (colour & 255) * 29) >> 8);
}

class Bump : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // "res" lights the picture at 1/res of the applet's size, shown in res x res blocks.
        m_res = std::min(in.integer("res"), std::max(m_width, m_height));
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;

        // The light's size on the page is the power of two of its diameter in pixels (3 gives 8,
        // 9 gives 512): its reach is half of that.
        m_reach = std::max(1, (1 << in.integer("lightsize")) / 2 / m_res);
        m_inverseReach = (std::int64_t(1) << SpotShift) * SpotSteps / (std::int64_t(m_reach) * m_reach);
        m_pathSpeedX = in.integer("angle_x") * PathStepPerUnit;
        m_pathSpeedY = in.integer("angle_y") * PathStepPerUnit;
        buildSpot(in.integer("lightmin"), in.integer("lightmax"), in.integer("lightpower"));

        loadPicture(in.picture("picture"));
        // A separate bump picture is stretched over the same frame; without one the picture's
        // own light parts stand high and its dark parts lie low.
        buildSlopes(in.hasPicture("bump") ? in.picture("bump") : in.picture("picture"), in.integer("bump_height"));
        m_inner.assign(m_colours.size(), 0);
    }

    void reset() override { m_steps = 0; }

    void step() override { ++m_steps; }

    void draw(std::uint8_t *rgba) override
    {
        const int lightX = pathPosition(m_innerWidth, std::int64_t(m_pathSpeedX) * m_steps);
        const int lightY = pathPosition(m_innerHeight, std::int64_t(m_pathSpeedY) * m_steps);
        const std::int64_t reachSquared = std::int64_t(m_reach) * m_reach;
        const std::uint32_t *colour = m_colours.data();
        const std::int16_t *slopeX = m_slopeX.data(), *slopeY = m_slopeY.data();
        std::uint32_t *out = m_inner.data();
        for (int y = 0; y < m_innerHeight; ++y) {
            const int dy = y - lightY;
            for (int x = 0; x < m_innerWidth; ++x) {
                // The slope moves the point where the light is looked up: a face turned towards
                // the light sees it nearer, a face turned away sees it further off.
                const std::int64_t lookX = x - lightX + *slopeX++, lookY = dy + *slopeY++;
                const std::int64_t distance = lookX * lookX + lookY * lookY;
                const std::uint32_t gain =
                    distance < reachSquared ? m_spot[std::size_t((distance * m_inverseReach) >> SpotShift)] : m_ambient;
                const std::uint32_t c = *colour++;
                const std::uint32_t r = std::min<std::uint32_t>(255, ((c >> 16) & 255) * gain >> 8);
                const std::uint32_t g = std::min<std::uint32_t>(255, ((c >> 8) & 255) * gain >> 8);
                const std::uint32_t b = std::min<std::uint32_t>(255, (c & 255) * gain >> 8);
                *out++ = (r << 16) | (g << 8) | b;
            }
        }
        showBlocks(m_inner, m_innerWidth, m_res, m_columns, m_width, m_height, rgba);
    }

private:
    // The light's profile from its centre to its reach: a soft spot, (1 - d²/reach²)², lifted
    // from the least light by the power and held under the most light. Light min and max are
    // multipliers of the picture's colours in 1/256: 256 shows the picture as it is.
    void buildSpot(int least, int most, int power)
    {
        most = std::max(most, least);
        m_ambient = std::uint32_t(least);
        for (int i = 0; i < SpotSteps; ++i) {
            const std::int64_t falloff = std::int64_t(SpotSteps - i) * FullLight / SpotSteps; // 1 - d²/reach², 1/256
            const std::int64_t strength = falloff * falloff / FullLight;
            m_spot[i] = std::uint32_t(std::min<std::int64_t>(most, least + strength * power * GainPerPower / FullLight));
        }
    }

    // The picture stretched over the inner frame, each inner pixel taking the one under its centre.
    void loadPicture(const Picture &picture)
    {
        m_colours.resize(std::size_t(m_innerWidth) * std::size_t(m_innerHeight));
        sampleInto(picture, [this](std::size_t i, std::uint32_t colour) { m_colours[i] = colour; });
    }

    // How far each inner pixel's slope shifts the light: the height difference of its
    // neighbours, times the bump height, in 1/256 of the light's reach per step of height.
    void buildSlopes(const Picture &relief, int bumpHeight)
    {
        const std::size_t count = std::size_t(m_innerWidth) * std::size_t(m_innerHeight);
        std::vector<std::uint8_t> height(count);
        sampleInto(relief, [&height](std::size_t i, std::uint32_t colour) { height[i] = std::uint8_t(brightness(colour)); });
        m_slopeX.resize(count);
        m_slopeY.resize(count);
        const std::int64_t scale = std::int64_t(bumpHeight) * m_reach;
        for (int y = 0; y < m_innerHeight; ++y) {
            const std::size_t up = std::size_t(std::max(y - 1, 0)) * std::size_t(m_innerWidth);
            const std::size_t down = std::size_t(std::min(y + 1, m_innerHeight - 1)) * std::size_t(m_innerWidth);
            const std::size_t row = std::size_t(y) * std::size_t(m_innerWidth);
            for (int x = 0; x < m_innerWidth; ++x) {
                const std::size_t left = std::size_t(std::max(x - 1, 0)), right = std::size_t(std::min(x + 1, m_innerWidth - 1));
                const int dx = int(height[row + right]) - int(height[row + left]);
                const int dy = int(height[down + std::size_t(x)]) - int(height[up + std::size_t(x)]);
                m_slopeX[row + std::size_t(x)] = std::int16_t(clampInt(dx * scale / 256, -32000, 32000));
                m_slopeY[row + std::size_t(x)] = std::int16_t(clampInt(dy * scale / 256, -32000, 32000));
            }
        }
    }

    template <typename Store> void sampleInto(const Picture &picture, Store store) const
    {
        std::size_t i = 0;
        for (int y = 0; y < m_innerHeight; ++y) {
            const int centreY = clampInt(std::int64_t(y) * m_res + m_res / 2, 0, m_height - 1);
            const int pictureY = int(std::int64_t(centreY) * picture.height / m_height);
            for (int x = 0; x < m_innerWidth; ++x, ++i) {
                const int centreX = clampInt(std::int64_t(x) * m_res + m_res / 2, 0, m_width - 1);
                store(i, picture.at(int(std::int64_t(centreX) * picture.width / m_width), pictureY));
            }
        }
    }

    // The light's coordinate on its path: swinging around the middle of the side.
    static int pathPosition(int side, std::int64_t angle)
    {
        const int reach = side * PathReachPercent / 100;
        return (side - 1) / 2 + int(std::int64_t(reach) * sine(int(angle & AngleMask)) / 65536);
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1;
    int m_reach = 1, m_pathSpeedX = 0, m_pathSpeedY = 0;
    std::int64_t m_inverseReach = 0;
    std::uint32_t m_ambient = 0;
    std::uint32_t m_steps = 0;
    std::uint32_t m_spot[SpotSteps] = {};  // light multiplier (1/256) by squared distance
    std::vector<std::uint32_t> m_colours;  // the inner picture, 0xRRGGBB
    std::vector<std::int16_t> m_slopeX;    // light shift of each inner pixel's slope, inner px
    std::vector<std::int16_t> m_slopeY;
    std::vector<std::uint32_t> m_inner;    // the lit inner frame
    std::vector<int> m_columns;
};

} // namespace

EffectInfo bumpEffect()
{
    return {"vexabump.class",
            "BUMP",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"picture", ParamKind::Picture, "sample.jpg", 0, 0, "missing.jpg"},
                {"bump", ParamKind::Picture, "NO", 0, 0, "sample.jpg"},
                {"bump_height", ParamKind::Integer, "2", 1, 5, "5"},
                {"angle_x", ParamKind::Integer, "4", -100, 100, "9"},
                {"angle_y", ParamKind::Integer, "6", -100, 100, "1"},
                {"lightsize", ParamKind::Integer, "9", 3, 9, "6"},
                {"lightpower", ParamKind::Integer, "50", 1, 100, "100"},
                {"lightmin", ParamKind::Integer, "20", 1, 511, "120"},
                {"lightmax", ParamKind::Integer, "400", 1, 511, "200"},
                {"interactive", ParamKind::Flag, "YES", 0, 1, "NO", false,
                 "the light follows the mouse: a recorded frame has none, so the light keeps to its own path"},
            },
            [] { return std::unique_ptr<Effect>(new Bump); },
            25};
}

} // namespace vexa::effects
