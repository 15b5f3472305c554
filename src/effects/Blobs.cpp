// BLOBS: glowing metaballs drifting over the applet; where they meet, their glows add up and
// they melt into one another.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// The colour palettes of the page's palette list: glow 0..255 runs through these stops.
struct Stop {
    int at;
    std::uint32_t colour;
};
constexpr int StopsPerPalette = 5;
constexpr Stop Palettes[][StopsPerPalette] = {
    {{0, 0x000000}, {80, 0x800000}, {150, 0xF04000}, {210, 0xFFD020}, {255, 0xFFFFFF}}, // fire
    {{0, 0x000000}, {80, 0x000070}, {150, 0x0050E0}, {210, 0x40E0FF}, {255, 0xFFFFFF}}, // ice
    {{0, 0x000000}, {80, 0x004000}, {150, 0x00B020}, {210, 0xB0FF30}, {255, 0xFFFFFF}}, // acid
    {{0, 0x000000}, {80, 0x400060}, {150, 0xB000C0}, {210, 0xFF70D0}, {255, 0xFFFFFF}}, // violet
    {{0, 0x000000}, {70, 0x0030A0}, {130, 0x00B060}, {190, 0xF0E000}, {255, 0xFF2000}}, // rainbow
    {{0, 0x000000}, {80, 0x303030}, {150, 0x808080}, {210, 0xC8C8D0}, {255, 0xFFFFFF}}, // silver
};
constexpr int PaletteCount = int(sizeof Palettes / sizeof Palettes[0]);

// A blob's shape is looked up by its squared distance, measured so that Intensity J (across)
// and K (down) are the squares of its reach: s = dx*dx/J + dy*dy/K, in 1/Reach units.
constexpr std::int64_t Reach = 4096;
constexpr std::uint64_t ShapeEnd = 65536; // s = 16: beyond four times its reach a blob adds nothing
// Within one reach every s has its own entry; beyond it the glow changes slowly, so entries
// cover 16 steps each, which keeps the table small enough to stay in the processor's cache.
constexpr std::uint64_t ShapeKnee = Reach;
constexpr int FarShift = 4;
constexpr std::size_t ShapeEntries = ShapeKnee + ((ShapeEnd - ShapeKnee) >> FarShift);
std::size_t shapeEntry(std::uint64_t s)
{
    s = std::min(s, ShapeEnd - 1);
    return std::size_t(s < ShapeKnee ? s : ShapeKnee + ((s - ShapeKnee) >> FarShift));
}
// Glow of one blob at s, in 1/64 of a palette step at full intensity: Brightness / s.
constexpr std::int64_t Brightness = 2 * Reach * 64;
// The page's intensity I is out of this: 256 draws the glow as the shape gives it.
constexpr int FullIntensity = 256;

// A star is the round shape stretched this many times (squared) along its four arms, and
// pulled in this strongly between them by |dx * dy|.
constexpr std::uint64_t StarArmLength = 3;
constexpr std::uint64_t StarPull = 3;
// The pull is |dx * dy| / sqrt(J * K) in 1/Reach units with dx, dy in 1/16 pixels; the
// across part carries the constant factors, with StarShift bits kept for precision.
constexpr int StarShift = 12;
constexpr std::uint64_t StarScale = (Reach * StarPull << StarShift) / 256;

// Blob speeds are in half pixels per frame; a blob goes up to half as fast again as the least.
constexpr std::int64_t HalfPixel = 32768;                       // in 16.16 pixels
constexpr std::int64_t FullTurn = std::int64_t(AngleSteps) << 16; // in 16.16 angle steps
constexpr std::int64_t TwoPi = 411775;                          // 2 * pi in 16.16

struct Blob {
    // Straight mode: a start point and a velocity, bouncing between the edges (16.16 pixels).
    std::int64_t startX, startY, velocityX, velocityY;
    // Sine mode: sways around the centre, each axis at its own rate (16.16 angle steps, kept
    // within one turn, so a negative rate is a turn less its size).
    std::int64_t phaseX, phaseY, rateX, rateY, swayX, swayY;
};

// A position moving at a constant velocity inside 0..length, reflected at both ends.
std::int64_t bounced(std::int64_t position, std::int64_t length)
{
    if (length <= 0) return 0;
    const std::int64_t period = 2 * length;
    std::int64_t p = position % period;
    if (p < 0) p += period;
    return p <= length ? p : period - p;
}

class Blobs : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        m_res = in.integer("res");
        m_cols = (m_width + m_res - 1) / m_res;
        m_rows = (m_height + m_res - 1) / m_res;
        m_intensity = in.integer("bval1");
        m_reachX = in.integer("bval2");
        m_reachY = in.integer("bval3");
        m_sineMode = in.flag("sinemode");
        m_star = in.flag("starshape");
        // The star's arms are measured by |dx * dy| against the geometric mean of both reaches.
        m_starReach = std::max<std::int64_t>(1, squareRoot(std::uint64_t(m_reachX) * std::uint64_t(m_reachY)));

        makePalette(in.integer("numpal") - 1, in.flag("negative"));
        m_shape.resize(ShapeEntries);
        for (std::size_t entry = 0; entry < ShapeEntries; ++entry) {
            const std::int64_t s = std::int64_t(entry < ShapeKnee ? entry : ShapeKnee + ((entry - ShapeKnee) << FarShift));
            m_shape[entry] = std::uint16_t(std::min<std::int64_t>(65535, Brightness / (s + 1)));
        }

        placeBlobs(in.integer("nblobs"), in.integer("minspeed"));

        m_columnDistance.assign(m_blobs.size() * std::size_t(m_cols), 0);
        m_rowDistance.assign(m_blobs.size() * std::size_t(m_rows), 0);
        m_columnStar.assign(m_blobs.size() * std::size_t(m_cols), 0);
        m_rowStar.assign(m_blobs.size() * std::size_t(m_rows), 0);
        m_rowSum.assign(std::size_t(m_cols), 0);
        m_glow.assign(std::size_t(m_cols) * std::size_t(m_rows), 0);
        m_blockOf.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_blockOf[std::size_t(x)] = x / m_res;
    }

    void reset() override
    {
        m_frame = 0;
        computeGlow();
    }

    void step() override
    {
        ++m_frame;
        computeGlow();
    }

    void draw(std::uint8_t *rgba) override
    {
        for (int y = 0; y < m_height; ++y) {
            const std::uint8_t *glow = &m_glow[std::size_t(y / m_res) * std::size_t(m_cols)];
            for (int x = 0; x < m_width; ++x) {
                const std::uint32_t colour = m_palette[glow[m_blockOf[std::size_t(x)]]];
                *rgba++ = std::uint8_t(colour >> 16);
                *rgba++ = std::uint8_t(colour >> 8);
                *rgba++ = std::uint8_t(colour);
                *rgba++ = 255;
            }
        }
    }

private:
    void makePalette(int number, bool negative)
    {
        const Stop *stops = Palettes[clampInt(number, 0, PaletteCount - 1)];
        for (int k = 0; k + 1 < StopsPerPalette; ++k) {
            const Stop &from = stops[k], &to = stops[k + 1];
            for (int i = from.at; i <= to.at; ++i) {
                std::uint32_t colour = 0;
                for (int shift = 16; shift >= 0; shift -= 8) {
                    const int a = int((from.colour >> shift) & 255), b = int((to.colour >> shift) & 255);
                    const int level = a + (b - a) * (i - from.at) / (to.at - from.at);
                    colour |= std::uint32_t(negative ? 255 - level : level) << shift;
                }
                m_palette[i] = colour;
            }
        }
    }

    // Every blob gets a random start, direction and speed of at least the minimum speed.
    void placeBlobs(int count, int minimumSpeed)
    {
        Random random(0xB10B5u);
        m_blobs.resize(std::size_t(count));
        const std::int64_t width = std::int64_t(m_width) << 16, height = std::int64_t(m_height) << 16;
        for (Blob &blob : m_blobs) {
            const std::int64_t speed =
                (minimumSpeed + std::int64_t(random.below(std::uint32_t(minimumSpeed / 2 + 1)))) * HalfPixel;
            const std::int32_t heading = std::int32_t(random.below(AngleSteps));
            blob.startX = std::int64_t(random.below(std::uint32_t(m_width))) << 16;
            blob.startY = std::int64_t(random.below(std::uint32_t(m_height))) << 16;
            blob.velocityX = speed * cosine(heading) / 65536;
            blob.velocityY = speed * sine(heading) / 65536;
            // Sways reach 20..45% of the applet from its centre; the angular rate makes the
            // blob's speed along its path about the same as in straight mode.
            blob.swayX = width * (20 + random.below(26)) / 100;
            blob.swayY = height * (20 + random.below(26)) / 100;
            blob.phaseX = std::int64_t(random.below(AngleSteps)) << 16;
            blob.phaseY = std::int64_t(random.below(AngleSteps)) << 16;
            const std::int64_t sway = std::max<std::int64_t>(65536, (blob.swayX + blob.swayY) / 2);
            const std::int64_t rate = speed * FullTurn / (TwoPi * sway / 65536);
            blob.rateX = (rate * (70 + random.below(61)) / 100) % FullTurn;
            blob.rateY = (rate * (70 + random.below(61)) / 100) % FullTurn;
            if (random.below(2)) blob.rateY = (FullTurn - blob.rateY) % FullTurn; // the other way round
        }
    }

    // Where a blob is at the current frame, in 1/16 pixels (smooth even at slow speeds).
    void position(const Blob &blob, std::int64_t &x, std::int64_t &y) const
    {
        const std::int64_t t = m_frame;
        if (m_sineMode) {
            const std::int32_t angleX = std::int32_t(((blob.phaseX + blob.rateX * t) >> 16) & AngleMask);
            const std::int32_t angleY = std::int32_t(((blob.phaseY + blob.rateY * t) >> 16) & AngleMask);
            x = (std::int64_t(m_width) << 15) + blob.swayX * sine(angleX) / 65536;
            y = (std::int64_t(m_height) << 15) + blob.swayY * sine(angleY) / 65536;
        } else {
            x = bounced(blob.startX + blob.velocityX * t, std::int64_t(m_width - 1) << 16);
            y = bounced(blob.startY + blob.velocityY * t, std::int64_t(m_height - 1) << 16);
        }
        x /= 4096;
        y /= 4096;
    }

    // The glow of every block: the blobs' shapes looked up by distance and added.
    void computeGlow()
    {
        const std::size_t count = m_blobs.size(), cols = std::size_t(m_cols), rows = std::size_t(m_rows);
        // Distances are separable: per blob, one table across and one down.
        for (std::size_t b = 0; b < count; ++b) {
            std::int64_t bx = 0, by = 0;
            position(m_blobs[b], bx, by);
            for (std::size_t col = 0; col < cols; ++col) {
                const std::int64_t dx = std::int64_t(col) * m_res * 16 + m_res * 8 - bx;
                m_columnDistance[b * cols + col] = squaredReach(dx, m_reachX);
                m_columnStar[b * cols + col] = std::uint64_t(dx < 0 ? -dx : dx) * StarScale / std::uint64_t(m_starReach);
            }
            for (std::size_t row = 0; row < rows; ++row) {
                const std::int64_t dy = std::int64_t(row) * m_res * 16 + m_res * 8 - by;
                m_rowDistance[b * rows + row] = squaredReach(dy, m_reachY);
                m_rowStar[b * rows + row] = std::uint64_t(dy < 0 ? -dy : dy);
            }
        }
        const std::uint16_t *shape = m_shape.data();
        std::uint32_t *sum = m_rowSum.data();
        std::uint8_t *out = m_glow.data();
        for (std::size_t row = 0; row < rows; ++row) {
            std::fill(m_rowSum.begin(), m_rowSum.end(), 0u);
            for (std::size_t b = 0; b < count; ++b) {
                const std::uint32_t *across = &m_columnDistance[b * cols];
                const std::uint32_t down = m_rowDistance[b * rows + row];
                if (!m_star) {
                    for (std::size_t col = 0; col < cols; ++col)
                        sum[col] += shape[shapeEntry(across[col] + down)];
                    continue;
                }
                // A star's round glow reaches further, but only along its arms: away from them
                // the |dx * dy| term pulls it back in.
                const std::uint64_t *armAcross = &m_columnStar[b * cols];
                const std::uint64_t armDown = m_rowStar[b * rows + row];
                for (std::size_t col = 0; col < cols; ++col) {
                    const std::uint64_t s = (across[col] + down) / StarArmLength + ((armAcross[col] * armDown) >> StarShift);
                    sum[col] += shape[shapeEntry(s)];
                }
            }
            for (std::size_t col = 0; col < cols; ++col)
                *out++ = std::uint8_t(std::min<std::uint64_t>(std::uint64_t(sum[col]) * std::uint64_t(m_intensity) / (64 * FullIntensity), 255));
        }
    }

    // d * d / reach in 1/Reach units, from d in 1/16 pixels; far ones stop at the shape's end.
    static std::uint32_t squaredReach(std::int64_t d, std::int64_t reach)
    {
        return std::uint32_t(std::min<std::int64_t>(ShapeEnd, d * d * Reach / (reach * 256)));
    }

    int m_width = 0, m_height = 0, m_res = 1, m_cols = 1, m_rows = 1;
    std::int64_t m_intensity = FullIntensity, m_reachX = 1, m_reachY = 1, m_starReach = 1;
    bool m_sineMode = true, m_star = false;
    std::uint32_t m_frame = 0;
    std::uint32_t m_palette[256] = {};
    std::vector<std::uint16_t> m_shape; // glow by scaled squared distance, entries as shapeEntry() picks
    std::vector<Blob> m_blobs;
    // Per blob: scaled squared distance of each column / row, and plain distance for the star.
    std::vector<std::uint32_t> m_columnDistance, m_rowDistance;
    std::vector<std::uint64_t> m_columnStar, m_rowStar; // |dx| scaled for the star term, |dy|
    std::vector<std::uint32_t> m_rowSum;               // glow of one row of blocks, summed
    std::vector<std::uint8_t> m_glow; // palette entry per block, cols x rows
    std::vector<int> m_blockOf;       // the block column of each pixel column
};

} // namespace

EffectInfo blobsEffect()
{
    return {"blobs.class",
            "BLOBS",
            {
                {"res", ParamKind::Integer, "2", 1, 8, "8"},
                {"nblobs", ParamKind::Integer, "6", 2, 8, "2"},
                {"minspeed", ParamKind::Integer, "4", 1, 15, "15"},
                {"bval1", ParamKind::Integer, "210", 1, 2000, "600"},
                {"bval2", ParamKind::Integer, "35600", 100, 10000000, "150000"},
                {"bval3", ParamKind::Integer, "35600", 100, 10000000, "8000"},
                {"numpal", ParamKind::Integer, "1", 1, 6, "2"},
                {"sinemode", ParamKind::Flag, "YES", 0, 1, "NO"},
                {"starshape", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"negative", ParamKind::Flag, "NO", 0, 1, "YES"},
            },
            [] { return std::unique_ptr<Effect>(new Blobs); },
            25};
}

} // namespace vexa::effects
