#include "InstallData.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "SettingsStore.h"
#include "io/FileCopy.h"

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace vexa {

QString InstallData::playerScript() { return dir() + QStringLiteral("/vexajava-effects.js"); }

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

bool InstallData::isBuildTree(const QString &dataDir)
{
    const QString built = QFileInfo(QStringLiteral(VEXAJAVA_BUILD_DATA_DIR)).canonicalFilePath();
    return !built.isEmpty() && QFileInfo(dataDir).canonicalFilePath() == built;
}

QString InstallData::userAppletDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/") +
           SettingsStore::Organisation + QStringLiteral("/") + SettingsStore::Product + QStringLiteral("/") +
           defaultAppletDirName();
}

QString InstallData::makeFolder(const QString &folder)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (QFileInfo(path).isDir())
        return QString();
#ifdef Q_OS_UNIX
    // One level at a time, so that the reason is the one of the level that failed.
    QString made;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        made += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(made).constData(), 0777) == 0)
            continue;
        const int error = errno;
        const QFileInfo there(made);
        if (error != EEXIST)
            return qt_error_string(error);
        if (there.isSymLink() && !there.isDir())
            return QStringLiteral("\"%1\" is a link that leads to no folder").arg(made);
        if (!there.isDir())
            return QStringLiteral("\"%1\" is a file, not a folder").arg(made);
    }
    return QString();
#else
    return QDir().mkpath(path) ? QString() : QStringLiteral("the folder cannot be made");
#endif
}

int InstallData::copyMissing(const QString &from, const QString &to, QString *problem)
{
    int copied = 0;
    auto note = [problem](const QString &what) {
        if (problem && problem->isEmpty())
            *problem = what;
    };
    note(makeFolder(to));
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        if (QFileInfo::exists(target))
            continue; // the user's own copy stays as it is
        if (const QString reason = makeFolder(QFileInfo(target).absolutePath()); !reason.isEmpty()) {
            note(reason);
            continue;
        }
        // A new file is the user's to change, whatever the installed one allows.
        if (const FileError error = FileCopy::copy(source, target); !error.ok())
            note(QStringLiteral("\"%1\" cannot be copied: %2").arg(source, error.reason));
        else
            ++copied;
    }
    return copied;
}

} // namespace vexa
