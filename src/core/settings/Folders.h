#pragma once

#include "Message.h"
#include "io/FileCopy.h"

#include <QString>

namespace vexa {

class SettingsStore;

// The folders of the installation, read once from `Application` (`Dir`, `AppletDir`,
// `HelpDir`). Where the store holds none, the bundled installation data is used, so
// a new user needs no set-up; installed (or where the build tree's cannot be written),
// the user works in a copy of its applet folders under the user's data location.
class Folders {
public:
    explicit Folders(const SettingsStore &store);
    Folders(const QString &installDir, const QString &appletDirName, const QString &helpDirName);

    QString installDir() const { return m_installDir; }
    QString appletDirName() const { return m_appletDirName; }
    QString helpDirName() const { return m_helpDirName; }

    // install folder / AppletDir: holds one folder per applet and the button image.
    QString appletDirectory() const;
    // applet directory / the applet's folder name.
    QString appletFolder(const QString &appletId) const;
    QString helpFolder() const;
    QString helpPage(const QString &appletId) const;
    // The applet's scroll-text file, or empty when it has none.
    QString scrollTextFile(const QString &appletId) const;

    // What went wrong making the user's own copy of the applet folders, to be said once
    // at start; a message of id 0 when nothing did. The installation's folders are used
    // meanwhile, so what needs no writing still works.
    Message problem() const;
    // A failure to write into the applet folders, with that cause added to its reason.
    FileError explained(FileError error) const;

private:
    QString m_installDir;
    QString m_appletDirName;
    QString m_helpDirName;
    QString m_appletDirectory; // the user's own copy, when the installation's cannot be written
    QString m_userCopy;        // the copy that could not be made, and why
    QString m_userCopyProblem;
};

} // namespace vexa
