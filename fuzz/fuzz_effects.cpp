// Applet tags come from any page, and the player reads them in every visitor's browser: no
// tag may hang, crash or read out of bounds in the tag reader or in any effect's start and
// first frames, whatever its parameters and pictures.
#include "Animation.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace vexa::effects;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first byte: how many frames to draw; the second: a picture's side. The rest is the page.
    const std::uint32_t frames = data[0] % 8;
    const int side = 1 + data[1] % 48;
    const std::string page(reinterpret_cast<const char *>(data + 2), size - 2);
    Picture picture{side, side, {}};
    for (int i = 0; i < side * side * 4; ++i) picture.rgba.push_back(data[std::size_t(i) % size]);
    int played = 0;
    for (const AppletTag &tag : readAppletTags(page)) {
        // Small frames keep the runs quick; the engine itself takes up to 2048 a side.
        if (tag.width > 96 || tag.height > 96 || ++played > 2)
            continue;
        Animation animation;
        Animation::Pictures pictures;
        for (const auto &[name, file] : Animation::pictureFiles(tag)) pictures.emplace_back(name, picture);
        if (!animation.open(tag, pictures).empty())
            continue;
        const std::uint8_t *first = animation.frame(frames);
        if (!first || animation.width() != tag.width || animation.height() != tag.height)
            std::abort();
        for (std::size_t i = 3; i < std::size_t(tag.width * tag.height * 4); i += 4)
            if (first[i] != 255) std::abort(); // every pixel is opaque
    }
    return 0;
}
