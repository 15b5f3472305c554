#include "BrowserLauncher.h"

#include "ProcessStarter.h"
#include "settings/SettingsStore.h"

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

bool BrowserLauncher::open(const QString &address)
{
    const QString browser = inForce(m_store.read(QString(), QStringLiteral("Browser")));
    if (browser == defaultBrowser()) {
        if (m_defaultHandler)
            return m_defaultHandler(address);
        return m_starter.startDetached(systemOpener(), {address});
    }
    return m_starter.startDetached(browser, {address});
}

} // namespace vexa
