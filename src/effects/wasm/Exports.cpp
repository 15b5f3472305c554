// The engine as a WebAssembly module for the player script: plain C functions over numbers
// and bytes in the module's memory, no imports. One instance serves every applet of a page.
//
// The script writes a page's applet tag (UTF-8) at vx_buffer(n), calls vx_prepare(n) for an
// animation number, reads the pictures it names (vx_picture_name), hands each over as RGBA
// bytes (vx_buffer, vx_set_picture), calls vx_start, and then draws vx_frame's bytes.
#include "Animation.h"

#include <memory>

extern "C" void __cxa_pure_virtual() { __builtin_trap(); }

namespace {

using namespace vexa::effects;

struct Slot {
    AppletTag tag;
    std::vector<std::pair<std::string, std::string>> files;
    Animation::Pictures pictures;
    Animation animation;
    std::string text; // the last text handed out (a picture's file name, a problem)
};

constexpr int MaxSlots = 64;
std::vector<std::unique_ptr<Slot>> slots;
std::vector<std::uint8_t> buffer;

Slot *slot(int id) { return id >= 0 && id < int(slots.size()) ? slots[std::size_t(id)].get() : nullptr; }

} // namespace

#define EXPORT(name) extern "C" __attribute__((export_name(#name)))

// A buffer of `size` bytes for the script to write into; valid until the next call.
EXPORT(vx_buffer) std::uint8_t *vx_buffer(int size)
{
    buffer.assign(std::size_t(size > 0 ? size : 0), 0);
    return buffer.data();
}

// Reads the applet tag in the buffer. The animation's number, or -1 when the engine has no
// effect for it (the page then keeps the applet's message).
EXPORT(vx_prepare) int vx_prepare(int size)
{
    if (slots.size() >= MaxSlots || size < 0 || std::size_t(size) > buffer.size()) return -1;
    std::vector<AppletTag> tags = readAppletTags(std::string(buffer.begin(), buffer.begin() + size));
    if (tags.empty() || !findEffect(tags.front().code)) return -1;
    auto made = std::make_unique<Slot>();
    made->tag = std::move(tags.front());
    made->files = Animation::pictureFiles(made->tag);
    made->pictures.resize(made->files.size());
    for (std::size_t i = 0; i < made->files.size(); ++i) made->pictures[i].first = made->files[i].first;
    slots.push_back(std::move(made));
    return int(slots.size()) - 1;
}

EXPORT(vx_picture_count) int vx_picture_count(int id)
{
    Slot *s = slot(id);
    return s ? int(s->files.size()) : 0;
}

// The file name of picture `index`, as UTF-8 at the returned address; its length by vx_text_size.
EXPORT(vx_picture_name) const char *vx_picture_name(int id, int index)
{
    Slot *s = slot(id);
    if (!s || index < 0 || index >= int(s->files.size())) return nullptr;
    s->text = s->files[std::size_t(index)].second;
    return s->text.c_str();
}

EXPORT(vx_text_size) int vx_text_size(int id)
{
    Slot *s = slot(id);
    return s ? int(s->text.size()) : 0;
}

// Picture `index` as width x height RGBA bytes in the buffer.
EXPORT(vx_set_picture) void vx_set_picture(int id, int index, int width, int height)
{
    Slot *s = slot(id);
    if (!s || index < 0 || index >= int(s->pictures.size()) || width <= 0 || height <= 0 || width > MaxSide ||
        height > MaxSide || buffer.size() < std::size_t(width) * std::size_t(height) * 4)
        return;
    Picture &picture = s->pictures[std::size_t(index)].second;
    picture.width = width;
    picture.height = height;
    picture.rgba.assign(buffer.begin(), buffer.begin() + std::ptrdiff_t(std::size_t(width) * std::size_t(height) * 4));
}

// Starts the effect: 1 when it runs, 0 when it was refused (the problem by vx_problem).
EXPORT(vx_start) int vx_start(int id)
{
    Slot *s = slot(id);
    if (!s) return 0;
    s->text = s->animation.open(s->tag, s->pictures);
    s->pictures.clear(); // the effect has taken what it needs
    return s->text.empty() ? 1 : 0;
}

EXPORT(vx_problem) const char *vx_problem(int id)
{
    Slot *s = slot(id);
    return s ? s->text.c_str() : nullptr;
}

EXPORT(vx_width) int vx_width(int id)
{
    Slot *s = slot(id);
    return s ? s->animation.width() : 0;
}

EXPORT(vx_height) int vx_height(int id)
{
    Slot *s = slot(id);
    return s ? s->animation.height() : 0;
}

EXPORT(vx_fps) int vx_fps(int id)
{
    Slot *s = slot(id);
    return s && s->animation.info() ? s->animation.info()->framesPerSecond : 25;
}

// Frame `n` as width x height RGBA bytes.
EXPORT(vx_frame) const std::uint8_t *vx_frame(int id, int n)
{
    Slot *s = slot(id);
    return s ? s->animation.frame(std::uint32_t(n < 0 ? 0 : n)) : nullptr;
}
