#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QTemporaryDir;

namespace vexa {

class Services;
class ViewerProcess;
struct ViewerEvent;

// The applet viewers the wizard started, at most one per applet. Running an applet
// whose viewer is open makes that viewer read the page again, so a change shows in the
// window the user is already looking at; a viewer that an applet had hung ends itself,
// and one that ended while it was to read the page again is started anew. Documents the
// applet asks for open in the user's browser, never holding up the window: only web
// addresses and pages beside the applet's, one every few seconds, a failure said once.
// What keeps a viewer from running, and what it refused an applet, goes to the status
// line, never faster than it can be read. Viewers still open close with the wizard.
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
    // Documents an applet asks for open at most once in this time; the others are dropped.
    static constexpr int DocumentGapMs = 3000;
    // The status line changes at most this often while an applet talks; what the viewer or
    // the wizard itself says there (a refusal, a failure) stays a while longer.
    static constexpr int StatusGapMs = 200;
    static constexpr int MessageHoldMs = 4000;

private:
    struct Viewer {
        std::shared_ptr<ViewerProcess> process;
        std::shared_ptr<QTemporaryDir> pictures; // the one folder the viewer may write
        QString page;
        QString java;
        QByteArray errors;
        bool reloadPending = false; // asked to read the page again, not yet painted
    };
    void start(const QString &appletId, const QString &page);
    void readEvents(const QString &appletId);
    void readErrors(const QString &appletId);
    void ended(const QString &appletId, int status, bool crashed);
    void openDocument(const Viewer &viewer, const QString &address);
    void keepPicture(const Viewer &viewer, const QString &file);
    enum class Weight { Passing, Message };
    void say(const QString &text, Weight weight = Weight::Message);
    void sayNow(const QString &text, int holdMs);

    Services &m_services;
    StatusLine m_status;
    QHash<QString, Viewer> m_viewers;
    bool m_toldSandboxOff = false;
    QElapsedTimer m_lastDocument;
    int m_documentsDropped = 0;
    bool m_toldBrowserFailed = false;
    QTimer m_statusTimer; // holds back passing texts that come too soon after the last text
    QString m_heldStatus;
};

} // namespace vexa
