// ROT: the picture turned, zoomed and waved about the applet's centre, tiled over the whole
// applet or shown once over a background. Each frame maps the applet's pixels back into the
// picture with one affine map, bent by two waves (along the rows and along the columns).
#include "Blocks.h"
#include "Effect.h"
#include "Maths.h"

#include <algorithm>

namespace vexa::effects {
namespace {

// What each entry of the page's modality list moves: zoom, rotation, distortion.
struct Modality {
    bool zooms;
    bool rotates;
    bool distorts;
};
constexpr Modality Modalities[] = {
    {true, true, false},  // Zoom and rotate
    {false, true, false}, // Rotate only
    {true, false, false}, // Zoom only
    {false, false, true}, // Distort only
    {true, false, true},  // Zoom and distort
};
constexpr int ModalityCount = int(sizeof(Modalities) / sizeof(Modalities[0]));
constexpr int Automatic = ModalityCount + 1; // cycles through zoom only, zoom and rotate, zoom and distort
constexpr int ZoomOnly = 2, ZoomAndRotate = 0, ZoomAndDistort = 4; // indices into Modalities

constexpr int MillisecondsPerFrame = 40;  // 25 frames a second
constexpr int FadeFrames = 8;            // automatic changes fade rotation and waves in and out
constexpr int Full = 256;                // weight of a fully present rotation or wave
constexpr int RestingZoom = 20;          // the zoom factor where one picture pixel is one applet pixel
constexpr int RotationPerSpeed = 8;      // 1/4096 turn per frame for each step of the rotation speed
constexpr int WavePerSpeed = 32;         // wave phase per frame for each step of that speed
constexpr int ZoomPerSpeed = 14;         // zoom phase per frame for each step of the zoom speed
constexpr int SpanBits = 28;             // picture coordinates: one picture width or height is 2^28
constexpr std::int64_t Span = std::int64_t(1) << SpanBits;

// Zoom factor (16.16) to magnification (16.16): factor 20 is 1:1, 0 a fifth, 80 four times.
std::int64_t magnification(std::int64_t factor) { return (factor + (std::int64_t(5) << 16)) / 25; }

class Rot : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        // "res" draws at 1/res of the applet's size, in blocks of res x res pixels.
        m_res = in.integer("res");
        m_innerWidth = (m_width + m_res - 1) / m_res;
        m_innerHeight = (m_height + m_res - 1) / m_res;

        const Picture &picture = in.picture("image");
        m_picWidth = picture.width;
        m_picHeight = picture.height;
        m_picture.resize(std::size_t(m_picWidth) * std::size_t(m_picHeight));
        for (int y = 0; y < m_picHeight; ++y)
            for (int x = 0; x < m_picWidth; ++x) m_picture[std::size_t(y) * std::size_t(m_picWidth) + std::size_t(x)] = picture.at(x, y);

        m_modality = in.integer("rotmode");
        m_rotationSpeed = in.integer("rspeed");
        m_zoomMin = std::int64_t(in.integer("zoommin")) << 16;
        m_zoomMax = std::int64_t(in.integer("zoommax")) << 16;
        m_zoomSpeed = in.integer("zoomspd");
        m_waveX = in.integer("modix");
        m_waveY = in.integer("modiy");
        // Strength 1..255 is the waves' height in applet pixels times two; kept in 1/16 inner pixels.
        m_waveHeight = in.integer("distval") * 8 / m_res;
        // Automatic: zoom only for the first pause, zoom and rotate for the second, then zoom and
        // distort for as long as both, and again (milliseconds to frames, rounded up).
        const int zoomOnly = (in.integer("auto1") + MillisecondsPerFrame - 1) / MillisecondsPerFrame;
        const int rotating = (in.integer("auto2") + MillisecondsPerFrame - 1) / MillisecondsPerFrame;
        m_phaseEnds[0] = zoomOnly;
        m_phaseEnds[1] = zoomOnly + rotating;
        m_phaseEnds[2] = 2 * (zoomOnly + rotating);

        m_tile = in.flag("tile");
        m_background.clear();
        if (!m_tile) {
            // Shown once, the picture lies on the background picture (tiled from the top left) or,
            // without one, on the background colour.
            const Picture &back = in.picture("backimage");
            const bool hasBack = in.hasPicture("backimage");
            const std::uint32_t colour = (std::uint32_t(in.integer("backr")) << 16) |
                                         (std::uint32_t(in.integer("backg")) << 8) | std::uint32_t(in.integer("backb"));
            m_background.resize(std::size_t(m_innerWidth) * std::size_t(m_innerHeight));
            for (int y = 0; y < m_innerHeight; ++y)
                for (int x = 0; x < m_innerWidth; ++x)
                    m_background[std::size_t(y) * std::size_t(m_innerWidth) + std::size_t(x)] =
                        hasBack ? back.at(x * m_res, y * m_res) : colour;
        }

        m_columnU.resize(std::size_t(m_innerWidth));
        m_columnV.resize(std::size_t(m_innerWidth));
        m_columnWave.resize(std::size_t(m_innerWidth));
        m_rowWave.resize(std::size_t(m_innerHeight));
        m_inner.assign(std::size_t(m_innerWidth) * std::size_t(m_innerHeight), 0);
        m_columns.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_columns[std::size_t(x)] = x / m_res;
    }

    void reset() override
    {
        m_frame = 0;
        m_turn = 0;
        m_wavePhase = 0;
        m_zoomPhase = 0;
        const Modality &now = current();
        m_rotationWeight = now.rotates ? Full : 0;
        m_waveWeight = now.distorts ? Full : 0;
    }

    void step() override
    {
        ++m_frame;
        const Modality &now = current();
        // Rotation and waves ease in and out, so the automatic changes do not jump.
        m_rotationWeight = towards(m_rotationWeight, now.rotates ? Full : 0);
        m_waveWeight = towards(m_waveWeight, now.distorts ? Full : 0);
        m_turn += std::uint32_t(m_rotationSpeed * RotationPerSpeed * m_rotationWeight);
        m_wavePhase += std::uint32_t(m_rotationSpeed * WavePerSpeed);
        m_zoomPhase += std::uint32_t(m_zoomSpeed * ZoomPerSpeed);
    }

    void draw(std::uint8_t *rgba) override
    {
        prepareMap();
        const std::uint64_t inside = std::uint64_t(Span);
        const std::uint64_t wrap = std::uint64_t(Span - 1);
        std::uint32_t *out = m_inner.data();
        for (int y = 0; y < m_innerHeight; ++y) {
            const std::int64_t rowU = m_rowU0 + m_rowStepU * y + m_rowWaveU * m_rowWave[std::size_t(y)];
            const std::int64_t rowV = m_rowV0 + m_rowStepV * y + m_rowWaveV * m_rowWave[std::size_t(y)];
            const std::uint32_t *back = m_tile ? nullptr : &m_background[std::size_t(y) * std::size_t(m_innerWidth)];
            for (int x = 0; x < m_innerWidth; ++x) {
                // Picture coordinates as fractions of 2^28; unsigned, a wrap is a mask.
                std::uint64_t u = std::uint64_t(rowU + m_columnU[std::size_t(x)]);
                std::uint64_t v = std::uint64_t(rowV + m_columnV[std::size_t(x)]);
                if (m_tile) {
                    u &= wrap;
                    v &= wrap;
                } else if (u >= inside || v >= inside) {
                    *out++ = back[x];
                    continue;
                }
                const std::size_t px = std::size_t((u * std::uint64_t(m_picWidth)) >> SpanBits);
                const std::size_t py = std::size_t((v * std::uint64_t(m_picHeight)) >> SpanBits);
                *out++ = m_picture[py * std::size_t(m_picWidth) + px];
            }
        }
        scaleUp(rgba);
    }

private:
    const Modality &current() const
    {
        if (m_modality != Automatic) return Modalities[m_modality - 1];
        if (m_phaseEnds[2] == 0) return Modalities[ZoomAndDistort];
        const std::int64_t t = m_frame % m_phaseEnds[2];
        return Modalities[t < m_phaseEnds[0] ? ZoomOnly : t < m_phaseEnds[1] ? ZoomAndRotate : ZoomAndDistort];
    }

    static int towards(int weight, int target)
    {
        const int stepSize = Full / FadeFrames;
        return weight < target ? std::min(target, weight + stepSize) : std::max(target, weight - stepSize);
    }

    // This frame's map from inner pixels to picture coordinates: the picture's centre sits on
    // the applet's centre; a picture coordinate moves by (cos, sin) / magnification per pixel.
    // Waves shift each row sideways (modix waves down the applet) and each column up and down
    // (modiy waves across it), in 1/16 inner pixels.
    void prepareMap()
    {
        const Modality &now = current();
        std::int64_t zoom = std::int64_t(RestingZoom) << 16;
        if (now.zooms) {
            // From the maximum out to the minimum and back, easing at both ends: the show opens
            // close up and then draws back to the whole picture.
            const std::int64_t swing = 65536 - cosine(std::int32_t(m_zoomPhase & AngleMask));
            zoom = m_zoomMax + (m_zoomMin - m_zoomMax) * swing / 131072;
        }
        const std::int64_t scale = magnification(zoom);
        const std::int32_t angle = std::int32_t((m_turn / Full) & AngleMask);
        const std::int64_t c = cosine(angle), s = sine(angle);
        // Per 1/16 inner pixel (= res/16 applet pixels), in 2^28ths of the picture's sides.
        const std::int64_t ux = c * m_res * (Span / 16) / (scale * m_picWidth);
        const std::int64_t uy = s * m_res * (Span / 16) / (scale * m_picWidth);
        const std::int64_t vx = -s * m_res * (Span / 16) / (scale * m_picHeight);
        const std::int64_t vy = c * m_res * (Span / 16) / (scale * m_picHeight);

        const std::int64_t height = std::int64_t(m_waveHeight) * m_waveWeight / Full;
        const std::int32_t phase = std::int32_t(m_wavePhase & AngleMask);
        for (int x = 0; x < m_innerWidth; ++x) {
            const std::int32_t at = std::int32_t(std::int64_t(x) * m_waveY * AngleSteps / m_innerWidth);
            m_columnWave[std::size_t(x)] = m_waveY ? height * sine(at - phase) / 65536 : 0;
        }
        for (int y = 0; y < m_innerHeight; ++y) {
            const std::int32_t at = std::int32_t(std::int64_t(y) * m_waveX * AngleSteps / m_innerHeight);
            m_rowWave[std::size_t(y)] = m_waveX ? height * sine(at + phase) / 65536 : 0;
        }

        // Pixel (x, y) sits at (16x - centre + rowWave(y), 16y - centre + columnWave(x)).
        const std::int64_t centreX = std::int64_t(m_innerWidth) * 8, centreY = std::int64_t(m_innerHeight) * 8;
        for (int x = 0; x < m_innerWidth; ++x) {
            const std::int64_t dx = std::int64_t(x) * 16 - centreX, wave = m_columnWave[std::size_t(x)];
            m_columnU[std::size_t(x)] = ux * dx + uy * wave;
            m_columnV[std::size_t(x)] = vx * dx + vy * wave;
        }
        m_rowU0 = Span / 2 - uy * centreY;
        m_rowV0 = Span / 2 - vy * centreY;
        m_rowStepU = uy * 16;
        m_rowStepV = vy * 16;
        m_rowWaveU = ux;
        m_rowWaveV = vx;
    }

    // The inner picture to the applet, each inner pixel a res x res block.
    void scaleUp(std::uint8_t *rgba) const
    {
        showBlocks(m_inner, m_innerWidth, m_res, m_columns, m_width, m_height, rgba);
    }

    int m_width = 0, m_height = 0, m_res = 1, m_innerWidth = 1, m_innerHeight = 1;
    int m_picWidth = 1, m_picHeight = 1;
    int m_modality = Automatic, m_rotationSpeed = 1, m_zoomSpeed = 1, m_waveX = 0, m_waveY = 0, m_waveHeight = 0;
    std::int64_t m_zoomMin = 0, m_zoomMax = 0;
    std::int64_t m_phaseEnds[3] = {}; // automatic: ends of zoom only, zoom and rotate, zoom and distort
    bool m_tile = true;

    std::int64_t m_frame = 0;
    std::uint32_t m_turn = 0;      // 1/(4096 * Full) turn
    std::uint32_t m_wavePhase = 0; // 1/4096 turn
    std::uint32_t m_zoomPhase = 0; // 1/4096 turn
    int m_rotationWeight = 0, m_waveWeight = 0;

    std::int64_t m_rowU0 = 0, m_rowV0 = 0, m_rowStepU = 0, m_rowStepV = 0, m_rowWaveU = 0, m_rowWaveV = 0;
    std::vector<std::int64_t> m_columnU, m_columnV, m_columnWave, m_rowWave;
    std::vector<std::uint32_t> m_picture;    // 0xRRGGBB
    std::vector<std::uint32_t> m_background; // inner size, only when the picture is not tiled
    std::vector<std::uint32_t> m_inner;      // one frame at the inner resolution
    std::vector<int> m_columns;
};

} // namespace

EffectInfo rotEffect()
{
    return {"Rot2.class",
            "ROT",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "NO"},
                {"rotmode", ParamKind::Integer, "6", 1, Automatic, "4"},
                {"rspeed", ParamKind::Integer, "2", 1, 8, "7"},
                {"zoommin", ParamKind::Integer, "10", 0, 80, "40"},
                {"zoommax", ParamKind::Integer, "60", 0, 80, "20"},
                {"zoomspd", ParamKind::Integer, "2", 1, 20, "9"},
                {"modix", ParamKind::Integer, "1", 0, 8, "6"},
                {"modiy", ParamKind::Integer, "2", 0, 8, "0"},
                {"auto1", ParamKind::Integer, "500", 0, 10000, "100"},
                {"auto2", ParamKind::Integer, "500", 0, 10000, "200"},
                {"distval", ParamKind::Integer, "20", 1, 255, "90"},
                {"tile", ParamKind::Flag, "YES", 0, 1, "NO"},
                // The background shows only around a picture that is not tiled.
                {"backimage", ParamKind::Picture, "NO", 0, 0, "sample.jpg", true, nullptr, "tile=NO"},
                {"backr", ParamKind::Integer, "0", 0, 255, "200", true, nullptr, "tile=NO"},
                {"backg", ParamKind::Integer, "0", 0, 255, "160", true, nullptr, "tile=NO"},
                {"backb", ParamKind::Integer, "0", 0, 255, "90", true, nullptr, "tile=NO"},
            },
            [] { return std::unique_ptr<Effect>(new Rot); },
            25};
}

} // namespace vexa::effects
