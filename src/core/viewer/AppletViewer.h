#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace vexa {

// What the running viewer tells: its first painting, the applet's status texts, the
// viewer's own messages (what it refused an applet, why an applet stopped), the documents
// the applet asks the browser to show and the pictures the user saved.
struct ViewerEvent {
    enum class Kind { Painted, Status, Message, Document, Picture };
    Kind kind = Kind::Painted;
    QString text;   // the status text or message, the document's address, the picture's file
    QString target; // the frame a document is meant for ("_self" when none was named)

    // One line of the viewer's events channel; nothing for a line it does not know.
    static std::optional<ViewerEvent> parse(const QByteArray &line);
    // What a browser may be given for a document the applet of the page in `pageFolder` asked
    // for: a web address, or the path of a file in the page's folder; empty for anything
    // else (other files, script addresses, text a browser would take for an option).
    static QString openableAddress(const QString &address, const QString &pageFolder);
};

// The applet viewer: a small Java program installed with the data that runs the applets
// of a page in a window of its own, as browsers once did. No browser of today runs Java,
// so it is the one way to see an applet move.
class AppletViewer {
public:
    // The viewer's exit statuses.
    enum Status { Done = 0, Failed = 1, WrongUsage = 2, NoAppletSupport = 3, CodeMissing = 5, NoSandbox = 6, Hung = 7 };
    // The last Java with a security manager, which keeps applets in the viewer's own sandbox.
    static constexpr int LastJavaWithSecurityManager = 23;
    // The viewer's memory in MB, unless VEXAJAVA_VIEWER_HEAP_MB asks for another (64 to 4096).
    static constexpr int DefaultHeapMb = 256;

    static QString jarName() { return QStringLiteral("vexajava-viewer.jar"); }
    static QString jarPath();
    // The Java runtime: JAVA_HOME's when that is set (as Java tools do), else the first
    // "java" on the PATH; empty when there is none.
    static QString javaProgram();

    // The runtime's major version (8, 17, 25) from its release file, else from its own
    // word; 0 when it cannot be told.
    static int javaFeatureVersion(const QString &java);

    // The command that runs the viewer on `page`, with the viewer's `options`, in the process
    // sandbox where it can be used; `privateFolder` is the one folder the viewer may write.
    struct Launch {
        QString program;
        QStringList arguments;
        QString problem;    // why the viewer cannot start: no runtime, no viewer, no sandbox at all
        QString sandboxOff; // why the process sandbox is not used; empty when it is
        bool ok() const { return problem.isEmpty(); }
    };
    static Launch launch(const QString &page, const QStringList &options, const QString &privateFolder);

    // What the user reads after the viewer of `java` ended with `status` having written
    // `errors`; empty when it ended well.
    static QString failure(const QString &java, int status, const QByteArray &errors);
    // What the user reads when the runtime could not even be started.
    static QString startFailure(const QString &java, const QString &reason);
    // The runtime's version as "java -version" names it; empty when it cannot be told.
    static QString javaVersion(const QString &java);

    // Runs the viewer and waits for it to end: at most `timeoutMs` (0: as long as its
    // window is open), calling `onEvent` for each event and `waiting` between looks, so a
    // window can keep painting. Empty, or what went wrong.
    static QString run(const QString &page, const QStringList &options, const QString &privateFolder, int timeoutMs,
                       const std::function<void(const ViewerEvent &)> &onEvent = {},
                       const std::function<void()> &waiting = {});
};

} // namespace vexa
