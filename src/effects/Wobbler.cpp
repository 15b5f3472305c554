// WOBBLER: the picture laid out as tiles on a plane that drifts nearer and further, seen through
// a glass sphere that wanders over the frame, with four waves rippling over the whole.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

constexpr std::int64_t One = 65536;            // 16.16 fixed point
constexpr std::int64_t NaturalDistance = 10;   // at this distance the picture shows at its own size
constexpr std::int64_t NearestDistance = 655;  // 0.01, the page's least distance
constexpr int MaxTextureSide = 1024;           // the tile is resampled to powers of two up to this
constexpr int AxisWavelength = 96;             // applet px between crests of the waves along x and y
constexpr int DiagonalWavelength = 136;        // applet px between crests of the slanted waves
constexpr int WaveStepPerSpeed = 2;            // 1/4096 turn a wave runs per frame per unit of its speed
constexpr int MoveSteps = 40000;               // the sphere's path turns move/40000 of a turn per frame
constexpr int PathReachPercent = 33;           // the sphere strays up to a third of the frame from its middle
constexpr int BulgeSteps = 1024;               // entries of the sphere's profile, by squared distance
constexpr int BulgeShift = 30;
constexpr int GridStep = 8;                    // "low" precision places the picture every 8 pixels only
constexpr int TexelShift = 49;                 // see placeRow
constexpr int CentiDegreesPerTurn = 36000;     // the variation is in degrees, its move in 1/100 degree

// The smallest power of two at least `side`, up to MaxTextureSide.
int textureSide(int side)
{
    int result = 1;
    while (result < side && result < MaxTextureSide) result *= 2;
    return result;
}

class Wobbler : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // "res" wobbles the picture at 1/res of the applet's size, shown in res x res blocks.
        m_res = std::min(in.integer("res"), std::max(m_width, m_height));
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;

        // The distance swings between min and max at the zoom speed, starting from the initial
        // distance held inside that range; a reversed range is read the right way round.
        m_least = std::max<std::int64_t>(NearestDistance, in.decimal("mindistance"));
        m_most = std::max<std::int64_t>(NearestDistance, in.decimal("maxdistance"));
        if (m_least > m_most) std::swap(m_least, m_most);
        m_startDistance = std::min(m_most, std::max<std::int64_t>(m_least, in.decimal("initialdistance")));
        m_zoomSpeed = in.decimal("zoomspeed");

        // The sphere's radius and the waves' strength are in applet pixels.
        m_radius = in.decimal("radius") / One / m_res;
        if (m_radius > 0) m_inverseRadius = (std::int64_t(1) << BulgeShift) * BulgeSteps / (m_radius * m_radius);
        m_strength = in.decimal("wavestrength") / m_res;
        const char *const speedNames[4] = {"spd1", "spd2", "spd3", "spd4"};
        for (int i = 0; i < 4; ++i) m_waveSpeed[i] = std::uint64_t(in.decimal(speedNames[i]));
        m_axisStep = AngleSteps * One * m_res / AxisWavelength;
        m_diagonalStep = AngleSteps * One * m_res / DiagonalWavelength;
        m_moveX = in.integer("xmove");
        m_moveY = in.integer("ymove");
        m_turnStart = std::int64_t(in.integer("variationstart")) * 100;
        m_turnSpeed = in.integer("variationmove");
        m_lowPrecision = in.word("precision", {"high", "low"}) == 1;

        for (int a = 0; a < AngleSteps; ++a) m_sine[a] = sine(a);
        // The sphere's height over the plane by squared distance from its middle, 0..256.
        for (int i = 0; i < BulgeSteps; ++i) m_bulge[i] = std::int32_t(squareRoot(std::uint64_t(BulgeSteps - i) * 64));

        loadTexture(in.picture("image"));
        // A picture is as large on screen as in its file at the natural distance.
        const Picture &picture = in.picture("image");
        m_textureScaleX = One * m_res * m_textureWidth / (NaturalDistance * picture.width);
        m_textureScaleY = One * m_res * m_textureHeight / (NaturalDistance * picture.height);

        m_nodesX = (m_innerWidth + GridStep - 1) / GridStep + 1;
        m_nodesY = (m_innerHeight + GridStep - 1) / GridStep + 1;
        m_gridU.assign(std::size_t(m_nodesX) * std::size_t(m_nodesY), 0);
        m_gridV.assign(m_gridU.size(), 0);
        m_rowU.assign(std::size_t(m_nodesX), 0);
        m_rowV.assign(std::size_t(m_nodesX), 0);
        m_inner.assign(std::size_t(m_innerWidth) * std::size_t(m_innerHeight), 0);
        // Grid nodes lie up to a step past the right and bottom edges.
        m_pushByColumn.assign(std::size_t(m_innerWidth + GridStep), 0);
        m_pushByRow.assign(std::size_t(m_innerHeight + GridStep), 0);
        m_pushRising.assign(std::size_t(m_innerWidth + m_innerHeight + 2 * GridStep), 0);
        m_pushFalling.assign(std::size_t(m_innerWidth + m_innerHeight + 2 * GridStep + 1), 0);
        reset();
    }

    void reset() override
    {
        m_steps = 0;
        m_distance = m_startDistance;
        m_outwards = true;
    }

    void step() override
    {
        ++m_steps;
        // Out to the furthest distance, back to the nearest, and out again.
        if (m_outwards) {
            m_distance += m_zoomSpeed;
            if (m_distance >= m_most) {
                m_distance = m_most;
                m_outwards = false;
            }
        } else {
            m_distance -= m_zoomSpeed;
            if (m_distance <= m_least) {
                m_distance = m_least;
                m_outwards = true;
            }
        }
    }

    void draw(std::uint8_t *rgba) override
    {
        prepareFrame();
        std::uint32_t *out = m_inner.data();
        if (!m_lowPrecision) {
            // At full size the rows go straight to the applet's pixels.
            if (m_res == 1) {
                for (int y = 0; y < m_innerHeight; ++y) placeRow(y, rgba + std::size_t(y) * std::size_t(m_width) * 4);
                return;
            }
            for (int y = 0; y < m_innerHeight; ++y)
                placeRow(y, reinterpret_cast<std::uint8_t *>(out + std::size_t(y) * std::size_t(m_innerWidth)));
        } else {
            // The picture's place at every 8th pixel, in between along straight lines.
            for (int gy = 0; gy < m_nodesY; ++gy)
                for (int gx = 0; gx < m_nodesX; ++gx) {
                    const std::size_t node = std::size_t(gy) * std::size_t(m_nodesX) + std::size_t(gx);
                    place(gx * GridStep, gy * GridStep, m_gridU[node], m_gridV[node]);
                }
            for (int y = 0; y < m_innerHeight; ++y) {
                const std::size_t top = std::size_t(y / GridStep) * std::size_t(m_nodesX), bottom = top + std::size_t(m_nodesX);
                const std::int64_t down = y % GridStep;
                for (std::size_t gx = 0; gx < std::size_t(m_nodesX); ++gx) {
                    m_rowU[gx] = m_gridU[top + gx] + (m_gridU[bottom + gx] - m_gridU[top + gx]) * down / GridStep;
                    m_rowV[gx] = m_gridV[top + gx] + (m_gridV[bottom + gx] - m_gridV[top + gx]) * down / GridStep;
                }
                for (int x = 0; x < m_innerWidth; ++x) {
                    const std::size_t gx = std::size_t(x / GridStep);
                    const std::int64_t across = x % GridStep;
                    *out++ = texel(m_rowU[gx] + (m_rowU[gx + 1] - m_rowU[gx]) * across / GridStep,
                                   m_rowV[gx] + (m_rowV[gx + 1] - m_rowV[gx]) * across / GridStep);
                }
            }
        }
        // res x res blocks; texels are kept as their RGBA bytes, so a pixel is a plain copy.
        for (int y = 0; y < m_height; ++y) {
            const std::uint32_t *row = &m_inner[std::size_t(y / m_res) * std::size_t(m_innerWidth)];
            for (int x = 0; x < m_width; ++x, rgba += 4) std::memcpy(rgba, &row[m_columns[std::size_t(x)]], 4);
        }
    }

private:
    // The tile resampled to powers of two, so the plane repeats it by masking.
    void loadTexture(const Picture &picture)
    {
        m_textureWidth = textureSide(picture.width);
        m_textureHeight = textureSide(picture.height);
        for (m_textureShift = 0; (1 << m_textureShift) < m_textureWidth; ++m_textureShift) {}
        m_texture.resize(std::size_t(m_textureWidth) * std::size_t(m_textureHeight));
        std::uint32_t *out = m_texture.data();
        for (int y = 0; y < m_textureHeight; ++y) {
            const int pictureY = int(std::int64_t(y) * picture.height / m_textureHeight);
            for (int x = 0; x < m_textureWidth; ++x) {
                const std::uint32_t colour = picture.at(int(std::int64_t(x) * picture.width / m_textureWidth), pictureY);
                const std::uint8_t bytes[4] = {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour), 255};
                std::memcpy(out++, bytes, 4);
            }
        }
    }

    // What stays the same over a whole frame: the sphere's place, the waves' phases, the turn
    // of the plane and how large a pixel is on it.
    void prepareFrame()
    {
        const std::int64_t steps = m_steps;
        const std::int64_t middleX = std::int64_t(m_innerWidth) * One / 2, middleY = std::int64_t(m_innerHeight) * One / 2;
        const int pathX = int((steps * m_moveX * AngleSteps / MoveSteps) & AngleMask);
        const int pathY = int((steps * m_moveY * AngleSteps / MoveSteps) & AngleMask);
        m_sphereX = middleX + middleX * PathReachPercent / 100 * sine(pathX) / One;
        m_sphereY = middleY + middleY * PathReachPercent / 100 * sine(pathY) / One;
        m_middleX = middleX;
        m_middleY = middleY;
        for (int i = 0; i < 4; ++i)
            m_phase[i] = std::int64_t(((std::uint64_t(steps) * m_waveSpeed[i] * WaveStepPerSpeed) >> 16) & AngleMask);
        std::int64_t turn = (m_turnStart + steps * m_turnSpeed) % CentiDegreesPerTurn;
        if (turn < 0) turn += CentiDegreesPerTurn;
        const int angle = int(turn * AngleSteps / CentiDegreesPerTurn);
        m_cos = cosine(angle);
        m_sin = sine(angle);
        m_scaleX = m_distance * m_textureScaleX / One;
        m_scaleY = m_distance * m_textureScaleY / One;
        // The four waves' pushes, by column, by row and by the two diagonals (x + y, x - y).
        // Each push moves a pixel by half its wave: the tables hold it halved, in 16.16 pixels.
        const auto wave = [this](std::int64_t place, std::int64_t step, int phase) {
            return m_strength * m_sine[(((place * step) >> 16) + phase) & AngleMask] / (2 * One);
        };
        for (std::size_t x = 0; x < m_pushByColumn.size(); ++x) m_pushByColumn[x] = wave(std::int64_t(x), m_axisStep, int(m_phase[1]));
        for (std::size_t y = 0; y < m_pushByRow.size(); ++y) m_pushByRow[y] = wave(std::int64_t(y), m_axisStep, int(m_phase[0]));
        for (std::size_t d = 0; d < m_pushRising.size(); ++d) m_pushRising[d] = wave(std::int64_t(d), m_diagonalStep, int(m_phase[2]));
        for (std::size_t d = 0; d < m_pushFalling.size(); ++d) m_pushFalling[d] = wave(std::int64_t(d), m_diagonalStep, int(m_phase[3]));
    }

    // Where inner pixel (x, y) looks on the tiled plane, in 1/65536 of a tile pixel.
    void place(int x, int y, std::int64_t &u, std::int64_t &v) const
    {
        // The waves push the pixel along x and along y, each by two of the four.
        const std::int64_t pushX = m_pushByRow[std::size_t(y)] + m_pushRising[std::size_t(x + y)];
        const std::int64_t pushY = m_pushByColumn[std::size_t(x)] + m_pushFalling[std::size_t(x + m_innerHeight + GridStep - y)];
        std::int64_t px = std::int64_t(x) * One + One / 2 + pushX - m_sphereX;
        std::int64_t py = std::int64_t(y) * One + One / 2 + pushY - m_sphereY;
        // Inside the sphere the plane is seen magnified, twice at its middle.
        const std::int64_t rx = px / One, ry = py / One, squared = rx * rx + ry * ry;
        if (squared < m_radius * m_radius) {
            const std::int64_t keep = 512 - m_bulge[(squared * m_inverseRadius) >> BulgeShift];
            px = px * keep / 512;
            py = py * keep / 512;
        }
        px += m_sphereX - m_middleX;
        py += m_sphereY - m_middleY;
        // Turned by the variation about the frame's middle, then scaled by the distance.
        const std::int64_t tx = (px * m_cos - py * m_sin) / One, ty = (px * m_sin + py * m_cos) / One;
        u = tx * m_scaleX / One + std::int64_t(m_textureWidth) * One / 2;
        v = ty * m_scaleY / One + std::int64_t(m_textureHeight) * One / 2;
    }

    // One row of place() and texel() together, with everything that holds for the frame in
    // locals (the compiler cannot keep members in registers while it writes pixels that might
    // alias them). The turn and the scale are one product per axis, taken modulo 2^64: only
    // the low bits of the texel's place are kept by the mask, and those wrap exactly, so
    // nothing can overflow however large the distance or the waves.
    void placeRow(int y, std::uint8_t *out) const
    {
        const std::int64_t radiusSquared = m_radius * m_radius, inverseRadius = m_inverseRadius;
        // Turn times scale in 1/2^24 of a texel per 1/65536 pixel: a texel is then 2^49 of a
        // product with the place times 512, which leaves the 15 low bits the mask needs. The
        // sphere's offset from the middle and the tile's half size are in the constant part.
        const std::uint64_t uAcross = std::uint64_t(m_cos * m_scaleX / 256), uDown = std::uint64_t(-m_sin * m_scaleX / 256);
        const std::uint64_t vAcross = std::uint64_t(m_sin * m_scaleY / 256), vDown = std::uint64_t(m_cos * m_scaleY / 256);
        const std::uint64_t towardsX = std::uint64_t((m_sphereX - m_middleX) * 512), towardsY = std::uint64_t((m_sphereY - m_middleY) * 512);
        const std::uint64_t uStart = towardsX * uAcross + towardsY * uDown + (std::uint64_t(m_textureWidth / 2) << TexelShift);
        const std::uint64_t vStart = towardsX * vAcross + towardsY * vDown + (std::uint64_t(m_textureHeight / 2) << TexelShift);
        // The row is taken from v shifted by less, so it lands already multiplied by the width.
        const std::uint64_t maskU = std::uint64_t(m_textureWidth - 1), maskV = std::uint64_t(m_textureHeight - 1) << m_textureShift;
        const int shiftV = TexelShift - m_textureShift;
        const std::int32_t *bulge = m_bulge;
        const std::uint32_t *texture = m_texture.data();
        const std::int64_t *byColumn = m_pushByColumn.data();
        const std::int64_t *rising = m_pushRising.data() + y;
        const std::int64_t *falling = m_pushFalling.data() + (m_innerHeight + GridStep - y);
        const std::int64_t startX = One / 2 - m_sphereX + m_pushByRow[std::size_t(y)];
        const std::int64_t startY = std::int64_t(y) * One + One / 2 - m_sphereY;
        for (int x = 0, width = m_innerWidth; x < width; ++x) {
            const std::int64_t px = std::int64_t(x) * One + startX + rising[x], py = startY + byColumn[x] + falling[x];
            const std::int64_t rx = px / One, ry = py / One, squared = rx * rx + ry * ry;
            // Outside the sphere the last entry of the profile leaves the plane as it is.
            const std::int64_t keep = 512 - bulge[squared < radiusSquared ? (squared * inverseRadius) >> BulgeShift : BulgeSteps];
            const std::uint64_t qx = std::uint64_t(px * keep), qy = std::uint64_t(py * keep);
            const std::uint64_t u = (qx * uAcross + qy * uDown + uStart) >> TexelShift;
            const std::uint64_t v = (qx * vAcross + qy * vDown + vStart) >> shiftV;
            std::memcpy(out + 4 * x, &texture[(v & maskV) + (u & maskU)], 4);
        }
    }

    std::uint32_t texel(std::int64_t u, std::int64_t v) const
    {
        const std::size_t column = std::size_t((std::uint64_t(u) >> 16) & std::uint64_t(m_textureWidth - 1));
        const std::size_t row = std::size_t((std::uint64_t(v) >> 16) & std::uint64_t(m_textureHeight - 1));
        return m_texture[row * std::size_t(m_textureWidth) + column];
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1;
    std::int64_t m_least = One, m_most = One, m_startDistance = One, m_zoomSpeed = 0, m_distance = One;
    bool m_outwards = true, m_lowPrecision = false;
    std::int64_t m_radius = 0, m_inverseRadius = 0, m_strength = 0;
    std::uint64_t m_waveSpeed[4] = {};
    std::int64_t m_axisStep = 0, m_diagonalStep = 0;
    std::int64_t m_moveX = 0, m_moveY = 0, m_turnStart = 0, m_turnSpeed = 0;
    std::int64_t m_textureScaleX = One, m_textureScaleY = One;
    std::uint32_t m_steps = 0;
    // This frame's values (prepareFrame).
    std::int64_t m_sphereX = 0, m_sphereY = 0, m_middleX = 0, m_middleY = 0, m_phase[4] = {};
    std::int64_t m_cos = One, m_sin = 0, m_scaleX = One, m_scaleY = One;
    std::int32_t m_sine[AngleSteps] = {};
    std::vector<std::int64_t> m_pushByColumn, m_pushByRow, m_pushRising, m_pushFalling; // this frame's waves
    std::int32_t m_bulge[BulgeSteps + 1] = {}; // the last one stays 0: outside the sphere
    int m_textureWidth = 1, m_textureHeight = 1, m_textureShift = 0, m_nodesX = 1, m_nodesY = 1;
    std::vector<std::uint32_t> m_texture;          // the tile as RGBA bytes, powers of two a side
    std::vector<std::int64_t> m_gridU, m_gridV;    // "low" precision: places at every 8th pixel
    std::vector<std::int64_t> m_rowU, m_rowV;      // the grid's places on the row being drawn
    std::vector<std::uint32_t> m_inner;            // the wobbled inner frame, RGBA bytes
    std::vector<int> m_columns;
};

} // namespace

EffectInfo wobblerEffect()
{
    return {"wobbler.class",
            "WOBBLER",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "missing.jpg"},
                {"initialdistance", ParamKind::Decimal, "3.0", 0, 500, "10"},
                {"zoomspeed", ParamKind::Decimal, "0.1", 0, 50, "0.5"},
                {"mindistance", ParamKind::Decimal, "5.0", 0, 500, "8"},
                {"maxdistance", ParamKind::Decimal, "20.0", 0, 500, "6"},
                {"radius", ParamKind::Decimal, "400.0", 0, 10000, "100"},
                {"wavestrength", ParamKind::Decimal, "8.0", 0, 10000, "30"},
                {"spd1", ParamKind::Decimal, "40.0", 0, 32767, "5"},
                {"spd2", ParamKind::Decimal, "30.0", 0, 32767, "5"},
                {"spd3", ParamKind::Decimal, "50.0", 0, 32767, "5"},
                {"spd4", ParamKind::Decimal, "40.0", 0, 32767, "5"},
                {"xmove", ParamKind::Integer, "200", 0, 1000, "700"},
                {"ymove", ParamKind::Integer, "200", 0, 1000, "0"},
                {"variationstart", ParamKind::Integer, "0", -1000000000, 1000000000, "90"},
                {"variationmove", ParamKind::Integer, "10", 0, 1000, "300"},
                {"precision", ParamKind::Word, "high", 0, 0, "low"},
            },
            [] { return std::unique_ptr<Effect>(new Wobbler); },
            25};
}

} // namespace vexa::effects
