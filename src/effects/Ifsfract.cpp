// IFSFRACT: a fractal of branches growing from the middle of the applet: every line ends in a
// fan of shorter lines, level after level. The fan opens and closes and each branch sways, so
// the tree morphs through shapes while it twists within and turns as a whole.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// Positions are in 1/256 pixel.
constexpr int Sub = 256;
// Far more than a fractal reaches beyond the applet's edges, in pixels.
constexpr std::int64_t Margin = 1 << 20;
constexpr int MaxLevels = 32;
constexpr int MaxBranches = 32;
// Branches multiply at every level; these keep a frame's cost bounded: levels are drawn from
// the trunk out only while all their lines, and the pixels they cover, fit in the budget.
constexpr std::int64_t MaxLines = 12000;
constexpr std::int64_t MaxPenPixels = 250000;
constexpr int MaxPen = 8;
// The page's decline runs from 0.1 to 0.9 (16.16 here).
constexpr std::int32_t LeastDecline = 6554, MostDecline = 58982;
// How far each branch sways on its own, in 1/4096 turn.
constexpr int SwayReach = 200;
// The fan of a branch's children opens from this share (of 256) of its widest to the widest.
constexpr int FanNarrowest = 40;

struct Node {
    std::int32_t x, y; // where the line ends, 1/256 pixel
    std::int32_t angle;
};

class Ifsfract : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        const std::uint32_t colour = std::uint32_t(in.integer("backR")) << 16 | std::uint32_t(in.integer("backG")) << 8 |
                                     std::uint32_t(in.integer("backB"));
        m_back = in.background("backimage", colour, m_width, m_height);

        m_branches = in.integer("branches");
        m_morphRate = in.integer("morph_speed") * 2;
        m_twistRate = in.integer("rot_speed") * 2;
        m_turnRate = in.integer("rot_speed2") * 3;
        m_skipOdd = in.flag("iterskip");
        const std::int32_t decline = clampInt(in.decimal("decline"), LeastDecline, MostDecline);
        const int requested = in.integer("dimensions");
        const int pen = in.integer("pensize");
        const bool progress = in.flag("progress");
        const bool inverse = in.flag("progrinverse");
        const int progressStep = in.integer("progrstep");

        // Level by level: the line length, the pen and whether the level still fits.
        std::int64_t lines = 0, pixels = 0, count = 1, length = std::int64_t(in.integer("length")) * Sub;
        m_levels = 0;
        for (int level = 0; level < requested; ++level) {
            count *= m_branches;
            int width = pen;
            if (progress) width += (inverse ? requested - 1 - level : level) / progressStep;
            width = std::min(width, MaxPen);
            lines += count;
            pixels += count * (length / Sub + 1) * width * width;
            if (level > 0 && (lines > MaxLines || pixels > MaxPenPixels)) break; // the first fan always shows
            m_length[level] = std::int32_t(length);
            m_pen[level] = width;
            length = length * decline / 65536;
            m_levels = level + 1;
        }

        // Colours run from the first at the trunk to the last at the tips.
        const int first[3] = {in.integer("ifsR1"), in.integer("ifsG1"), in.integer("ifsB1")};
        const int last[3] = {in.integer("ifsR2"), in.integer("ifsG2"), in.integer("ifsB2")};
        for (int level = 0; level < m_levels; ++level) {
            std::uint32_t c = 0;
            for (int k = 0; k < 3; ++k)
                c = c << 8 | std::uint32_t(first[k] + (last[k] - first[k]) * level / std::max(1, m_levels - 1));
            m_colour[level] = c;
        }

        // Room for the widest level, its parents and the level below them.
        std::int64_t widest = 1;
        for (int level = 0; level < m_levels; ++level) widest *= m_branches;
        m_parents.assign(std::size_t(widest), Node());
        m_children.assign(std::size_t(widest), Node());
    }

    void reset() override
    {
        m_morph = 0;
        m_twist = 0;
        m_turn = 0;
    }

    void step() override
    {
        m_morph = (m_morph + m_morphRate) & AngleMask;
        m_twist = (m_twist + m_twistRate) & AngleMask;
        m_turn = (m_turn + m_turnRate) & AngleMask;
    }

    void draw(std::uint8_t *rgba) override
    {
        for (std::size_t i = 0; i < m_back.size(); ++i) {
            const std::uint32_t colour = m_back[i];
            rgba[4 * i] = std::uint8_t(colour >> 16);
            rgba[4 * i + 1] = std::uint8_t(colour >> 8);
            rgba[4 * i + 2] = std::uint8_t(colour);
            rgba[4 * i + 3] = 255;
        }
        // This frame's fan: the angle of each child against its parent's line.
        std::int32_t turns[MaxBranches];
        const std::int32_t fan = (AngleSteps / m_branches) *
                                 (FanNarrowest + (256 - FanNarrowest) * (65536 + sine(m_morph)) / 131072) / 256;
        for (int k = 0; k < m_branches; ++k) {
            // Each branch sways at its own pace, so the shape does not simply breathe.
            const std::int32_t sway = SwayReach * sine(m_morph * (k % 3 + 1) + k * 1100) / 65536;
            turns[k] = (2 * k - (m_branches - 1)) * fan / 2 + sway + m_twist;
        }

        // The first fan spreads around the full circle from the middle of the applet.
        Node centre{m_width * Sub / 2, m_height * Sub / 2, m_turn};
        std::size_t parentCount = 1;
        m_parents[0] = centre;
        for (int level = 0; level < m_levels; ++level) {
            const bool shown = !(m_skipOdd && level % 2 == 1);
            std::size_t childCount = 0;
            for (std::size_t p = 0; p < parentCount; ++p) {
                const Node &parent = m_parents[p];
                for (int k = 0; k < m_branches; ++k) {
                    const std::int32_t angle =
                        (parent.angle + (level == 0 ? k * AngleSteps / m_branches : turns[k])) & AngleMask;
                    Node &child = m_children[childCount++];
                    child.angle = angle;
                    child.x = parent.x + std::int32_t(std::int64_t(m_length[level]) * cosine(angle) / 65536);
                    child.y = parent.y + std::int32_t(std::int64_t(m_length[level]) * sine(angle) / 65536);
                    if (shown) line(rgba, parent.x, parent.y, child.x, child.y, m_pen[level], m_colour[level]);
                }
            }
            std::swap(m_parents, m_children);
            parentCount = childCount;
        }
    }

private:
    void line(std::uint8_t *rgba, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, int pen,
              std::uint32_t colour) const
    {
        // Lines wholly beside the applet cost nothing.
        const std::int32_t edge = MaxPen * Sub;
        if ((x0 < -edge && x1 < -edge) || (y0 < -edge && y1 < -edge)) return;
        if ((x0 > m_width * Sub + edge && x1 > m_width * Sub + edge) || (y0 > m_height * Sub + edge && y1 > m_height * Sub + edge))
            return;
        const std::int32_t dx = x1 - x0, dy = y1 - y0;
        const std::int32_t steps = std::max(std::max(dx, -dx), std::max(dy, -dy)) / Sub + 1;
        // Walked in 1/65536 pixel, so the small steps of a long line add up without drifting;
        // the offset keeps the coordinates positive for the rounding division.
        const std::int64_t stepX = std::int64_t(dx) * 256 / steps, stepY = std::int64_t(dy) * 256 / steps;
        std::int64_t x = (std::int64_t(x0) + Sub / 2 + Margin * Sub) * 256, y = (std::int64_t(y0) + Sub / 2 + Margin * Sub) * 256;
        for (std::int32_t i = 0; i <= steps; ++i, x += stepX, y += stepY)
            dot(rgba, int(x / 65536 - Margin), int(y / 65536 - Margin), pen, colour);
    }

    // A square pen of the given side, its corners cut from side 3 on so thick lines look round.
    void dot(std::uint8_t *rgba, int cx, int cy, int pen, std::uint32_t colour) const
    {
        if (pen == 1) {
            if (cx >= 0 && cy >= 0 && cx < m_width && cy < m_height) paint(rgba, cx, cy, colour);
            return;
        }
        const int from = -(pen - 1) / 2, to = pen / 2;
        if (cx + to < 0 || cy + to < 0 || cx + from >= m_width || cy + from >= m_height) return;
        for (int oy = from; oy <= to; ++oy) {
            const int y = cy + oy;
            if (y < 0 || y >= m_height) continue;
            for (int ox = from; ox <= to; ++ox) {
                const int x = cx + ox;
                if (x < 0 || x >= m_width) continue;
                if (pen >= 3 && (ox == from || ox == to) && (oy == from || oy == to)) continue;
                paint(rgba, x, y, colour);
            }
        }
    }

    void paint(std::uint8_t *rgba, int x, int y, std::uint32_t colour) const
    {
        std::uint8_t *pixel = rgba + (std::size_t(y) * std::size_t(m_width) + std::size_t(x)) * 4;
        pixel[0] = std::uint8_t(colour >> 16);
        pixel[1] = std::uint8_t(colour >> 8);
        pixel[2] = std::uint8_t(colour);
    }

    int m_width = 0, m_height = 0;
    int m_branches = 1, m_levels = 1;
    bool m_skipOdd = false;
    std::int32_t m_morphRate = 0, m_twistRate = 0, m_turnRate = 0;
    std::int32_t m_morph = 0, m_twist = 0, m_turn = 0;
    std::int32_t m_length[MaxLevels] = {};
    int m_pen[MaxLevels] = {};
    std::uint32_t m_colour[MaxLevels] = {};
    std::vector<std::uint32_t> m_back;
    std::vector<Node> m_parents, m_children;
};

} // namespace

EffectInfo ifsfractEffect()
{
    return {"VxFract.class",
            "IFSFRACT",
            {
                {"dimensions", ParamKind::Integer, "8", 1, MaxLevels, "3"},
                {"branches", ParamKind::Integer, "3", 1, MaxBranches, "5"},
                {"morph_speed", ParamKind::Integer, "10", 0, 100, "40"},
                {"rot_speed", ParamKind::Integer, "3", -32, 32, "-20"},
                {"rot_speed2", ParamKind::Integer, "2", -32, 32, "-15"},
                {"decline", ParamKind::Decimal, "0.6", 0, 1, "0.8"},
                {"length", ParamKind::Integer, "60", 1, 256, "30"},
                {"pensize", ParamKind::Integer, "1", 1, 3, "3"},
                {"progress", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"progrinverse", ParamKind::Flag, "NO", 0, 1, "YES", true, nullptr, "progress=YES"},
                {"progrstep", ParamKind::Integer, "2", 1, 16, "1", true, nullptr, "progress=YES"},
                {"iterskip", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"ifsR1", ParamKind::Integer, "255", 0, 255, "0"},
                {"ifsG1", ParamKind::Integer, "255", 0, 255, "0"},
                {"ifsB1", ParamKind::Integer, "0", 0, 255, "255"},
                {"ifsR2", ParamKind::Integer, "255", 0, 255, "0"},
                {"ifsG2", ParamKind::Integer, "0", 0, 255, "255"},
                {"ifsB2", ParamKind::Integer, "0", 0, 255, "255"},
                {"overtext", ParamKind::Flag, "NO", 0, 1, "YES", false,
                 "the fractal drawn over the scrolling text: the engine draws no text"},
                {"backimage", ParamKind::Picture, "NO", 0, 0, "sample.jpg"},
                {"backR", ParamKind::Integer, "0", 0, 255, "40", true, nullptr, "backimage=NO"},
                {"backG", ParamKind::Integer, "0", 0, 255, "60", true, nullptr, "backimage=NO"},
                {"backB", ParamKind::Integer, "0", 0, 255, "120", true, nullptr, "backimage=NO"},
            },
            [] { return std::unique_ptr<Effect>(new Ifsfract); },
            25};
}

} // namespace vexa::effects
