// BLUR: a numbered sequence of pictures (frame1.jpg, frame2.jpg, ...) played forward, or
// forward and back, with the motion between two pictures smeared as a high-speed camera with
// an open shutter would see it: every shown picture mixes the pictures the play passed over
// during the shutter time, each cross-faded into the next.
#include "Effect.h"
#include "Maths.h"

#include <algorithm>
#include <cstring>

namespace vexa::effects {
namespace {

// The page takes up to three digits for the number of pictures.
constexpr int MaxPictures = 999;
// Time is counted in microseconds; one step is 1/16 s.
constexpr std::int64_t StepTime = 62500;
// The shutter stays open two steps, but never over more than three pictures' travel, so a
// shown picture mixes at most a handful of them.
constexpr std::int64_t ShutterSteps = 2;
constexpr std::int64_t ShutterPictures = 3;
// Points in time the shutter time is sampled at, newest first, and their weights (adding up
// to 4096): the latest position counts most, so the motion leaves a fading streak behind it.
constexpr int Samples = 8;
constexpr int SampleWeights[Samples] = {896, 768, 640, 512, 512, 384, 256, 128};

std::string numberText(int value)
{
    std::string digits;
    for (; value > 0; value /= 10) digits.insert(digits.begin(), char('0' + value % 10));
    return digits.empty() ? "0" : digits;
}

// The pictures' file names, in play order.
std::vector<std::string> pictureNames(const Inputs &in)
{
    const std::string base = in.text("imgs"), format = in.text("format");
    std::vector<std::string> names;
    for (int k = 1; k <= in.integer("nimgs"); ++k) names.push_back(base + numberText(k) + format);
    return names;
}

// Weights are in 1/4096 and add up to one whole; a weighted sum of a channel stays below 2^20.
constexpr int WeightBits = 12;
// A pixel's red, green and blue each in 21 bits of their own (red lowest), so that one
// multiplication weighs all three and sums of them never carry into the next channel.
constexpr int LaneBits = 21;
constexpr std::uint64_t lanes(std::uint32_t rgb)
{
    return std::uint64_t(rgb >> 16 & 0xFF) | std::uint64_t(rgb >> 8 & 0xFF) << LaneBits |
           std::uint64_t(rgb & 0xFF) << (2 * LaneBits);
}

// One sequence picture, its pixels in lanes, or none when it could not be read.
struct Frame {
    int width = 0, height = 0;
    std::vector<std::uint64_t> pixels;
};

class Blur : public Effect {
public:
    void start(const Inputs &in) override
    {
        m_width = in.width();
        m_height = in.height();
        m_count = in.integer("nimgs");
        m_pingPong = in.flag("pingpong");
        m_scale = in.flag("doublesize") ? 2 : 1;
        m_speed = std::int64_t(in.integer("speed")) * 1000;
        m_pingPause = std::int64_t(in.integer("pingpause")) * 1000;
        m_pongPause = std::int64_t(in.integer("pongpause")) * 1000;
        m_shutter = std::min(ShutterSteps * StepTime, ShutterPictures * m_speed);

        // A picture that could not be read stays empty and shows as the host's grey.
        const Picture *missing = &in.sequencePicture(-1);
        m_frames.assign(std::size_t(m_count), Frame());
        for (int k = 0; k < m_count; ++k) {
            const Picture &picture = in.sequencePicture(k);
            if (&picture == missing) continue;
            Frame &frame = m_frames[std::size_t(k)];
            frame.width = picture.width;
            frame.height = picture.height;
            frame.pixels.resize(std::size_t(picture.width) * std::size_t(picture.height));
            for (int y = 0; y < picture.height; ++y)
                for (int x = 0; x < picture.width; ++x)
                    frame.pixels[std::size_t(y) * std::size_t(picture.width) + std::size_t(x)] = lanes(picture.at(x, y));
        }
        m_weights.assign(std::size_t(m_count), 0);
        m_used.reserve(2 * Samples);
        m_shown.reserve(2 * Samples);
        m_rowSum.assign(std::size_t(m_width), 0);
        m_picture.assign(std::size_t(m_width) * std::size_t(m_height) * 4, 0);
        m_drawn = false;
    }

    void reset() override { m_step = 0; }

    void step() override { ++m_step; }

    void draw(std::uint8_t *rgba) override
    {
        // The shutter's samples: which pictures, how much of each.
        m_used.clear();
        const std::int64_t now = m_step * StepTime;
        for (int s = 0; s < Samples; ++s) {
            int from = 0, to = 0;
            std::int32_t fade = 0;
            position(std::max<std::int64_t>(0, now - m_shutter * s / Samples), from, to, fade);
            const int share = int(std::int64_t(SampleWeights[s]) * fade / 65536);
            addWeight(from, SampleWeights[s] - share);
            addWeight(to, share);
        }
        // The picture depends on the pictures' weights only: while they stay as they were (the
        // pauses at either end), the last one drawn is shown again.
        bool same = m_drawn && m_used.size() == m_shown.size();
        for (std::size_t i = 0; same && i < m_used.size(); ++i)
            same = m_shown[i].first == m_used[i] && m_shown[i].second == m_weights[std::size_t(m_used[i])];
        if (!same) {
            m_shown.clear();
            for (int k : m_used) m_shown.emplace_back(k, m_weights[std::size_t(k)]);
            compose();
            m_drawn = true;
        }
        for (int k : m_used) m_weights[std::size_t(k)] = 0;
        std::memcpy(rgba, m_picture.data(), m_picture.size());
    }

private:
    // Where the play is at `time`: between picture `from` and `to`, `fade` (16.16) of the way.
    // It starts on the first picture with its pause, runs to the last, pauses, and then either
    // runs back (ping-pong) or steps over to the first again (cycling).
    void position(std::int64_t time, int &from, int &to, std::int32_t &fade) const
    {
        from = to = 0;
        fade = 0;
        if (m_count < 2) return;
        const std::int64_t run = std::int64_t(m_count - 1) * m_speed;
        const std::int64_t back = m_pingPong ? run : m_speed;
        std::int64_t t = time % (m_pingPause + run + m_pongPause + back);
        if (t < m_pingPause) return;
        t -= m_pingPause;
        if (t < run) {
            from = int(t / m_speed);
            to = from + 1;
            fade = std::int32_t(t % m_speed * 65536 / m_speed);
            return;
        }
        t -= run;
        from = to = m_count - 1;
        if (t < m_pongPause) return;
        t -= m_pongPause;
        fade = std::int32_t(t % m_speed * 65536 / m_speed);
        if (m_pingPong) {
            from = m_count - 1 - int(t / m_speed);
            to = from - 1;
        } else {
            to = 0;
        }
    }

    void addWeight(int k, int weight)
    {
        if (weight <= 0) return;
        if (m_weights[std::size_t(k)] == 0) m_used.push_back(k);
        m_weights[std::size_t(k)] += weight;
    }

    // The shown picture from m_shown, row by row: each picture's part of the row is added into
    // a row of sums that stays in the cache, then the row is turned into bytes. Pictures are
    // centred on the applet, doubled on double size; outside them the applet stays black.
    void compose()
    {
        std::uint64_t grey = 0; // pictures that could not be read add the host's grey everywhere
        for (const auto &[k, weight] : m_shown)
            if (m_frames[std::size_t(k)].pixels.empty()) grey += lanes(0x808080u) * std::uint64_t(weight);
        std::uint64_t *sum = m_rowSum.data();
        std::uint8_t *out = m_picture.data();
        for (int y = 0; y < m_height; ++y) {
            std::fill(m_rowSum.begin(), m_rowSum.end(), grey);
            for (const auto &[k, weight] : m_shown) {
                const Frame &frame = m_frames[std::size_t(k)];
                if (frame.pixels.empty()) continue;
                const std::int64_t shownWidth = std::int64_t(frame.width) * m_scale;
                const std::int64_t shownHeight = std::int64_t(frame.height) * m_scale;
                const std::int64_t left = (m_width - shownWidth) / 2, top = (m_height - shownHeight) / 2;
                if (y < top || y >= top + shownHeight) continue;
                const int x0 = int(std::max<std::int64_t>(0, left)), x1 = int(std::min<std::int64_t>(m_width, left + shownWidth));
                const std::uint64_t *row = &frame.pixels[std::size_t((y - top) / m_scale) * std::size_t(frame.width)];
                const std::uint64_t w = std::uint64_t(weight);
                if (m_scale == 1) {
                    const std::uint64_t *source = row + (x0 - left);
                    std::uint64_t *s = sum + x0;
                    for (int i = 0, n = x1 - x0; i < n; ++i) s[i] += source[i] * w;
                } else {
                    for (int x = x0; x < x1; ++x) sum[x] += row[(x - left) / m_scale] * w;
                }
            }
            for (int x = 0; x < m_width; ++x, out += 4) {
                out[0] = std::uint8_t(sum[x] >> WeightBits);
                out[1] = std::uint8_t(sum[x] >> (LaneBits + WeightBits));
                out[2] = std::uint8_t(sum[x] >> (2 * LaneBits + WeightBits));
                out[3] = 255;
            }
        }
    }

    int m_width = 0, m_height = 0, m_count = 1, m_scale = 1;
    bool m_pingPong = true;
    std::int64_t m_speed = 1000, m_pingPause = 0, m_pongPause = 0, m_shutter = 0, m_step = 0;
    std::vector<Frame> m_frames;
    std::vector<int> m_weights; // per picture, of 4096, for the picture being drawn
    std::vector<int> m_used;    // the pictures with a weight
    std::vector<std::pair<int, int>> m_shown; // the pictures and weights m_picture was made from
    bool m_drawn = false;                     // whether m_picture holds them yet
    std::vector<std::uint64_t> m_rowSum;      // one row's weighted sums, in lanes
    std::vector<std::uint8_t> m_picture;      // the last picture drawn, RGBA
};

} // namespace

EffectInfo blurEffect()
{
    return {"vxblur.class",
            "BLUR",
            {
                {"imgs", ParamKind::Text, "frame", 0, 0, "pic", false,
                 "the pictures' base file name: it decides which files are read, not how they are shown"},
                {"format", ParamKind::Text, ".jpg", 0, 0, ".gif", false,
                 "the pictures' file extension: it decides which files are read, not how they are shown"},
                {"nimgs", ParamKind::Integer, "8", 1, MaxPictures, "4"},
                {"pingpong", ParamKind::Flag, "YES", 0, 1, "NO"},
                {"doublesize", ParamKind::Flag, "NO", 0, 1, "YES"},
                {"speed", ParamKind::Integer, "100", 1, 999999, "200"},
                {"pingpause", ParamKind::Integer, "1000", 0, 999999, "200"},
                {"pongpause", ParamKind::Integer, "1000", 0, 999999, "100"},
                {"audioping", ParamKind::Text, "NO", 0, 0, "ping.au", false, "a sound; a moving picture has none"},
                {"audiopong", ParamKind::Text, "NO", 0, 0, "pong.au", false, "a sound; a moving picture has none"},
            },
            [] { return std::unique_ptr<Effect>(new Blur); },
            16,
            pictureNames};
}

} // namespace vexa::effects
