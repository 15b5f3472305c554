#pragma once

#include "AppletViewer.h"

#include <QByteArray>
#include <QList>
#include <QProcess>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace vexa {

// The applet viewer as a running process. It runs in a process group of its own, which is
// ended whole with it, so nothing an applet started outlives the viewer. Its events arrive
// on a pipe of their own (descriptor 3 in the viewer), which the applets cannot write,
// not on its standard output.
class ViewerProcess {
public:
    ViewerProcess();
    ~ViewerProcess(); // ends the whole group
    ViewerProcess(const ViewerProcess &) = delete;
    ViewerProcess &operator=(const ViewerProcess &) = delete;

    QProcess &process() { return m_process; }
    // Starts `launch`; false when it could not start (process().errorString() says why).
    bool start(const AppletViewer::Launch &launch);
    // Called on the thread's event loop whenever events arrive.
    void onEvents(std::function<void()> callback);
    // The events that have arrived since the last call.
    QList<ViewerEvent> takeEvents();
    // Ends the viewer and everything left in its process group, at once.
    void endGroup();

    // The viewer's descriptor for its events channel, as its --events option names it.
    static QString channelPath() { return QStringLiteral("/proc/self/fd/3"); }

private:
    void closeChannel();

    QProcess m_process;
    int m_channel = -1;
    qint64 m_group = 0;
    QByteArray m_pending;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_callback;
};

} // namespace vexa
