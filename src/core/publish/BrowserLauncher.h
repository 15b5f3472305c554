#pragma once

#include <QString>

#include <functional>

namespace vexa {

class ProcessStarter;
class SettingsStore;

// Opens an address (a local page or a web address) with the browser of the `Browser`
// setting: "Default browser" means the system's handler, anything else is the path
// of a browser program that gets the address as its one argument. A local page is
// handed over as its path: the system's opener does not decode a file URL's escapes
// ("Vexa%20Team") and would not find the page.
class BrowserLauncher {
public:
    // Opens an address with the system's handler; empty, or what went wrong.
    using DefaultHandler = std::function<QString(const QString &address)>;

    static QString defaultBrowser() { return QStringLiteral("Default browser"); }
    // The browser a `Browser` setting stands for: a user who never chose one gets the
    // system's own, not an error.
    static QString inForce(const QString &setting);
    // The program that hands an address to the user's default browser.
    static QString systemOpener();

    BrowserLauncher(const SettingsStore &store, ProcessStarter &starter);

    // Replaces the system opener for "Default browser" (the GUI may use its desktop
    // services); an empty handler restores the opener.
    void setDefaultHandler(DefaultHandler handler) { m_defaultHandler = std::move(handler); }

    // Reads `Browser` afresh each time. False when no browser could be started; `why`
    // then names the command, what went wrong and the address.
    bool open(const QString &address, QString *why = nullptr);

private:
    const SettingsStore &m_store;
    ProcessStarter &m_starter;
    DefaultHandler m_defaultHandler;
};

} // namespace vexa
