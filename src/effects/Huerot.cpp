// HUEROT: the picture with its hues turning round the colour circle, step by step, while each
// pixel keeps its brightness and its greyness (greys stay grey).
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

// The colour circle in whole steps: six sectors (red, yellow, green, cyan, blue, magenta) of
// 512 steps each, so a hue and its shift stay integers.
constexpr int SectorSteps = 512;
constexpr int SectorShift = 9; // log2(SectorSteps)
constexpr int HueSteps = 6 * SectorSteps;

// A pixel as the hue rotation needs it: where it sits on the circle, its darkest channel and
// how far its brightest channel rises above that.
struct HuePixel {
    std::uint16_t hue = 0;
    std::uint8_t low = 0;
    std::uint8_t chroma = 0;
};

HuePixel toHue(std::uint32_t colour)
{
    const int r = int((colour >> 16) & 255), g = int((colour >> 8) & 255), b = int(colour & 255);
    const int high = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const int chroma = high - low;
    HuePixel pixel;
    pixel.low = std::uint8_t(low);
    pixel.chroma = std::uint8_t(chroma);
    if (chroma == 0) return pixel; // a grey: no hue to turn
    // The brightest channel picks the sector pair; the other two place the hue within it.
    int hue = 0;
    if (high == r) hue = (g - b) * SectorSteps / chroma;
    else if (high == g) hue = 2 * SectorSteps + (b - r) * SectorSteps / chroma;
    else hue = 4 * SectorSteps + (r - g) * SectorSteps / chroma;
    if (hue < 0) hue += HueSteps;
    pixel.hue = std::uint16_t(hue % HueSteps);
    return pixel;
}

// Each channel's part of the chroma, in 1/SectorSteps.
struct ChannelShares {
    std::uint16_t r = 0, g = 0, b = 0;
};

class Huerot : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // "res" turns the picture at 1/res of the applet's size, in blocks of res x res pixels.
        m_res = in.integer("res");
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;
        // The hue advances by the page's speed in steps of the circle each time step: at the
        // default 5 it goes round in about 25 seconds.
        m_hueSpeed = in.integer("hueshift");
        // The picture fills the applet whatever its own size; each block takes the pixel under
        // its centre.
        const Picture &picture = in.picture("image");
        m_pixels.resize(std::size_t(m_innerWidth) * std::size_t(m_innerHeight));
        HuePixel *out = m_pixels.data();
        for (int y = 0; y < m_innerHeight; ++y) {
            const int centreY = clampInt(std::int64_t(y) * m_res + m_res / 2, 0, m_height - 1);
            const int pictureY = int(std::int64_t(centreY) * picture.height / m_height);
            for (int x = 0; x < m_innerWidth; ++x) {
                const int centreX = clampInt(std::int64_t(x) * m_res + m_res / 2, 0, m_width - 1);
                *out++ = toHue(picture.at(int(std::int64_t(centreX) * picture.width / m_width), pictureY));
            }
        }
        m_row.resize(std::size_t(m_innerWidth) * 4);
        buildChannelShares();
    }

    void reset() override { m_turn = 0; }

    void step() override { m_turn = (m_turn + m_hueSpeed) % HueSteps; }

    void draw(std::uint8_t *rgba) override
    {
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int y = 0; y < m_height; ++y, rgba += rowBytes) {
            // The first row of each band of blocks is turned and widened; the rest copy it.
            if (y % m_res != 0) {
                std::memcpy(rgba, rgba - rowBytes, rowBytes);
                continue;
            }
            turnRow(&m_pixels[std::size_t(y / m_res) * std::size_t(m_innerWidth)]);
            const std::uint8_t *inner = m_row.data();
            std::uint8_t *out = rgba;
            for (int x = 0; x < m_width; inner += 4) {
                for (const int blockEnd = std::min(x + m_res, m_width); x < blockEnd; ++x, out += 4)
                    std::memcpy(out, inner, 4);
            }
        }
    }

private:
    // How much of a pixel's chroma each channel takes at every hue: around the circle one
    // channel is full, one at nothing and one on its way up or down.
    void buildChannelShares()
    {
        for (int hue = 0; hue < HueSteps; ++hue) {
            const int within = hue & (SectorSteps - 1);
            const int rising = within, falling = SectorSteps - within, full = SectorSteps, none = 0;
            int r = full, g = none, b = none;
            switch (hue >> SectorShift) {
            case 0: r = full; g = rising; b = none; break;
            case 1: r = falling; g = full; b = none; break;
            case 2: r = none; g = full; b = rising; break;
            case 3: r = none; g = falling; b = full; break;
            case 4: r = rising; g = none; b = full; break;
            default: r = full; g = none; b = falling; break;
            }
            m_shares[hue] = {std::uint16_t(r), std::uint16_t(g), std::uint16_t(b)};
        }
    }

    // One inner row with every hue moved on by the current turn, as RGBA bytes.
    void turnRow(const HuePixel *pixels)
    {
        // Locals, so the byte stores below cannot make the compiler reload them.
        std::uint8_t *out = m_row.data();
        const ChannelShares *shares = m_shares;
        const int turn = m_turn, count = m_innerWidth;
        for (int x = 0; x < count; ++x, out += 4) {
            const HuePixel pixel = pixels[x];
            int hue = pixel.hue + turn;
            if (hue >= HueSteps) hue -= HueSteps;
            const ChannelShares share = shares[hue];
            const std::uint32_t low = pixel.low, chroma = pixel.chroma;
            out[0] = std::uint8_t(low + ((chroma * share.r) >> SectorShift));
            out[1] = std::uint8_t(low + ((chroma * share.g) >> SectorShift));
            out[2] = std::uint8_t(low + ((chroma * share.b) >> SectorShift));
            out[3] = 255;
        }
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1;
    int m_hueSpeed = 0, m_turn = 0;
    std::vector<HuePixel> m_pixels; // the inner picture, innerWidth x innerHeight
    std::vector<std::uint8_t> m_row; // the inner row being drawn, RGBA
    ChannelShares m_shares[HueSteps] = {};
};

} // namespace

EffectInfo huerotEffect()
{
    return {"huerot.class",
            "HUEROT",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "4"},
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "NO"},
                {"hueshift", ParamKind::Integer, "5", 1, 1000, "40"},
            },
            [] { return std::unique_ptr<Effect>(new Huerot); },
            25};
}

} // namespace vexa::effects
