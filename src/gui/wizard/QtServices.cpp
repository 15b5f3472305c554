#include "QtServices.h"

#include "publish/BrowserLauncher.h"
#include "publish/SystemProcessStarter.h"
#include "settings/SettingsStore.h"
#include "AboutDialog.h"
#include "BrowserDialog.h"
#include "InfoDialog.h"
#include "TextViewer.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace vexa {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtServices::showMessage(const Message &message)
{
    QMessageBox box(boxIcon(message.icon), SettingsStore::Product, message.text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtServices::ask(const Message &message)
{
    QMessageBox box(boxIcon(message.icon), SettingsStore::Product, message.text,
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    return box.exec() == QMessageBox::Yes;
}

QString QtServices::openFile(const QString &filter)
{
    const QString file = QFileDialog::getOpenFileName(m_parent, QString(), lastFolder(filter), qtFilter(filter));
    rememberFolder(filter, file);
    return file;
}

QStringList QtServices::openFiles(const QString &filter)
{
    const QStringList files = QFileDialog::getOpenFileNames(m_parent, QString(), lastFolder(filter), qtFilter(filter));
    rememberFolder(filter, files.value(0));
    return files;
}

QString QtServices::saveFile(const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(m_parent, QString(), lastFolder(filter), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    rememberFolder(filter, dialog.selectedFiles().first());
    return dialog.selectedFiles().first();
}

// A file dialog opens where the last file of its kind was taken: projects, pictures,
// pages and the rest each keep their folder in the store.
QString QtServices::lastFolder(const QString &filter) const
{
    return m_store.read(QString(), folderKey(filter));
}

void QtServices::rememberFolder(const QString &filter, const QString &file)
{
    if (file.isEmpty())
        return;
    m_store.write(QString(), folderKey(filter), QFileInfo(file).absolutePath());
    m_store.sync();
}

std::optional<QColor> QtServices::chooseColour(const QColor &initial)
{
    const QColor colour = QColorDialog::getColor(initial, m_parent);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

void QtServices::setClipboardText(const QString &text) { QApplication::clipboard()->setText(text); }

namespace {

void useDesktopHandler([[maybe_unused]] BrowserLauncher &launcher)
{
#ifdef Q_OS_WIN
    // The system's handler for HTML pages stands for "Default browser"; it has no opener program.
    launcher.setDefaultHandler([](const QString &target) {
        const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl(target);
        return QDesktopServices::openUrl(url) ? QString() : QStringLiteral("cannot be opened");
    });
#endif
}

} // namespace

bool QtServices::openInBrowser(const QString &address, QString &why)
{
    SystemProcessStarter starter;
    BrowserLauncher launcher(m_store, starter);
    useDesktopHandler(launcher);
    return launcher.open(address, &why);
}

void QtServices::openInBrowserLater(const QString &address, std::function<void(const QString &why)> failed)
{
    SystemProcessStarter starter([failed, address](const QString &reason) {
        failed(QStringLiteral("%1 for \"%2\"").arg(reason, address));
    });
    BrowserLauncher launcher(m_store, starter);
    useDesktopHandler(launcher);
    QString why;
    if (!launcher.open(address, &why))
        failed(why);
}

bool QtServices::openFolder(const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

void QtServices::showTextDocument(const QString &path)
{
    TextViewer viewer(path, m_parent);
    viewer.exec();
}

void QtServices::showInfo(const InfoNotice &notice)
{
    InfoDialog dialog(notice, *this, m_folders, m_parent);
    dialog.exec();
}

std::optional<QString> QtServices::chooseBrowser(const QString &current)
{
    BrowserDialog dialog(current, *this, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.browser();
}

void QtServices::showAbout()
{
    AboutDialog dialog(m_parent);
    dialog.exec();
}

} // namespace vexa
