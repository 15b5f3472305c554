#include "InstallData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

} // namespace vexa
