#pragma once

#include "services/Services.h"

#include <QPointer>
#include <QWidget>

namespace vexa {

class SettingsStore;
class Folders;

// The real dialogs, clipboard and browser.
class QtServices : public Services {
public:
    QtServices(SettingsStore &store, Folders &folders) : m_store(store), m_folders(folders) {}
    // Dialogs open over this window.
    void setParentWindow(QWidget *window) { m_parent = window; }

    void showMessage(const Message &message) override;
    bool ask(const Message &message) override;
    QString openFile(const QString &filter) override;
    QStringList openFiles(const QString &filter) override;
    QString saveFile(const QString &filter, const QString &defaultSuffix) override;
    std::optional<QColor> chooseColour(const QColor &initial) override;
    void setClipboardText(const QString &text) override;
    bool openInBrowser(const QString &address, QString &why) override;
    void openInBrowserLater(const QString &address, std::function<void(const QString &why)> failed) override;
    bool openFolder(const QString &path) override;
    void showTextDocument(const QString &path) override;
    void showInfo(const InfoNotice &notice) override;
    std::optional<QString> chooseBrowser(const QString &current) override;
    void showAbout() override;

private:
    QString lastFolder(const QString &filter) const;
    void rememberFolder(const QString &filter, const QString &file);

    SettingsStore &m_store;
    Folders &m_folders;
    QPointer<QWidget> m_parent;
};

} // namespace vexa
