#pragma once

#include <QString>
#include <QStringList>

namespace vexa {

// The operating system's sandbox around the applet viewer: bubblewrap (bwrap) runs it with
// the system's programs and libraries, the Java runtime, the viewer and the page's folder
// read-only, one private folder writable, no home folder, no network, in a session of its
// own, and ends it with its parent. The applets inside cannot read the user's files or
// reach the network even where the viewer's own sandbox would fail.
class ProcessSandbox {
public:
    struct Folders {
        QStringList readOnly; // the Java runtime, the viewer, the page's folder
        QString writable;     // frames and pictures
    };
    struct Command {
        QString program;
        QStringList arguments;
        QString unavailable; // why the sandbox cannot be used here; empty when `program` runs in it
    };

    // `program` with `arguments` inside the sandbox; when the sandbox cannot be used, the
    // command unchanged and why not.
    static Command wrap(const QString &program, const QStringList &arguments, const Folders &folders);

    // Empty when bwrap is installed and works here, else why not. Asked once per bwrap.
    static QString availability();

    // The local X11 socket of `display` (":0", "unix:1.0"); empty for a display reached over
    // the network, which a sandbox without network cannot reach.
    static QString displaySocket(const QString &display);
};

} // namespace vexa
