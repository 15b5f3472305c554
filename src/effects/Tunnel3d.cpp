// TUNNEL3D: a flight through a textured tunnel in 3D: the camera turns on its three axes, the
// tunnel may bend and be square, and the light fades with the distance (or grows, reversed).
// Rays are cast at the corners of 8x8 pixel blocks and the texture place and light are
// interpolated inside each block.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

// The texture: the picture stretched to 256 x 256 texels; once around the tunnel is its width.
constexpr int TextureBits = 8;
constexpr int TextureSide = 1 << TextureBits;
constexpr int TextureMask = TextureSide - 1;
// 16.16 texel places wrap at the texture's side.
constexpr std::int32_t PlaceMask = (TextureSide << 16) - 1;
constexpr int BlockBits = 3;
constexpr int Block = 1 << BlockBits;
// World lengths are in quarter units (a unit: what "tunnelradius" counts).
constexpr int Quarter = 4;
// Light steps: the light changes by "lightdec" every this many units of distance; the full
// light of 100 shows the picture as it is.
constexpr int LightStepUnits = 8;
constexpr int FullLight = 100;
// A ray along the tunnel's axis sees no wall: its distance stops here (in radii).
constexpr int FarthestRadii = 64;
// Ray directions have this length.
constexpr int DirectionLength = 4096;

// Ratios of the short side to the long one, in these steps, for the angle table.
constexpr int RatioSteps = 1024;

// The whole square root (rounded down), digit by digit without branches: the walls need a
// few thousand a frame, and the digits' branches would guess wrong half the time.
std::uint32_t wholeRoot(std::uint64_t value)
{
    std::uint64_t bit = std::uint64_t(1) << 62;
    for (int shift = 32; shift >= 2; shift /= 2)
        if ((bit >> shift) > value) bit >>= shift;
    std::uint64_t result = 0;
    for (; bit != 0; bit >>= 2) {
        const std::uint64_t trial = result + bit;
        const std::uint64_t take = std::uint64_t(0) - std::uint64_t(value >= trial); // all ones or none
        value -= trial & take;
        result = (result >> 1) + (bit & take);
    }
    return std::uint32_t(result);
}

// Texels keep each channel in its own 20 bits (red at 0, green at 20, blue at 40): one
// multiplication lights all three (a channel times the light stays below 2^17), and the bit
// above the byte of each product says that the channel saturates.
using Texel = std::uint64_t;
constexpr Texel LowBytes = 0xFFull | (0xFFull << 20) | (0xFFull << 40);
constexpr Texel CarryBits = 1ull | (1ull << 20) | (1ull << 40);
inline Texel spread(std::uint32_t rgb)
{
    return Texel((rgb >> 16) & 0xFFu) | (Texel(rgb & 0xFF00u) << 12) | (Texel(rgb & 0xFFu) << 40);
}
// The texel times light/256, each channel held at 255, as the frame's bytes R, G, B, 255.
inline void putLit(std::uint8_t *out, Texel texel, std::uint32_t light)
{
    const Texel product = texel * light;
    const Texel lit = ((product >> 8) & LowBytes) | (((product >> 16) & CarryBits) * 255);
    out[0] = std::uint8_t(lit);
    out[1] = std::uint8_t(lit >> 20);
    out[2] = std::uint8_t(lit >> 40);
    out[3] = 255;
}

struct Node {
    std::int32_t u, v;  // 16.16 texels
    std::int32_t light; // 8.8 multiplier
};

class Tunnel3d : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        m_res = in.integer("res");
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;
        m_inner.assign(std::size_t(m_innerWidth) * std::size_t(m_innerHeight), 0);
        m_nodesAcross = (m_innerWidth + Block - 1) / Block + 1;
        m_nodesDown = (m_innerHeight + Block - 1) / Block + 1;
        m_nodes.assign(std::size_t(m_nodesAcross) * std::size_t(m_nodesDown), Node{});
        m_focal = std::max(1, m_innerWidth * 3 / 5);
        // Each node's ray before the camera turns, already of length DirectionLength: turning
        // keeps a length, so the frames need no roots for it.
        m_rays.assign(m_nodes.size() * 3, 0);
        for (int ny = 0; ny < m_nodesDown; ++ny)
            for (int nx = 0; nx < m_nodesAcross; ++nx) {
                const std::int64_t x = std::int64_t(nx * Block * 2 + 1 - m_innerWidth) * 128;
                const std::int64_t y = std::int64_t(ny * Block * 2 + 1 - m_innerHeight) * 128;
                const std::int64_t z = std::int64_t(m_focal) * 256;
                const std::int64_t length = std::max<std::int64_t>(1, squareRoot(std::uint64_t(x * x + y * y + z * z)));
                std::int32_t *ray = &m_rays[(std::size_t(ny) * std::size_t(m_nodesAcross) + std::size_t(nx)) * 3];
                ray[0] = std::int32_t(x * DirectionLength / length);
                ray[1] = std::int32_t(y * DirectionLength / length);
                ray[2] = std::int32_t(z * DirectionLength / length);
            }
        for (int a = 0; a < AngleSteps; ++a) m_sine[a] = sine(a);
        for (int r = 0; r <= RatioSteps; ++r) m_angleOfRatio[r] = std::int16_t(angleOf(RatioSteps, r));
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;

        m_radius = in.integer("tunnelradius") * Quarter;
        m_square = in.flag("squared");
        m_turnSpeed = in.integer("tunrot");
        m_advance = in.integer("tunadvance");
        m_spin[0] = in.integer("xrot");
        m_spin[1] = in.integer("yrot");
        m_spin[2] = in.integer("zrot");

        m_shade = in.flag("shade");
        m_lightMin = in.integer("lightmin");
        m_lightMax = std::max(m_lightMin, in.integer("lightmax"));
        m_lightStep = in.integer("lightdec");
        m_reverse = in.flag("lightinv");

        m_bends = in.flag("bends");
        m_bendCount = in.integer("numbends");
        m_bendMin = in.integer("bendsizemin");
        m_bendMax = std::max(m_bendMin, in.integer("bendsizemax"));
        m_bendPhase = in.integer("bendoffset");
        m_bendPhaseSpeed = in.integer("bendoffsetinc");
        m_bendSizeSpeed = in.integer("bendsizeinc");

        m_texture.assign(std::size_t(TextureSide) * TextureSide, 0);
        const bool hasPicture = in.hasPicture("image");
        const Picture &picture = in.picture("image");
        for (int y = 0; y < TextureSide; ++y)
            for (int x = 0; x < TextureSide; ++x) {
                std::uint32_t colour;
                if (hasPicture) {
                    colour = picture.at(int((std::int64_t(x) * picture.width) / TextureSide),
                                        int((std::int64_t(y) * picture.height) / TextureSide));
                } else {
                    // Without a picture: stone tiles, so the tunnel still shows its shape.
                    const bool joint = (x & 31) < 2 || (y & 31) < 2;
                    const bool dark = ((x >> 5) + (y >> 5)) & 1;
                    colour = joint ? 0x302820 : dark ? 0x806850 : 0xA89070;
                }
                m_texture[std::size_t(y) * TextureSide + std::size_t(x)] = spread(colour);
            }
    }

    void reset() override { m_frame = 0; }
    void step() override { ++m_frame; }

    void draw(std::uint8_t *rgba) override
    {
        castNodes();
        // At full size the blocks are filled straight into the frame.
        if (m_res == 1) {
            fillBlocks(rgba);
            return;
        }
        fillBlocks(reinterpret_cast<std::uint8_t *>(m_inner.data()));
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int y = 0; y < m_height; ++y, rgba += rowBytes) {
            if (y % m_res != 0) {
                std::memcpy(rgba, rgba - rowBytes, rowBytes);
                continue;
            }
            const std::uint32_t *row = &m_inner[std::size_t(y / m_res) * std::size_t(m_innerWidth)];
            for (int x = 0; x < m_width; ++x) std::memcpy(rgba + std::size_t(x) * 4, &row[m_columns[std::size_t(x)]], 4);
        }
    }

private:
    // The camera's travel along the tunnel, in quarter units.
    std::int64_t travel() const { return std::int64_t(m_frame) * m_advance * Quarter; }

    // How far the tunnel's axis lies off the straight line at `depth` (quarter units, from
    // the camera); the camera itself stays on the axis. The bends are waves along the tunnel
    // ("numbends" of them over 64 radii) in both directions across it; their size swings
    // between the two sizes (percent of half the radius) and they drift along with the offset.
    void bendAt(std::int64_t depth, std::int64_t &x, std::int64_t &y) const
    {
        x = y = 0;
        if (!m_bends) return;
        const int range = m_bendMax - m_bendMin;
        int size = m_bendMin;
        if (range > 0) {
            const int swing = int((std::int64_t(m_frame) * m_bendSizeSpeed) % (2 * range));
            size += swing < range ? swing : 2 * range - swing;
        }
        const std::int64_t amplitude = std::int64_t(m_radius) * size / 200;
        const std::int64_t wave = std::int64_t(m_bendCount) * AngleSteps;
        const std::int64_t period = std::int64_t(FarthestRadii) * m_radius;
        const std::int64_t phase = std::int64_t(m_bendPhase) * 16 + std::int64_t(m_frame) * m_bendPhaseSpeed * 4;
        auto curve = [&](std::int64_t at, int turn) {
            const std::int64_t angle = (at * wave) / period + phase + turn;
            return amplitude * m_sine[angle & AngleMask] / 65536;
        };
        const std::int64_t here = travel(), there = travel() + depth;
        x = curve(there, 0) - curve(here, 0);
        y = (curve(there * 2 / 3, 1024) - curve(here * 2 / 3, 1024)) / 2;
        // The camera must stay inside the tunnel.
        const std::int64_t limit = std::int64_t(m_radius) * 7 / 8;
        x = std::max(-limit, std::min(limit, x));
        y = std::max(-limit, std::min(limit, y));
    }

    // How far along the ray (of length DirectionLength) the wall is, in quarter units, with the
    // axis off the camera by (ox, oy).
    std::int64_t wallDistance(std::int64_t dx, std::int64_t dy, std::int64_t ox, std::int64_t oy) const
    {
        const std::int64_t farthest = std::int64_t(FarthestRadii) * m_radius;
        const std::int64_t r = m_radius;
        if (m_square) {
            // The nearer of the two walls the ray heads for.
            std::int64_t best = farthest;
            if (dx != 0) best = std::min(best, ((dx > 0 ? r - ox : -r - ox) * DirectionLength) / dx);
            if (dy != 0) best = std::min(best, ((dy > 0 ? r - oy : -r - oy) * DirectionLength) / dy);
            return std::max<std::int64_t>(0, best);
        }
        // |o + t d| = r across the tunnel: a t^2 + b t + c = 0 with the camera inside (c < 0).
        const std::int64_t a = dx * dx + dy * dy;
        if (a == 0) return farthest;
        const std::int64_t b = 2 * (ox * dx + oy * dy);
        const std::int64_t c = ox * ox + oy * oy - r * r;
        const std::int64_t root = std::int64_t(wholeRoot(std::uint64_t(b * b - 4 * a * c)));
        return std::min(farthest, ((root - b) * DirectionLength) / (2 * a));
    }

    // The light (8.8) at a distance (quarter units) from the camera.
    std::int32_t lightAt(std::int64_t distance) const
    {
        // Held below 2 (8.8): a lit channel must stay below 2^17 in its texel lane.
        if (!m_shade) return clampInt(m_lightMax * 256 / FullLight, 0, 511);
        const std::int64_t steps = distance / (LightStepUnits * Quarter);
        const std::int64_t change = std::min<std::int64_t>(steps * m_lightStep, m_lightMax - m_lightMin);
        const std::int64_t light = m_reverse ? m_lightMin + change : m_lightMax - change;
        return clampInt(light * 256 / FullLight, 0, 511);
    }

    void castNodes()
    {
        // The camera's turn: a rotation about z (roll), then x (pitch), then y (yaw).
        const int roll = (m_frame * m_spin[2] * 4) & AngleMask;
        const int pitch = (m_frame * m_spin[0] * 4) & AngleMask;
        const int yaw = (m_frame * m_spin[1] * 4) & AngleMask;
        const std::int64_t cr = cosine(roll), sr = sine(roll), cp = cosine(pitch), sp = sine(pitch);
        const std::int64_t cy = cosine(yaw), sy = sine(yaw);
        const std::int64_t turn = std::int64_t(m_frame) * m_turnSpeed * 65536; // texels, 16.16
        const std::int64_t travelled = travel();
        for (int ny = 0; ny < m_nodesDown; ++ny)
            for (int nx = 0; nx < m_nodesAcross; ++nx) {
                const std::int32_t *ray = &m_rays[(std::size_t(ny) * std::size_t(m_nodesAcross) + std::size_t(nx)) * 3];
                std::int64_t x = ray[0], y = ray[1], z = ray[2];
                // Roll, pitch, yaw (16.16 sines).
                std::int64_t t = (x * cr - y * sr) / 65536;
                y = (x * sr + y * cr) / 65536;
                x = t;
                t = (y * cp - z * sp) / 65536;
                z = (y * sp + z * cp) / 65536;
                y = t;
                t = (x * cy + z * sy) / 65536;
                z = (z * cy - x * sy) / 65536;
                x = t;
                const std::int64_t dx = x, dy = y, dz = z;
                // The wall of a straight tunnel, then twice again with the axis where the
                // bends put it at the depth found.
                std::int64_t distance = wallDistance(dx, dy, 0, 0), ox = 0, oy = 0;
                for (int again = 0; again < 2 && m_bends; ++again) {
                    bendAt(dz * distance / DirectionLength, ox, oy);
                    distance = wallDistance(dx, dy, -ox, -oy);
                }
                // Where the ray meets the wall, around the axis and along it.
                const std::int64_t hitX = dx * distance / DirectionLength + ox;
                const std::int64_t hitY = dy * distance / DirectionLength + oy;
                const std::int64_t along = dz * distance / DirectionLength + travelled;
                Node &node = m_nodes[std::size_t(ny) * std::size_t(m_nodesAcross) + std::size_t(nx)];
                const std::int64_t around = std::int64_t(angleAround(hitX, hitY)) << (16 + TextureBits - 12);
                node.u = std::int32_t((around + turn) & PlaceMask);
                // Along the tunnel a texel is as long as it is wide around a radius-64 tunnel.
                node.v = std::int32_t(((along * 65536 * TextureSide) / (402 * Quarter)) & PlaceMask);
                node.light = lightAt(distance);
            }
    }

    // The angle of (x, y) in 1/4096 turn, from the table of the short side over the long one.
    std::int32_t angleAround(std::int64_t x, std::int64_t y) const
    {
        if (x == 0 && y == 0) return 0;
        const std::int64_t ax = x < 0 ? -x : x, ay = y < 0 ? -y : y;
        const bool steep = ay > ax;
        const std::int64_t big = steep ? ay : ax, small = steep ? ax : ay;
        int a = m_angleOfRatio[(small * RatioSteps + big / 2) / big];
        if (steep) a = AngleSteps / 4 - a;
        if (x < 0) a = AngleSteps / 2 - a;
        if (y < 0) a = AngleSteps - a;
        return a & AngleMask;
    }

    // The difference of two wrapped 16.16 texel places, taken the short way round.
    static std::int32_t wrappedDifference(std::int32_t to, std::int32_t from)
    {
        std::int32_t difference = (to - from) & PlaceMask;
        if (difference > PlaceMask / 2) difference -= PlaceMask + 1;
        return difference;
    }

    // Fills the inner frame, as RGBA bytes, into `target`.
    void fillBlocks(std::uint8_t *target) const
    {
        const std::size_t rowBytes = std::size_t(m_innerWidth) * 4;
        const Texel *texture = m_texture.data();
        for (int by = 0; by + 1 < m_nodesDown; ++by)
            for (int bx = 0; bx + 1 < m_nodesAcross; ++bx) {
                const Node &a = m_nodes[std::size_t(by) * std::size_t(m_nodesAcross) + std::size_t(bx)];
                const Node &b = (&a)[1];
                const Node &c = (&a)[m_nodesAcross];
                const Node &d = (&c)[1];
                // Left and right edges, relative to the top left corner.
                std::int32_t leftU = 0, leftV = 0, leftL = a.light;
                std::int32_t rightU = wrappedDifference(b.u, a.u), rightV = wrappedDifference(b.v, a.v), rightL = b.light;
                const std::int32_t leftUStep = wrappedDifference(c.u, a.u) / Block, leftVStep = wrappedDifference(c.v, a.v) / Block;
                const std::int32_t leftLStep = (c.light - a.light) / Block;
                const std::int32_t rightUStep = (wrappedDifference(d.u, a.u) - rightU) / Block;
                const std::int32_t rightVStep = (wrappedDifference(d.v, a.v) - rightV) / Block;
                const std::int32_t rightLStep = (d.light - b.light) / Block;
                const int x0 = bx * Block, y0 = by * Block;
                const int xEnd = std::min(m_innerWidth, x0 + Block), yEnd = std::min(m_innerHeight, y0 + Block);
                for (int y = y0; y < yEnd; ++y) {
                    std::int32_t u = leftU, v = leftV, light = leftL;
                    const std::int32_t uStep = (rightU - leftU) / Block, vStep = (rightV - leftV) / Block;
                    const std::int32_t lStep = (rightL - leftL) / Block;
                    std::uint8_t *out = target + std::size_t(y) * rowBytes;
                    for (int x = x0; x < xEnd; ++x) {
                        const std::uint32_t tu = std::uint32_t(a.u + u) >> 16 & TextureMask;
                        const std::uint32_t tv = std::uint32_t(a.v + v) >> 16 & TextureMask;
                        putLit(out + std::size_t(x) * 4, texture[(tv << TextureBits) | tu], std::uint32_t(light));
                        u += uStep;
                        v += vStep;
                        light += lStep;
                    }
                    leftU += leftUStep;
                    leftV += leftVStep;
                    leftL += leftLStep;
                    rightU += rightUStep;
                    rightV += rightVStep;
                    rightL += rightLStep;
                }
            }
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1, m_focal = 1;
    int m_nodesAcross = 1, m_nodesDown = 1;
    int m_radius = 1, m_turnSpeed = 0, m_advance = 0, m_spin[3] = {};
    bool m_square = false, m_shade = true, m_reverse = false, m_bends = false;
    int m_lightMin = 0, m_lightMax = 0, m_lightStep = 1;
    int m_bendCount = 0, m_bendMin = 0, m_bendMax = 0, m_bendPhase = 0, m_bendPhaseSpeed = 0, m_bendSizeSpeed = 0;
    std::vector<Texel> m_texture;
    std::vector<Node> m_nodes;
    std::vector<std::int32_t> m_rays; // x, y, z per node
    std::vector<int> m_columns;        // each pixel column's inner column
    std::int32_t m_sine[AngleSteps] = {};
    std::int16_t m_angleOfRatio[RatioSteps + 1] = {};
    std::vector<std::uint32_t> m_inner; // RGBA bytes, when drawn at 1/res
    int m_frame = 0;
};

} // namespace

EffectInfo tunnel3dEffect()
{
    return {"tunnel3d.class",
            "TUNNEL3D",
            {
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "missing.jpg"},
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"lightmin", ParamKind::Integer, "10", 1, 127, "70", true, nullptr, "shade=YES"},
                {"lightmax", ParamKind::Integer, "120", 1, 127, "50"},
                {"lightdec", ParamKind::Integer, "2", 1, 128, "12", true, nullptr, "shade=YES"},
                {"tunnelradius", ParamKind::Integer, "64", 8, 1024, "200"},
                {"shade", ParamKind::Flag, "YES", 0, 0, "NO"},
                {"lightinv", ParamKind::Flag, "NO", 0, 0, "YES", true, nullptr, "shade=YES"},
                {"squared", ParamKind::Flag, "NO", 0, 0, "YES"},
                {"tunrot", ParamKind::Integer, "2", -64, 64, "-6"},
                {"tunadvance", ParamKind::Integer, "4", -64, 64, "-10"},
                {"xrot", ParamKind::Integer, "0", -32, 32, "3"},
                {"yrot", ParamKind::Integer, "0", -32, 32, "3"},
                {"zrot", ParamKind::Integer, "1", -32, 32, "6"},
                {"interactive", ParamKind::Flag, "NO", 0, 0, "YES", false, "steering with the mouse: a recorded frame has no mouse"},
                {"bends", ParamKind::Flag, "YES", 0, 0, "NO"},
                {"numbends", ParamKind::Integer, "3", 0, 32, "8", true, nullptr, "bends=YES"},
                {"bendsizemin", ParamKind::Integer, "20", 0, 100, "80", true, nullptr, "bends=YES"},
                {"bendsizemax", ParamKind::Integer, "60", 0, 100, "100", true, nullptr, "bends=YES"},
                {"bendoffset", ParamKind::Integer, "0", -4096, 4096, "128", true, nullptr, "bends=YES"},
                {"bendoffsetinc", ParamKind::Integer, "1", -64, 64, "12", true, nullptr, "bends=YES"},
                {"bendsizeinc", ParamKind::Integer, "1", 0, 100, "4", true, nullptr, "bends=YES"},
            },
            [] { return std::unique_ptr<Effect>(new Tunnel3d); },
            25};
}

} // namespace vexa::effects
