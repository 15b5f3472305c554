#include "BrowserLauncher.h"

#include "ProcessStarter.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace vexa {

QString BrowserLauncher::systemOpener()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("open");
#else
    return QStringLiteral("xdg-open");
#endif
}

BrowserLauncher::BrowserLauncher(const SettingsStore &store, ProcessStarter &starter)
    : m_store(store), m_starter(starter)
{
}

QString BrowserLauncher::inForce(const QString &setting)
{
    const QString browser = setting.trimmed();
    return browser.isEmpty() ? defaultBrowser() : browser;
}

bool BrowserLauncher::open(const QString &address, QString *why)
{
    const QString browser = inForce(m_store.read(QString(), QStringLiteral("Browser")));
    const QFileInfo file(address);
    const QString target = file.isAbsolute() && file.exists() ? QDir::toNativeSeparators(file.absoluteFilePath())
                                                              : address;
    const bool system = browser == defaultBrowser();
    const QString program = system ? systemOpener() : browser;
    const QString failure = system && m_defaultHandler ? m_defaultHandler(target) : m_starter.start(program, {target});
    if (!failure.isEmpty() && why)
        *why = QStringLiteral("\"%1\" %2 for \"%3\"").arg(program, failure, target);
    return failure.isEmpty();
}

} // namespace vexa
