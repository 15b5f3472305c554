#include "SystemProcessStarter.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>

namespace vexa {
namespace {

// The launchers still at work. They are never deleted while they run: a QProcess ends
// its program when it is destroyed, and a browser must outlive this program.
QSet<QProcess *> &running()
{
    static auto *processes = new QSet<QProcess *>; // never destroyed, as the processes are not
    return *processes;
}

} // namespace

QString SystemProcessStarter::start(const QString &program, const QStringList &arguments)
{
    if (program.isEmpty())
        return QStringLiteral("cannot be started (no program is named)");
    auto *process = new QProcess;
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(program, arguments);
    if (!process->waitForStarted()) {
        const QString reason = QStringLiteral("cannot be started (%1)").arg(process->errorString());
        delete process;
        return reason;
    }
    if (m_lateFailure) {
        running().insert(process);
        QElapsedTimer clock;
        clock.start();
        QObject::connect(process, &QProcess::finished, process,
                         [process, clock, failed = m_lateFailure](int status, QProcess::ExitStatus how) {
                             running().remove(process);
                             process->deleteLater();
                             if (clock.elapsed() < QuickFailureMs && (how != QProcess::NormalExit || status != 0))
                                 failed(how != QProcess::NormalExit ? QStringLiteral("ended abnormally")
                                                                    : QStringLiteral("ended with status %1").arg(status));
                         });
        return QString();
    }
    if (!process->waitForFinished(QuickFailureMs)) {
        running().insert(process); // still running: the browser itself
        QObject::connect(process, &QProcess::finished, process, [process] {
            running().remove(process);
            process->deleteLater();
        });
        return QString();
    }
    const bool failed = process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0;
    const QString reason = process->exitStatus() != QProcess::NormalExit
                               ? QStringLiteral("ended abnormally")
                               : QStringLiteral("ended with status %1").arg(process->exitCode());
    delete process;
    return failed ? reason : QString();
}

} // namespace vexa
