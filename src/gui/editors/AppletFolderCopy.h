#pragma once

#include <QString>

namespace vexa {

class Folders;
class ControlPage;
class Reporter;

// Every picked picture, sound, texture and font is copied next to the applet, which
// loads its files relative to its own folder; from then on it goes by its bare name.
class AppletFolderCopy {
public:
    // Copies `source` into the applet's folder under its own name, replacing a file of
    // that name. A source that already is the target is left alone. On failure reports
    // the file and the system's reason (5002), then 1311, and leaves any existing target intact.
    static bool copy(const QString &source, const Folders &folders, const QString &appletId, Reporter &reporter);
    // The same into the page's applet folder, reporting to the page's services.
    static bool intoAppletFolder(ControlPage &page, const QString &source);
    // Reports a copy of `source` that cannot be made, as a failed copy does.
    static void reportFailure(const QString &source, const QString &reason, Reporter &reporter);
    // How a picked file compares with the file it would replace.
    enum class Existing { None, Same, Different };
    // `existing` missing: None; the same file or the same bytes: Same; else (unreadable
    // included) Different.
    static Existing compare(const QString &source, const QString &existing);
    // The file name without its folder.
    static QString bareName(const QString &path);
    // Where a bare name of the page's applet lives.
    static QString pathInAppletFolder(ControlPage &page, const QString &name);
};

} // namespace vexa
