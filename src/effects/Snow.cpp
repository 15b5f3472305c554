// SNOW: snow falling over a background picture, in four depths from far to foreground, blown
// by a wind that slowly changes.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// Positions are in 1/256 pixel.
constexpr int Sub = 256;
constexpr int LayerCount = 4;
constexpr int MaxSprite = 11; // the largest flake's side in pixels

// One depth of snow: nearer flakes are bigger, brighter, fall faster, drift more in the wind
// and sway wider, which gives the scene its depth.
struct Layer {
    const char *countParam;
    int radius;     // flake radius in 1/16 pixel
    int brightness; // 0..255: how much the flake covers what is behind it
    int fall;       // fall per step and per unit of dropping speed, in 1/256 pixel
    int drift;      // share of the wind, in 1/256
    int sway;       // sideways swing, in 1/256 pixel
};
constexpr Layer Layers[LayerCount] = {
    {"flakes1", 8, 150, 10, 90, 1 * Sub},
    {"flakes2", 14, 210, 16, 140, 2 * Sub},
    {"flakes3", 24, 240, 26, 200, 3 * Sub},
    {"flakes4", 72, 250, 44, 256, 5 * Sub},
};
// The page leaves the counts open; these keep a frame's cost bounded.
constexpr int MaxFlakes[LayerCount] = {20000, 10000, 5000, 1000};

struct Flake {
    std::int32_t x, y;      // 1/256 pixel
    std::int32_t fall;      // 1/256 pixel per step
    std::int32_t phase;     // sway angle
    std::int32_t phaseStep; // sway speed
    int layer;
};


class Snow : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // The picture is stretched over the whole applet; without one, the background colour.
        const Picture &picture = in.picture("backimage");
        const bool hasPicture = in.hasPicture("backimage");
        const std::uint32_t colour = in.colour("bgcolor");
        m_back.resize(std::size_t(m_width) * std::size_t(m_height));
        for (int y = 0; y < m_height; ++y) {
            const int py = int(std::int64_t(y) * picture.height / m_height);
            for (int x = 0; x < m_width; ++x) {
                const int px = int(std::int64_t(x) * picture.width / m_width);
                m_back[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = hasPicture ? picture.at(px, py) : colour;
            }
        }

        const int speed = in.integer("speed");
        m_windMax = in.integer("windmax") * Sub;
        m_windRate = in.integer("windvariation") * 3;
        // Flakes of one depth differ a little in speed (3/4 to 5/4), so they do not fall in step.
        Random jitter(0xF1A6u);
        m_flakes.clear();
        for (int layer = 0; layer < LayerCount; ++layer) {
            makeSprite(layer);
            const int count = clampInt(in.integer(Layers[layer].countParam), 0, MaxFlakes[layer]);
            const std::int32_t fall = Layers[layer].fall * speed;
            for (int i = 0; i < count; ++i) {
                const std::int32_t own = fall - fall / 4 + std::int32_t(jitter.below(std::uint32_t(fall / 2 + 1)));
                m_flakes.push_back(Flake{0, 0, own, 0, 0, layer});
            }
        }
        m_margin = MaxSprite * Sub;
    }

    void reset() override
    {
        m_random.start(0x5A0Fu);
        m_windPhase = AngleSteps / 8; // a steady breeze from the start, even without variation
        m_wind = windNow();
        // Snow is already falling at the first frame: flakes start anywhere on the applet.
        const std::uint32_t spanX = std::uint32_t(m_width * Sub + 2 * m_margin);
        const std::uint32_t spanY = std::uint32_t(m_height * Sub + 2 * m_margin);
        for (Flake &flake : m_flakes) {
            flake.x = std::int32_t(m_random.below(spanX)) - m_margin;
            flake.y = std::int32_t(m_random.below(spanY)) - m_margin;
            flake.phase = std::int32_t(m_random.below(AngleSteps));
            flake.phaseStep = 20 + std::int32_t(m_random.below(40));
        }
    }

    void step() override
    {
        m_windPhase += m_windRate;
        m_wind = windNow();
        const std::int32_t spanX = m_width * Sub + 2 * m_margin;
        const std::int32_t bottom = m_height * Sub + m_margin;
        for (Flake &flake : m_flakes) {
            flake.y += flake.fall;
            flake.x += std::int32_t(std::int64_t(m_wind) * Layers[flake.layer].drift / 256);
            flake.phase = (flake.phase + flake.phaseStep) & AngleMask;
            // Blown off one side, a flake comes back in on the other.
            if (flake.x < -m_margin) flake.x += spanX;
            if (flake.x >= spanX - m_margin) flake.x -= spanX;
            if (flake.y >= bottom) {
                flake.y -= m_height * Sub + 2 * m_margin;
                flake.x = std::int32_t(m_random.below(std::uint32_t(spanX))) - m_margin;
            }
        }
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
        // The flakes are kept far ones first, so nearer ones cover them.
        for (const Flake &flake : m_flakes) {
            const Sprite &sprite = m_sprites[flake.layer];
            const std::int32_t sway = std::int32_t(std::int64_t(Layers[flake.layer].sway) * sine(flake.phase) / 65536);
            const int left = (flake.x + sway + 128 * Sub) / Sub - 128 - sprite.side / 2;
            const int top = (flake.y + 128 * Sub) / Sub - 128 - sprite.side / 2;
            drawSprite(rgba, sprite, left, top);
        }
    }

private:
    struct Sprite {
        int side = 1;
        std::uint8_t alpha[MaxSprite * MaxSprite] = {};
    };

    // A round flake, solid in the middle and soft at the rim.
    void makeSprite(int layer)
    {
        Sprite &sprite = m_sprites[layer];
        const int radius = Layers[layer].radius;
        sprite.side = std::min(MaxSprite, 2 * ((radius + 15) / 16) + 1);
        const int centre = sprite.side / 2;
        const int r2 = radius * radius;
        for (int y = 0; y < sprite.side; ++y) {
            for (int x = 0; x < sprite.side; ++x) {
                const int dx = (x - centre) * 16, dy = (y - centre) * 16;
                const int cover = (r2 - (dx * dx + dy * dy)) * 2 * Layers[layer].brightness / r2;
                sprite.alpha[y * MaxSprite + x] = std::uint8_t(clampInt(cover, 0, Layers[layer].brightness));
            }
        }
    }

    void drawSprite(std::uint8_t *rgba, const Sprite &sprite, int left, int top) const
    {
        for (int y = 0; y < sprite.side; ++y) {
            const int py = top + y;
            if (py < 0 || py >= m_height) continue;
            for (int x = 0; x < sprite.side; ++x) {
                const int px = left + x;
                const int alpha = sprite.alpha[y * MaxSprite + x];
                if (px < 0 || px >= m_width || alpha == 0) continue;
                std::uint8_t *pixel = rgba + (std::size_t(py) * std::size_t(m_width) + std::size_t(px)) * 4;
                for (int c = 0; c < 3; ++c) pixel[c] = std::uint8_t(pixel[c] + ((255 - pixel[c]) * alpha) / 256);
            }
        }
    }

    // The wind: two slow swells of different length, so its changes do not repeat plainly.
    std::int32_t windNow() const
    {
        const std::int64_t swell = std::int64_t(sine(m_windPhase)) * 3 + sine(m_windPhase * 7 / 3 + 700);
        return std::int32_t(swell * m_windMax / (4 * 65536));
    }

    int m_width = 0, m_height = 0, m_margin = 0;
    std::int32_t m_windMax = 0, m_windRate = 0, m_windPhase = 0, m_wind = 0;
    std::vector<std::uint32_t> m_back;
    std::vector<Flake> m_flakes;
    Sprite m_sprites[LayerCount];
    Random m_random;
};

} // namespace

EffectInfo snowEffect()
{
    return {"vxsnow.class",
            "SNOW",
            {
                {"flakes1", ParamKind::Integer, "200", 0, MaxFlakes[0], "2000"},
                {"flakes2", ParamKind::Integer, "100", 0, MaxFlakes[1], "1000"},
                {"flakes3", ParamKind::Integer, "50", 0, MaxFlakes[2], "400"},
                {"flakes4", ParamKind::Integer, "10", 0, MaxFlakes[3], "80"},
                {"windmax", ParamKind::Integer, "1", 0, 3, "3"},
                {"windvariation", ParamKind::Integer, "7", 0, 10, "1"},
                {"speed", ParamKind::Integer, "10", 1, 50, "40"},
                {"backimage", ParamKind::Picture, "snow.jpg", 0, 0, "NO"},
                {"bgcolor", ParamKind::Colour, "000000", 0, 0, "3366CC", true, nullptr, "backimage=NO"},
                {"overtext", ParamKind::Flag, "NO", 0, 1, "YES", false,
                 "snow drawn over the scrolling text: the engine draws no text"},
            },
            [] { return std::unique_ptr<Effect>(new Snow); },
            25};
}

} // namespace vexa::effects
