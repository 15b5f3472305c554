// GALAXY: thousands of glowing particles around a bright core, turning in space and changing
// from one shape into the next (discs, spirals, spheres, rings, tubes, waves, atoms, novae),
// drawn additively into a light buffer that fades slowly, so every particle leaves a trail.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// Shapes are built in units of 1/1024 of the galaxy's radius.
constexpr std::int32_t Radius = 1024;
// The eye's distance from the centre: nearer particles spread wider and shine brighter.
constexpr std::int32_t Eye = 4096;
// Each script phase holds a shape this many steps, then morphs into the next one.
constexpr int HoldSteps = 40;
constexpr int MorphSteps = 50;
// Light one particle adds at full heat (of 256); the buffer keeps 8 bits of fraction.
constexpr int Energy = 64;
// Squared distances from the core in steps of 256 up to where the heat is all gone (1200^2).
// Depths from the nearest allowed (-3/4 of the eye's distance) past the furthest any shape
// reaches (a shell of 2400).
constexpr std::size_t NearDepths = 3 * Eye / 4 + 2560;
constexpr std::size_t HeatBuckets = 1200 * 1200 / 256 + 1;

enum class Shape { Disc, Ring, Sphere, Tube, Spiral, System, Cloud, Nova, Wave, Atom, Cone };
constexpr Shape EveryShape[] = {Shape::Disc, Shape::Spiral, Shape::Ring,  Shape::Sphere, Shape::Tube, Shape::System,
                                Shape::Nova, Shape::Wave,   Shape::Atom,  Shape::Cone,   Shape::Cloud};
constexpr int ShapeCount = int(sizeof(EveryShape) / sizeof(EveryShape[0]));

// The page's scripts, in its order: the shapes they go through, back and forth.
struct Script {
    Shape shapes[2];
    int count; // 0: every shape in turn
    bool allColours;
};
constexpr Script Scripts[] = {
    {{Shape::Disc, Shape::Disc}, 1, false},     // Circular Galaxy
    {{Shape::Sphere, Shape::Ring}, 2, false},   // Sphere -> Ring
    {{Shape::Tube, Shape::Tube}, 1, false},     // Tubular Galaxy
    {{Shape::Spiral, Shape::Spiral}, 1, false}, // Spiral Galaxy
    {{Shape::System, Shape::System}, 1, false}, // Rotating System
    {{Shape::Spiral, Shape::Sphere}, 2, false}, // Into Sphere
    {{Shape::Nova, Shape::Nova}, 1, false},     // Supernova
    {{Shape::Sphere, Shape::Tube}, 2, false},   // Sphere -> Tubular
    {{Shape::Wave, Shape::Atom}, 2, false},     // Wave -> Atom
    {{Shape::Cone, Shape::Wave}, 2, false},     // Cone -> Wave
    {{Shape::Disc, Shape::Disc}, 0, false},     // All effects one color
    {{Shape::Disc, Shape::Disc}, 0, true},      // All effects all colors
};

// The page's palettes: colours from the cold rim (first) through the middle to the hot core.
constexpr std::uint32_t Palettes[][3] = {
    {0x505060, 0xB0B0B8, 0xFFFFFF}, // white
    {0x000C50, 0x2060FF, 0xD0E8FF}, // blue
    {0x200000, 0x901000, 0xFF3010}, // red->black
    {0x7020E0, 0xD02080, 0xFF4020}, // red->violet
    {0x002810, 0x10C030, 0xC0FFC0}, // green
    {0xC01008, 0xFF8040, 0xFFFFF0}, // red->white
};
constexpr int PaletteCount = int(sizeof(Palettes) / sizeof(Palettes[0]));

// The particle modes of the page: how many particles, and how each one is drawn.
enum class Dot { Point, Glow, Star };
struct Mode {
    int count;
    Dot dot;
};
constexpr Mode Modes[] = {{1500, Dot::Point}, {3000, Dot::Point}, {6000, Dot::Point}, {1500, Dot::Glow},
                          {3000, Dot::Glow},  {5000, Dot::Glow},  {2000, Dot::Star},  {4000, Dot::Star}};

struct Particle {
    std::uint16_t u, v, w, k; // its own random numbers: where it sits in every shape
};

struct Point3 {
    std::int32_t x, y, z;
    std::int32_t bright; // 0..256
};

std::int32_t mul(std::int64_t value, std::int32_t sine16) { return std::int32_t(value * sine16 / 65536); }
// A random number of the particle scaled to 0..range-1.
std::int32_t part(std::uint16_t random, std::int32_t range) { return std::int32_t(std::int64_t(random) * range / 65536); }

// A point at distance `r` in direction azimuth `a`, elevation `e` (1/4096 turn).
Point3 ball(std::int32_t r, std::int32_t a, std::int32_t e)
{
    const std::int32_t flat = mul(r, cosine(e));
    return {mul(flat, cosine(a)), mul(r, sine(e)), mul(flat, sine(a)), 256};
}

// The sphere's ring radius at each height -Radius..Radius-1, made once in `start` (a square
// root per particle and step would cost more than all the rest of the particle together).
struct SphereRings {
    std::int32_t radius[2 * Radius];
};

// Where particle `p` is in `shape` at step `t`.
Point3 place(Shape shape, const Particle &p, std::int32_t t, const SphereRings &rings)
{
    const std::int32_t azimuth = part(p.w, AngleSteps);
    // An eighth of every shape is the bright, dense core.
    if (p.k % 8 == 0 && shape != Shape::Nova) {
        const std::int32_t r = part(p.u, 100) * part(p.u, 100) / 100;
        return ball(r, azimuth + t * 20, part(p.v, 2048) - 1024);
    }
    switch (shape) {
    case Shape::Disc: {
        // Five rings of six clumps each; inner rings turn faster, as in a real galaxy.
        const std::int32_t r = 200 + (p.u % 5) * 180 + part(p.v, 120) - 60;
        const std::int32_t a = (p.w % 6) * 683 + part(p.v, 300) + t * (24000 / (r + 100));
        return {mul(r, cosine(a)), part(p.k, 60) - 30, mul(r, sine(a)), 256};
    }
    case Shape::Spiral: {
        // Two straight bars wind up into spiral arms while the whole galaxy turns.
        const std::int32_t r = 120 + part(p.v, 900);
        const std::int32_t wind = std::min(t * 20, 2600);
        const std::int32_t turn = t * 6 + std::int32_t(std::int64_t(wind) * r / Radius);
        // One particle in eight is a faint field star in the disc between the arms.
        if (p.k % 8 == 1) return {mul(r, cosine(azimuth + turn)), part(p.u, 40) - 20, mul(r, sine(azimuth + turn)), 110};
        // Arms keep about the same width out to the rim, so their angular spread narrows; the
        // sum of two random numbers crowds their particles towards the arm's middle.
        const std::int32_t spread = (part(p.w, 400) + part(p.k, 400) - 400) * 300 / (r + 150);
        const std::int32_t a = (p.u % 2) * 2048 + spread + turn;
        return {mul(r, cosine(a)), part(p.k, 50) - 25, mul(r, sine(a)), 256};
    }
    case Shape::Ring: {
        const std::int32_t r = 820 + part(p.v, 100) - 50;
        return {mul(r, cosine(azimuth + t * 14)), part(p.u, 50) - 25, mul(r, sine(azimuth + t * 14)), 256};
    }
    case Shape::Sphere: {
        const std::int32_t y = part(p.v, 2 * Radius) - Radius;
        const std::int32_t r = rings.radius[y + Radius];
        return {mul(r, cosine(azimuth + t * 12)), y * 9 / 10, mul(r, sine(azimuth + t * 12)), 256};
    }
    case Shape::Tube: {
        // A twisted cylinder lying across the view, its particles running round it.
        const std::int32_t x = part(p.v, 2600) - 1300;
        const std::int32_t a = azimuth + x + t * 40;
        const std::int32_t r = 340 + part(p.u, 60);
        return {x, mul(r, cosine(a)), mul(r, sine(a)), 256};
    }
    case Shape::System: {
        // A sun and four planets with their moons, each on its own orbit and pace.
        const int body = p.u % 5;
        if (body == 0) return ball(part(p.v, 240), azimuth + t * 10, part(p.k, 2048) - 1024);
        const std::int32_t orbit = 180 + body * 190, a = body * 1000 + t * (70 - body * 12);
        // A third of a planet's particles are strewn along its orbit as a faint dust ring.
        if (p.v % 3 == 0) return {mul(orbit, cosine(azimuth)), 0, mul(orbit, sine(azimuth)), 90};
        const Point3 moon = ball(part(p.v, 70 + body * 20), azimuth + t * 50, part(p.k, 2048) - 1024);
        return {mul(orbit, cosine(a)) + moon.x, moon.y, mul(orbit, sine(a)) + moon.z, 256};
    }
    case Shape::Nova: {
        // A star shrinks and brightens, then blows out as a fading shell, again and again.
        const std::int32_t q = t % 160;
        const std::int32_t speed = 8 + part(p.u, 22);
        const std::int32_t r = q < 30 ? 60 - q + part(p.v, 40) : std::min(2400, (q - 30) * speed);
        const std::int32_t bright = q < 30 ? 256 : std::max(40, 256 - (q - 30) * 2);
        Point3 point = ball(r, azimuth, part(p.v, 2048) - 1024);
        point.bright = bright;
        return point;
    }
    case Shape::Wave: {
        // A square sheet of particles on a grid, rippling.
        const std::int32_t x = (p.u % 48) * 48 - 1128, z = (p.v % 48) * 48 - 1128;
        const std::int32_t y = mul(mul(330, sine(x * 2 + t * 45)), cosine(z + t * 25));
        return {x, y, z, 256};
    }
    case Shape::Atom: {
        // Three tilted rings of electrons around the nucleus.
        const int ring = p.u % 3;
        const std::int32_t a = azimuth + t * (30 + ring * 10);
        const std::int32_t r = 860 + part(p.v, 30);
        const Point3 flat = {mul(r, cosine(a)), 0, mul(r, sine(a)), 256};
        const std::int32_t y = mul(flat.z, sine(700)), z = mul(flat.z, cosine(700));
        const std::int32_t turn = ring * AngleSteps / 3;
        return {mul(flat.x, cosine(turn)) - mul(z, sine(turn)), y, mul(flat.x, sine(turn)) + mul(z, cosine(turn)), 256};
    }
    case Shape::Cone: {
        const std::int32_t h = part(p.v, Radius);
        const std::int32_t r = h * 9 / 10, a = azimuth + h + t * 30;
        return {mul(r, cosine(a)), h * 2 - Radius, mul(r, sine(a)), 256};
    }
    case Shape::Cloud:
        return {part(p.u, 2800) - 1400, part(p.v, 2800) - 1400, part(p.w, 2800) - 1400, 256};
    }
    return {0, 0, 0, 0};
}

class Galaxy : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        const Mode &mode = Modes[in.integer("particles")];
        m_dot = mode.dot;
        m_script = in.word("script", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "Circular Galaxy",
                                      "Sphere -> Ring", "Tubular Galaxy", "Spiral Galaxy", "Rotating System",
                                      "Into Sphere", "Supernova", "Sphere -> Tubular", "Wave -> Atom", "Cone -> Wave",
                                      "All effects one color", "All effects all colors"}) %
                   12;
        m_palette = in.word("gpalette", {"0", "1", "2", "3", "4", "5", "white", "blue", "red->black", "red->violet",
                                         "green", "red->white"}) %
                    PaletteCount;
        m_random = in.flag("random");
        m_persist = in.integer("persist");
        m_rate = in.decimal("dinamic_persist");
        m_low = std::min(in.integer("dinamic_min"), in.integer("dinamic_max"));
        m_high = std::max(in.integer("dinamic_min"), in.integer("dinamic_max"));

        m_particles.resize(std::size_t(mode.count));
        m_light.assign(std::size_t(m_width) * std::size_t(m_height) * 4, 0);
        // 256 steps from rim to core per palette.
        m_colours.resize(std::size_t(PaletteCount) * 256);
        for (int p = 0; p < PaletteCount; ++p)
            for (int i = 0; i < 256; ++i) m_colours[std::size_t(p) * 256 + std::size_t(i)] = ramp(Palettes[p], i);
        m_scale = std::max(1, std::min(m_width, m_height) * 44 / 100);
        for (std::int32_t y = -Radius; y < Radius; ++y)
            m_rings.radius[y + Radius] = std::int32_t(squareRoot(std::uint64_t(std::int64_t(Radius) * Radius - std::int64_t(y) * y)));
        // Heat falls one step each time the distance passes 1200/255 more: the squared
        // distances where it does, and where it stands at every 256th squared distance.
        for (int k = 1; k <= 255; ++k) {
            const std::int64_t distance = (1200 * k + 254) / 255;
            m_coolAt[k] = distance * distance;
        }
        for (std::size_t depth = 0; depth < NearDepths; ++depth)
            m_near[depth] = std::int32_t(std::int64_t(Eye) * 65536 / (Eye / 4 + std::int64_t(depth)));
        m_coolAt[0] = 0;
        m_coolAt[256] = std::int64_t(1) << 62;
        for (std::size_t b = 0; b < HeatBuckets; ++b) {
            int level = 0;
            while (level < 255 && m_coolAt[level + 1] <= std::int64_t(b) << 8) ++level;
            m_coolStart[b] = std::uint8_t(level);
        }
    }

    void reset() override
    {
        Random random(0x6A1Au);
        for (std::size_t i = 0; i < m_particles.size(); ++i) {
            Particle &p = m_particles[i];
            p.u = std::uint16_t(random.next() >> 16);
            p.v = std::uint16_t(random.next() >> 16);
            p.w = std::uint16_t(random.next() >> 16);
            p.k = std::uint16_t(i);
        }
        m_chooser.start(0x5C41u);
        m_time = 0;
        m_phase = 0;
        m_from = firstShape();
        m_to = nextShape(m_from);
        m_level = std::int64_t(m_persist) << 16;
        m_direction = m_level > (std::int64_t(m_high) << 16) ? -1 : 1;
        std::fill(m_light.begin(), m_light.end(), std::uint16_t(0));
        plotAll();
    }

    void step() override
    {
        ++m_time;
        if (m_time % (HoldSteps + MorphSteps) == 0) {
            ++m_phase;
            m_from = m_to;
            m_to = nextShape(m_from);
        }
        changePersistence();
        const std::uint32_t keep = m_persist == 0 ? 0 : std::uint32_t(clampInt(m_level >> 16, 0, 128));
        // value * keep / 128 as the high half of value * (keep * 512), which vector units do in
        // one instruction for many values at once; at 128 the light stays as it is.
        if (keep < 128) {
            const std::uint16_t factor = std::uint16_t(keep << 9);
            for (std::uint16_t &value : m_light) value = std::uint16_t(std::uint32_t(value) * std::uint32_t(factor) >> 16);
        }
        plotAll();
    }

    void draw(std::uint8_t *rgba) override
    {
        // Row by row, every lane the same way (vector units take many at once), then the
        // alphas over the fourth lane, which is never lit.
        const std::uint16_t *light = m_light.data(); // a local: the bytes written might alias a member
        const std::size_t row = std::size_t(m_width) * 4;
        for (int y = 0; y < m_height; ++y, light += row, rgba += row) {
            for (std::size_t i = 0; i < row; ++i) rgba[i] = std::uint8_t(light[i] >> 8);
            for (std::size_t i = 3; i < row; i += 4) rgba[i] = 255;
        }
    }

private:
    static std::uint32_t ramp(const std::uint32_t *keys, int i)
    {
        const std::uint32_t a = i < 128 ? keys[0] : keys[1], b = i < 128 ? keys[1] : keys[2];
        const int f = i < 128 ? i * 2 : (i - 128) * 2 + 1;
        std::uint32_t colour = 0;
        for (int shift = 16; shift >= 0; shift -= 8) {
            const int ca = int(a >> shift & 0xFF), cb = int(b >> shift & 0xFF);
            colour |= std::uint32_t(ca + (cb - ca) * f / 255) << shift;
        }
        return colour;
    }

    Shape firstShape() const
    {
        const Script &script = Scripts[m_script];
        return script.count == 0 ? EveryShape[0] : script.shapes[0];
    }

    // The shape after `current`: the script's next one, or with the random script any other.
    Shape nextShape(Shape current)
    {
        const Script &script = Scripts[m_script];
        if (m_random) {
            const int pick = int(m_chooser.below(ShapeCount - 1));
            const Shape shape = EveryShape[pick];
            return shape == current ? EveryShape[ShapeCount - 1] : shape;
        }
        if (script.count == 0) {
            for (int i = 0; i < ShapeCount; ++i)
                if (EveryShape[i] == current) return EveryShape[(i + 1) % ShapeCount];
        }
        return script.shapes[0] == current && script.count == 2 ? script.shapes[1] : script.shapes[0];
    }

    // The persistence walks between its least and greatest value by the variation each step,
    // turning back at either end; from a start outside them it first walks into them.
    void changePersistence()
    {
        const std::int64_t low = std::int64_t(m_low) << 16, high = std::int64_t(m_high) << 16;
        const std::int64_t next = m_level + m_direction * std::int64_t(m_rate);
        if (m_direction > 0 && m_level <= high && next > high) {
            m_level = std::max(low, 2 * high - next);
            m_direction = -1;
        } else if (m_direction < 0 && m_level >= low && next < low) {
            m_level = std::min(high, 2 * low - next);
            m_direction = 1;
        } else {
            m_level = next;
        }
    }

    void plotAll()
    {
        const std::int32_t inPhase = m_time % (HoldSteps + MorphSteps);
        std::int32_t blend = 0; // 0..65536 from the old shape to the new, eased at both ends
        if (inPhase > HoldSteps) {
            const std::int32_t f = (inPhase - HoldSteps) * 65536 / MorphSteps;
            blend = std::int32_t(std::int64_t(f) * f / 65536 * (3 * 65536 - 2 * f) / 65536);
        }
        const Script &script = Scripts[m_script];
        const int palette = script.allColours ? (m_palette + m_phase + (blend >= 32768 ? 1 : 0)) % PaletteCount : m_palette;
        const std::uint32_t *colours = &m_colours[std::size_t(palette) * 256];
        // The galaxy turns about its own axis, seen from above at a slowly rocking angle.
        const std::int32_t spin = m_time * 7, tilt = 620 + mul(150, sine(m_time * 6));
        const std::int32_t sinSpin = sine(spin), cosSpin = cosine(spin), sinTilt = sine(tilt), cosTilt = cosine(tilt);
        const std::int32_t cx = m_width / 2, cy = m_height / 2;
        for (const Particle &p : m_particles) {
            Point3 a = place(m_from, p, m_time, m_rings);
            if (blend > 0) {
                const Point3 b = place(m_to, p, m_time, m_rings);
                a.x += mul(b.x - a.x, blend);
                a.y += mul(b.y - a.y, blend);
                a.z += mul(b.z - a.z, blend);
                a.bright += mul(b.bright - a.bright, blend);
            }
            const std::int64_t squared = std::int64_t(a.x) * a.x + std::int64_t(a.y) * a.y + std::int64_t(a.z) * a.z;
            int cooled = 255;
            if (squared < std::int64_t(HeatBuckets) << 8) {
                cooled = m_coolStart[std::size_t(squared >> 8)];
                while (squared >= m_coolAt[cooled + 1]) ++cooled;
            }
            const int heat = 255 - cooled;
            const std::int32_t x1 = mul(a.x, cosSpin) - mul(a.z, sinSpin), z1 = mul(a.x, sinSpin) + mul(a.z, cosSpin);
            const std::int32_t y2 = mul(a.y, cosTilt) - mul(z1, sinTilt);
            const std::int32_t z2 = std::max(-3 * Eye / 4, mul(a.y, sinTilt) + mul(z1, cosTilt));
            // Nearer particles look bigger apart and brighter.
            // Eye + z2 >= Eye / 4; the depths the shapes reach are in a table.
            const std::size_t depth = std::size_t(z2 + 3 * Eye / 4);
            const std::int64_t near = depth < NearDepths ? m_near[depth] : std::int64_t(Eye) * 65536 / (Eye + z2);
            const std::int64_t sx = cx + x1 * near / 65536 * m_scale / Radius;
            const std::int64_t sy = cy + y2 * near / 65536 * m_scale / Radius;
            if (sx < 0 || sy < 0 || sx >= m_width || sy >= m_height) continue;
            const int energy = int(std::min<std::int64_t>(256, Energy * near / 65536 * a.bright / 256));
            plot(int(sx), int(sy), colours[heat], energy);
        }
    }

    void plot(int x, int y, std::uint32_t colour, int energy)
    {
        const int full = energy, half = energy / 2, quarter = energy / 4;
        if (x < 1 || y < 1 || x >= m_width - 1 || y >= m_height - 1) {
            // At the frame's edge: every pixel of the dot tested on its own.
            add(x, y, colour, full);
            if (m_dot == Dot::Point) return;
            add(x - 1, y, colour, half);
            add(x + 1, y, colour, half);
            add(x, y - 1, colour, half);
            add(x, y + 1, colour, half);
            if (m_dot == Dot::Glow) return;
            add(x - 1, y - 1, colour, quarter);
            add(x + 1, y - 1, colour, quarter);
            add(x - 1, y + 1, colour, quarter);
            add(x + 1, y + 1, colour, quarter);
            return;
        }
        const std::uint32_t red = colour >> 16 & 0xFF, green = colour >> 8 & 0xFF, blue = colour & 0xFF;
        std::uint16_t *middle = &m_light[(std::size_t(y) * std::size_t(m_width) + std::size_t(x)) * 4];
        const std::ptrdiff_t across = 4, down = std::ptrdiff_t(m_width) * 4;
        addAt(middle, red, green, blue, std::uint32_t(full));
        if (m_dot == Dot::Point) return;
        addAt(middle - across, red, green, blue, std::uint32_t(half));
        addAt(middle + across, red, green, blue, std::uint32_t(half));
        addAt(middle - down, red, green, blue, std::uint32_t(half));
        addAt(middle + down, red, green, blue, std::uint32_t(half));
        if (m_dot == Dot::Glow) return;
        addAt(middle - down - across, red, green, blue, std::uint32_t(quarter));
        addAt(middle - down + across, red, green, blue, std::uint32_t(quarter));
        addAt(middle + down - across, red, green, blue, std::uint32_t(quarter));
        addAt(middle + down + across, red, green, blue, std::uint32_t(quarter));
    }

    static void addAt(std::uint16_t *light, std::uint32_t red, std::uint32_t green, std::uint32_t blue, std::uint32_t energy)
    {
        light[0] = std::uint16_t(std::min<std::uint32_t>(65535, light[0] + red * energy));
        light[1] = std::uint16_t(std::min<std::uint32_t>(65535, light[1] + green * energy));
        light[2] = std::uint16_t(std::min<std::uint32_t>(65535, light[2] + blue * energy));
    }

    void add(int x, int y, std::uint32_t colour, int energy)
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        addAt(&m_light[(std::size_t(y) * std::size_t(m_width) + std::size_t(x)) * 4], colour >> 16 & 0xFF,
              colour >> 8 & 0xFF, colour & 0xFF, std::uint32_t(energy));
    }

    int m_width = 0, m_height = 0, m_scale = 1;
    Dot m_dot = Dot::Point;
    int m_script = 0, m_palette = 0;
    bool m_random = false;
    std::int32_t m_persist = 0, m_rate = 0, m_low = 1, m_high = 1;
    std::int64_t m_level = 0; // the persistence now, 16.16 (of 128)
    int m_direction = 1;
    std::int32_t m_time = 0, m_phase = 0;
    Shape m_from = Shape::Disc, m_to = Shape::Disc;
    Random m_chooser; // picks the shapes of the random script
    std::vector<Particle> m_particles;
    std::vector<std::uint32_t> m_colours; // 256 colours per palette
    std::vector<std::uint16_t> m_light;   // RGB light, 8.8, and an unlit fourth lane, width x height
    SphereRings m_rings;
    std::int32_t m_near[NearDepths] = {};      // the eye's distance over the particle's, 16.16, by depth
    std::int64_t m_coolAt[257] = {};           // the squared distance where heat k starts falling short
    std::uint8_t m_coolStart[HeatBuckets] = {}; // how far it has fallen at each 256th squared distance
};

} // namespace

EffectInfo galaxyEffect()
{
    return {"galaxy.class",
            "GALAXY",
            {
                {"particles", ParamKind::Integer, "5", 0, 7, "1"},
                {"random", ParamKind::Flag, "0", 0, 1, "1"},
                {"script", ParamKind::Word, "5", 0, 11, "3"},
                {"gpalette", ParamKind::Word, "0", 0, 5, "1"},
                {"persist", ParamKind::Integer, "64", 0, 128, "110"},
                {"dinamic_persist", ParamKind::Decimal, "2.5", 0, 126, "8"},
                {"dinamic_min", ParamKind::Integer, "20", 1, 127, "60"},
                {"dinamic_max", ParamKind::Integer, "100", 1, 127, "127"},
            },
            [] { return std::unique_ptr<Effect>(new Galaxy); },
            25};
}

} // namespace vexa::effects
