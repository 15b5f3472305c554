// Old INI-style project files: no input may hang, crash or read out of bounds; a
// refused file changes nothing, an accepted one stores its first section exactly.
#include "ProjectFuzzWorld.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (vexa::fuzz::ProjectFuzzWorld::hasMagic(bytes))
        return 0; // the current format is fuzz_projectopen's
    vexa::fuzz::ProjectFuzzWorld::instance().open(bytes);
    return 0;
}
