// VOXEL: a flight over a voxel landscape, drawn column by column from the near ground to the
// horizon. The land is the map picture when one is given (heights from its brightness,
// colours from its colours), else a generated fractal landscape coloured by a palette.
#include "Blocks.h"
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// The land map wraps around: a power of two so a cell is found with a mask.
constexpr int MapBits = 9;
constexpr int MapSide = 1 << MapBits;
constexpr int MapMask = MapSide - 1;

// The page's palettes, in the order of its list: the colour of the lowest land, then of the
// highest. A repeated name on the page is a second shade of that colour.
struct PaletteEnds {
    std::uint32_t low, high;
};
constexpr PaletteEnds Palettes[] = {
    {0xC02010, 0x2040E0}, // red -> blue
    {0xE08020, 0x30C040}, // orange -> green
    {0x208030, 0x4060F0}, // green -> blue
    {0x1838A0, 0x58D848}, // blue -> green
    {0x20A030, 0xD03020}, // green -> red
    {0x2030C0, 0xE04030}, // blue -> red
    {0x806000, 0xFFE040}, // yellow
    {0xE0C020, 0x3050E0}, // yellow -> blue
    {0x401060, 0xC060F0}, // violet
    {0x600000, 0xFF4030}, // red
    {0x7020A0, 0x40D060}, // violet -> green
    {0xF080B0, 0x40C050}, // pink -> green
    {0x000060, 0x60A0FF}, // blue
    {0x103080, 0xD0E8FF}, // blue2
    {0x004060, 0x60E0FF}, // azure
    {0x003000, 0x60F060}, // green
    {0x204010, 0xD0FF90}, // green2
    {0x303030, 0xE0E0E0}, // gray
    {0x2040C0, 0xF0E040}, // blue -> yellow
    {0xA07010, 0xFFFFA0}, // yellow
    {0x30B0E0, 0xE03020}, // azure -> red
    {0x30A040, 0xA040E0}, // green -> violet
    {0x802010, 0xFFC0A0}, // red
    {0x200040, 0xFFA0FF}, // violet
    {0x101010, 0xFFFFFF}, // gray
    {0x504840, 0xD0C8C0}, // gray2
    {0x404858, 0xC0C8D8}, // gray3
};
constexpr int PaletteCount = int(sizeof(Palettes) / sizeof(Palettes[0]));

// A generated landscape's lowest land is a flat plain (a lake in most palettes).
constexpr int PlainLevel = 72;
// The view: half the width of the view over the focal length (about 62 degrees across), and
// the horizon's row as a share of the height (the camera looks a little down).
constexpr int FocalSixths = 5;          // focal length = width * 5/6
constexpr int HorizonRowPercent = 30;
// The flight: speed in 1/256 map cells a frame, height kept above the ground ahead.
constexpr int FlightSpeed = 320;
constexpr int Clearance = 40 * 256;
// The view reaches this far before "horizon" adds to it (map cells).
constexpr int BaseViewDistance = 240;

std::uint32_t mix(std::uint32_t a, std::uint32_t b, int amount) // amount 0..256 of b
{
    std::uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const int ca = int((a >> shift) & 255), cb = int((b >> shift) & 255);
        out |= std::uint32_t(ca + ((cb - ca) * amount) / 256) << shift;
    }
    return out;
}

std::uint32_t scaled(std::uint32_t colour, int light) // light in 1/256
{
    std::uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8)
        out |= std::uint32_t(toByte(int((colour >> shift) & 255) * light / 256)) << shift;
    return out;
}

int brightness(std::uint32_t colour)
{
    return int((((colour >> 16) & 255) * 77 + ((colour >> 8) & 255) * 150 + (colour & 255) * 29) >> 8);
}

class Voxel : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // "res" draws the landscape at 1/res of the applet's size, in blocks of res x res.
        m_res = in.integer("res");
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;
        m_inner.assign(std::size_t(m_innerWidth) * std::size_t(m_innerHeight), 0);
        m_sky = (std::uint32_t(in.integer("backr")) << 16) | (std::uint32_t(in.integer("backg")) << 8) |
                std::uint32_t(in.integer("backb"));
        const PaletteEnds palette = Palettes[clampInt(in.integer("numpal") - 1, 0, PaletteCount - 1)];
        const int roughness = in.integer("roughness");

        m_heights.assign(std::size_t(MapSide) * MapSide, 0);
        m_colours.assign(std::size_t(MapSide) * MapSide, 0);
        bool paletteColours = true;
        if (in.hasPicture("mapimg")) {
            paletteColours = readMap(in.picture("mapimg"), roughness);
        } else {
            generateMap(roughness);
        }
        colourMap(palette, paletteColours, in.integer("shadow"));

        // The distances the rays sample: finer near the eye, coarser far away, where a cell
        // covers less than a pixel anyway. The last stretch fades into the sky's colour.
        const std::int64_t farthest = std::int64_t(BaseViewDistance + in.integer("horizon")) << 16;
        m_focal = std::max(1, m_innerWidth * FocalSixths / 6);
        m_depths.clear();
        m_perspective.clear();
        m_fog.clear();
        m_depths.reserve(2048);
        for (std::int64_t z = 1 << 16; z < farthest && m_depths.size() < 2048; z += (1 << 15) + z / 48) {
            m_depths.push_back(std::int32_t(z));
            m_perspective.push_back((std::int64_t(m_focal) << 32) / z);
            const std::int64_t fogStart = farthest * 2 / 5;
            m_fog.push_back(z < fogStart ? 0 : int(((z - fogStart) * 256) / (farthest - fogStart)));
        }
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;
        m_columnX.resize(std::size_t(m_innerWidth));
        // Each column's ray leans sideways by its distance from the middle over the focal length.
        for (int x = 0; x < m_innerWidth; ++x)
            m_columnX[std::size_t(x)] = std::int32_t((std::int64_t(2 * x + 1 - m_innerWidth) * 65536 * 3) / (5 * m_innerWidth));
    }

    void reset() override
    {
        m_frame = 0;
        m_x = std::int64_t(MapSide / 2) << 16;
        m_y = std::int64_t(MapSide / 2) << 16;
        m_eye = groundAhead() + Clearance;
    }

    void step() override
    {
        ++m_frame;
        const int heading = this->heading();
        m_x += std::int64_t(cosine(heading)) * FlightSpeed / 256;
        m_y += std::int64_t(sine(heading)) * FlightSpeed / 256;
        // Glide towards the height that clears the ground ahead, never through it.
        const int wanted = groundAhead() + Clearance;
        m_eye += (wanted - m_eye) / 12;
        m_eye = std::max(m_eye, groundAt(m_x, m_y) + Clearance / 3);
    }

    void draw(std::uint8_t *rgba) override
    {
        render();
        showBlocks(m_inner, m_innerWidth, m_res, m_columns, m_width, m_height, rgba);
    }

private:
    // The flight turns slowly one way with a gentle sway.
    int heading() const { return (m_frame * 2 + sine(m_frame * 6) * 160 / 65536) & AngleMask; }

    static std::size_t cellOf(std::int64_t x, std::int64_t y)
    {
        // Casting to unsigned wraps negative positions the same way the map wraps.
        const std::uint32_t cx = (std::uint32_t(std::uint64_t(x)) >> 16) & MapMask;
        const std::uint32_t cy = (std::uint32_t(std::uint64_t(y)) >> 16) & MapMask;
        return std::size_t(cy) * MapSide + cx;
    }
    int groundAt(std::int64_t x, std::int64_t y) const { return int(m_heights[cellOf(x, y)]) * HeightScale; }
    int groundAhead() const
    {
        const int heading = this->heading();
        int highest = 0;
        for (int ahead = 0; ahead <= 48; ahead += 8)
            highest = std::max(highest, groundAt(m_x + std::int64_t(cosine(heading)) * ahead, m_y + std::int64_t(sine(heading)) * ahead));
        return highest;
    }

    // A map picture of any size, stretched over the map: heights from its brightness (taller
    // with more roughness), colours from the picture unless it is grey (then the palette's).
    bool readMap(const Picture &picture, int roughness)
    {
        bool grey = true;
        for (int y = 0; y < MapSide; ++y) {
            const int py = int((std::int64_t(y) * picture.height) / MapSide);
            for (int x = 0; x < MapSide; ++x) {
                const std::uint32_t colour = picture.at(int((std::int64_t(x) * picture.width) / MapSide), py);
                const int r = int(colour >> 16) & 255, g = int(colour >> 8) & 255, b = int(colour) & 255;
                if (std::max({r, g, b}) - std::min({r, g, b}) > 12) grey = false;
                m_heights[std::size_t(y) * MapSide + std::size_t(x)] = toByte(brightness(colour) * roughness / 100);
                m_colours[std::size_t(y) * MapSide + std::size_t(x)] = colour;
            }
        }
        smoothHeights();
        return grey;
    }

    // Midpoint displacement over the wrapping map: each finer level adds random height of
    // (roughness + 150)/500 of the level above (0.4..0.7), so more roughness keeps more small bumps.
    void generateMap(int roughness)
    {
        std::vector<std::int32_t> land(std::size_t(MapSide) * MapSide, 0);
        auto at = [&land](int x, int y) -> std::int32_t & {
            return land[std::size_t(y & MapMask) * MapSide + std::size_t(x & MapMask)];
        };
        Random random(0x70C5E1u);
        std::int32_t amount = 1 << 20;
        std::int32_t level = amount; // this level's random height
        auto jitter = [&random, &level] { return std::int32_t(random.below(std::uint32_t(2 * level + 1))) - level; };
        for (int side = MapSide; side > 1; side /= 2) {
            const int half = side / 2;
            // The widest levels only tilt the land a little: hills about a quarter of the map
            // wide set the landscape's shape.
            level = side > MapSide / 4 ? amount / 4 : amount;
            for (int y = 0; y < MapSide; y += side)
                for (int x = 0; x < MapSide; x += side)
                    at(x + half, y + half) = (at(x, y) + at(x + side, y) + at(x, y + side) + at(x + side, y + side)) / 4 + jitter();
            for (int y = 0; y < MapSide; y += half)
                for (int x = (y / half) % 2 == 0 ? half : 0; x < MapSide; x += side)
                    at(x, y) = (at(x - half, y) + at(x + half, y) + at(x, y - half) + at(x, y + half)) / 4 + jitter();
            amount = std::max<std::int32_t>(1, std::int32_t(std::int64_t(amount) * (roughness + 150) / 500));
        }
        const auto range = std::minmax_element(land.begin(), land.end());
        const std::int64_t low = *range.first, span = std::max<std::int64_t>(1, std::int64_t(*range.second) - low);
        for (std::size_t i = 0; i < land.size(); ++i)
            m_heights[i] = std::uint8_t(std::max<std::int64_t>(PlainLevel, ((land[i] - low) * 255) / span));
        smoothHeights();
    }

    // Softens single-cell steps, which would stand as thin walls in the landscape.
    void smoothHeights()
    {
        std::vector<std::uint8_t> soft(m_heights.size());
        for (int y = 0; y < MapSide; ++y)
            for (int x = 0; x < MapSide; ++x) {
                int sum = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        sum += m_heights[std::size_t((y + dy) & MapMask) * MapSide + std::size_t((x + dx) & MapMask)];
                soft[std::size_t(y) * MapSide + std::size_t(x)] = std::uint8_t(sum / 9);
            }
        m_heights.swap(soft);
    }

    // Bakes the light into the colours: slopes facing the low sun (from -x) are lit, the
    // others darker, and land behind a taller ridge lies in its shadow; "shadow" sets how
    // strong both are.
    void colourMap(const PaletteEnds &palette, bool paletteColours, int shadow)
    {
        for (int y = 0; y < MapSide; ++y) {
            const std::uint8_t *row = &m_heights[std::size_t(y) * MapSide];
            // The sun's shadow line: it starts from a full sweep so the wrap is right.
            int shade = 0;
            for (int x = 0; x < MapSide; ++x) shade = std::max(shade - SunDrop, int(row[x]) * 4);
            for (int x = 0; x < MapSide; ++x) {
                const int h = row[x];
                shade = std::max(shade - SunDrop, h * 4);
                const bool shaded = h * 4 < shade - 2;
                const int slope = int(row[(x + MapSide - 1) & MapMask]) - int(row[(x + 1) & MapMask]);
                int light = 256 - slope * shadow / 2 + 16;
                if (shaded) light = light * std::max(20, 100 - shadow * 2) / 100;
                light = clampInt(light, 40, 420);
                std::uint32_t &colour = m_colours[std::size_t(y) * MapSide + std::size_t(x)];
                std::uint32_t base = colour;
                if (paletteColours) {
                    // Higher land is the palette's upper colour, and a little brighter.
                    base = scaled(mix(palette.low, palette.high, h), 180 + h / 3);
                }
                colour = scaled(base, light);
            }
        }
    }

    // One column at a time from the eye outwards: a piece of land shows where it rises above
    // everything nearer (the lowest row drawn so far in that column).
    void render()
    {
        const int heading = this->heading();
        const std::int64_t forwardX = cosine(heading), forwardY = sine(heading);
        const int horizonRow = m_innerHeight * HorizonRowPercent / 100;
        const std::size_t stride = std::size_t(m_innerWidth);
        const std::size_t depthCount = m_depths.size();
        const std::int32_t *depths = m_depths.data();
        const std::int64_t *perspective = m_perspective.data();
        const std::uint8_t *heights = m_heights.data();
        // Positions as unsigned numbers: they wrap as the map wraps.
        const std::uint64_t eyeX = std::uint64_t(m_x), eyeY = std::uint64_t(m_y);
        const std::int64_t eye = m_eye;
        for (int column = 0; column < m_innerWidth; ++column) {
            const std::int64_t side = m_columnX[std::size_t(column)];
            const std::int64_t rayX = forwardX - forwardY * side / 65536;
            const std::int64_t rayY = forwardY + forwardX * side / 65536;
            int lowestFree = m_innerHeight; // rows from here down are drawn
            // Land shows where its rise (its height over the eye's, times the perspective)
            // puts it above the lowest free row: the test needs no division.
            std::int64_t below = std::int64_t(lowestFree - horizonRow) * RowUnit;
            std::uint32_t *pixel = &m_inner[std::size_t(column)];
            for (std::size_t i = 0; i < depthCount; ++i) {
                const std::int64_t z = depths[i];
                // A negative product shifted as unsigned is the floor plus 2^48: no bit a
                // cell reads changes.
                const std::uint32_t cx = std::uint32_t((eyeX + (std::uint64_t(rayX * z) >> 16)) >> 16) & MapMask;
                const std::uint32_t cy = std::uint32_t((eyeY + (std::uint64_t(rayY * z) >> 16)) >> 16) & MapMask;
                const std::size_t cell = std::size_t(cy) * MapSide + cx;
                const std::int64_t rise = (eye - std::int64_t(heights[cell]) * HeightScale) * perspective[i];
                if (rise >= below) continue;
                const std::int64_t row = horizonRow + rise / RowUnit;
                const int top = row < 0 ? 0 : int(std::min<std::int64_t>(row, lowestFree));
                const std::uint32_t colour = mix(m_colours[cell], m_sky, m_fog[i]);
                for (int y = top; y < lowestFree; ++y) pixel[std::size_t(y) * stride] = colour;
                lowestFree = top;
                if (lowestFree == 0) break;
                below = std::int64_t(lowestFree - horizonRow) * RowUnit;
            }
            for (int y = 0; y < lowestFree; ++y) pixel[std::size_t(y) * stride] = m_sky;
        }
    }

    // The perspective's products are rows in this unit.
    static constexpr std::int64_t RowUnit = std::int64_t(1) << 24;
    // Map heights (0..255) to world height in 1/256 map cells.
    static constexpr int HeightScale = 110;
    // How fast the sun's shadow line sinks per cell, in quarter height steps.
    static constexpr int SunDrop = 3;

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1, m_focal = 1;
    std::uint32_t m_sky = 0;
    std::vector<std::uint8_t> m_heights;   // MapSide x MapSide
    std::vector<std::uint32_t> m_colours;  // MapSide x MapSide, lit
    std::vector<std::int32_t> m_depths;    // 16.16 map cells
    std::vector<std::int64_t> m_perspective; // focal / depth, 16.16
    std::vector<int> m_fog;                // 0..256 towards the sky's colour
    std::vector<std::int32_t> m_columnX;   // sideways slope of each column's ray, 16.16
    std::vector<std::uint32_t> m_inner;
    std::vector<int> m_columns;            // each pixel column's inner column
    int m_frame = 0;
    std::int64_t m_x = 0, m_y = 0; // 16.16 map cells
    int m_eye = 0;                 // 1/256 map cells
};

} // namespace

EffectInfo voxelEffect()
{
    return {"voxel.class",
            "VOXEL",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"shadow", ParamKind::Integer, "20", 0, 100, "70"},
                {"roughness", ParamKind::Integer, "100", 50, 200, "170"},
                {"numpal", ParamKind::Integer, "4", 1, PaletteCount, "1"},
                {"backr", ParamKind::Integer, "0", 0, 255, "200"},
                {"backg", ParamKind::Integer, "0", 0, 255, "160"},
                {"backb", ParamKind::Integer, "0", 0, 255, "255"},
                {"horizon", ParamKind::Integer, "100", 0, 500, "0"},
                {"mapimg", ParamKind::Picture, "NO", 0, 0, "sample.jpg"},
            },
            [] { return std::unique_ptr<Effect>(new Voxel); },
            25};
}

} // namespace vexa::effects
