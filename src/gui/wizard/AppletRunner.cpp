#include "AppletRunner.h"

#include "services/Services.h"
#include "viewer/AppletViewer.h"

#include <QProcess>

namespace vexa {
namespace {

constexpr qsizetype MaxKeptBytes = 64 * 1024; // what a talkative applet may leave unread

} // namespace

AppletRunner::AppletRunner(Services &services, StatusLine status, QObject *parent)
    : QObject(parent), m_services(services), m_status(std::move(status))
{
}

AppletRunner::~AppletRunner()
{
    // Asked to close, a viewer stops its applets; one that does not within its limit
    // ends itself, and is ended here at the latest.
    for (Viewer &viewer : m_viewers) {
        viewer.process->disconnect(this);
        viewer.process->write("close\n");
        viewer.process->closeWriteChannel();
    }
    for (Viewer &viewer : m_viewers) {
        if (!viewer.process->waitForFinished(CloseWaitMs))
            viewer.process->kill();
        viewer.process->waitForFinished();
        delete viewer.process;
    }
}

void AppletRunner::say(const QString &text)
{
    if (m_status)
        m_status(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

void AppletRunner::run(const QString &appletId, const QString &page)
{
    if (Viewer *open = m_viewers.contains(appletId) ? &m_viewers[appletId] : nullptr) {
        open->process->write("reload\n");
        say(QStringLiteral("Applet reloaded in the viewer"));
        return;
    }
    const AppletViewer::Launch command =
        AppletViewer::launch(page, {QStringLiteral("--control"), QStringLiteral("--title"), appletId});
    if (!command.ok()) {
        say(command.problem);
        return;
    }
    auto *process = new QProcess(this);
    m_viewers.insert(appletId, Viewer{process, command.program, {}, {}});
    connect(process, &QProcess::readyReadStandardOutput, this, [this, appletId] { readOutput(appletId); });
    connect(process, &QProcess::readyReadStandardError, this, [this, appletId] { readErrors(appletId); });
    connect(process, &QProcess::finished, this, [this, appletId](int status, QProcess::ExitStatus how) {
        ended(appletId, status, how != QProcess::NormalExit);
    });
    connect(process, &QProcess::errorOccurred, this, [this, appletId](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(appletId, -1, true);
    });
    say(QStringLiteral("Starting the applet viewer..."));
    process->start(command.program, command.arguments);
}

void AppletRunner::readOutput(const QString &appletId)
{
    auto it = m_viewers.find(appletId);
    if (it == m_viewers.end())
        return;
    QByteArray &output = it->output;
    output += it->process->readAllStandardOutput();
    QList<ViewerEvent> events;
    for (qsizetype end = output.indexOf('\n'); end >= 0; end = output.indexOf('\n')) {
        if (const std::optional<ViewerEvent> event = ViewerEvent::parse(output.left(end)))
            events << *event;
        output.remove(0, end + 1);
    }
    if (output.size() > MaxKeptBytes)
        output.clear();
    // The viewer may end while a browser starts: nothing of it is used after this.
    for (const ViewerEvent &event : events) {
        if (event.kind == ViewerEvent::Kind::Document)
            m_services.showInBrowser(event.text);
        else if (event.kind == ViewerEvent::Kind::Painted)
            say(QStringLiteral("Applet running in the viewer"));
    }
}

void AppletRunner::readErrors(const QString &appletId)
{
    auto it = m_viewers.find(appletId);
    if (it == m_viewers.end())
        return;
    const QByteArray more = it->process->readAllStandardError();
    if (it->errors.size() < MaxKeptBytes)
        it->errors += more;
    // A viewer that cannot run its applet says why at once and keeps its window open.
    const QString said = QString::fromUtf8(more).trimmed();
    if (!said.isEmpty())
        say(said);
}

void AppletRunner::ended(const QString &appletId, int status, bool crashed)
{
    auto it = m_viewers.find(appletId);
    if (it == m_viewers.end())
        return;
    const Viewer viewer = *it;
    m_viewers.erase(it);
    viewer.process->deleteLater();
    const QString problem =
        crashed ? AppletViewer::startFailure(viewer.java, viewer.process->errorString())
                : AppletViewer::failure(viewer.java, status, viewer.errors + viewer.process->readAllStandardError());
    if (!problem.isEmpty())
        say(problem);
}

} // namespace vexa
