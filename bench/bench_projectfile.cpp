// A project of 1,000 values against plain file writes and reads of the same
// number of bytes: checking every record before writing and the atomic save
// should stay a small share of the cost; open includes storing and syncing.
#include "Reporter.h"
#include "publish/ProjectFile.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr int Values = 1000;
const QString Applet = QStringLiteral("BLOBS");
constexpr qint64 FileSize = qint64(Values + 1) * vexa::ProjectFile::RecordSize;

struct World {
    QTemporaryDir dir;
    vexa::SilentReporter reporter;
    vexa::SettingsStore store{dir.filePath(QStringLiteral("settings.conf")), QString(), reporter};
    QString project = dir.filePath(QStringLiteral("project.vxp"));
    QString raw = dir.filePath(QStringLiteral("raw.bin"));

    World()
    {
        for (int i = 0; i < Values; ++i)
            store.write(Applet, QStringLiteral("Key_%1").arg(i),
                        QStringLiteral("value %1, with \"quotes\" and caf\u00e9").arg(i));
        store.sync();
        vexa::ProjectFile file(store, reporter);
        if (file.save(Applet, project) != 1)
            std::abort();
    }
};

World &world()
{
    static World w;
    return w;
}

void projectSave(benchmark::State &state)
{
    World &w = world();
    vexa::ProjectFile file(w.store, w.reporter);
    for (auto _ : state)
        if (file.save(Applet, w.project) != 1)
            std::abort();
    state.SetBytesProcessed(state.iterations() * FileSize);
}

void projectOpen(benchmark::State &state)
{
    World &w = world();
    vexa::ProjectFile file(w.store, w.reporter);
    for (auto _ : state) {
        QString current = Applet;
        if (file.open(w.project, &current, false) != 1)
            std::abort();
    }
    state.SetBytesProcessed(state.iterations() * FileSize);
}

void rawWrite(benchmark::State &state)
{
    World &w = world();
    const QByteArray bytes(FileSize, 'x');
    for (auto _ : state) {
        QFile file(w.raw);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
    state.SetBytesProcessed(state.iterations() * FileSize);
}

void rawSaveFile(benchmark::State &state)
{
    World &w = world();
    const QByteArray bytes(FileSize, 'x');
    for (auto _ : state) {
        QSaveFile file(w.raw);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            std::abort();
    }
    state.SetBytesProcessed(state.iterations() * FileSize);
}

void rawRead(benchmark::State &state)
{
    World &w = world();
    for (auto _ : state) {
        QFile file(w.project);
        if (!file.open(QIODevice::ReadOnly) || file.readAll().size() != FileSize)
            std::abort();
    }
    state.SetBytesProcessed(state.iterations() * FileSize);
}

// What open cannot do with less: read the project and write the settings file it
// lands in once, atomically.
void rawReadAndStoreWrite(benchmark::State &state)
{
    World &w = world();
    QFile settings(w.store.fileName());
    if (!settings.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray stored = settings.readAll();
    for (auto _ : state) {
        QFile project(w.project);
        if (!project.open(QIODevice::ReadOnly) || project.readAll().size() != FileSize)
            std::abort();
        QSaveFile file(w.raw);
        if (!file.open(QIODevice::WriteOnly) || file.write(stored) != stored.size() || !file.commit())
            std::abort();
    }
    state.SetBytesProcessed(state.iterations() * FileSize);
}

// The same through the store: read the project's bytes, then write the values it holds
// into the store in one batch and commit them.
void rawReadAndStoreBatch(benchmark::State &state)
{
    World &w = world();
    const vexa::SettingsStore::Values values = w.store.values(Applet);
    for (auto _ : state) {
        QFile project(w.project);
        if (!project.open(QIODevice::ReadOnly) || project.readAll().size() != FileSize)
            std::abort();
        w.store.write(Applet, values);
        w.store.sync();
    }
    state.SetBytesProcessed(state.iterations() * FileSize);
}

} // namespace

BENCHMARK(projectSave)->Unit(benchmark::kMicrosecond);
BENCHMARK(projectOpen)->Unit(benchmark::kMicrosecond);
BENCHMARK(rawWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(rawSaveFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(rawRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(rawReadAndStoreWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(rawReadAndStoreBatch)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
