#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QProcess;

namespace vexa {

class Services;

// The applet viewers the wizard started, at most one per applet. Running an applet
// whose viewer is open makes that viewer read the page again, so a change shows in the
// window the user is already looking at. Documents the applet asks for open in the
// user's browser; what keeps a viewer from running goes to the status line. Viewers
// still open close with the wizard.
class AppletRunner : public QObject {
    Q_OBJECT

public:
    using StatusLine = std::function<void(const QString &text)>;

    AppletRunner(Services &services, StatusLine status, QObject *parent = nullptr);
    ~AppletRunner() override;

    // Runs `page` (the applet's preview page) in a viewer, or reloads the open one.
    void run(const QString &appletId, const QString &page);
    bool isRunning(const QString &appletId) const { return m_viewers.contains(appletId); }

    // How long closing waits for a viewer: its own limit for an applet that does not stop, and a little more.
    static constexpr int CloseWaitMs = 3000;

private:
    struct Viewer {
        QProcess *process = nullptr;
        QString java;
        QByteArray output; // a line not yet complete
        QByteArray errors;
    };
    void readOutput(const QString &appletId);
    void readErrors(const QString &appletId);
    void ended(const QString &appletId, int status, bool crashed);
    void say(const QString &text);

    Services &m_services;
    StatusLine m_status;
    QHash<QString, Viewer> m_viewers;
};

} // namespace vexa
