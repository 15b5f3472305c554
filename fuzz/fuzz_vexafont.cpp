// Font files come from any file the user picks: no input may hang, crash or read
// out of bounds, and an invalid file must leave every property empty.
#include "publish/VexaFont.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const vexa::FontProperties font = vexa::VexaFont::read(bytes);
    if (font.valid) {
        if (font.width <= 0 || font.height <= 0 || !font.comment.contains(QLatin1String("\r\n")))
            std::abort();
    } else if (font.width || font.height || font.verticalSpacing || !font.characters.isEmpty() ||
               !font.comment.isEmpty()) {
        std::abort();
    }
    return 0;
}
