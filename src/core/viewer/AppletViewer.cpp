#include "AppletViewer.h"

#include "ProcessSandbox.h"
#include "ViewerProcess.h"
#include "settings/InstallData.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace vexa {
namespace {

constexpr int LookMs = 50;
constexpr int VersionWaitMs = 5000;
constexpr qsizetype MaxErrorBytes = 64 * 1024; // a runaway applet must not fill the message
constexpr qsizetype MaxMessages = 50;

QString text(int id) { return StringTable::text(id); }

// "17.0.15" and "25" give 17 and 25; the old "1.8.0_392" gives 8.
int featureVersion(const QString &version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    const int first = parts.value(0).toInt();
    return first == 1 ? parts.value(1).toInt() : first;
}

// Bounds on what an applet can take of the machine: memory, and the runtime's own files.
QStringList runtimeOptions(int version)
{
    bool given = false;
    const int heap = qEnvironmentVariableIntValue("VEXAJAVA_VIEWER_HEAP_MB", &given);
    QStringList options = {QStringLiteral("-Xmx%1m").arg(given ? qBound(64, heap, 4096) : AppletViewer::DefaultHeapMb),
                           QStringLiteral("-XX:MaxMetaspaceSize=128m"), QStringLiteral("-XX:MaxDirectMemorySize=64m"),
                           QStringLiteral("-XX:-UsePerfData")};
    // The viewer installs its sandbox itself; runtimes from Java 18 on let it only when asked.
    if (version > 0 && version <= AppletViewer::LastJavaWithSecurityManager)
        options << QStringLiteral("-Djava.security.manager=allow");
    return options;
}

} // namespace

std::optional<ViewerEvent> ViewerEvent::parse(const QByteArray &line)
{
    const QStringList fields = QString::fromUtf8(line).remove(QLatin1Char('\r')).split(QLatin1Char('\t'));
    const QString &kind = fields.first();
    if (kind == QLatin1String("painted") && fields.size() == 1)
        return ViewerEvent{Kind::Painted, QString(), QString()};
    if (kind == QLatin1String("status") && fields.size() >= 2)
        return ViewerEvent{Kind::Status, fields.mid(1).join(QLatin1Char('\t')), QString()};
    if (kind == QLatin1String("message") && fields.size() >= 2)
        return ViewerEvent{Kind::Message, fields.mid(1).join(QLatin1Char('\t')), QString()};
    if (kind == QLatin1String("document") && fields.size() == 3)
        return ViewerEvent{Kind::Document, fields.at(2), fields.at(1)};
    if (kind == QLatin1String("picture") && fields.size() == 2)
        return ViewerEvent{Kind::Picture, fields.at(1), QString()};
    return std::nullopt;
}

QString ViewerEvent::openableAddress(const QString &address, const QString &pageFolder)
{
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty())
        return url.toString(QUrl::FullyEncoded);
    if (scheme != QLatin1String("file") || !url.host().isEmpty())
        return QString();
    const QString file = QDir::cleanPath(url.toLocalFile());
    const QString folder = QDir::cleanPath(pageFolder) + QLatin1Char('/');
    return file.startsWith(folder) ? file : QString();
}

QString AppletViewer::jarPath() { return InstallData::dir() + QLatin1Char('/') + jarName(); }

QString AppletViewer::javaProgram()
{
    const QString home = qEnvironmentVariable("JAVA_HOME");
    if (!home.isEmpty()) {
        const QFileInfo java(home + QStringLiteral("/bin/java"));
        return java.isFile() && java.isExecutable() ? java.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(QStringLiteral("java"));
}

int AppletViewer::javaFeatureVersion(const QString &java)
{
    static QMutex lock;
    static QHash<QString, int> known;
    const QMutexLocker locked(&lock);
    if (const auto it = known.constFind(java); it != known.constEnd())
        return *it;
    // The runtime's home holds a "release" file naming its version: no runtime needs starting.
    QFile release(QFileInfo(QFileInfo(java).canonicalPath()).path() + QStringLiteral("/release"));
    QString version;
    if (release.open(QIODevice::ReadOnly)) {
        static const QRegularExpression line(QStringLiteral("^JAVA_VERSION=\"([^\"]+)\""),
                                             QRegularExpression::MultilineOption);
        version = line.match(QString::fromUtf8(release.read(64 * 1024))).captured(1);
    }
    if (version.isEmpty())
        version = javaVersion(java);
    return *known.insert(java, featureVersion(version));
}

AppletViewer::Launch AppletViewer::launch(const QString &page, const QStringList &options, const QString &privateFolder)
{
    Launch launch;
    const QString java = javaProgram();
    const QString jar = jarPath();
    if (java.isEmpty() && qEnvironmentVariableIsSet("JAVA_HOME"))
        launch.problem = text(Str::JavaHomeHasNoJava).arg(QDir::toNativeSeparators(qEnvironmentVariable("JAVA_HOME")));
    else if (java.isEmpty())
        launch.problem = text(Str::NoJavaRuntime);
    else if (!QFileInfo(jar).isFile())
        launch.problem = text(Str::ViewerNotInstalled).arg(QDir::toNativeSeparators(jar));
    if (!launch.ok()) {
        launch.program = java;
        return launch;
    }
    const QFileInfo runtime(QFileInfo(java).canonicalFilePath());
    const QFileInfo pageFile(page);
    const int version = javaFeatureVersion(runtime.filePath());
    // The page is given as an absolute path, so it is never read as an option.
    const QStringList arguments = runtimeOptions(version)
                                  << QStringLiteral("-jar") << jar << QStringLiteral("--events")
                                  << ViewerProcess::channelPath() << QStringLiteral("--process-sandbox") << options
                                  << pageFile.absoluteFilePath();
    const ProcessSandbox::Folders folders{
        {QFileInfo(runtime.path()).path(), QFileInfo(jar).absoluteFilePath(), pageFile.absolutePath()}, privateFolder};
    ProcessSandbox::Command command = ProcessSandbox::wrap(runtime.filePath(), arguments, folders);
    launch.sandboxOff = command.unavailable;
    if (command.unavailable.isEmpty()) {
        // The sandbox's user has no home: the runtime keeps its font cache in the sandbox's own /tmp.
        command.arguments.insert(command.arguments.indexOf(QStringLiteral("--")) + 2, QStringLiteral("-Duser.home=/tmp"));
    } else {
        command.arguments.removeOne(QStringLiteral("--process-sandbox"));
        // Without a security manager, only the process sandbox keeps applets from the user's files.
        if (version == 0 || version > LastJavaWithSecurityManager)
            launch.problem = text(Str::NoSandboxAtAll)
                                 .arg(QDir::toNativeSeparators(java),
                                      version == 0 ? QStringLiteral("unknown") : QString::number(version),
                                      command.unavailable);
    }
    launch.program = command.program;
    launch.arguments = command.arguments;
    return launch;
}

QString AppletViewer::javaVersion(const QString &java)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(java, {QStringLiteral("-version")});
    if (!process.waitForFinished(VersionWaitMs)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    const QString said = QString::fromLocal8Bit(process.readAllStandardError() + process.readAllStandardOutput());
    const QRegularExpressionMatch quoted = QRegularExpression(QStringLiteral("version \"([^\"]+)\"")).match(said);
    return quoted.hasMatch() ? quoted.captured(1) : QString();
}

QString AppletViewer::startFailure(const QString &java, const QString &reason)
{
    return text(Str::ViewerCannotStart).arg(QDir::toNativeSeparators(java), reason);
}

QString AppletViewer::failure(const QString &java, int status, const QByteArray &errors)
{
    if (status == Done)
        return QString();
    const QString said = QString::fromUtf8(errors).trimmed();
    // A runtime older than the viewer cannot even load it; it says so in its own words.
    if (said.contains(QLatin1String("UnsupportedClassVersionError"))) {
        const QString version = javaVersion(java);
        return text(Str::JavaTooOld).arg(QDir::toNativeSeparators(java),
                                         version.isEmpty() ? QStringLiteral("unknown") : version);
    }
    if (said.isEmpty())
        return text(Str::ViewerSilentFailure).arg(status);
    if (status == CodeMissing)
        return said + QLatin1Char('\n') + text(Str::AppletCodeAdvice);
    return said;
}

QString AppletViewer::run(const QString &page, const QStringList &options, const QString &privateFolder,
                          int timeoutMs, const std::function<void(const ViewerEvent &)> &onEvent,
                          const std::function<void()> &waiting)
{
    const Launch command = launch(page, options, privateFolder);
    if (!command.ok())
        return command.problem;
    if (!command.sandboxOff.isEmpty() && onEvent)
        onEvent(ViewerEvent{ViewerEvent::Kind::Message, text(Str::ProcessSandboxOff).arg(command.sandboxOff), {}});
    ViewerProcess viewer;
    QProcess &process = viewer.process();
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice()); // what applets print there is theirs
    if (!viewer.start(command))
        return startFailure(command.program, process.errorString());

    QByteArray errors;
    QStringList messages;
    auto readEvents = [&] {
        // Standard error is emptied as it fills, so a talkative applet never blocks the viewer.
        errors += process.readAllStandardError();
        if (errors.size() > MaxErrorBytes)
            errors.truncate(MaxErrorBytes);
        for (const ViewerEvent &event : viewer.takeEvents()) {
            if (event.kind == ViewerEvent::Kind::Message && messages.size() < MaxMessages)
                messages << event.text;
            if (onEvent)
                onEvent(event);
        }
    };
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(LookMs)) {
        readEvents();
        if (waiting)
            waiting();
        if (timeoutMs > 0 && clock.elapsed() > timeoutMs && process.state() != QProcess::NotRunning) {
            viewer.endGroup();
            process.waitForFinished();
            return text(Str::ViewerTimedOut).arg((timeoutMs + 999) / 1000);
        }
    }
    readEvents();
    if (process.exitStatus() != QProcess::NormalExit)
        return text(Str::ViewerCrashed);
    // The viewer's own words when it said any; the runtime's (it may not have started the viewer) else.
    return failure(command.program, process.exitCode(), messages.isEmpty() ? errors : messages.join(QLatin1Char('\n')).toUtf8());
}

} // namespace vexa
