#pragma once

#include <QString>

namespace vexa {

class Folders;
class Reporter;

// The applets' own sample pages lie in their folders and come with the applets' files,
// which the program does not ship. The page of them all is made where the applet
// folders are, linking each sample page that is there and naming the folder of each
// that is not, so no link leads nowhere.
class SamplePages {
public:
    SamplePages(const Folders &folders, Reporter &reporter) : m_folders(folders), m_reporter(reporter) {}

    // The applet's sample page, or "" (said, naming the page and its folder) when the
    // applet's files are not there.
    QString page(const QString &appletId) const;
    // Writes the page of all sample pages into the applet directory: its path, or ""
    // when it could not be written (said).
    QString writeIndex() const;
    // Its text, for the applet directory `folder`.
    QString indexText() const;

    static QString indexFileName() { return QStringLiteral("samples.html"); }

private:
    const Folders &m_folders;
    Reporter &m_reporter;
};

} // namespace vexa
