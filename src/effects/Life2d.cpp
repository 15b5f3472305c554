// LIFE2D: a colony of cells living by Conway's rules on a field that wraps at its edges; a cell
// that dies leaves a fading glow. When the colony dies out or settles, a new one is sown.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// Glow of a cell, 0..255 from background to foreground colour: a living cell shines fully, a
// dead one starts dimmer and fades by a step each generation.
constexpr int AliveGlow = 255;
constexpr int DeathGlow = 150;
constexpr int FadeStep = 30;
// The page's density 1..9 sows that many sixteenths of the field.
constexpr std::uint32_t DensityParts = 16;
// A colony counts as settled when its pattern repeats within this many generations (still
// lifes, blinkers and most small oscillators) ...
constexpr int RememberedGenerations = 32;
// ... or when for this many generations hardly any cell changes (a lone glider crossing a
// frozen field): no more than the quiet share (1/QuietShare of the cells, at least QuietCells).
constexpr int QuietGenerations = 120;
constexpr int QuietShare = 800;
constexpr int QuietCells = 12;

class Life2d : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // The life resolution is the size of a cell in pixels.
        const int cell = in.integer("res");
        m_cols = std::max(1, (m_width + cell - 1) / cell);
        m_rows = std::max(1, (m_height + cell - 1) / cell);
        m_density = std::uint32_t(in.integer("ldensity"));
        const int back[3] = {in.integer("backR"), in.integer("backG"), in.integer("backB")};
        const int fore[3] = {in.integer("foreR"), in.integer("foreG"), in.integer("foreB")};
        for (int glow = 0; glow < 256; ++glow) {
            std::uint32_t colour = 0;
            for (int c = 0; c < 3; ++c) colour = (colour << 8) | toByte(back[c] + (fore[c] - back[c]) * glow / 255);
            m_palette[glow] = colour;
        }
        const std::size_t cells = std::size_t(m_cols) * std::size_t(m_rows);
        m_alive.assign(cells, 0);
        m_next.assign(cells, 0);
        m_glow.assign(cells, 0);
        m_columnOf.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columnOf[std::size_t(x)] = x / cell;
        m_rowOf.resize(std::size_t(m_height));
        for (int y = 0; y < m_height; ++y) m_rowOf[std::size_t(y)] = y / cell;
        m_quietLimit = std::max(QuietCells, int(cells / QuietShare));
    }

    void reset() override
    {
        m_random.start(0x11FEu);
        std::fill(m_glow.begin(), m_glow.end(), std::uint8_t(0));
        sow();
    }

    void step() override
    {
        const int changed = generation();
        const std::uint32_t print = fingerprint();
        bool settled = m_population == 0;
        for (int k = 0; k < RememberedGenerations; ++k) settled = settled || m_history[k] == print;
        m_quiet = changed <= m_quietLimit ? m_quiet + 1 : 0;
        if (settled || m_quiet >= QuietGenerations) {
            sow();
            return;
        }
        m_history[m_generation % RememberedGenerations] = print;
        ++m_generation;
    }

    void draw(std::uint8_t *rgba) override
    {
        for (int y = 0; y < m_height; ++y) {
            const std::uint8_t *glow = &m_glow[std::size_t(m_rowOf[std::size_t(y)]) * std::size_t(m_cols)];
            for (int x = 0; x < m_width; ++x) {
                const std::uint32_t colour = m_palette[glow[m_columnOf[std::size_t(x)]]];
                *rgba++ = std::uint8_t(colour >> 16);
                *rgba++ = std::uint8_t(colour >> 8);
                *rgba++ = std::uint8_t(colour);
                *rgba++ = 255;
            }
        }
    }

private:
    // A new colony over the whole field; the glow of the old one fades out under it.
    void sow()
    {
        m_population = 0;
        for (std::size_t i = 0; i < m_alive.size(); ++i) {
            m_alive[i] = m_random.below(DensityParts) < m_density ? 1 : 0;
            m_population += m_alive[i];
            if (m_alive[i]) m_glow[i] = AliveGlow;
        }
        std::fill(std::begin(m_history), std::end(m_history), 0u);
        m_generation = 0;
        m_quiet = 0;
    }

    // One generation by Conway's rules (born with 3 neighbours, survives with 2 or 3); gives
    // how many cells changed.
    int generation()
    {
        int changed = 0;
        m_population = 0;
        for (int y = 0; y < m_rows; ++y) {
            const std::size_t up = std::size_t(y > 0 ? y - 1 : m_rows - 1) * std::size_t(m_cols);
            const std::size_t here = std::size_t(y) * std::size_t(m_cols);
            const std::size_t down = std::size_t(y + 1 < m_rows ? y + 1 : 0) * std::size_t(m_cols);
            for (int x = 0; x < m_cols; ++x) {
                const std::size_t left = std::size_t(x > 0 ? x - 1 : m_cols - 1);
                const std::size_t right = std::size_t(x + 1 < m_cols ? x + 1 : 0);
                const std::size_t mid = std::size_t(x);
                const int neighbours = m_alive[up + left] + m_alive[up + mid] + m_alive[up + right] +
                                       m_alive[here + left] + m_alive[here + right] +
                                       m_alive[down + left] + m_alive[down + mid] + m_alive[down + right];
                const std::uint8_t was = m_alive[here + mid];
                const std::uint8_t is = (neighbours == 3 || (was && neighbours == 2)) ? 1 : 0;
                m_next[here + mid] = is;
                m_population += is;
                changed += was != is;
                std::uint8_t &glow = m_glow[here + mid];
                glow = is ? std::uint8_t(AliveGlow)
                          : was ? std::uint8_t(DeathGlow) : std::uint8_t(std::max(0, glow - FadeStep));
            }
        }
        m_alive.swap(m_next);
        return changed;
    }

    // A hash of the living cells (never 0, which marks an empty memory slot).
    std::uint32_t fingerprint() const
    {
        std::uint32_t hash = 2166136261u;
        for (std::size_t i = 0; i < m_alive.size(); ++i) hash = (hash ^ m_alive[i]) * 16777619u;
        return hash ? hash : 1u;
    }

    int m_width = 0, m_height = 0, m_cols = 1, m_rows = 1;
    std::uint32_t m_density = 2;
    std::uint32_t m_palette[256] = {};
    std::vector<std::uint8_t> m_alive, m_next; // 1 for a living cell, cols x rows
    std::vector<std::uint8_t> m_glow;          // palette entry per cell
    std::vector<int> m_columnOf, m_rowOf;      // the cell under each pixel column / row
    std::uint32_t m_history[RememberedGenerations] = {};
    int m_generation = 0, m_quiet = 0, m_quietLimit = QuietCells, m_population = 0;
    Random m_random;
};

} // namespace

EffectInfo life2dEffect()
{
    return {"life2d.class",
            "LIFE2D",
            {
                {"res", ParamKind::Integer, "2", 1, 8, "5"},
                {"backR", ParamKind::Integer, "0", 0, 255, "40"},
                {"backG", ParamKind::Integer, "0", 0, 255, "40"},
                {"backB", ParamKind::Integer, "0", 0, 255, "110"},
                {"foreR", ParamKind::Integer, "0", 0, 255, "255"},
                {"foreG", ParamKind::Integer, "255", 0, 255, "120"},
                {"foreB", ParamKind::Integer, "0", 0, 255, "255"},
                {"ldensity", ParamKind::Integer, "2", 1, 9, "7"},
            },
            [] { return std::unique_ptr<Effect>(new Life2d); },
            25};
}

} // namespace vexa::effects
