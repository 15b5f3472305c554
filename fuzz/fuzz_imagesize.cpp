// Picture headers come from any file the user picks: no input may hang, crash or
// read out of bounds, and a found size must fit the 16-bit header fields.
#include "Reporter.h"
#include "publish/ImageSize.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    vexa::RecordingReporter reporter;
    QStringList diagnostics; // kept off standard error
    const vexa::ImageInfo info = vexa::ImageSize::read(bytes, reporter, &diagnostics);
    const bool consistent = info.found ? reporter.messages.isEmpty() && !info.extension.isEmpty()
                                       : reporter.messages.size() == 1 && info.extension.isEmpty();
    if (!consistent || info.width < 0 || info.width > 0xFFFF || info.height < 0 || info.height > 0xFFFF)
        std::abort();
    // Every diagnostic stands for bytes read or a failed read, so their number stays small.
    if (diagnostics.size() > qsizetype(size) + 8)
        std::abort();
    return 0;
}
