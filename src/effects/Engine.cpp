#include "Animation.h"
#include "Maths.h"

#include <cctype>
#include <cstdlib>

namespace vexa::effects {
namespace {

bool sameName(const std::string &a, const char *b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && !b[i];
}

// Decimal digits of a number (std::to_string would bring the C library's formatting along).
std::string numberText(long value)
{
    if (value == 0) return "0";
    std::string digits;
    const bool negative = value < 0;
    unsigned long rest = negative ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    for (; rest > 0; rest /= 10) digits.insert(digits.begin(), char('0' + rest % 10));
    return negative ? "-" + digits : digits;
}

std::string trimmed(const std::string &text)
{
    std::size_t from = 0, to = text.size();
    while (from < to && std::isspace(static_cast<unsigned char>(text[from]))) ++from;
    while (to > from && std::isspace(static_cast<unsigned char>(text[to - 1]))) --to;
    return text.substr(from, to - from);
}

// A whole number: an optional sign and digits only. Huge ones saturate, so they clamp.
bool readInteger(const std::string &raw, std::int64_t &value)
{
    const std::string text = trimmed(raw);
    std::size_t i = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return false;
    std::int64_t result = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        if (result < (std::int64_t(1) << 40)) result = result * 10 + (text[i] - '0');
    }
    value = text[0] == '-' ? -result : result;
    return true;
}

// A decimal number as 16.16 fixed point: digits, one optional point, more digits. Read digit
// by digit, so no platform's strtod decides a pixel.
bool readDecimal(const std::string &raw, std::int64_t &value)
{
    const std::string text = trimmed(raw);
    std::size_t i = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    std::int64_t whole = 0, fraction = 0, scale = 1;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            if (!point) {
                if (whole < (std::int64_t(1) << 30)) whole = whole * 10 + (c - '0');
            } else if (scale < 100000000) {
                fraction = fraction * 10 + (c - '0');
                scale *= 10;
            }
        } else {
            return false;
        }
    }
    if (!digits) return false;
    const std::int64_t fixed = (whole << 16) + (fraction << 16) / scale;
    value = text[0] == '-' ? -fixed : fixed;
    return true;
}

} // namespace

std::uint32_t Picture::at(int x, int y) const
{
    if (empty()) return 0;
    x %= width;
    y %= height;
    if (x < 0) x += width;
    if (y < 0) y += height;
    const std::uint8_t *p = &rgba[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
    return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
}

void Params::set(std::string name, std::string value)
{
    for (auto &entry : m_values) {
        if (sameName(entry.first, name.c_str())) {
            entry.second = std::move(value); // a later parameter of the same name wins
            return;
        }
    }
    m_values.emplace_back(std::move(name), std::move(value));
}

const std::string *Params::find(const char *name) const
{
    for (const auto &entry : m_values) {
        if (sameName(entry.first, name)) return &entry.second;
    }
    return nullptr;
}

Inputs::Inputs(int width, int height, const Params &params, const std::vector<ParamRow> &rows,
               const std::vector<std::pair<std::string, Picture>> &pictures)
    : m_width(width), m_height(height), m_params(params), m_rows(rows), m_pictures(pictures)
{
    // A picture that cannot be read is drawn as a plain grey one of the applet's size.
    m_placeholder.width = width;
    m_placeholder.height = height;
    m_placeholder.rgba.assign(std::size_t(width) * std::size_t(height) * 4, 128);
    for (std::size_t i = 3; i < m_placeholder.rgba.size(); i += 4) m_placeholder.rgba[i] = 255;
}

const ParamRow *Inputs::rowOf(const char *name) const
{
    for (const ParamRow &s : m_rows) {
        if (sameName(s.name, name)) return &s;
    }
    std::abort(); // an effect reads only what it declares
}

std::int32_t Inputs::integer(const char *name) const
{
    const ParamRow *s = rowOf(name);
    std::int64_t value = 0;
    const std::string *text = m_params.find(s->name);
    if (!text || !readInteger(*text, value)) readInteger(s->fallback, value);
    return clampInt(value, s->low, s->high);
}

std::int32_t Inputs::decimal(const char *name) const
{
    const ParamRow *s = rowOf(name);
    std::int64_t value = 0;
    const std::string *text = m_params.find(s->name);
    if (!text || !readDecimal(*text, value)) readDecimal(s->fallback, value);
    const std::int64_t low = std::int64_t(s->low) << 16, high = std::int64_t(s->high) << 16;
    return std::int32_t(value < low ? low : value > high ? high : value);
}

bool Inputs::flag(const char *name) const
{
    const ParamRow *s = rowOf(name);
    const std::string *text = m_params.find(s->name);
    const std::string value = trimmed(text ? *text : std::string(s->fallback));
    for (const char *yes : {"yes", "true", "1", "on"}) {
        if (sameName(value, yes)) return true;
    }
    for (const char *no : {"no", "false", "0", "off"}) {
        if (sameName(value, no)) return false;
    }
    return sameName(s->fallback, "yes");
}

std::uint32_t Inputs::colour(const char *name) const
{
    const ParamRow *s = rowOf(name);
    const std::string *text = m_params.find(s->name);
    for (std::string value : {text ? trimmed(*text) : std::string(), std::string(s->fallback)}) {
        if (!value.empty() && value[0] == '#') value.erase(0, 1);
        std::uint32_t colour = 0;
        bool hex = value.size() == 6;
        for (std::size_t i = 0; hex && i < value.size(); ++i) {
            const int c = std::tolower(static_cast<unsigned char>(value[i]));
            const int digit = std::isdigit(c) ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            hex = digit >= 0;
            colour = (colour << 4) | std::uint32_t(digit < 0 ? 0 : digit);
        }
        if (hex) return colour;
    }
    return 0;
}

std::string Inputs::text(const char *name) const
{
    const ParamRow *s = rowOf(name);
    const std::string *text = m_params.find(s->name);
    return (text ? trimmed(*text) : std::string(s->fallback)).substr(0, 255);
}

int Inputs::word(const char *name, std::initializer_list<const char *> words) const
{
    const ParamRow *s = rowOf(name);
    const std::string *text = m_params.find(s->name);
    for (const std::string &value : {text ? trimmed(*text) : std::string(), std::string(s->fallback)}) {
        int position = 0;
        for (const char *word : words) {
            if (sameName(value, word)) return position;
            ++position;
        }
    }
    return 0;
}

const Picture &Inputs::picture(const char *name) const
{
    const ParamRow *s = rowOf(name);
    for (const auto &[key, picture] : m_pictures) {
        if (sameName(key, s->name) && !picture.empty()) return picture;
    }
    return m_placeholder;
}

std::vector<std::uint32_t> Inputs::background(const char *name, std::uint32_t colour, int width, int height) const
{
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height), colour);
    if (!name || !hasPicture(name)) return pixels;
    const Picture &image = picture(name);
    for (int y = 0; y < height; ++y) {
        const int py = int(std::int64_t(y) * image.height / height);
        for (int x = 0; x < width; ++x)
            pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = image.at(int(std::int64_t(x) * image.width / width), py);
    }
    return pixels;
}

namespace {
// The key a sequence's picture goes by among the pictures: "#1", "#2", ...
std::string sequenceKey(int index)
{
    return "#" + numberText(index + 1);
}
} // namespace

const Picture &Inputs::sequencePicture(int index) const
{
    const std::string key = sequenceKey(index);
    for (const auto &[name, picture] : m_pictures) {
        if (name == key && !picture.empty()) return picture;
    }
    return m_placeholder;
}

std::vector<std::pair<std::string, std::string>> Animation::pictureFiles(const AppletTag &tag)
{
    std::vector<std::pair<std::string, std::string>> files;
    if (const EffectInfo *info = findEffect(tag.code)) {
        for (const ParamRow &row : info->params) {
            if (row.kind != ParamKind::Picture) continue;
            const std::string *value = tag.params.find(row.name);
            const std::string file = trimmed(value ? *value : std::string(row.fallback));
            if (!file.empty() && !sameName(file, "no")) files.emplace_back(row.name, file);
        }
        if (info->sequence) {
            const Animation::Pictures none;
            const Inputs inputs(1, 1, tag.params, info->params, none);
            const std::vector<std::string> names = info->sequence(inputs);
            for (std::size_t i = 0; i < names.size(); ++i) files.emplace_back(sequenceKey(int(i)), names[i]);
        }
    }
    return files;
}

std::string Animation::open(const AppletTag &tag, const Pictures &pictures)
{
    m_info = findEffect(tag.code);
    if (!m_info) return "The effects engine does not know the applet \"" + tag.code + "\".";
    if (tag.width < 1 || tag.height < 1 || tag.width > MaxSide || tag.height > MaxSide)
        return "An effect is drawn at 1 to " + numberText(MaxSide) + " pixels a side: the tag's size is " +
               numberText(tag.width) + " x " + numberText(tag.height) + ".";
    m_width = tag.width;
    m_height = tag.height;
    m_pixels.assign(std::size_t(m_width) * std::size_t(m_height) * 4, 0);
    m_effect = m_info->make();
    const Inputs inputs(m_width, m_height, tag.params, m_info->params, pictures);
    m_effect->start(inputs);
    m_effect->reset();
    m_steps = 0;
    return std::string();
}

const std::uint8_t *Animation::frame(std::uint32_t n)
{
    if (!m_effect) return nullptr;
    if (n < m_steps) {
        m_effect->reset();
        m_steps = 0;
    }
    for (; m_steps < n; ++m_steps) m_effect->step();
    m_effect->draw(m_pixels.data());
    return m_pixels.data();
}

const EffectInfo *findEffect(const std::string &className)
{
    for (const EffectInfo &info : registry()) {
        if (sameName(className, info.className)) return &info;
    }
    return nullptr;
}

} // namespace vexa::effects
