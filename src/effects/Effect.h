#pragma once

// The effects engine: our own moving pictures for the catalogue's applets, driven by the
// parameters of the applet tag. Standard C++17 only (no Qt, no exceptions, no I/O), so the
// same source runs natively and as WebAssembly; a frame depends on the parameters, the
// pictures and the frame number only, with integer arithmetic wherever pixels are decided.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vexa::effects {

// Largest frame the engine draws; a larger tag is refused.
constexpr int MaxSide = 2048;

// A picture as RGBA bytes, row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    bool empty() const { return width <= 0 || height <= 0; }
    // The pixel at (x, y) wrapped into the picture, as 0xRRGGBB.
    std::uint32_t at(int x, int y) const;
};

// The tag's parameters: name -> value text, names compared without regard to case.
class Params {
public:
    void set(std::string name, std::string value);
    // The value of `name`, or nullptr when the tag does not carry it.
    const std::string *find(const char *name) const;

private:
    std::vector<std::pair<std::string, std::string>> m_values;
};

enum class ParamKind {
    Integer, // a whole number clamped to low..high
    Decimal, // a decimal number, read as 16.16 fixed point, clamped to low..high (whole units)
    Flag,    // "YES" / "NO" (also "1"/"0", "true"/"false")
    Word,    // one of a list of words, compared without regard to case (first one: the default)
    Colour,  // "RRGGBB" in hexadecimal (a leading '#' allowed)
    Picture, // a file name of a picture the host reads
    Text,    // free text, such as the parts of the file names of a sequence
};

// One parameter an effect reads: how, its default and limits, and (for tests) another value
// that changes what is seen. `visible` false marks one that changes nothing on screen
// (credits, links, timing of the original runtime); `why` says what it is.
struct ParamRow {
    const char *name;
    ParamKind kind;
    const char *fallback;
    std::int32_t low;
    std::int32_t high;
    const char *other;
    bool visible = true;
    const char *why = nullptr;
    // "name=value" when the parameter shows only while another one has that value (a box on
    // the page that switches it on).
    const char *needs = nullptr;
};

// What an effect starts from: the tag's size, its parameters read through the effect's
// rows, and the pictures the host read for its Picture parameters.
class Inputs {
public:
    Inputs(int width, int height, const Params &params, const std::vector<ParamRow> &rows,
           const std::vector<std::pair<std::string, Picture>> &pictures);
    int width() const { return m_width; }
    int height() const { return m_height; }
    std::int32_t integer(const char *name) const;  // clamped, or the default
    std::int32_t decimal(const char *name) const;  // 16.16, clamped, or the default
    bool flag(const char *name) const;
    // The colour as 0xRRGGBB, or the default's.
    std::uint32_t colour(const char *name) const;
    // The text, trimmed, or the default's when the tag has none; at most 255 characters.
    std::string text(const char *name) const;
    // Which of `words` the parameter names (its position), or the default's position.
    int word(const char *name, std::initializer_list<const char *> words) const;
    // The named picture; one that could not be read is a plain placeholder of the tag's size.
    const Picture &picture(const char *name) const;
    // Whether the named picture was read (not the placeholder).
    bool hasPicture(const char *name) const { return &picture(name) != &m_placeholder; }
    // A background of width x height pixels (0xRRGGBB): the named picture stretched over it
    // when it was read, else the colour.
    std::vector<std::uint32_t> background(const char *name, std::uint32_t colour, int width, int height) const;
    // Picture `index` (0 is the first) of the effect's numbered sequence, or the placeholder.
    const Picture &sequencePicture(int index) const;

private:
    const ParamRow *rowOf(const char *name) const;
    int m_width;
    int m_height;
    const Params &m_params;
    const std::vector<ParamRow> &m_rows;
    const std::vector<std::pair<std::string, Picture>> &m_pictures;
    Picture m_placeholder;
};

// One running effect. Frames come in order for animation; asking for an earlier frame
// starts the effect again from its first one, so frame n is always the same picture.
class Effect {
public:
    virtual ~Effect() = default;
    // Reads the inputs and makes every buffer the effect needs: nothing is allocated later.
    virtual void start(const Inputs &inputs) = 0;
    // Back to the state before frame 0.
    virtual void reset() = 0;
    // Advances one time step.
    virtual void step() = 0;
    // Draws the current state as width x height RGBA pixels.
    virtual void draw(std::uint8_t *rgba) = 0;
};

// The catalogue's applet an effect stands in for.
struct EffectInfo {
    const char *className; // as the tag's code attribute names it, "fire.class"
    const char *appletId;  // "FIRE"
    std::vector<ParamRow> params;
    std::unique_ptr<Effect> (*make)();
    int framesPerSecond; // the fixed time step
    // For an effect that plays a numbered sequence of pictures (frame1.jpg, frame2.jpg, ...):
    // their file names in order, from its parameters. They reach it as sequencePicture(0 ..).
    std::vector<std::string> (*sequence)(const Inputs &) = nullptr;
};

// Every effect the engine knows, in catalogue order.
const std::vector<EffectInfo> &registry();
// The effect for a tag's code attribute (compared without regard to case), or nullptr.
const EffectInfo *findEffect(const std::string &className);

} // namespace vexa::effects
