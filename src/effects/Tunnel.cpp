// TUNNEL: a flight through a tunnel whose wall is covered with the picture. A look-up table made
// once holds, for every pixel around the tunnel's far end, where on the wall it looks and how far
// away that is; each frame only slides the wall along and around and sways the far end a little.
#include "Blocks.h"
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// The movement list of the page, in its order (1-based): which way the wall slides past.
struct Movement {
    int advance;   // +1 flies forward, -1 backwards, 0 stands
    int clockwise; // +1 turns clockwise on screen, -1 anticlockwise, 0 not at all
};
constexpr Movement Movements[] = {
    {+1, 0},  // Advance
    {-1, 0},  // Back
    {0, -1},  // Anticlockwise rotation
    {0, +1},  // Clockwise rotation
    {+1, +1}, // Advance + clockwise rotation
    {+1, -1}, // Advance + anticlockwise rotation
    {-1, +1}, // Back + clockwise rotation
    {-1, -1}, // Back + anticlockwise rotation
};
constexpr int MovementCount = int(sizeof(Movements) / sizeof(Movements[0]));

constexpr int WallWraps = 4;          // the picture goes four times around the wall
constexpr int FramesPerTurn = 200;    // a turning tunnel turns once in 8 seconds
constexpr int FramesPerPicture = 40;  // flying past one picture length takes 1.6 seconds
constexpr int WormholeTwist = 3;      // a wormhole's wall turns 3/8 round per picture length
constexpr int LitRadius = 65536 * 6 / 10; // inside 0.6 of the mouth (16.16) the light fades
constexpr int SwayDivisor = 8;        // the far end sways by an eighth of the applet each way
constexpr int SwayRateX = 23, SwayRateY = 17; // sway angles per frame (1/4096 turn): 7 s and 10 s

// The smallest power of two at least `side`, kept to 16..1024 so texels wrap with a mask.
int textureSide(int side)
{
    int result = 16;
    while (result < side && result < 1024) result *= 2;
    return result;
}

class Tunnel : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // "res" draws the tunnel at 1/res of the applet's size, in blocks of res x res pixels.
        m_res = in.integer("res");
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;
        makeTexture(in.picture("image"));

        const Movement &movement = Movements[in.integer("movement") - 1];
        m_advance = std::int64_t(movement.advance) * (std::int64_t(m_texHeight) << 16) / FramesPerPicture;
        m_turn = -std::int64_t(movement.clockwise) * (std::int64_t(m_texWidth * WallWraps) << 16) / FramesPerTurn;

        // The far end starts at the start point (applet pixels) and sways about it; a start far
        // outside the applet only sees the tunnel's wall, so it is kept within one applet size.
        m_startX = clampInt(in.integer("startx") / m_res, -m_innerWidth, 2 * m_innerWidth);
        m_startY = clampInt(in.integer("starty") / m_res, -m_innerHeight, 2 * m_innerHeight);
        m_swayX = m_innerWidth / SwayDivisor;
        m_swayY = m_innerHeight / SwayDivisor;
        m_tableWidth = m_innerWidth + 2 * m_swayX;
        m_tableHeight = m_innerHeight + 2 * m_swayY;
        makeTable(in.integer("conex"), in.integer("coney"), in.integer("conez"), in.integer("effect") == 2);

        m_inner.assign(std::size_t(m_innerWidth) * std::size_t(m_innerHeight), 0);
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;
    }

    void reset() override { m_frame = 0; }

    void step() override { ++m_frame; }

    void draw(std::uint8_t *rgba) override
    {
        // Offsets are 16.16 texels; unsigned arithmetic wraps by a multiple of the power-of-two
        // texture, so the wall repeats seamlessly however long the flight.
        const std::uint32_t along = std::uint32_t(std::uint64_t(m_advance * m_frame) >> 16);
        const std::uint32_t around = std::uint32_t(std::uint64_t(m_turn * m_frame) >> 16);
        const std::int64_t swayAngle = m_frame % AngleSteps;
        const int farX = m_startX + int(std::int64_t(m_swayX) * sine(std::int32_t(swayAngle * SwayRateX)) / 65536);
        const int farY = m_startY + int(std::int64_t(m_swayY) * sine(std::int32_t(swayAngle * SwayRateY)) / 65536);
        // The table's centre lies at the start point; the sway shifts the window into it.
        const int left = m_startX - farX + m_swayX, top = m_startY - farY + m_swayY;
        const std::uint32_t maskU = std::uint32_t(m_texWidth - 1), maskV = std::uint32_t(m_texHeight - 1);

        std::uint32_t *out = m_inner.data();
        for (int y = 0; y < m_innerHeight; ++y) {
            const Cell *cell = &m_table[std::size_t(y + top) * std::size_t(m_tableWidth) + std::size_t(left)];
            for (int x = 0; x < m_innerWidth; ++x, ++cell) {
                const std::uint32_t u = (cell->u + around) & maskU, v = (cell->v + along) & maskV;
                const std::uint32_t texel = m_texture[(std::size_t(v) << m_texShift) + u];
                const std::uint32_t shade = cell->shade;
                *out++ = ((((texel >> 16) & 255) * shade >> 8) << 16) | ((((texel >> 8) & 255) * shade >> 8) << 8) |
                         ((texel & 255) * shade >> 8);
            }
        }
        scaleUp(rgba);
    }

private:
    // Where one pixel looks on the wall: texels across (around) and along (into the depth), and
    // the light left at that depth.
    struct Cell {
        std::uint16_t u, v;
        std::uint8_t shade;
    };

    // The picture resampled to power-of-two sides, so the wall's texels wrap with a mask.
    void makeTexture(const Picture &picture)
    {
        m_texWidth = textureSide(picture.width);
        m_texHeight = textureSide(picture.height);
        m_texShift = 0;
        while ((1 << m_texShift) < m_texWidth) ++m_texShift;
        m_texture.resize(std::size_t(m_texWidth) * std::size_t(m_texHeight));
        for (int y = 0; y < m_texHeight; ++y) {
            const int sy = int(std::int64_t(y) * picture.height / m_texHeight);
            for (int x = 0; x < m_texWidth; ++x)
                m_texture[std::size_t(y) * std::size_t(m_texWidth) + std::size_t(x)] =
                    picture.at(int(std::int64_t(x) * picture.width / m_texWidth), sy);
        }
    }

    // The tunnel is a cone of elliptic section: its mouth is coneX x coneY applet pixels across
    // (half axes) and coneZ sets how deep the picture reaches. A pixel's distance q from the far
    // end, measured in mouth radii, gives the depth coneZ / q; its angle about the far end gives
    // the place around the wall. A wormhole's wall turns further the deeper it goes.
    void makeTable(int coneX, int coneY, int coneZ, bool wormhole)
    {
        m_table.resize(std::size_t(m_tableWidth) * std::size_t(m_tableHeight));
        const int centreX = m_startX + m_swayX, centreY = m_startY + m_swayY; // table cell of the far end
        const std::int64_t around = std::int64_t(m_texWidth) * WallWraps;
        for (int ty = 0; ty < m_tableHeight; ++ty) {
            // Mouth radii as 16.16; the pixel's centre keeps the far end off the exact middle.
            const std::int64_t qy = (std::int64_t(ty - centreY) * 2 + 1) * m_res * 32768 / coneY;
            for (int tx = 0; tx < m_tableWidth; ++tx) {
                const std::int64_t qx = (std::int64_t(tx - centreX) * 2 + 1) * m_res * 32768 / coneX;
                const std::int64_t q = std::max<std::int64_t>(squareRoot(std::uint64_t(qx * qx + qy * qy)), 1);
                // Depth in texels: coneZ / 16 rows of a 256-row picture at the mouth, so that the picture
                // keeps about its shape half way in.
                const std::int64_t depth = std::int64_t(coneZ) * m_texHeight * 16 / q;
                std::int64_t u = std::int64_t(angleOf(std::int32_t(qx), std::int32_t(qy))) * around / AngleSteps;
                if (wormhole) u += depth * around * WormholeTwist / (8 * std::int64_t(m_texHeight));
                Cell &cell = m_table[std::size_t(ty) * std::size_t(m_tableWidth) + std::size_t(tx)];
                cell.u = std::uint16_t(u & (m_texWidth - 1));
                cell.v = std::uint16_t(depth & (m_texHeight - 1));
                // Full light from the mouth in to LitRadius, then fading (with the square of q)
                // into a dark far end, where the picture's details would only flicker.
                const std::int64_t light = std::min<std::int64_t>(256, q * 256 / LitRadius);
                cell.shade = std::uint8_t(std::min<std::int64_t>(255, light * light / 256));
            }
        }
    }

    // The inner picture to the applet, each inner pixel a res x res block.
    void scaleUp(std::uint8_t *rgba) const
    {
        showBlocks(m_inner, m_innerWidth, m_res, m_columns, m_width, m_height, rgba);
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1;
    int m_texWidth = 16, m_texHeight = 16, m_texShift = 4;
    int m_startX = 0, m_startY = 0, m_swayX = 0, m_swayY = 0, m_tableWidth = 1, m_tableHeight = 1;
    std::int64_t m_advance = 0, m_turn = 0; // 16.16 texels per frame along and around the wall
    std::int64_t m_frame = 0;
    std::vector<std::uint32_t> m_texture; // 0xRRGGBB
    std::vector<Cell> m_table;            // around the far end, larger than the applet by the sway
    std::vector<std::uint32_t> m_inner;   // one frame at the inner resolution
    std::vector<int> m_columns;
};

} // namespace

EffectInfo tunnelEffect()
{
    return {"tunnel.class",
            "TUNNEL",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "NO"},
                {"startx", ParamKind::Integer, "100", -9999, 99999, "240"},
                {"starty", ParamKind::Integer, "100", -9999, 99999, "40"},
                {"conex", ParamKind::Integer, "215", 10, 99999, "90"},
                {"coney", ParamKind::Integer, "150", 10, 99999, "400"},
                {"conez", ParamKind::Integer, "1200", 10, 99999, "4000"},
                {"movement", ParamKind::Integer, "5", 1, MovementCount, "2"},
                {"effect", ParamKind::Integer, "1", 1, 2, "2"},
            },
            [] { return std::unique_ptr<Effect>(new Tunnel); },
            25};
}

} // namespace vexa::effects
