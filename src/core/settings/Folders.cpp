#include "Folders.h"

#include "InstallData.h"
#include "SettingsStore.h"
#include "catalogue/Catalogue.h"

namespace vexa {
namespace {

QString orDefault(const QString &value, const QString &fallback)
{
    return value.isEmpty() ? fallback : value;
}

} // namespace

Folders::Folders(const SettingsStore &store)
    : m_installDir(orDefault(store.read(QString(), QStringLiteral("Dir")), InstallData::dir())),
      m_appletDirName(orDefault(store.read(QString(), QStringLiteral("AppletDir")), InstallData::defaultAppletDirName())),
      m_helpDirName(orDefault(store.read(QString(), QStringLiteral("HelpDir")), InstallData::defaultHelpDirName()))
{
}

Folders::Folders(const QString &installDir, const QString &appletDirName, const QString &helpDirName)
    : m_installDir(installDir), m_appletDirName(appletDirName), m_helpDirName(helpDirName)
{
}

QString Folders::appletDirectory() const { return m_installDir + QLatin1Char('/') + m_appletDirName; }

QString Folders::appletFolder(const QString &appletId) const
{
    return appletDirectory() + QLatin1Char('/') + Catalogue::folderName(appletId);
}

QString Folders::helpFolder() const { return m_installDir + QLatin1Char('/') + m_helpDirName; }

QString Folders::helpPage(const QString &appletId) const
{
    return helpFolder() + QLatin1Char('/') + Catalogue::helpPage(appletId);
}

QString Folders::scrollTextFile(const QString &appletId) const
{
    const QString name = Catalogue::scrollTextFile(appletId);
    return name.isEmpty() ? QString() : appletFolder(appletId) + QLatin1Char('/') + name;
}

} // namespace vexa
