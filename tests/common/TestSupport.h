#pragma once

#include "Reporter.h"
#include "settings/Folders.h"
#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace vexa::test {

// A complete, private world for one test: a settings store in a temporary folder,
// an installation folder ("install", applets in "install/applets", help pages in
// "install/help") whose applet folders the test fills with fixture files, and a
// reporter that records every message.
class TestEnvironment {
public:
    // `defaultsFile` empty: the fixture defaults of tests/data/defaults.ini.
    explicit TestEnvironment(const QString &defaultsFile = QString());

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString installDir() const { return path(QStringLiteral("install")); }
    QString storeFile() const { return path(QStringLiteral("settings.conf")); }

    // Creates the applet folder of `appletId` holding `files`; each file's content is its name.
    QString makeAppletFolder(const QString &appletId, const QStringList &files = {});
    // Writes `bytes` to `path`, creating folders as needed.
    static void writeFile(const QString &path, const QByteArray &bytes);
    static QByteArray readFile(const QString &path);

    // Reopens the store from disk (after sync), as a new run of the program would.
    void reopenStore();

    RecordingReporter reporter;
    SettingsStore &store() { return *m_store; }
    Folders &folders() { return *m_folders; }

private:
    QTemporaryDir m_dir;
    QString m_defaultsFile;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<Folders> m_folders;
};

// tests/data/<relative>
QString testData(const QString &relative);

// The first bytes of a GIF picture of the given size: all the size reader needs.
QByteArray gifHeader(int width, int height);

} // namespace vexa::test
