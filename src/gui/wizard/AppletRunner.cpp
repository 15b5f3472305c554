#include "AppletRunner.h"

#include "io/FileCopy.h"
#include "services/Services.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "viewer/AppletViewer.h"
#include "viewer/ViewerProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <utility>

namespace vexa {
namespace {

constexpr qsizetype MaxKeptBytes = 64 * 1024; // what a talkative applet may leave unread
const QString PictureFilter = QStringLiteral("PNG picture (*.png)|*.png|");

} // namespace

AppletRunner::AppletRunner(Services &services, StatusLine status, QObject *parent)
    : QObject(parent), m_services(services), m_status(std::move(status))
{
    m_statusTimer.setSingleShot(true);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] {
        if (!m_heldStatus.isNull())
            sayNow(std::exchange(m_heldStatus, QString()), StatusGapMs);
    });
}

AppletRunner::~AppletRunner()
{
    // Asked to close, a viewer stops its applets; one that does not within its limit
    // ends itself, and is ended here at the latest, with everything it started.
    for (Viewer &viewer : m_viewers) {
        viewer.process->process().disconnect(this);
        viewer.process->process().write("close\n");
        viewer.process->process().closeWriteChannel();
    }
    for (Viewer &viewer : m_viewers)
        viewer.process->process().waitForFinished(CloseWaitMs);
}

void AppletRunner::sayNow(const QString &text, int holdMs)
{
    if (m_status)
        m_status(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    m_statusTimer.start(holdMs);
}

// A message is shown at once and stays long enough to be read; passing texts (the applet's
// status, the viewer's progress) wait for the line, the latest winning.
void AppletRunner::say(const QString &text, Weight weight)
{
    if (weight == Weight::Message)
        sayNow(text, MessageHoldMs);
    else if (m_statusTimer.isActive())
        m_heldStatus = text;
    else
        sayNow(text, StatusGapMs);
}

void AppletRunner::run(const QString &appletId, const QString &page)
{
    if (Viewer *open = m_viewers.contains(appletId) ? &m_viewers[appletId] : nullptr) {
        open->process->process().write("reload\n");
        open->reloadPending = true;
        say(QStringLiteral("Applet reloaded in the viewer"), Weight::Passing);
        return;
    }
    start(appletId, page);
}

void AppletRunner::start(const QString &appletId, const QString &page)
{
    auto pictures = std::make_shared<QTemporaryDir>();
    QStringList options{QStringLiteral("--control"), QStringLiteral("--title"), appletId,
                        QStringLiteral("--pictures"), pictures->path()};
    // The viewer opens beside the wizard, not over its Next and Exit buttons.
    if (const auto *window = qobject_cast<const QWidget *>(parent()); window && window->isVisible()) {
        const QRect frame = window->frameGeometry();
        options << QStringLiteral("--beside")
                << QStringLiteral("%1,%2,%3,%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
    }
    const AppletViewer::Launch command = AppletViewer::launch(page, options, pictures->path());
    if (!command.ok()) {
        say(command.problem);
        return;
    }
    if (!command.sandboxOff.isEmpty() && !std::exchange(m_toldSandboxOff, true))
        say(StringTable::text(Str::ProcessSandboxOff).arg(command.sandboxOff));
    auto process = std::make_shared<ViewerProcess>();
    m_viewers.insert(appletId, Viewer{process, pictures, page, command.program, {}, false});
    QProcess &viewer = process->process();
    viewer.setStandardOutputFile(QProcess::nullDevice()); // what applets print there is theirs
    process->onEvents([this, appletId] { readEvents(appletId); });
    connect(&viewer, &QProcess::readyReadStandardError, this, [this, appletId] { readErrors(appletId); });
    connect(&viewer, &QProcess::finished, this, [this, appletId](int status, QProcess::ExitStatus how) {
        ended(appletId, status, how != QProcess::NormalExit);
    });
    say(QStringLiteral("Starting the applet viewer..."), Weight::Passing);
    if (!process->start(command)) {
        say(AppletViewer::startFailure(command.program, viewer.errorString()));
        m_viewers.remove(appletId);
    }
}

void AppletRunner::readEvents(const QString &appletId)
{
    auto it = m_viewers.find(appletId);
    if (it == m_viewers.end())
        return;
    const Viewer viewer = *it; // the viewer may end while a browser starts
    for (const ViewerEvent &event : viewer.process->takeEvents()) {
        switch (event.kind) {
        case ViewerEvent::Kind::Painted:
            if (auto open = m_viewers.find(appletId); open != m_viewers.end())
                open->reloadPending = false;
            say(QStringLiteral("Applet running in the viewer"), Weight::Passing);
            break;
        case ViewerEvent::Kind::Status:
            say(event.text, Weight::Passing);
            break;
        case ViewerEvent::Kind::Message:
            say(event.text);
            break;
        case ViewerEvent::Kind::Document:
            openDocument(viewer, event.text);
            break;
        case ViewerEvent::Kind::Picture:
            keepPicture(viewer, event.text);
            break;
        }
    }
}

void AppletRunner::openDocument(const Viewer &viewer, const QString &address)
{
    const QString target = ViewerEvent::openableAddress(address, QFileInfo(viewer.page).absolutePath());
    if (target.isEmpty()) {
        say(StringTable::text(Str::DocumentRefused).arg(address));
        return;
    }
    if (m_lastDocument.isValid() && m_lastDocument.elapsed() < DocumentGapMs) {
        say(StringTable::text(Str::DocumentsHeldBack).arg(DocumentGapMs / 1000).arg(++m_documentsDropped));
        return;
    }
    m_lastDocument.start();
    m_services.openInBrowserLater(target, [this](const QString &why) {
        if (!std::exchange(m_toldBrowserFailed, true))
            say(StringTable::text(Str::DocumentNotOpened).arg(why));
    });
}

// The viewer saved the picture in its private folder; the user says where to keep it.
void AppletRunner::keepPicture(const Viewer &viewer, const QString &file)
{
    const QFileInfo made(file);
    if (made.absolutePath() != QDir(viewer.pictures->path()).absolutePath() || !made.isFile())
        return; // not a picture the viewer made
    const QString target = m_services.saveFile(PictureFilter, QStringLiteral("png"));
    if (target.isEmpty())
        return;
    const FileError error = FileCopy::copy(made.filePath(), target, FileCopy::Durability::Durable);
    if (error.ok())
        say(QStringLiteral("Saved the picture as \"%1\".").arg(QDir::toNativeSeparators(target)));
    else
        m_services.report(FileCopy::describe(error));
}

void AppletRunner::readErrors(const QString &appletId)
{
    auto it = m_viewers.find(appletId);
    if (it == m_viewers.end())
        return;
    // Kept for when the viewer fails without a word of its own (a runtime that cannot load it).
    const QByteArray more = it->process->process().readAllStandardError();
    if (it->errors.size() < MaxKeptBytes)
        it->errors += more;
}

void AppletRunner::ended(const QString &appletId, int status, bool crashed)
{
    auto it = m_viewers.find(appletId);
    if (it == m_viewers.end())
        return;
    readEvents(appletId);
    const Viewer viewer = m_viewers.take(appletId);
    viewer.process->endGroup();
    // Its process is deleted once its signal has been handled, not inside it.
    QTimer::singleShot(0, this, [keep = viewer.process] {});
    if (viewer.reloadPending && !crashed && status == AppletViewer::Hung) {
        start(appletId, viewer.page); // an applet had hung the old viewer: read the page in a new one
        return;
    }
    const QString problem = crashed ? StringTable::text(Str::ViewerCrashed)
                                    : AppletViewer::failure(viewer.java, status,
                                                            viewer.errors + viewer.process->process().readAllStandardError());
    if (!problem.isEmpty() && status != AppletViewer::Hung && status != AppletViewer::NoSandbox)
        say(problem);
}

} // namespace vexa
