// The picture size must cost the same for a small and a huge JPEG whose frame
// header is near the start: the reader walks the header and never the picture data.
#include "Reporter.h"
#include "publish/ImageSize.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

QByteArray be16(int value) { return QByteArray(1, char(value >> 8)) + char(value & 0xFF); }

// SOI, a small APP0, a baseline frame header, then filler up to `size` bytes.
QString makeJpeg(const QString &path, qint64 size)
{
    QByteArray head("\xFF\xD8", 2);
    head += QByteArray("\xFF\xE0", 2) + be16(16) + QByteArray("JFIF\0\1\1\0\0\1\0\1\0\0", 14);
    head += QByteArray("\xFF\xC0", 2) + be16(17) + char(8) + be16(1080) + be16(1920) + QByteArray(12, '\1');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size() || !file.resize(size))
        std::abort();
    return path;
}

const QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

void readSize(benchmark::State &state)
{
    const qint64 size = state.range(0);
    const QString path = makeJpeg(folder().filePath(QStringLiteral("picture-%1.jpg").arg(size)), size);
    vexa::SilentReporter reporter;
    for (auto _ : state) {
        const vexa::ImageInfo info = vexa::ImageSize::read(path, reporter);
        if (!info.found || info.width != 1920 || info.height != 1080)
            state.SkipWithError("wrong size");
        benchmark::DoNotOptimize(info.width);
    }
    state.SetLabel(size >= (1 << 20) ? "100 MB" : "100 KB");
}

} // namespace

BENCHMARK(readSize)->Arg(100 * 1000)->Arg(100 * 1000 * 1000);

BENCHMARK_MAIN();
