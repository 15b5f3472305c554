// FIREWORKS: rockets rise from the bottom, burst into showers of coloured sparks that spread,
// fall and fade, over a background picture or colour.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstdlib>

namespace vexa::effects {
namespace {

// Positions and speeds are in 1/1024 pixel (per step).
constexpr int Sub = 1024;
// The page leaves these open; the limits keep a step's cost bounded.
constexpr int MaxFireworks = 20;
constexpr int MaxDensity = 500;
// Sparks lose 1/DragShare of their speed each step, so a burst slows to a hanging shower.
constexpr int DragShare = 32;
// The light of sparks and rockets fades to 13/16 each step: that leaves the trails.
constexpr int TrailKeep = 13;
// A burst glows white-hot for its first steps before showing its colour.
constexpr int HotSteps = 5;
// The longest streak a light draws in one step, in pixels.
constexpr std::int32_t MaxStreak = 16;

// Burst colours: bright, saturated, like the stars of real shells.
constexpr std::uint32_t BurstColours[] = {
    0xFF3020, 0x30FF40, 0x4070FF, 0xFFD030, 0xD040FF, 0x30E0FF, 0xFFFFFF, 0xFF8020, 0xFF40A0,
};
constexpr int BurstColourCount = int(sizeof(BurstColours) / sizeof(BurstColours[0]));
constexpr std::uint32_t RocketColour = 0xFFC080;

struct Spark {
    std::int32_t x, y, vx, vy;
    std::int32_t life; // steps this spark shines
    std::uint32_t colour;
};

// One firework: it waits, rises as a rocket, then shines as a burst until its sparks die.
struct Shell {
    enum class Phase { Waiting, Rising, Burning } phase = Phase::Waiting;
    std::int32_t timer = 0; // steps left waiting or rising; steps since the burst
    std::int32_t x = 0, y = 0, vx = 0, vy = 0, lift = 0;
};

class Fireworks : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // The picture is stretched over the whole applet; without one, the background colour.
        m_back = in.background("backimage", in.colour("bgcolor"), m_width, m_height);
        m_light.assign(m_back.size() * 3, 0);

        m_shellCount = in.integer("maxfireworks");
        m_density = in.integer("fireworksdensity");
        // Power is the sparks' starting speed: at 60 a burst spreads about 55 pixels wide.
        m_burstSpeed = in.integer("fireworkspower") * 36;
        m_duration = in.integer("fireworksduration");
        m_gravity = in.integer("gravity") * 2;
        m_shells.assign(std::size_t(m_shellCount), Shell());
        m_sparks.assign(std::size_t(m_shellCount) * std::size_t(m_density), Spark());
    }

    void reset() override
    {
        m_random.start(0xF12Eu);
        std::fill(m_light.begin(), m_light.end(), std::uint8_t(0));
        // Rockets go up one after another from the start, not all at once.
        for (int s = 0; s < m_shellCount; ++s) {
            Shell &shell = m_shells[std::size_t(s)];
            shell.phase = Shell::Phase::Waiting;
            shell.timer = 1 + s * 30 / m_shellCount + std::int32_t(m_random.below(10));
        }
    }

    void step() override
    {
        for (std::uint8_t &value : m_light) value = std::uint8_t(value * TrailKeep / 16);
        for (int s = 0; s < m_shellCount; ++s) {
            Shell &shell = m_shells[std::size_t(s)];
            Spark *sparks = &m_sparks[std::size_t(s) * std::size_t(m_density)];
            switch (shell.phase) {
            case Shell::Phase::Waiting:
                if (--shell.timer <= 0) launch(shell);
                break;
            case Shell::Phase::Rising:
                rise(shell);
                if (--shell.timer <= 0) burst(shell, sparks);
                break;
            case Shell::Phase::Burning:
                if (burn(shell, sparks)) {
                    shell.phase = Shell::Phase::Waiting;
                    shell.timer = 3 + std::int32_t(m_random.below(20));
                }
                break;
            }
        }
    }

    void draw(std::uint8_t *rgba) override
    {
        for (std::size_t i = 0; i < m_back.size(); ++i) {
            const std::uint32_t colour = m_back[i];
            const std::uint8_t *light = &m_light[3 * i];
            rgba[4 * i] = toByte(int(colour >> 16 & 0xFF) + light[0]);
            rgba[4 * i + 1] = toByte(int(colour >> 8 & 0xFF) + light[1]);
            rgba[4 * i + 2] = toByte(int(colour & 0xFF) + light[2]);
            rgba[4 * i + 3] = 255;
        }
    }

private:
    // A rocket leaves the bottom and slows to a stop at its bursting height in the upper sky.
    void launch(Shell &shell)
    {
        const std::int32_t rise = 25 + std::int32_t(m_random.below(16)); // steps to the top
        const std::int32_t top = m_height * (12 + std::int32_t(m_random.below(34))) / 100;
        const std::int32_t height = (m_height - top) * Sub;
        shell.phase = Shell::Phase::Rising;
        shell.timer = rise;
        shell.x = (m_width / 6 + std::int32_t(m_random.below(std::uint32_t(m_width * 2 / 3 + 1)))) * Sub;
        shell.y = m_height * Sub;
        shell.vx = std::int32_t(m_random.below(Sub * 4 / 5)) - Sub * 2 / 5;
        shell.vy = -2 * height / rise;
        shell.lift = 2 * height / (rise * rise); // the slowing that stops it at the top
    }

    void rise(Shell &shell)
    {
        const std::int32_t fromX = shell.x, fromY = shell.y;
        shell.x += shell.vx;
        shell.y += shell.vy;
        shell.vy = std::min(shell.vy + shell.lift, std::int32_t(0));
        streak(fromX, fromY, shell.x, shell.y, RocketColour, 255);
    }

    // The sparks fly out in all directions, most near the full power so the burst is a ring
    // with a filled heart; a third of the shells mix two colours.
    void burst(Shell &shell, Spark *sparks)
    {
        const std::uint32_t first = BurstColours[m_random.below(BurstColourCount)];
        const std::uint32_t second = m_random.below(3) == 0 ? BurstColours[m_random.below(BurstColourCount)] : first;
        for (int i = 0; i < m_density; ++i) {
            const std::int32_t angle = std::int32_t(m_random.below(AngleSteps));
            const std::int32_t u = std::int32_t(m_random.below(256));
            const std::int32_t speed = std::int32_t(std::int64_t(m_burstSpeed) * (256 - u * u / 256) / 256);
            Spark &spark = sparks[i];
            spark.x = shell.x;
            spark.y = shell.y;
            spark.vx = std::int32_t(std::int64_t(speed) * cosine(angle) / 65536);
            spark.vy = std::int32_t(std::int64_t(speed) * sine(angle) / 65536);
            // Lifetimes differ a little (3/4 to 5/4 of the duration), so a burst dies out softly.
            spark.life = std::max(1, m_duration * 3 / 4 + std::int32_t(m_random.below(std::uint32_t(m_duration / 2 + 1))));
            spark.colour = (i & 1) ? second : first;
        }
        shell.phase = Shell::Phase::Burning;
        shell.timer = 0;
    }

    // Moves and draws the sparks of one burst; true once all of them are out.
    bool burn(Shell &shell, Spark *sparks)
    {
        const std::int32_t age = shell.timer++;
        bool burning = false;
        for (int i = 0; i < m_density; ++i) {
            Spark &spark = sparks[i];
            if (age >= spark.life) continue;
            burning = true;
            spark.vx -= spark.vx / DragShare;
            spark.vy -= spark.vy / DragShare;
            spark.vy += m_gravity;
            const std::int32_t fromX = spark.x, fromY = spark.y;
            spark.x += spark.vx;
            spark.y += spark.vy;
            // Full light for the first half of its life, then fading and twinkling out.
            const std::int32_t left = spark.life - age;
            std::int32_t bright = left * 2 >= spark.life ? 255 : 255 * left * 2 / spark.life;
            if (left * 3 < spark.life && twinkle(i, age)) bright /= 4;
            const std::uint32_t colour = age < HotSteps ? whiter(spark.colour, HotSteps - age) : spark.colour;
            streak(fromX, fromY, spark.x, spark.y, colour, bright);
        }
        return !burning;
    }

    // A fixed pattern per spark and step, so the same frame twinkles the same way.
    static bool twinkle(int spark, std::int32_t age)
    {
        std::uint32_t h = std::uint32_t(spark) * 0x9E3779B1u ^ std::uint32_t(age) * 0x85EBCA77u;
        h ^= h >> 15;
        h *= 0x2C1B3C6Du;
        return (h >> 13 & 3) == 0;
    }

    static std::uint32_t whiter(std::uint32_t colour, int share)
    {
        std::uint32_t result = 0;
        for (int shift = 16; shift >= 0; shift -= 8) {
            const int c = int(colour >> shift & 0xFF);
            result |= std::uint32_t(c + (255 - c) * share / HotSteps) << shift;
        }
        return result;
    }

    // A moving light: a faint line from where it was, so fast sparks draw unbroken streaks,
    // and a glowing head where it is.
    void streak(std::int32_t fromX, std::int32_t fromY, std::int32_t x, std::int32_t y, std::uint32_t colour,
                std::int32_t bright)
    {
        const std::int32_t dx = x - fromX, dy = y - fromY;
        const std::int32_t steps = std::min(MaxStreak, std::max(std::abs(dx), std::abs(dy)) / Sub);
        if (steps > 1) {
            const std::int32_t stepX = dx / steps, stepY = dy / steps, fade = bright / (2 * steps);
            std::int32_t px = fromX, py = fromY, light = 0;
            for (std::int32_t i = 1; i < steps; ++i) {
                px += stepX;
                py += stepY;
                light += fade;
                if (px >= 0 && py >= 0 && px / Sub < m_width && py / Sub < m_height) addLight(px / Sub, py / Sub, colour, light);
            }
        }
        plot(x, y, colour, bright);
    }

    // Adds light at a point: full in the middle, half on the four neighbours for a soft glow.
    void plot(std::int32_t x, std::int32_t y, std::uint32_t colour, std::int32_t bright)
    {
        if (x < 0 || y < 0) return;
        const int px = x / Sub, py = y / Sub;
        if (px >= m_width || py >= m_height) return;
        addLight(px, py, colour, bright);
        const int half = bright / 2;
        if (px > 0) addLight(px - 1, py, colour, half);
        if (px + 1 < m_width) addLight(px + 1, py, colour, half);
        if (py > 0) addLight(px, py - 1, colour, half);
        if (py + 1 < m_height) addLight(px, py + 1, colour, half);
    }

    void addLight(int x, int y, std::uint32_t colour, std::int32_t bright)
    {
        std::uint8_t *light = &m_light[(std::size_t(y) * std::size_t(m_width) + std::size_t(x)) * 3];
        light[0] = toByte(light[0] + int(colour >> 16 & 0xFF) * bright / 255);
        light[1] = toByte(light[1] + int(colour >> 8 & 0xFF) * bright / 255);
        light[2] = toByte(light[2] + int(colour & 0xFF) * bright / 255);
    }

    int m_width = 0, m_height = 0;
    int m_shellCount = 1, m_density = 1;
    std::int32_t m_burstSpeed = 0, m_duration = 1, m_gravity = 0;
    std::vector<std::uint32_t> m_back;
    std::vector<std::uint8_t> m_light; // RGB light of sparks and trails over the background
    std::vector<Shell> m_shells;
    std::vector<Spark> m_sparks; // density sparks per shell
    Random m_random;
};

} // namespace

EffectInfo fireworksEffect()
{
    return {"firewks.class",
            "FIREWORKS",
            {
                {"boomsound", ParamKind::Word, "NO", 0, 0, "boom.au", false, "a sound file played at each burst"},
                {"maxfireworks", ParamKind::Integer, "4", 1, MaxFireworks, "12"},
                {"fireworkspower", ParamKind::Integer, "60", 1, 200, "150"},
                {"fireworksdensity", ParamKind::Integer, "80", 1, MaxDensity, "300"},
                {"fireworksduration", ParamKind::Integer, "60", 1, 500, "20"},
                {"gravity", ParamKind::Integer, "20", 0, 200, "80"},
                {"backimage", ParamKind::Picture, "NO", 0, 0, "sample.jpg"},
                {"bgcolor", ParamKind::Colour, "000000", 0, 0, "203060", true, nullptr, "backimage=NO"},
                {"overtext", ParamKind::Flag, "NO", 0, 1, "YES", false,
                 "fireworks drawn over the scrolling text: the engine draws no text"},
            },
            [] { return std::unique_ptr<Effect>(new Fireworks); },
            25};
}

} // namespace vexa::effects
