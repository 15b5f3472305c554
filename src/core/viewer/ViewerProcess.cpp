#include "ViewerProcess.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vexa {
namespace {

constexpr int ChannelInChild = 3;
constexpr qsizetype MaxLineBytes = 64 * 1024; // no event is that long

} // namespace

ViewerProcess::ViewerProcess() = default;

ViewerProcess::~ViewerProcess()
{
    endGroup();
    if (m_process.state() != QProcess::NotRunning)
        m_process.waitForFinished();
    closeChannel();
}

bool ViewerProcess::start(const AppletViewer::Launch &launch)
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        m_process.setProgram(launch.program);
        return false;
    }
    m_channel = ends[0];
    const int writeEnd = ends[1];
    ::fcntl(m_channel, F_SETFL, ::fcntl(m_channel, F_GETFL) | O_NONBLOCK);
    // In the child, between fork and exec: a session and process group of its own, and the
    // channel's writing end as descriptor 3, open across exec.
    m_process.setChildProcessModifier([writeEnd] {
        ::setsid();
        if (writeEnd == ChannelInChild)
            ::fcntl(writeEnd, F_SETFD, 0);
        else
            ::dup2(writeEnd, ChannelInChild);
    });
    m_process.start(launch.program, launch.arguments);
    const bool started = m_process.waitForStarted();
    ::close(writeEnd); // the viewer holds the only writing end: its end closes the channel
    if (!started) {
        closeChannel();
        return false;
    }
    m_group = m_process.processId();
    m_notifier = std::make_unique<QSocketNotifier>(m_channel, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        if (m_callback)
            m_callback();
    });
    return true;
}

void ViewerProcess::onEvents(std::function<void()> callback) { m_callback = std::move(callback); }

QList<ViewerEvent> ViewerProcess::takeEvents()
{
    char buffer[16384];
    while (m_channel >= 0) {
        const ssize_t got = ::read(m_channel, buffer, sizeof buffer);
        if (got > 0) {
            m_pending.append(buffer, got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got == 0) // the viewer has ended
            closeChannel();
        break;
    }
    QList<ViewerEvent> events;
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        if (const std::optional<ViewerEvent> event = ViewerEvent::parse(m_pending.left(end)))
            events << *event;
        m_pending.remove(0, end + 1);
    }
    if (m_pending.size() > MaxLineBytes)
        m_pending.clear();
    return events;
}

void ViewerProcess::endGroup()
{
    if (m_group > 0)
        ::kill(pid_t(-m_group), SIGKILL);
}

void ViewerProcess::closeChannel()
{
    m_notifier.reset();
    if (m_channel >= 0)
        ::close(m_channel);
    m_channel = -1;
}

} // namespace vexa
