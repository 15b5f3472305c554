// Project files come from anywhere: no input may hang, crash or read out of
// bounds; a refused file changes nothing, an accepted one stores every record.
#include "ProjectFuzzWorld.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    vexa::fuzz::ProjectFuzzWorld::instance().open(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
