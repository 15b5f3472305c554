// LAKE: the picture stands on the shore of a lake and is mirrored in it; waves run through the
// reflection, small and dense far away at the horizon, larger near the viewer, as the wind blows.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vexa::effects {
namespace {

// Fixed point: 16.16 for fractions, wave heights in 1/256 of a cell, the wave's shape in 1/1024.
constexpr int One = 65536;
constexpr int Sub = 256;
constexpr int ShapeOne = 1024;
// Wave crests between the horizon and the lower edge.
constexpr int Crests = 18;
// Wave height per unit of wind at the lower edge, in 1/1024 of the reflection's height.
constexpr int HeightPerWind = 3;
constexpr int HeightUnit = 1024;
// Crests along a row near the viewer: one wave this many cells long.
constexpr int NearWaveLength = 160;
constexpr int MinWaveLength = 24;
// The page's far waving is in thousandths of the waving the perspective alone gives.
constexpr int FarWavingUnit = 1000;
// Phase advance per frame and unit of wave speed, in 1/4096 turn.
constexpr int PhasePerSpeed = 6;
// Wind in thousandths of a page unit.
constexpr int WindUnit = 1000;
// The reflection is darker than the picture and a little blue, as a lake is.
constexpr int ReflectionGain = 200; // of 256
constexpr int TintR = 0, TintG = 8, TintB = 24;
// Slopes facing the viewer catch the light: brightness added at the steepest per unit of wind.
constexpr int ShinePerWind = 1;
constexpr int MaxShine = 20 * ShinePerWind; // at the strongest wind

// One row of the reflection: where it mirrors the picture and how its waves look.
struct WaterRow {
    int source = 0;          // picture row it mirrors
    int phase = 0;           // wave phase of the row, 1/4096 turn (many crests near the horizon)
    std::int64_t height = 0; // wave height per WindUnit of wind, 1/256 cell, 16.16
    int stepX = 0;           // phase advance per cell along the row, 1/4096 turn, 16.16
};

class Lake : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        const int res = in.integer("res");
        m_cellsX = std::max(1, m_width / res);
        const int cellsY = std::max(1, m_height / res);
        // The picture takes the upper half; a half sized reflection leaves it two thirds.
        const bool half = in.flag("halfreflect");
        m_shoreRows = std::max(1, half ? (cellsY * 2 + 2) / 3 : (cellsY + 1) / 2);
        const int waterRows = cellsY - m_shoreRows;

        m_speed = in.integer("wavspeed") * PhasePerSpeed;
        m_baseWind = in.integer("wind") * WindUnit;
        m_windMin = in.integer("windvarmin") * WindUnit;
        m_windMax = in.integer("windvarmax") * WindUnit;
        if (m_windMin > m_windMax) std::swap(m_windMin, m_windMax);
        m_windSpeed = in.integer("windvarval");

        // The picture fills the shore at cell size; the lake mirrors it darker and bluer.
        const Picture &picture = in.picture("image");
        const std::size_t shoreCells = std::size_t(m_cellsX) * std::size_t(m_shoreRows);
        m_shore.resize(shoreCells * 4);
        m_mirror.resize(shoreCells * 4);
        const int tint[3] = {TintR, TintG, TintB};
        for (int y = 0; y < m_shoreRows; ++y) {
            const int py = int(std::int64_t(y) * picture.height / m_shoreRows);
            for (int x = 0; x < m_cellsX; ++x) {
                const std::uint32_t colour = picture.at(int(std::int64_t(x) * picture.width / m_cellsX), py);
                const std::size_t at = (std::size_t(y) * std::size_t(m_cellsX) + std::size_t(x)) * 4;
                for (int c = 0; c < 3; ++c) {
                    const int channel = int(colour >> (16 - 8 * c) & 255);
                    m_shore[at + std::size_t(c)] = std::uint8_t(channel);
                    m_mirror[at + std::size_t(c)] = toByte(channel * ReflectionGain / 256 + tint[c]);
                }
                m_shore[at + 3] = m_mirror[at + 3] = 255;
            }
        }
        for (int a = 0; a < AngleSteps; ++a) m_shape[std::size_t(a)] = sine(a) / (One / ShapeOne);
        for (int i = 0; i < int(m_levels.size()); ++i) m_levels[std::size_t(i)] = toByte(i - MaxShine);

        // Perspective: row j below the horizon lies at a distance 1/(near + j) on the lake. A small
        // `near` (strong perspective) crowds the crests at the horizon; a large one spaces them
        // evenly. It stays above a quarter of the reflection, so far crests never shrink to noise.
        const std::int64_t perspective = in.integer("perspective");
        const std::int64_t near = 1 + waterRows / 4 + std::int64_t(waterRows) * (100 - perspective) / (perspective * 8);
        const std::int64_t farthest = near + waterRows;
        const std::int64_t far = std::int64_t(in.integer("farwaving")) * One / FarWavingUnit;
        const std::int64_t heightPerWind = std::int64_t(waterRows) * HeightPerWind * Sub * One / (HeightUnit * WindUnit);
        m_rows.resize(std::size_t(waterRows));
        for (int j = 0; j < waterRows; ++j) {
            WaterRow &row = m_rows[std::size_t(j)];
            row.source = m_shoreRows - 1 - int(std::int64_t(j) * m_shoreRows / waterRows);
            // The share of all crests between the horizon and this row.
            const std::int64_t share = std::int64_t(j) * farthest * One / (std::int64_t(waterRows) * (near + j));
            row.phase = int(share * Crests * AngleSteps / One);
            // Nearer rows show the waves larger; at the horizon the far waving scales them.
            const std::int64_t size = (near + j) * One / farthest;
            const std::int64_t farScale = far + (One - far) * j / waterRows;
            row.height = heightPerWind * size / One * farScale / One;
            // Far rows crowd their crests along the row too, but no closer than MinWaveLength cells.
            row.stepX = clampInt(std::int64_t(AngleSteps) * One / NearWaveLength * One / size, 0, AngleSteps / MinWaveLength * One);
        }
        m_cellOfColumn.resize(std::size_t(m_width));
        for (int x = 0; x < m_width; ++x) m_cellOfColumn[std::size_t(x)] = int(std::int64_t(x) * m_cellsX / m_width);
        m_cellOfRow.resize(std::size_t(m_height));
        for (int y = 0; y < m_height; ++y) m_cellOfRow[std::size_t(y)] = int(std::int64_t(y) * cellsY / m_height);
        m_line.resize(std::size_t(m_cellsX) * 4);
    }

    void reset() override
    {
        m_phase = 0;
        m_windPhase = windStartPhase();
        m_wind = windNow();
    }

    void step() override
    {
        m_phase = (m_phase + m_speed) & AngleMask;
        m_windPhase = (m_windPhase + m_windSpeed) & AngleMask;
        m_wind = windNow();
    }

    void draw(std::uint8_t *rgba) override
    {
        const std::size_t rowBytes = std::size_t(m_width) * 4;
        for (int y = 0; y < m_height; ++y) {
            std::uint8_t *out = rgba + std::size_t(y) * rowBytes;
            const int cellY = m_cellOfRow[std::size_t(y)];
            if (y > 0 && cellY == m_cellOfRow[std::size_t(y - 1)]) {
                std::memcpy(out, out - rowBytes, rowBytes); // the same row of cells again
            } else if (m_cellsX == m_width) {
                drawCells(cellY, out);
            } else {
                drawCells(cellY, m_line.data());
                for (int x = 0; x < m_width; ++x)
                    std::memcpy(out + 4 * x, &m_line[std::size_t(m_cellOfColumn[std::size_t(x)]) * 4], 4);
            }
        }
    }

private:
    // Without variation the wind keeps the page's value; with it the wind swings between its
    // lowest and highest, starting at the page's value (held inside that range) and rising.
    int windStartPhase() const
    {
        const int middle = (m_windMin + m_windMax) / 2, swing = (m_windMax - m_windMin) / 2;
        if (m_windSpeed == 0 || swing == 0) return 0;
        const int offset = clampInt(m_baseWind - middle, -swing, swing);
        const std::int64_t across = squareRoot(std::uint64_t(std::int64_t(swing) * swing - std::int64_t(offset) * offset));
        return angleOf(int(across), offset);
    }

    int windNow() const
    {
        if (m_windSpeed == 0) return m_baseWind;
        const int middle = (m_windMin + m_windMax) / 2, swing = (m_windMax - m_windMin) / 2;
        return middle + int(std::int64_t(swing) * sine(m_windPhase) / One);
    }

    // One row of cells as RGBA: the picture above the shore, its wavy reflection below.
    void drawCells(int cellY, std::uint8_t *out) const
    {
        const std::size_t rowBytes = std::size_t(m_cellsX) * 4;
        if (cellY < m_shoreRows) {
            std::memcpy(out, &m_shore[std::size_t(cellY) * rowBytes], rowBytes);
            return;
        }
        const WaterRow &row = m_rows[std::size_t(cellY - m_shoreRows)];
        const int waveHeight = int(row.height * m_wind / One); // 1/256 cell
        const int shine = m_wind * ShinePerWind / WindUnit;
        const int phase = row.phase - m_phase, lastX = m_cellsX - 1, lastY = m_shoreRows - 1;
        const int *shape = m_shape.data();
        std::uint32_t along = 0; // phase along the row, 1/4096 turn in 16.16, wrapping with the turns
        for (int x = 0; x < m_cellsX; ++x, out += 4, along += std::uint32_t(row.stepX)) {
            const int turned = int(along >> 16 & AngleMask);
            // A long swell and a shorter chop crossing it lift and sway the mirrored picture.
            const int swell = (phase + turned) & AngleMask, chop = (2 * phase - turned / 2 + AngleSteps / 3) & AngleMask;
            const int slope = shape[(swell + AngleSteps / 4) & AngleMask];
            const int wave = (3 * shape[swell] + shape[chop]) / 4;
            const int sourceY = std::min(std::max(row.source + waveHeight * wave / (ShapeOne * Sub), 0), lastY);
            const int sourceX = std::min(std::max(x + waveHeight * slope / (2 * ShapeOne * Sub), 0), lastX);
            const std::uint8_t *colour = &m_mirror[(std::size_t(sourceY) * std::size_t(m_cellsX) + std::size_t(sourceX)) * 4];
            // Slopes facing the viewer catch the sky.
            const std::uint8_t *level = &m_levels[std::size_t(MaxShine + shine * slope / ShapeOne)];
            out[0] = level[colour[0]];
            out[1] = level[colour[1]];
            out[2] = level[colour[2]];
            out[3] = 255;
        }
    }

    int m_width = 0, m_height = 0, m_cellsX = 1, m_shoreRows = 1;
    int m_speed = 0, m_baseWind = 0, m_windMin = 0, m_windMax = 0, m_windSpeed = 0;
    int m_phase = 0, m_windPhase = 0, m_wind = 0;
    std::vector<std::uint8_t> m_shore;  // the picture at cell size above the shore, RGBA
    std::vector<std::uint8_t> m_mirror; // the same as the lake mirrors it, RGBA
    std::vector<WaterRow> m_rows;       // the reflection, row by row from the shore
    std::vector<std::uint8_t> m_line;   // one row of cells as drawn, RGBA
    std::array<int, AngleSteps> m_shape{};                  // the sine in 1/ShapeOne
    std::array<std::uint8_t, 256 + 2 * MaxShine> m_levels{}; // channel + MaxShine + light -> lit channel
    std::vector<int> m_cellOfColumn, m_cellOfRow;
};

} // namespace

EffectInfo lakeEffect()
{
    return {"VxLake.class",
            "LAKE",
            {
                {"res", ParamKind::Integer, "1", 1, 8, "3"},
                {"image", ParamKind::Picture, "sample.jpg", 0, 0, "missing.jpg"},
                {"wavspeed", ParamKind::Integer, "20", 1, 200, "70"},
                {"perspective", ParamKind::Integer, "20", 1, 100, "90"},
                {"farwaving", ParamKind::Integer, "1000", 1, 10000, "6000"},
                {"wind", ParamKind::Integer, "10", 0, 20, "20"},
                {"windvarval", ParamKind::Integer, "20", 0, 200, "0"},
                {"windvarmin", ParamKind::Integer, "5", 0, 20, "0"},
                {"windvarmax", ParamKind::Integer, "15", 0, 20, "20"},
                {"halfreflect", ParamKind::Flag, "NO", 0, 1, "YES"},
            },
            [] { return std::unique_ptr<Effect>(new Lake); },
            25};
}

} // namespace vexa::effects
