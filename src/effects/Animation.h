#pragma once

#include "Effect.h"
#include "Tag.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vexa::effects {

// One applet tag played by its effect: the frames as RGBA bytes, frame n always the same.
class Animation {
public:
    using Pictures = std::vector<std::pair<std::string, Picture>>;

    // The pictures the tag's effect reads: parameter name -> file name as the tag gives it.
    static std::vector<std::pair<std::string, std::string>> pictureFiles(const AppletTag &tag);

    // Starts the effect of `tag` with the pictures read for it. Empty on success, else why
    // not (an applet the engine does not know, a size out of range).
    std::string open(const AppletTag &tag, const Pictures &pictures);

    // Frame `n` (0 is the first); the bytes stay valid until the next call.
    const std::uint8_t *frame(std::uint32_t n);

    int width() const { return m_width; }
    int height() const { return m_height; }
    const EffectInfo *info() const { return m_info; }

private:
    const EffectInfo *m_info = nullptr;
    std::unique_ptr<Effect> m_effect;
    std::vector<std::uint8_t> m_pixels;
    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_steps = 0; // time steps taken since the start
};

} // namespace vexa::effects
