#pragma once

#include <QString>

namespace vexa {

class Folders;
class Services;

// Help topics: keywords and applet ids that name a help page or a text document.
class HelpTopics {
public:
    HelpTopics(const Folders &folders, Services &services) : m_folders(folders), m_services(services) {}

    // The page or document of `topic`, or "" for a topic that names none.
    QString path(const QString &topic) const;
    // Opens it: help pages in the browser, the two text documents in the text viewer.
    // False when the topic names nothing or the browser could not be started.
    bool open(const QString &topic);

private:
    const Folders &m_folders;
    Services &m_services;
};

} // namespace vexa
