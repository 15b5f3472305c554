#pragma once

// Shared by the project-file fuzz targets: every open starts from a fresh settings
// store holding the same few values, so no input depends on the ones before it and
// nothing piles up over a run; and the checks every opened input must pass.
#include "Reporter.h"
#include "SettingsFiles.h"
#include "publish/ProjectFile.h"
#include "settings/IniText.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

namespace vexa::fuzz {

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

class ProjectFuzzWorld {
public:
    static ProjectFuzzWorld &instance()
    {
        static ProjectFuzzWorld world;
        return world;
    }

    static bool hasMagic(const QByteArray &bytes)
    {
        const qsizetype n = ProjectFile::Magic.size();
        return bytes.startsWith(ProjectFile::Magic) && (bytes.size() == n || bytes.at(n) == '\0');
    }

    // Opens `bytes` on the selection page and on the page of another applet.
    void open(const QByteArray &bytes)
    {
        // What the file holds if it is well formed, the last value of a key winning.
        QString applet;
        QHash<QString, QString> expected;
        const bool oldFormat = !hasMagic(bytes);
        if (oldFormat) {
            const QList<IniSection> sections = IniText::parse(bytes);
            if (!sections.isEmpty()) {
                applet = sections.first().name;
                for (const auto &line : sections.first().lines)
                    expected.insert(line.first.toLower(), line.second);
            }
        } else if (bytes.size() >= ProjectFile::RecordSize) {
            applet = text(bytes, ProjectFile::DataOffset, ProjectFile::DataSize);
            for (qsizetype at = ProjectFile::RecordSize; at + ProjectFile::RecordSize <= bytes.size();
                 at += ProjectFile::RecordSize)
                expected.insert(text(bytes, at, ProjectFile::NameSize).toLower(),
                                text(bytes, at + ProjectFile::DataOffset, ProjectFile::DataSize));
        }
        for (bool selectionPage : {false, true})
            check(bytes, applet, expected, oldFormat, selectionPage);
    }

private:
    // The field's text up to its first zero, or all of it when it has none.
    static QString text(const QByteArray &bytes, qsizetype at, int size)
    {
        const char *field = bytes.constData() + at;
        const char *end = static_cast<const char *>(std::memchr(field, 0, size_t(size)));
        return ProjectFile::decodeText(QByteArray(field, end ? end - field : size));
    }

    void check(const QByteArray &bytes, const QString &fileApplet, const QHash<QString, QString> &expected,
               bool oldFormat, bool selectionPage)
    {
        const QString path = dir.filePath(QStringLiteral("settings.conf"));
        QFile initial(path);
        require(initial.open(QIODevice::WriteOnly) && initial.write(SeedText) == SeedText.size());
        initial.close();
        {
            RecordingReporter reporter;
            SettingsStore store(path, dir.filePath(QStringLiteral("none.ini")), reporter);
            check(store, reporter, bytes, fileApplet, expected, oldFormat, selectionPage);
        }
        removeSettingsFile(path);
    }

    void check(SettingsStore &store, RecordingReporter &reporter, const QByteArray &bytes,
               const QString &fileApplet, const QHash<QString, QString> &expected, bool oldFormat,
               bool selectionPage)
    {
        const QString initial = selectionPage ? QString() : QStringLiteral("BLOBS");
        QString current = initial;
        ProjectFile project(store, reporter);
        const int result = project.openData(bytes, &current, selectionPage);
        const QList<int> ids = reporter.ids();
        if (result != 1) {
            // A refused file leaves the store and the current applet as they were.
            require(storeBytes(store) == SeedText && current == initial);
            const QList<int> wrongApplet{Str::ProjectOpenWrongApplet};
            require(result == 0 ? ids == wrongApplet || (selectionPage && ids.isEmpty())
                                : ids == QList<int>{Str::ProjectOpenBadFormat});
            return;
        }
        require(current == fileApplet && (selectionPage || current == initial));
        require(ids == (oldFormat ? QList<int>{Str::ProjectOldFormat} : QList<int>()));
        checkValues(store, fileApplet, expected);
        // Values of other sections stay.
        if (fileApplet != SettingsStore::ApplicationSection)
            require(store.read(SettingsStore::ApplicationSection, QStringLiteral("Browser")) ==
                    QLatin1String("keep me"));
        checkFromDisk(store, fileApplet, expected);
    }

    ProjectFuzzWorld() = default;

    static QByteArray storeBytes(SettingsStore &store)
    {
        store.sync();
        QFile file(store.fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void checkValues(SettingsStore &s, const QString &id, const QHash<QString, QString> &expected)
    {
        for (auto it = expected.begin(); it != expected.end(); ++it)
            require(s.read(id, it.key()) == it.value());
    }

    // The values must also survive being written out and read back by a new store,
    // one that reads the file under a name QSettings has no copy of.
    void checkFromDisk(SettingsStore &store, const QString &id, const QHash<QString, QString> &expected)
    {
        if (expected.isEmpty())
            return; // nothing was written
        const QString copy = dir.filePath(QStringLiteral("copy.conf"));
        require(QFile::copy(store.fileName(), copy));
        {
            SilentReporter silent;
            SettingsStore reread(copy, dir.filePath(QStringLiteral("none.ini")), silent);
            checkValues(reread, id, expected);
        }
        removeSettingsFile(copy);
    }

    // What every store starts with: a value of the program's own and one of BLOBS, the
    // applet that the open off the selection page expects. No default sections: their
    // file is never created.
    inline static const QByteArray SeedText =
        QByteArrayLiteral("[Application]\nBrowser=keep me\n\n[BLOBS]\nKeep=kept\n");

    QTemporaryDir dir;
};

} // namespace vexa::fuzz
