#include "AppletViewer.h"

#include "settings/InstallData.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace vexa {
namespace {

constexpr int LookMs = 50;
constexpr int VersionWaitMs = 5000;
constexpr qsizetype MaxErrorBytes = 64 * 1024; // a runaway applet must not fill the message

QString text(int id) { return StringTable::text(id); }

} // namespace

std::optional<ViewerEvent> ViewerEvent::parse(const QByteArray &line)
{
    const QStringList fields = QString::fromUtf8(line).remove(QLatin1Char('\r')).split(QLatin1Char('\t'));
    const QString &kind = fields.first();
    if (kind == QLatin1String("painted") && fields.size() == 1)
        return ViewerEvent{Kind::Painted, QString(), QString()};
    if (kind == QLatin1String("status") && fields.size() >= 2)
        return ViewerEvent{Kind::Status, fields.mid(1).join(QLatin1Char('\t')), QString()};
    if (kind == QLatin1String("document") && fields.size() == 3)
        return ViewerEvent{Kind::Document, fields.at(2), fields.at(1)};
    return std::nullopt;
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

AppletViewer::Launch AppletViewer::launch(const QString &page, const QStringList &options)
{
    Launch launch;
    launch.program = javaProgram();
    const QString jar = jarPath();
    if (launch.program.isEmpty())
        launch.problem = text(Str::NoJavaRuntime);
    else if (!QFileInfo(jar).isFile())
        launch.problem = text(Str::ViewerNotInstalled).arg(QDir::toNativeSeparators(jar));
    // The page is given as an absolute path, so it is never read as an option.
    launch.arguments << QStringLiteral("-jar") << jar << options << QFileInfo(page).absoluteFilePath();
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

QString AppletViewer::run(const QString &page, const QStringList &options, int timeoutMs,
                          const std::function<void(const ViewerEvent &)> &onEvent,
                          const std::function<void()> &waiting)
{
    const Launch command = launch(page, options);
    if (!command.ok())
        return command.problem;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(command.program, command.arguments);
    if (!process.waitForStarted())
        return startFailure(command.program, process.errorString());

    QByteArray pending;
    QByteArray errors;
    auto readEvents = [&] {
        // Both pipes are emptied as they fill, so a talkative applet never blocks the viewer.
        errors += process.readAllStandardError();
        if (errors.size() > MaxErrorBytes)
            errors.truncate(MaxErrorBytes);
        pending += process.readAllStandardOutput();
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const std::optional<ViewerEvent> event = ViewerEvent::parse(pending.left(end));
            pending.remove(0, end + 1);
            if (event && onEvent)
                onEvent(*event);
        }
        if (pending.size() > MaxErrorBytes)
            pending.clear(); // no event is that long
    };
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(LookMs)) {
        readEvents();
        if (waiting)
            waiting();
        if (timeoutMs > 0 && clock.elapsed() > timeoutMs && process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            return text(Str::ViewerTimedOut).arg((timeoutMs + 999) / 1000);
        }
    }
    readEvents();
    if (process.exitStatus() != QProcess::NormalExit)
        return startFailure(command.program, process.errorString());
    return failure(command.program, process.exitCode(), errors);
}

} // namespace vexa
