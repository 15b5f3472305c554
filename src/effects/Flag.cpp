// FLAG and FLAGLOAD: a flag waving on its pole, painted as a grid of small dots whose shading
// follows the folds of the cloth. FLAG paints a nation's flag; FLAGLOAD the user's own picture
// of a flag, over the background colour or a background picture.
#include "Blocks.h"
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// Flags are designed on a 240 x 160 grid (3:2), whatever their real proportions.
constexpr int DesignWidth = 240;
constexpr int DesignHeight = 160;

enum class Shape : std::uint8_t {
    Box,        // a, b .. c, d
    Bands,      // e horizontal bands over a, b .. c, d; the even ones painted
    Disc,       // centre a, b, radius c; only rows d .. e when e is set
    Bar,        // a thick line from a, b to c, d, half width e
    Triangle,   // corners a, b / c, d / e, f
    Diamond,    // centre a, b, half extents c, d
    Dots,       // e x f dots of radius 3 centred in the cells of a, b .. c, d
    UnionJack,  // the crosses of the United Kingdom over a, b .. c, d
};

struct Layer {
    Shape shape;
    std::uint32_t colour;
    std::int16_t a, b, c, d, e, f;
};

// The pieces of every nation's flag, painted in order over each other.
struct Design {
    int first; // into DesignLayers
    int count;
};

constexpr std::uint32_t White = 0xFFFFFF, Black = 0x101010;
#define BOX(colour, x0, y0, x1, y1) {Shape::Box, colour, x0, y0, x1, y1, 0, 0}
#define VERTICAL3(c1, c2, c3) BOX(c1, 0, 0, 80, 160), BOX(c2, 80, 0, 160, 160), BOX(c3, 160, 0, 240, 160)
#define HORIZONTAL3(c1, c2, c3) BOX(c1, 0, 0, 240, 53), BOX(c2, 0, 53, 240, 107), BOX(c3, 0, 107, 240, 160)
// A Nordic cross: the upright stands toward the pole.
#define CROSS(colour, half) BOX(colour, 80 - (half), 0, 80 + (half), 160), BOX(colour, 0, 80 - (half), 240, 80 + (half))

constexpr Layer DesignLayers[] = {
    // 0 Italy
    VERTICAL3(0x009246, White, 0xCE2B37),
    // 3 Spain
    BOX(0xAA151B, 0, 0, 240, 160), BOX(0xF1BF00, 0, 40, 240, 120),
    // 5 France
    VERTICAL3(0x002395, White, 0xED2939),
    // 8 Ireland
    VERTICAL3(0x169B62, White, 0xFF883E),
    // 11 Austria
    HORIZONTAL3(0xC8102E, White, 0xC8102E),
    // 14 Germany
    HORIZONTAL3(Black, 0xDD0000, 0xFFCE00),
    // 17 Netherlands
    HORIZONTAL3(0xAE1C28, White, 0x21468B),
    // 20 Belgium
    VERTICAL3(Black, 0xFDDA24, 0xEF3340),
    // 23 Luxembourg
    HORIZONTAL3(0xED2939, White, 0x00A1DE),
    // 26 Sweden
    BOX(0x006AA7, 0, 0, 240, 160), CROSS(0xFECC00, 13),
    // 29 Norway
    BOX(0xBA0C2F, 0, 0, 240, 160), CROSS(White, 18), CROSS(0x00205B, 9),
    // 34 Iceland
    BOX(0x02529C, 0, 0, 240, 160), CROSS(White, 18), CROSS(0xDC1E35, 9),
    // 39 Greenland: a disc with the colours of the halves swapped
    BOX(White, 0, 0, 240, 80), BOX(0xC8102E, 0, 80, 240, 160), {Shape::Disc, 0xC8102E, 90, 80, 53, 0, 80, 0},
    {Shape::Disc, White, 90, 80, 53, 80, 160, 0},
    // 43 Denmark
    BOX(0xC8102E, 0, 0, 240, 160), CROSS(White, 12),
    // 46 Finland
    BOX(White, 0, 0, 240, 160), CROSS(0x002F6C, 14),
    // 49 Poland
    BOX(White, 0, 0, 240, 80), BOX(0xDC143C, 0, 80, 240, 160),
    // 51 Hungary
    HORIZONTAL3(0xCD2A3E, White, 0x436F4D),
    // 54 Switzerland
    BOX(0xFF0000, 0, 0, 240, 160), BOX(White, 86, 68, 154, 92), BOX(White, 108, 46, 132, 114),
    // 57 South Africa
    BOX(0xE03C31, 0, 0, 240, 80), BOX(0x002395, 0, 80, 240, 160),
    {Shape::Bar, White, 0, 0, 105, 80, 27, 0}, {Shape::Bar, White, 0, 160, 105, 80, 27, 0},
    BOX(White, 105, 53, 240, 107),
    {Shape::Bar, 0x007749, 0, 0, 105, 80, 17, 0}, {Shape::Bar, 0x007749, 0, 160, 105, 80, 17, 0},
    BOX(0x007749, 105, 63, 240, 97),
    {Shape::Triangle, 0xFFB81C, 0, 22, 0, 138, 78, 80}, {Shape::Triangle, Black, 0, 36, 0, 124, 60, 80},
    // 67 Russia
    HORIZONTAL3(White, 0x0039A6, 0xD52B1E),
    // 70 Japan
    BOX(White, 0, 0, 240, 160), {Shape::Disc, 0xBC002D, 120, 80, 48, 0, 0, 0},
    // 72 Israel: two stripes and a six-pointed star of two triangles
    BOX(White, 0, 0, 240, 160), BOX(0x0038B8, 0, 15, 240, 40), BOX(0x0038B8, 0, 120, 240, 145),
    {Shape::Bar, 0x0038B8, 120, 48, 93, 96, 3, 0}, {Shape::Bar, 0x0038B8, 93, 96, 147, 96, 3, 0},
    {Shape::Bar, 0x0038B8, 147, 96, 120, 48, 3, 0}, {Shape::Bar, 0x0038B8, 120, 112, 93, 64, 3, 0},
    {Shape::Bar, 0x0038B8, 93, 64, 147, 64, 3, 0}, {Shape::Bar, 0x0038B8, 147, 64, 120, 112, 3, 0},
    // 81 Greece
    BOX(White, 0, 0, 240, 160), {Shape::Bands, 0x0D5EAF, 0, 0, 240, 160, 9, 0}, BOX(0x0D5EAF, 0, 0, 89, 89),
    BOX(White, 0, 36, 89, 53), BOX(White, 36, 0, 53, 89),
    // 86 Usa
    BOX(White, 0, 0, 240, 160), {Shape::Bands, 0xB22234, 0, 0, 240, 160, 13, 0}, BOX(0x3C3B6E, 0, 0, 96, 86),
    {Shape::Dots, White, 0, 0, 96, 86, 6, 5}, {Shape::Dots, White, 8, 9, 88, 77, 5, 4},
    // 91 Canada: a maple leaf of a diamond, two side lobes and a stem
    BOX(0xD80621, 0, 0, 240, 160), BOX(White, 60, 0, 180, 160),
    {Shape::Diamond, 0xD80621, 120, 72, 22, 40, 0, 0}, {Shape::Triangle, 0xD80621, 82, 58, 120, 104, 112, 66},
    {Shape::Triangle, 0xD80621, 158, 58, 120, 104, 128, 66}, {Shape::Bar, 0xD80621, 120, 100, 120, 124, 3, 0},
    // 97 Australia
    BOX(0x00008B, 0, 0, 240, 160), {Shape::UnionJack, 0, 0, 0, 120, 80, 0, 0},
    {Shape::Disc, White, 60, 120, 13, 0, 0, 0}, {Shape::Disc, White, 180, 135, 7, 0, 0, 0},
    {Shape::Disc, White, 148, 78, 6, 0, 0, 0}, {Shape::Disc, White, 180, 25, 6, 0, 0, 0},
    {Shape::Disc, White, 207, 65, 6, 0, 0, 0}, {Shape::Disc, White, 192, 92, 4, 0, 0, 0},
    // 105 New Zealand
    BOX(0x00247D, 0, 0, 240, 160), {Shape::UnionJack, 0, 0, 0, 120, 80, 0, 0},
    {Shape::Disc, White, 180, 130, 8, 0, 0, 0}, {Shape::Disc, 0xCC142B, 180, 130, 5, 0, 0, 0},
    {Shape::Disc, White, 150, 72, 7, 0, 0, 0}, {Shape::Disc, 0xCC142B, 150, 72, 4, 0, 0, 0},
    {Shape::Disc, White, 204, 60, 7, 0, 0, 0}, {Shape::Disc, 0xCC142B, 204, 60, 4, 0, 0, 0},
    {Shape::Disc, White, 180, 28, 8, 0, 0, 0}, {Shape::Disc, 0xCC142B, 180, 28, 5, 0, 0, 0},
    // 115 United Kingdom
    {Shape::UnionJack, 0, 0, 0, 240, 160, 0, 0},
    // 116 Argentina
    HORIZONTAL3(0x74ACDF, White, 0x74ACDF), {Shape::Disc, 0xF6B40E, 120, 80, 12, 0, 0, 0},
    // 120 Peru
    VERTICAL3(0xD91023, White, 0xD91023),
    // 123 Venezuela: an arc of stars in the middle band
    HORIZONTAL3(0xFFCC00, 0x00247D, 0xCF142B), {Shape::Dots, White, 84, 62, 156, 74, 4, 1},
    {Shape::Dots, White, 70, 74, 170, 86, 6, 1},
    // 128 Mexico: the emblem as a brown disc
    VERTICAL3(0x006847, White, 0xCE1126), {Shape::Disc, 0x8C5A2B, 120, 80, 20, 0, 0, 0},
    // 132 Brazil
    BOX(0x009B3A, 0, 0, 240, 160), {Shape::Diamond, 0xFEDF00, 120, 80, 102, 66, 0, 0},
    {Shape::Disc, 0x002776, 120, 80, 36, 0, 0, 0}, {Shape::Bar, White, 88, 72, 152, 88, 4, 0},
    // 136 Colombia
    BOX(0xFCD116, 0, 0, 240, 80), BOX(0x003893, 0, 80, 240, 120), BOX(0xCE1126, 0, 120, 240, 160),
};
#undef BOX
#undef VERTICAL3
#undef HORIZONTAL3
#undef CROSS

// In the order of the page's list of nations (1 = Italy).
constexpr Design Nations[] = {
    {0, 3},   {3, 2},   {5, 3},   {8, 3},   {11, 3},  {14, 3},  {17, 3},  {20, 3},   {23, 3},
    {26, 3},  {29, 5},  {34, 5},  {39, 4},  {43, 3},  {46, 3},  {49, 2},  {51, 3},   {54, 3},
    {57, 10}, {67, 3},  {70, 2},  {72, 9},  {81, 5},  {86, 5},  {91, 6},  {97, 8},   {105, 10},
    {115, 1}, {116, 4}, {120, 3}, {123, 5}, {128, 4}, {132, 4}, {136, 3},
};
constexpr int NationCount = int(sizeof(Nations) / sizeof(Nations[0]));

// Whether design point (x, y), in 1/16 design units, is inside the thick line a..b.
bool onBar(std::int64_t x, std::int64_t y, std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by,
           std::int64_t half)
{
    const std::int64_t dx = bx - ax, dy = by - ay, px = x - ax, py = y - ay;
    const std::int64_t length2 = dx * dx + dy * dy;
    std::int64_t along = px * dx + py * dy;
    along = along < 0 ? 0 : along > length2 ? length2 : along;
    if (length2 == 0) return px * px + py * py <= half * half;
    // Distance from the nearest point of the line, compared squared and scaled by its length.
    const std::int64_t ex = px * length2 - along * dx, ey = py * length2 - along * dy;
    const std::int64_t limit = half * length2;
    return ex / 64 * (ex / 64) + ey / 64 * (ey / 64) <= (limit / 64) * (limit / 64);
}

std::int64_t edgeSide(std::int64_t x, std::int64_t y, std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by)
{
    return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
}

// The colour of the union flag at (x, y) inside a w x h box (all in 1/16 design units).
std::uint32_t unionJackAt(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h)
{
    const std::int64_t cx = x - w / 2, cy = y - h / 2;
    const std::int64_t acx = cx < 0 ? -cx : cx, acy = cy < 0 ? -cy : cy;
    if (acx <= h / 10 || acy <= h / 10) return 0xC8102E;
    if (acx <= h / 6 || acy <= h / 6) return White;
    // The diagonals: distance from y*w = x*h (and its mirror), compared squared.
    const std::int64_t d1 = y * w - x * h, d2 = (h - y) * w - x * h;
    const std::int64_t norm2 = (w * w + h * h) / 256;
    const auto within = [&](std::int64_t d, std::int64_t half) { return (d / 16) * (d / 16) <= half * half * norm2; };
    if (within(d1, h / 30) || within(d2, h / 30)) return 0xC8102E;
    if (within(d1, h / 10) || within(d2, h / 10)) return White;
    return 0x012169;
}

std::uint32_t designColour(int nation, std::int64_t x, std::int64_t y)
{
    std::uint32_t colour = White;
    const Design &design = Nations[nation];
    for (int i = design.first; i < design.first + design.count; ++i) {
        const Layer &l = DesignLayers[i];
        const std::int64_t a = l.a * 16, b = l.b * 16, c = l.c * 16, d = l.d * 16, e = l.e * 16, f = l.f * 16;
        const bool inBox = x >= a && x < c && y >= b && y < d;
        switch (l.shape) {
        case Shape::Box:
            if (inBox) colour = l.colour;
            break;
        case Shape::Bands:
            if (inBox && ((y - b) * l.e / (d - b)) % 2 == 0) colour = l.colour;
            break;
        case Shape::Disc:
            if ((x - a) * (x - a) + (y - b) * (y - b) <= c * c && (l.e == 0 || (y >= d && y < e))) colour = l.colour;
            break;
        case Shape::Bar:
            if (onBar(x, y, a, b, c, d, e)) colour = l.colour;
            break;
        case Shape::Triangle: {
            const std::int64_t s1 = edgeSide(x, y, a, b, c, d), s2 = edgeSide(x, y, c, d, e, f),
                               s3 = edgeSide(x, y, e, f, a, b);
            if ((s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0)) colour = l.colour;
            break;
        }
        case Shape::Diamond: {
            const std::int64_t dx = x > a ? x - a : a - x, dy = y > b ? y - b : b - y;
            if (dx * d + dy * c <= c * d) colour = l.colour;
            break;
        }
        case Shape::Dots:
            if (inBox) {
                // The centre of the cell the point lies in.
                const std::int64_t column = (x - a) * l.e / (c - a), row = (y - b) * l.f / (d - b);
                const std::int64_t mx = a + (2 * column + 1) * (c - a) / (2 * l.e), my = b + (2 * row + 1) * (d - b) / (2 * l.f);
                if ((x - mx) * (x - mx) + (y - my) * (y - my) <= 48 * 48) colour = l.colour;
            }
            break;
        case Shape::UnionJack:
            if (inBox) colour = unionJackAt(x - a, y - b, c - a, d - b);
            break;
        }
    }
    return colour;
}

// The painting styles of the page, in its order: the pixels each plotted point sets.
struct Offset {
    std::int8_t x, y;
};
struct Pattern {
    Offset pixels[5];
    int count;
    int layout; // 0: a plain grid, 1 and 2: dithered (see draw)
};
constexpr Pattern Patterns[] = {
    {{{0, 0}}, 1, 0},                                  // small dots
    {{{0, 0}, {1, 0}}, 2, 0},                          // double dots
    {{{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}}, 5, 0}, // stars
    {{{-1, 0}, {1, 0}, {0, -1}, {0, 1}}, 4, 0},         // stars with central hole
    {{{0, -1}, {-1, 0}, {0, 0}, {1, 0}}, 4, 0},         // triangles
    {{{-1, 0}, {0, 0}, {1, 0}}, 3, 0},                  // triple dots
    {{{-1, 0}, {0, 0}, {1, 0}}, 3, 1},                  // triple dots dithered 1
    {{{-1, 0}, {0, 0}, {1, 0}}, 3, 2},                  // triple dots dithered 2
};

class Flag : public Effect {
public:
    // Whether the cloth is the user's picture rather than a nation's flag.
    explicit Flag(bool ownPicture) : m_ownPicture(ownPicture) {}

    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        m_res = clampInt(in.integer("res"), 1, std::min(m_width, m_height));
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;
        const std::uint32_t back = (std::uint32_t(in.integer("backR")) << 16) |
                                   (std::uint32_t(in.integer("backG")) << 8) | std::uint32_t(in.integer("backB"));
        m_background = in.background(m_ownPicture ? "backimage" : nullptr, back, m_innerWidth, m_innerHeight);
        m_pattern = Patterns[in.integer("pattern") - 1];
        m_spacing = in.integer("pixdensity");
        m_speed = in.integer("speed") * 24;
        m_curve = in.integer("curve");
        const int wind = in.integer("wind");
        const int nation = m_ownPicture ? 0 : in.integer("nation") - 1;
        const Picture *own = m_ownPicture ? &in.picture("flagload") : nullptr;

        // The flag takes 3/5 of the width, leaving room for the pole and for the waves; a nation's
        // flag is 3:2, the user's keeps its picture's proportions (within 1:4 .. 4:1).
        const int across = own ? clampInt(own->width, 1, 4 * std::max(1, own->height)) : 3;
        const int down = own ? clampInt(own->height, 1, 4 * across) : 2;
        m_flagWidth = std::max(1, m_innerWidth * 3 / 5);
        m_flagHeight = std::max(1, int(std::int64_t(m_flagWidth) * down / across));
        if (m_flagHeight > m_innerHeight * 3 / 5) {
            m_flagHeight = std::max(1, m_innerHeight * 3 / 5);
            m_flagWidth = std::max(1, int(std::int64_t(m_flagHeight) * across / down));
        }
        m_left = (m_innerWidth - m_flagWidth) / 2 + m_innerWidth / 20;
        m_top = (m_innerHeight - m_flagHeight) / 2 - m_innerHeight / 12;
        // A hurricane folds the cloth by a quarter of its height.
        m_amplitude = wind * m_flagHeight / 80;
        m_shade = std::min(150, wind * 14);
        // One and a half waves along the flag: the phase grows by this per pixel (1/4096 turn, 16.16).
        m_waveStep = std::int32_t((std::int64_t(3) * AngleSteps << 16) / (2 * m_flagWidth));

        m_cloth.resize(std::size_t(m_flagWidth) * std::size_t(m_flagHeight));
        for (int v = 0; v < m_flagHeight; ++v)
            for (int u = 0; u < m_flagWidth; ++u)
                m_cloth[std::size_t(v) * std::size_t(m_flagWidth) + std::size_t(u)] =
                    own ? smoothAt(*own, u, v)
                        : designColour(clampInt(nation, 0, NationCount - 1), (std::int64_t(2 * u + 1) * DesignWidth * 8) / m_flagWidth,
                                       (std::int64_t(2 * v + 1) * DesignHeight * 8) / m_flagHeight);
        m_inner.assign(std::size_t(m_innerWidth) * std::size_t(m_innerHeight), 0);
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;
        // The wave grows from the pole to the free end.
        m_reach.resize(std::size_t(m_flagWidth));
        for (int u = 0; u < m_flagWidth; ++u)
            m_reach[std::size_t(u)] = std::int32_t((std::int64_t(u + m_flagWidth / 10) << 16) / m_flagWidth);
    }

    void reset() override { m_time = 0; }

    void step() override { m_time = (m_time + m_speed) & AngleMask; }

    void draw(std::uint8_t *rgba) override
    {
        std::copy(m_background.begin(), m_background.end(), m_inner.begin());
        drawPole();
        // Dithered layouts shift every other row by half a step; the second one also puts the
        // rows twice as close, a point in the middle of each cell.
        const int rowStep = m_pattern.layout == 2 ? std::max(1, m_spacing / 2) : m_spacing;
        for (int v = 0, row = 0; v < m_flagHeight; v += rowStep, ++row) {
            const int shift = m_pattern.layout != 0 && row % 2 == 1 ? m_spacing / 2 : 0;
            for (int u = shift; u < m_flagWidth; u += m_spacing) plot(u, v);
        }
        showBlocks(m_inner, m_innerWidth, m_res, m_columns, m_width, m_height, rgba);
    }

private:
    // The picture's colour under cloth point (u, v), blended from its four nearest pixels: a small
    // flag picture (50 x 33) is enlarged several times.
    std::uint32_t smoothAt(const Picture &picture, int u, int v) const
    {
        // Positions in 1/256 pixel, at the cloth point's centre.
        const std::int64_t sx = std::max<std::int64_t>(0, (std::int64_t(2 * u + 1) * picture.width * 128) / m_flagWidth - 128);
        const std::int64_t sy = std::max<std::int64_t>(0, (std::int64_t(2 * v + 1) * picture.height * 128) / m_flagHeight - 128);
        const int x = int(sx >> 8), y = int(sy >> 8), fx = int(sx & 255), fy = int(sy & 255);
        const int x1 = std::min(x + 1, picture.width - 1), y1 = std::min(y + 1, picture.height - 1);
        const std::uint32_t a = picture.at(x, y), b = picture.at(x1, y), c = picture.at(x, y1), d = picture.at(x1, y1);
        std::uint32_t colour = 0;
        for (int shift = 16; shift >= 0; shift -= 8) {
            const auto channel = [shift](std::uint32_t p) { return int((p >> shift) & 0xFF); };
            const int top = channel(a) * (256 - fx) + channel(b) * fx, bottom = channel(c) * (256 - fx) + channel(d) * fx;
            colour |= std::uint32_t((top * (256 - fy) + bottom * fy) >> 16) << shift;
        }
        return colour;
    }

    // One point of the cloth: lifted by the wave, which grows from the pole to the free end,
    // and lit by the slope of its fold.
    void plot(int u, int v)
    {
        const std::int32_t ripple = std::int32_t(std::int64_t(m_curve) * 60 * sine(v * AngleSteps / (2 * m_flagHeight) + m_time * 2) / 65536);
        const std::int32_t phase = std::int32_t((std::int64_t(u) * m_waveStep >> 16)) - m_time * 2 + ripple + v * m_curve * 2;
        const std::int32_t wave = sine(phase) + sine(phase * 2 + m_time) * m_curve / 10;
        const std::int64_t reach = m_reach[std::size_t(u)];
        const std::int32_t lift = std::int32_t(std::int64_t(m_amplitude) * wave / 65536 * reach / 65536);
        const std::int32_t pull = std::int32_t(std::int64_t(m_amplitude) * (65536 - cosine(phase)) / 65536 * reach / (4 * 65536));
        const int light = 256 + std::int32_t(std::int64_t(m_shade) * cosine(phase - 300) / 65536);
        const std::uint32_t cloth = m_cloth[std::size_t(v) * std::size_t(m_flagWidth) + std::size_t(u)];
        std::uint32_t colour = 0;
        for (int shift = 16; shift >= 0; shift -= 8)
            colour |= std::uint32_t(toByte(int((cloth >> shift) & 0xFF) * light / 256)) << shift;
        const int x = m_left + u - pull, y = m_top + v + lift;
        for (int i = 0; i < m_pattern.count; ++i) set(x + m_pattern.pixels[i].x, y + m_pattern.pixels[i].y, colour);
        // Dots packed side by side make a closed cloth: each also covers the pixels right of and
        // below it (the next ones paint over them), so no seams open where a wave stretches it.
        if (m_spacing == 1) {
            set(x + 1, y, colour);
            set(x, y + 1, colour);
            set(x + 1, y + 1, colour);
        }
    }

    // A grey pole with a knob, left of the cloth, down to near the bottom.
    void drawPole()
    {
        const int thickness = std::max(1, m_flagHeight / 30);
        const int right = m_left - 1, left = right - thickness;
        for (int y = m_top - 2 * thickness; y < m_innerHeight - m_innerHeight / 20; ++y)
            for (int x = left; x <= right; ++x) set(x, y, x == left ? 0xE0E0E0 : 0x8A8A8A);
        for (int y = -thickness; y <= thickness; ++y)
            for (int x = -thickness; x <= thickness; ++x)
                if (x * x + y * y <= thickness * thickness) set(left + thickness / 2 + x, m_top - 2 * thickness - thickness + y, 0xD4AF37);
    }

    void set(int x, int y, std::uint32_t colour)
    {
        if (x >= 0 && y >= 0 && x < m_innerWidth && y < m_innerHeight)
            m_inner[std::size_t(y) * std::size_t(m_innerWidth) + std::size_t(x)] = colour;
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1;
    int m_flagWidth = 1, m_flagHeight = 1, m_left = 0, m_top = 0;
    int m_spacing = 1, m_speed = 0, m_curve = 1, m_amplitude = 0, m_shade = 0;
    std::int32_t m_waveStep = 0, m_time = 0;
    bool m_ownPicture = false;
    Pattern m_pattern = Patterns[0];
    std::vector<std::uint32_t> m_cloth; // the flag's colours, flag width x height
    std::vector<std::uint32_t> m_background; // colour or picture, at the applet's own resolution
    std::vector<std::uint32_t> m_inner;      // the applet at its own resolution
    std::vector<int> m_columns;
    std::vector<std::int32_t> m_reach; // by cloth column: how far the wave has grown, 16.16
};

} // namespace

EffectInfo flagEffect()
{
    return {"VxFlag.class",
            "FLAG",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"backR", ParamKind::Integer, "255", 0, 255, "20"},
                {"backG", ParamKind::Integer, "255", 0, 255, "40"},
                {"backB", ParamKind::Integer, "255", 0, 255, "90"},
                {"pattern", ParamKind::Integer, "8", 1, 8, "3"},
                {"speed", ParamKind::Integer, "4", 1, 8, "8"},
                {"curve", ParamKind::Integer, "3", 1, 5, "5"},
                {"wind", ParamKind::Integer, "8", 0, 20, "20"},
                {"nation", ParamKind::Integer, "1", 1, NationCount, "28"},
                {"pixdensity", ParamKind::Integer, "3", 1, 20, "8"},
            },
            [] { return std::unique_ptr<Effect>(new Flag(false)); },
            25};
}

EffectInfo flagloadEffect()
{
    return {"FlagLoad.class",
            "FLAGLOAD",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"backR", ParamKind::Integer, "255", 0, 255, "20", true, nullptr, "backimage=NO"},
                {"backG", ParamKind::Integer, "255", 0, 255, "40", true, nullptr, "backimage=NO"},
                {"backB", ParamKind::Integer, "255", 0, 255, "90", true, nullptr, "backimage=NO"},
                {"pattern", ParamKind::Integer, "8", 1, 8, "3"},
                {"speed", ParamKind::Integer, "4", 1, 8, "8"},
                {"curve", ParamKind::Integer, "3", 1, 5, "5"},
                {"wind", ParamKind::Integer, "8", 0, 20, "20"},
                {"flagload", ParamKind::Picture, "flag.gif", 0, 0, "missing.gif"},
                {"backimage", ParamKind::Picture, "NO", 0, 0, "flag.gif"},
                {"pixdensity", ParamKind::Integer, "3", 1, 20, "8"},
            },
            [] { return std::unique_ptr<Effect>(new Flag(true)); },
            25};
}

} // namespace vexa::effects
