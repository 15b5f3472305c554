// FIRE: flames rising from a glowing base, on a small heat map scaled up to the applet.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

class Fire : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // The heat map is the "internal" fire, scaled by the multiply factors to the applet.
        m_fw = clampInt(in.integer("fwidth"), 1, m_width);
        m_fh = clampInt(in.integer("fheigth"), 1, m_height);
        // Heat runs 0..255 here and 0..127 on the page: a flame cooler than the cut heat dies
        // by the fading speed at every row it rises.
        m_cut = in.integer("fcut") * 2;
        m_fade = in.integer("fsub") * 2;
        m_base = in.integer("deflight") * 2;
        m_convex = in.integer("fmode") == 2;
        m_smooth = in.integer("rndrep");
        const int intensity[3] = {in.integer("paletteR"), in.integer("paletteG"), in.integer("paletteB")};
        // Heat to colour: each channel rises with the heat at its own intensity, the strongest
        // first, so the flame goes from dark through its main colour to a bright core.
        for (int h = 0; h < 256; ++h) {
            std::uint32_t colour = 0;
            for (int c = 0; c < 3; ++c) {
                const int level = (h * intensity[c] * 3) / 8 - (8 - intensity[c]) * 12;
                colour = (colour << 8) | toByte(level);
            }
            m_palette[h] = colour;
        }
        m_heat.assign(std::size_t(m_fw) * std::size_t(m_fh + 1), 0);
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = int((std::int64_t(x) * m_fw) / m_width);
        m_rows.resize(std::size_t(m_height));
        for (int y = 0; y < m_height; ++y) m_rows[std::size_t(y)] = int((std::int64_t(y) * m_fh) / m_height);
    }

    void reset() override
    {
        std::fill(m_heat.begin(), m_heat.end(), std::uint8_t(0));
        m_random.start(0xF14Eu);
    }

    void step() override
    {
        // The base (an extra row below the fire): runs of `smooth` cells share one random heat
        // of at least the minimal light; a convex fire burns hottest in the middle.
        std::uint8_t *base = &m_heat[std::size_t(m_fh) * std::size_t(m_fw)];
        for (int x = 0; x < m_fw; x += m_smooth) {
            // Hot spots and dimmer gaps make separate tongues of flame.
            const bool hot = m_random.below(2) == 0;
            int heat = hot ? 200 + int(m_random.below(56)) : m_base + int(m_random.below(std::uint32_t(64)));
            for (int k = x; k < x + m_smooth && k < m_fw; ++k) {
                int value = heat;
                if (m_convex) {
                    const int d = 2 * k - (m_fw - 1);                      // -fw..fw from the centre
                    value = value * (m_fw * m_fw - (d * d) / 2) / (m_fw * m_fw);
                }
                base[k] = toByte(value);
            }
        }
        // Each cell takes the mean of the three below it and the one two below, and cools; above
        // the cut row it cools by the fading speed as well.
        for (int y = 0; y < m_fh; ++y) {
            const std::uint8_t *below = &m_heat[std::size_t(y + 1) * std::size_t(m_fw)];
            const std::uint8_t *twoBelow = &m_heat[std::size_t(y + 2 <= m_fh ? y + 2 : m_fh) * std::size_t(m_fw)];
            std::uint8_t *row = &m_heat[std::size_t(y) * std::size_t(m_fw)];
            for (int x = 0; x < m_fw; ++x) {
                const int left = below[x > 0 ? x - 1 : x], right = below[x + 1 < m_fw ? x + 1 : x];
                const int heat = (left + below[x] + right + twoBelow[x]) / 4;
                row[x] = toByte(heat - int(m_random.below(2)) - (heat < m_cut ? m_fade : 0));
            }
        }
    }

    void draw(std::uint8_t *rgba) override
    {
        for (int y = 0; y < m_height; ++y) {
            const std::uint8_t *heat = &m_heat[std::size_t(m_rows[std::size_t(y)]) * std::size_t(m_fw)];
            for (int x = 0; x < m_width; ++x) {
                const std::uint32_t colour = m_palette[heat[m_columns[std::size_t(x)]]];
                *rgba++ = std::uint8_t(colour >> 16);
                *rgba++ = std::uint8_t(colour >> 8);
                *rgba++ = std::uint8_t(colour);
                *rgba++ = 255;
            }
        }
    }

private:
    int m_width = 0, m_height = 0, m_fw = 1, m_fh = 1;
    int m_cut = 0, m_fade = 0, m_base = 0, m_smooth = 1;
    bool m_convex = false;
    std::uint32_t m_palette[256] = {};
    std::vector<std::uint8_t> m_heat; // fw x (fh + 1): the fire and its base below it
    std::vector<int> m_columns, m_rows;
    Random m_random;
};

} // namespace

EffectInfo fireEffect()
{
    return {"fire.class",
            "FIRE",
            {
                {"fwidth", ParamKind::Integer, "80", 1, MaxSide, "40"},
                {"fheigth", ParamKind::Integer, "50", 1, MaxSide, "25"},
                {"resx", ParamKind::Integer, "4", 1, 8, "2", false, "the page's size factor: the tag's width holds it"},
                {"resy", ParamKind::Integer, "4", 1, 8, "2", false, "the page's size factor: the tag's height holds it"},
                {"fcut", ParamKind::Integer, "100", 1, 127, "20"},
                {"fsub", ParamKind::Integer, "3", 1, 127, "12"},
                {"deflight", ParamKind::Integer, "60", 0, 127, "120"},
                {"fmode", ParamKind::Integer, "2", 1, 2, "1"},
                {"rndrep", ParamKind::Integer, "4", 1, 9, "9"},
                {"paletteR", ParamKind::Integer, "5", 0, 8, "1"},
                {"paletteG", ParamKind::Integer, "3", 0, 8, "7"},
                {"paletteB", ParamKind::Integer, "1", 0, 8, "6"},
            },
            [] { return std::unique_ptr<Effect>(new Fire); },
            25};
}

} // namespace vexa::effects
