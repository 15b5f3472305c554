#include "Folders.h"

#include "InstallData.h"
#include "SettingsStore.h"
#include "catalogue/Catalogue.h"
#include "strings/StringIds.h"

#include <QFileInfo>

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
    // An installation's applet folders never take the preview page or the user's pictures,
    // wherever it lies (for the system, or in a prefix the user may write): the user works in
    // a copy of them, and uninstalling leaves nothing of the user's behind. The build tree's
    // are written in place where they can be; a chosen Dir is left alone.
    const QString installed = m_installDir + QLatin1Char('/') + m_appletDirName;
    const bool inPlace = InstallData::isBuildTree(m_installDir) && InstallData::isWritable(installed);
    if (!store.read(QString(), QStringLiteral("Dir")).isEmpty() || inPlace)
        return;
    const QString userCopy = InstallData::userAppletDirectory();
    QString problem;
    InstallData::copyMissing(installed, userCopy, &problem);
    if (problem.isEmpty() && !InstallData::isWritable(userCopy))
        problem = QStringLiteral("it cannot be written");
    if (QFileInfo(userCopy).isDir())
        m_appletDirectory = userCopy;
    if (!problem.isEmpty()) {
        m_userCopy = userCopy;
        m_userCopyProblem = problem;
    }
}

Message Folders::problem() const
{
    if (m_userCopyProblem.isEmpty())
        return Message{};
    Message m = message(Str::AppletFolderNotMade, MessageIcon::Exclamation);
    m.text = m.text.arg(m_userCopy, m_userCopyProblem, appletDirectory());
    return m;
}

FileError Folders::explained(FileError error) const
{
    const QString folder = appletDirectory() + QLatin1Char('/');
    if (!error.ok() && !m_userCopyProblem.isEmpty() && error.path.startsWith(folder))
        error.reason = QStringLiteral("%1; your own copy of the applet folders could not be made in \"%2\": %3")
                           .arg(error.reason, m_userCopy, m_userCopyProblem);
    return error;
}

Folders::Folders(const QString &installDir, const QString &appletDirName, const QString &helpDirName)
    : m_installDir(installDir), m_appletDirName(appletDirName), m_helpDirName(helpDirName)
{
}

QString Folders::appletDirectory() const
{
    return m_appletDirectory.isEmpty() ? m_installDir + QLatin1Char('/') + m_appletDirName : m_appletDirectory;
}

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
