// The cost of the applet tag against the store reads it is made of: the tag of all
// 40 applets with full sections, and reading the same keys straight from the store.
#include "Reporter.h"
#include "catalogue/Catalogue.h"
#include "settings/SettingsStore.h"
#include "tag/AppletBlocks.h"
#include "tag/TagGenerator.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace vexa;

namespace {

const char *const kCommonKeys[] = {
    "Width",        "Height",        "FloatMode",   "FloatX",        "FloatY",      "FloatTitle",   "FloatInFront",
    "OverImage",    "OverImgX",      "OverImgY",    "Textscroll",    "TextMode",    "TextVSpace",   "TextSizeMin",
    "TextSizeMax",  "YOffset",       "Textspeed",   "TextFont",      "TextBold",    "TextItalic",   "TextSize",
    "TextShadow",   "TextSColRed",   "TextSColGreen", "TextSColBlu", "TextColRed",  "TextColGreen", "TextColBlu",
    "TextJumpAmpl", "TextJumpSpeed", "TextSineAmpl", "TextSineSpeed", "TextSineAngle", "RegLink",   "RegNewFrame",
    "RegFrameName", "StatusMsg",     "MemDelay",    "TaskPriority",  "MinSYNC",     "FixNetscape",  "NoJavaMsg"};

// Every key the tag of `applet` reads, as written into its full section.
QStringList keysOf(const AppletBlock &block)
{
    QStringList keys;
    for (const TagRow &row : block.rows) {
        if (row.key)
            keys << QLatin1String(row.key);
        if (row.conditionKey)
            keys << QLatin1String(row.conditionKey);
        if (row.conversion >= Conversion::ImageList) {
            for (int n = 1; n <= 6; ++n)
                keys << QStringLiteral("Image_%1").arg(n) << QStringLiteral("Link_%1").arg(n)
                     << QStringLiteral("StatusMsg_%1").arg(n) << QStringLiteral("Flip_%1").arg(n);
        }
    }
    for (const char *key : kCommonKeys)
        keys << QLatin1String(key);
    keys.removeDuplicates();
    return keys;
}

struct World {
    QTemporaryDir dir;
    SilentReporter reporter;
    std::unique_ptr<SettingsStore> store;
    QList<QPair<QString, QStringList>> sections;

    World()
    {
        store = std::make_unique<SettingsStore>(dir.filePath("s.conf"), QString(), reporter);
        for (const AppletBlock &block : appletBlocks()) {
            const QString applet = QLatin1String(block.appletId);
            const QStringList keys = keysOf(block);
            for (const QString &key : keys)
                store->write(applet, key, key == QLatin1String("Textscroll") ? QStringLiteral("scr.txt")
                                                                            : QStringLiteral("value of ") + key);
            sections.append({applet, keys});
        }
        store->sync();
    }
};

World &world()
{
    static World w;
    return w;
}

void TagOfAllApplets(benchmark::State &state)
{
    TagGenerator generator(*world().store);
    qint64 bytes = 0;
    for (auto _ : state) {
        for (const auto &section : world().sections) {
            const QString tag = generator.generate(section.first);
            bytes += tag.size();
            benchmark::DoNotOptimize(tag);
        }
    }
    state.SetBytesProcessed(bytes * 2);
}
BENCHMARK(TagOfAllApplets);

void ReadSameKeysFromStore(benchmark::State &state)
{
    for (auto _ : state) {
        for (const auto &[applet, keys] : world().sections) {
            for (const QString &key : keys)
                benchmark::DoNotOptimize(world().store->read(applet, key));
        }
    }
}
BENCHMARK(ReadSameKeysFromStore);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
