#pragma once

#include "Reporter.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vexa {

// The info dialog's contents: a title, a message and a clickable link line.
struct InfoNotice {
    QString title;
    QString message;
    QString linkText;
    QString linkKeyword; // "STEP1", "VEXA3D LIGHT" or "" (the home page)
};

// Every message box, question, file and colour dialog, clipboard write, browser
// launch and small modal dialog of the program goes through this one object, so
// tests can script the answers and nothing in a test blocks on a dialog.
// File filters use the program's own form: "Name (*.a)|*.a|Other (*.*)|*.*|".
class Services : public Reporter {
public:
    // Core messages become message boxes.
    void report(const Message &message) override { showMessage(message); }

    virtual void showMessage(const Message &message) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const Message &message) = 0;
    // An existing file, or "" when cancelled.
    virtual QString openFile(const QString &filter) = 0;
    // Several existing files, or none when cancelled.
    virtual QStringList openFiles(const QString &filter) = 0;
    // A file to write (the dialog asks before replacing one), or "" when cancelled.
    virtual QString saveFile(const QString &filter, const QString &defaultSuffix) = 0;
    virtual std::optional<QColor> chooseColour(const QColor &initial) = 0;
    virtual void setClipboardText(const QString &text) = 0;
    // Shows a page or web address with the chosen browser; false when none could be
    // started, `why` then naming the command, what went wrong and the address.
    virtual bool openInBrowser(const QString &address, QString &why) = 0;
    // The same, saying so when it fails: 1542 with the cause.
    bool showInBrowser(const QString &address);
    // The same without waiting for the browser: `failed` hears later, with the cause, when
    // it did not start. For what applets ask, which must never hold up the window.
    virtual void openInBrowserLater(const QString &address, std::function<void(const QString &why)> failed) = 0;
    // Opens a folder in the system's file manager; false when that failed.
    virtual bool openFolder(const QString &path) = 0;
    // Shows a plain text document.
    virtual void showTextDocument(const QString &path) = 0;
    virtual void showInfo(const InfoNotice &notice) = 0;
    // The browser dialog: the new browser text, or nothing when cancelled.
    virtual std::optional<QString> chooseBrowser(const QString &current) = 0;
    virtual void showAbout() = 0;

    // The message for a browser that could not show a page.
    static Message browserFailure(const QString &why);
    // "Name (*.a; *.b)|*.a; *.b|..." as a Qt file dialog filter; "*.jpg" takes "*.jpeg" too.
    static QString qtFilter(const QString &filter);
    // The `Application` key that keeps the folder last used for files of this filter:
    // "Folder" and the first pattern's extension ("FolderVxp", "FolderJpg").
    static QString folderKey(const QString &filter);
};

} // namespace vexa
