#include "TestSupport.h"

#include "catalogue/Catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QtEndian>

namespace vexa::test {

QString testData(const QString &relative) { return QStringLiteral(VEXAJAVA_TEST_DATA_DIR "/") + relative; }

QByteArray gifHeader(int width, int height)
{
    // Flags, background and aspect bytes zero: equal sizes give equal files.
    QByteArray bytes("GIF89a");
    bytes.append(7, '\0');
    qToLittleEndian<quint16>(quint16(width), bytes.data() + 6);
    qToLittleEndian<quint16>(quint16(height), bytes.data() + 8);
    return bytes;
}

TestEnvironment::TestEnvironment(const QString &defaultsFile)
    : m_defaultsFile(defaultsFile.isEmpty() ? testData(QStringLiteral("defaults.ini")) : defaultsFile)
{
    QDir(m_dir.path()).mkpath(QStringLiteral("install/applets"));
    QDir(m_dir.path()).mkpath(QStringLiteral("install/help"));
    reopenStore();
    m_store->write(QString(), QStringLiteral("Dir"), installDir());
    m_store->write(QString(), QStringLiteral("AppletDir"), QStringLiteral("applets"));
    m_store->write(QString(), QStringLiteral("HelpDir"), QStringLiteral("help"));
    m_store->sync();
    m_folders = std::make_unique<Folders>(*m_store);
}

void TestEnvironment::reopenStore()
{
    if (m_store)
        m_store->sync();
    m_store.reset();
    m_store = std::make_unique<SettingsStore>(storeFile(), m_defaultsFile, reporter);
}

QString TestEnvironment::makeAppletFolder(const QString &appletId, const QStringList &files)
{
    const QString folder = installDir() + QStringLiteral("/applets/") + Catalogue::folderName(appletId);
    QDir().mkpath(folder);
    for (const QString &name : files)
        writeFile(folder + QLatin1Char('/') + name, name.toUtf8());
    return folder;
}

void TestEnvironment::writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
}

QByteArray TestEnvironment::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace vexa::test
