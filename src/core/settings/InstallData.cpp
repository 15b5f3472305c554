#include "InstallData.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "SettingsStore.h"

namespace vexa {

QString InstallData::dir()
{
    QStringList candidates;
    if (QCoreApplication::instance())
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../" VEXAJAVA_DATA_SUBDIR);
    candidates << QStringLiteral(VEXAJAVA_BUILD_DATA_DIR) << QStringLiteral(VEXAJAVA_INSTALL_DATA_DIR);
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate + QStringLiteral("/defaults.ini")))
            return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
    }
    return QDir::cleanPath(candidates.last());
}

QString InstallData::defaultsFile() { return dir() + QStringLiteral("/defaults.ini"); }

namespace {

std::function<bool(const QString &)> &writableCheck()
{
    static std::function<bool(const QString &)> check = [](const QString &folder) {
        const QFileInfo info(folder);
        return info.isDir() && info.isWritable();
    };
    return check;
}

} // namespace

bool InstallData::isWritable(const QString &folder) { return writableCheck()(folder); }

void InstallData::setWritableCheck(std::function<bool(const QString &)> check) { writableCheck() = std::move(check); }

QString InstallData::userAppletDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/") +
           SettingsStore::Organisation + QStringLiteral("/") + SettingsStore::Product + QStringLiteral("/") +
           defaultAppletDirName();
}

int InstallData::copyMissing(const QString &from, const QString &to)
{
    int copied = 0;
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        if (QFileInfo::exists(target))
            continue; // the user's own copy stays as it is
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(source, target)) {
            // Installed files are read-only; the user's copies are the user's to change.
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
            ++copied;
        }
    }
    return copied;
}

} // namespace vexa
