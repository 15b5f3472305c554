#pragma once

#include "services/Services.h"

#include <QList>
#include <QQueue>

namespace vexa::test {

// Services that never open a window: every message and question is recorded, and
// answers, file names and colours come from queues the test fills beforehand.
class ScriptedServices : public Services {
public:
    void showMessage(const Message &message) override { messages.append(message); }
    bool ask(const Message &message) override
    {
        questions.append(message);
        return answers.isEmpty() ? false : answers.dequeue();
    }
    QString openFile(const QString &filter) override
    {
        filters.append(filter);
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    QStringList openFiles(const QString &filter) override
    {
        filters.append(filter);
        return fileLists.isEmpty() ? QStringList() : fileLists.dequeue();
    }
    QString saveFile(const QString &filter, const QString &) override
    {
        filters.append(filter);
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    std::optional<QColor> chooseColour(const QColor &initial) override
    {
        colourRequests.append(initial);
        if (colours.isEmpty())
            return std::nullopt;
        return colours.dequeue();
    }
    void setClipboardText(const QString &text) override { clipboard = text; }
    bool openInBrowser(const QString &address, QString &why) override
    {
        opened.append(address);
        if (!browserStarts)
            why = QStringLiteral("\"browser\" ended with status 2 for \"%1\"").arg(address);
        return browserStarts;
    }
    void openInBrowserLater(const QString &address, std::function<void(const QString &why)> failed) override
    {
        QString why;
        if (!openInBrowser(address, why))
            failed(why);
    }
    bool openFolder(const QString &path) override
    {
        openedFolders.append(path);
        return true;
    }
    void showTextDocument(const QString &path) override { textDocuments.append(path); }
    void showInfo(const InfoNotice &notice) override { notices.append(notice); }
    std::optional<QString> chooseBrowser(const QString &current) override
    {
        browserDialogs.append(current);
        if (browserChoices.isEmpty())
            return std::nullopt;
        return browserChoices.dequeue();
    }
    void showAbout() override { ++aboutShown; }

    QList<int> messageIds() const
    {
        QList<int> ids;
        for (const Message &m : messages)
            ids.append(m.id);
        return ids;
    }

    QList<Message> messages;
    QList<Message> questions;
    QQueue<bool> answers;
    QQueue<QString> fileNames;
    QQueue<QStringList> fileLists;
    QQueue<QColor> colours;
    QQueue<QString> browserChoices;
    QStringList filters;
    QList<QColor> colourRequests;
    QString clipboard;
    QStringList opened;
    bool browserStarts = true;
    QStringList textDocuments;
    QStringList openedFolders;
    QList<InfoNotice> notices;
    QStringList browserDialogs;
    int aboutShown = 0;
};

} // namespace vexa::test
