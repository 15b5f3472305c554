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

bool BrowserLauncher::open(const QString &address)
{
    const QString browser = m_store.read(QString(), QStringLiteral("Browser")).trimmed();
    // A user who never chose a browser expects the system's own, not an error.
    if (browser.isEmpty() || browser == defaultBrowser()) {
        if (m_defaultHandler)
            return m_defaultHandler(address);
        return m_starter.startDetached(systemOpener(), {address});
    }
    return m_starter.startDetached(browser, {address});
}

} // namespace vexa
