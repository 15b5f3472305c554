// DEFORM: the picture seen through two sets of radial waves. Each wave source glides over the
// picture on its own path; its rings run outwards and push every pixel towards or away from
// the source, and shade the picture a little in the rings' troughs.
#include "Effect.h"
#include "Maths.h"
#include "Texels.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

constexpr int RadiusSub = 4;           // distances are kept in 1/4 of an (inner) pixel
constexpr int Sub = 256;               // sample positions in 1/256 pixel
constexpr int AmplitudePerFactor = 32; // 1/256 px of push per step of the distortion factor (an eighth of a pixel)
constexpr int WaveSpeedStep = 20;      // 1/4096 turn the rings move per frame for each step of the speed
constexpr int PathSpeedStep = 5;       // 1/4096 turn per frame a source moves along x or y per step of its offset
constexpr int CoreRadius = 8;          // applet px around a source where its push fades in (no tear at the centre)
constexpr int PathReachPercent = 40;   // a source strays up to 40% of the picture's size from its centre

// Where each source starts on its path (1/4096 turn for x, y): the two set off on opposite sides.
constexpr int PathStartX[2] = {0, AngleSteps / 2};
constexpr int PathStartY[2] = {AngleSteps / 4, AngleSteps * 3 / 4};

class Deform : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // "res" draws at 1/res of the applet's size, in blocks of res x res pixels.
        m_res = in.integer("res");
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;

        // Push: an eighth of an applet pixel per step of the factor; the sources together push at
        // most twice that, so a margin that wide around the picture keeps every sample inside.
        m_amplitude = in.integer("dfact") * AmplitudePerFactor / m_res;
        m_margin = 2 * m_amplitude / Sub + 2;
        // Ring phase per 1/4 inner px: "distval" 100 gives rings 25.6 applet px apart; 0 gives one
        // flat wave, the whole picture breathing towards and away from the sources.
        m_ringStep = in.integer("distval") * m_res * 2 / 5;
        m_speed = in.integer("dspeed") * WaveSpeedStep;
        // The rings fade out smoothly over "doffset" applet pixels from their source.
        m_reach = std::max(1, in.integer("doffset") * RadiusSub / m_res);
        m_core = std::max(1, CoreRadius * RadiusSub / m_res);
        // Troughs of the rings fall into shadow; flat waves (no rings) cast none.
        m_shadowStrength = m_ringStep > 0 ? 24 + in.integer("dfact") / 3 : 0;
        const char *const pathNames[2][2] = {{"xv1", "yv1"}, {"xv2", "yv2"}};
        for (int s = 0; s < 2; ++s) {
            m_pathSpeedX[s] = in.integer(pathNames[s][0]) * PathSpeedStep;
            m_pathSpeedY[s] = in.integer(pathNames[s][1]) * PathSpeedStep;
        }

        loadPicture(in.picture("image"));
        buildDistances();
        // Every distance between two inner pixels, in 1/4 px, has its entry.
        m_rings.assign(std::size_t(m_distance.back()) + 1, Ring{});
        m_row.assign(std::size_t(m_innerWidth), 0);
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;
    }

    void reset() override { m_steps = 0; }

    void step() override { ++m_steps; }

    void draw(std::uint8_t *rgba) override
    {
        updateRings();
        int sourceX[2], sourceY[2];
        for (int s = 0; s < 2; ++s) {
            sourceX[s] = pathPosition(m_innerWidth, PathStartX[s] + std::int64_t(m_pathSpeedX[s]) * m_steps);
            sourceY[s] = pathPosition(m_innerHeight, PathStartY[s] + std::int64_t(m_pathSpeedY[s]) * m_steps);
        }
        const int paddedWidth = m_innerWidth + 2 * m_margin;
        // Locals, not members: the frame's bytes may alias anything, members would be reloaded.
        const Ring *rings = m_rings.data();
        const Texel *picture = m_picture.data();
        const std::uint16_t *distances = m_distance.data();
        const int innerWidth = m_innerWidth, margin = m_margin;
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int y = 0; y < m_innerHeight; ++y) {
            const int dy0 = y - sourceY[0], dy1 = y - sourceY[1];
            const std::uint16_t *row0 = distances + std::size_t(dy0 < 0 ? -dy0 : dy0) * std::size_t(innerWidth);
            const std::uint16_t *row1 = distances + std::size_t(dy1 < 0 ? -dy1 : dy1) * std::size_t(innerWidth);
            // Positions in 1/65536 px inside the padded picture: never negative, so shifts are plain.
            const std::int32_t baseV = (y + margin) * 65536;
            // At full size the inner row is the frame's row: written there at once.
            std::uint8_t *line = rgba + std::size_t(y) * std::size_t(m_res) * rowBytes;
            std::uint8_t *out = m_res == 1 ? line : reinterpret_cast<std::uint8_t *>(m_row.data());
            std::int32_t baseU = margin * 65536;
            const int x0 = sourceX[0], x1 = sourceX[1];
            for (int x = 0; x < innerWidth; ++x, out += 4, baseU += 65536) {
                const int dx0 = x - x0, dx1 = x - x1;
                const Ring &ring0 = rings[row0[dx0 < 0 ? -dx0 : dx0]], &ring1 = rings[row1[dx1 < 0 ? -dx1 : dx1]];
                // Each source pushes along the line from it: (dx, dy) times push / distance.
                const std::int32_t u = baseU + dx0 * ring0.push + dx1 * ring1.push;
                const std::int32_t v = baseV + dy0 * ring0.push + dy1 * ring1.push;
                put(out, sample(picture, paddedWidth, std::uint32_t(u) >> 8, std::uint32_t(v) >> 8,
                                std::uint32_t(Sub - ring0.shadow - ring1.shadow)));
            }
            if (m_res > 1) writeRow(line, y);
        }
    }

private:
    // The picture stretched over the inner frame, with a margin of repeated edge pixels.
    void loadPicture(const Picture &picture)
    {
        const int paddedWidth = m_innerWidth + 2 * m_margin, paddedHeight = m_innerHeight + 2 * m_margin;
        m_picture.resize(std::size_t(paddedWidth) * std::size_t(paddedHeight));
        Texel *out = m_picture.data();
        for (int y = 0; y < paddedHeight; ++y) {
            const int innerY = clampInt(y - m_margin, 0, m_innerHeight - 1);
            const int pictureY = int(std::int64_t(innerY) * picture.height / m_innerHeight);
            for (int x = 0; x < paddedWidth; ++x) {
                const int innerX = clampInt(x - m_margin, 0, m_innerWidth - 1);
                *out++ = spread(picture.at(int(std::int64_t(innerX) * picture.width / m_innerWidth), pictureY));
            }
        }
    }

    // Distance (1/4 px) for every offset (|dx|, |dy|) inside the inner frame: a source is always
    // inside it, so no offset is larger.
    void buildDistances()
    {
        m_distance.resize(std::size_t(m_innerWidth) * std::size_t(m_innerHeight));
        std::uint16_t *out = m_distance.data();
        for (int dy = 0; dy < m_innerHeight; ++dy)
            for (int dx = 0; dx < m_innerWidth; ++dx)
                *out++ = std::uint16_t(squareRoot((std::uint64_t(dx) * std::uint64_t(dx) + std::uint64_t(dy) * std::uint64_t(dy)) *
                                                  RadiusSub * RadiusSub));
    }

    // This frame's rings by distance: the push per pixel of offset (1/65536 px) and the shadow.
    void updateRings()
    {
        const std::int64_t phase = std::int64_t(m_speed) * m_steps;
        const int count = int(m_rings.size());
        for (int r = 1; r < count; ++r) {
            // Full strength near the source, easing to nothing at the reach (smoothstep).
            std::int64_t strength = 0;
            if (r < m_reach) {
                const std::int64_t t = std::int64_t(m_reach - r) * 65536 / m_reach;
                strength = t * t / 65536 * (3 * 65536 - 2 * t) / 65536;
            }
            if (r < m_core) strength = strength * r / m_core;
            const int angle = int((std::int64_t(r) * m_ringStep - phase) & AngleMask);
            const std::int64_t push = std::int64_t(m_amplitude) * strength / 65536 * sine(angle) / 65536; // 1/256 px
            m_rings[std::size_t(r)].push = std::int32_t(push * Sub * RadiusSub / r);
            // The side of a ring facing away from the source is in shadow, deepest in the trough.
            m_rings[std::size_t(r)].shadow = std::int32_t(m_shadowStrength * strength / 65536 * (65536 + cosine(angle)) / 131072);
        }
    }

    // A source's coordinate on its path: swinging around the middle of the side.
    static int pathPosition(int side, std::int64_t angle)
    {
        const int reach = side * PathReachPercent / 100;
        return clampInt((side - 1) / 2 + std::int64_t(reach) * sine(int(angle & AngleMask)) / 65536, 0, side - 1);
    }

    // The padded picture at (u, v) in 1/256 px, blended from its four nearest pixels and
    // darkened to gain/256 (the gain scales the last blend's weights).
    static Texel sample(const Texel *picture, int paddedWidth, std::uint32_t u, std::uint32_t v, std::uint32_t gain)
    {
        const Texel *top = picture + std::size_t(v >> 8) * std::size_t(paddedWidth) + (u >> 8);
        const Texel *bottom = top + paddedWidth;
        const std::uint32_t fu = u & 255, fv = v & 255;
        const Texel upper = blend(top[0], top[1], fu), lower = blend(bottom[0], bottom[1], fu);
        return ((upper * ((Sub - fv) * gain >> 8) + lower * (fv * gain >> 8)) >> 8) & ChannelMask;
    }

    // The inner row (RGBA bytes) to the applet's rows it covers, each inner pixel res pixels wide.
    void writeRow(std::uint8_t *line, int y) const
    {
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int x = 0; x < m_width; ++x)
            std::memcpy(line + std::size_t(x) * 4, &m_row[std::size_t(m_columns[std::size_t(x)])], 4);
        const int rows = std::min(m_height, (y + 1) * m_res) - y * m_res;
        for (int r = 1; r < rows; ++r) std::memcpy(line + std::size_t(r) * rowBytes, line, rowBytes);
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1;
    int m_amplitude = 0, m_margin = 2, m_ringStep = 0, m_speed = 0, m_reach = 1, m_core = 1, m_shadowStrength = 0;
    int m_pathSpeedX[2] = {}, m_pathSpeedY[2] = {};
    std::uint32_t m_steps = 0;
    struct Ring {
        std::int32_t push = 0;   // push per px of offset, 1/65536 px
        std::int32_t shadow = 0; // darkening, 1/256
    };
    std::vector<Texel> m_picture;          // padded inner picture
    std::vector<std::uint16_t> m_distance; // by |dy| * innerWidth + |dx|, 1/4 px
    std::vector<Ring> m_rings;             // by distance
    std::vector<std::uint32_t> m_row;      // one row at the inner resolution, RGBA bytes
    std::vector<int> m_columns;
};

} // namespace

EffectInfo deformEffect()
{
    return {"Deform.class",
            "DEFORM",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "missing.jpg"},
                {"distval", ParamKind::Integer, "100", 0, 500, "30"},
                {"dfact", ParamKind::Integer, "20", 1, 100, "60"},
                {"dspeed", ParamKind::Integer, "5", 1, 50, "13"},
                {"doffset", ParamKind::Integer, "300", 0, MaxSide, "80"},
                {"xv1", ParamKind::Integer, "5", 1, 19, "12"},
                {"yv1", ParamKind::Integer, "7", 1, 19, "15"},
                {"xv2", ParamKind::Integer, "11", 1, 19, "2"},
                {"yv2", ParamKind::Integer, "3", 1, 19, "17"},
            },
            [] { return std::unique_ptr<Effect>(new Deform); },
            25};
}

} // namespace vexa::effects
