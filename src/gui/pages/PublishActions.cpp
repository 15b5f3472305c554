#include "PublishActions.h"

#include "controls/PageContext.h"
#include "EffectPlayer.h"
#include "publish/FilePublisher.h"
#include "publish/PreviewPage.h"
#include "services/Services.h"
#include "settings/Folders.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace vexa {

void PublishActions::showPreview()
{
    // A failed write has been reported; the browser still shows what is there.
    PreviewPage preview(m_context.store, m_context.folders, m_context.services);
    preview.setEffects(PreviewPage::effectsWanted(m_context.store));
    const bool written = preview.write(m_context.appletId, false);
    const QStringList missing = FilePublisher(m_context.store, m_context.folders, m_context.services)
                                    .missingFiles(m_context.appletId);
    if (!written)
        m_context.status(QString());
    else if (missing.isEmpty())
        m_context.status(QStringLiteral("Preview page written"));
    else if (preview.playsEffect(m_context.appletId))
        m_context.status(QStringLiteral("Preview page written: the browser plays Vexa Java's own effect"));
    else // the browser would show only the message for browsers without Java, unexplained
        m_context.status(QStringLiteral("Preview page written, but without \"%1\"%2 the applet cannot show: "
                                        "put the applet's files in its folder (see \"Applet files\" in the help)")
                             .arg(missing.first(), missing.size() > 1
                                                       ? QStringLiteral(" and %1 more files").arg(missing.size() - 1)
                                                       : QString()),
                         QDir::toNativeSeparators(m_context.folders.appletFolder(m_context.appletId)));
    openPreview();
}

void PublishActions::openPreview()
{
    const PreviewPage page(m_context.store, m_context.folders, m_context.services);
    if (!m_context.services.showInBrowser(page.path(m_context.appletId)))
        m_context.status(QString());
}

void PublishActions::saveAllFiles()
{
    const QString path =
        m_context.services.saveFile(QStringLiteral("HTML Doc (*.html; *.htm)|*.html; *.htm|"), QStringLiteral("html"));
    if (path.isEmpty())
        return;
    FilePublisher publisher(m_context.store, m_context.folders, m_context.services);
    publisher.setEffects(effectsWanted(m_context.store, m_context.appletId));
    publisher.setRecorder([](const QString &page, int seconds, int fps, QByteArray *webp,
                             const std::function<void()> &waiting) {
        return EffectPlayer::recordMovingPicture(page, seconds, fps, webp, EffectPlayer::Engine::Automatic, waiting);
    });
    const bool recording = movingPictureWanted(m_context.store);
    if (recording) {
        // The applet runs for a few seconds: the window keeps painting, but takes no input.
        m_context.status(QStringLiteral("Recording the moving picture..."));
        QApplication::setOverrideCursor(Qt::WaitCursor);
        publisher.setMovingPicture(true, [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    }
    const bool published = publisher.copyAllFiles(m_context.appletId, path);
    if (recording)
        QApplication::restoreOverrideCursor();
    if (!published) {
        m_context.status(QString()); // the cause has been reported; an earlier note would mislead
        return;
    }
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    m_context.status(publisher.countsText() + (publisher.upToDateCount() > 0 ? QStringLiteral(" in")
                                                                              : QStringLiteral(" to")),
                     folder);
}

bool PublishActions::effectsWanted(const SettingsStore &store, const QString &appletId)
{
    return store.read(appletId, QStringLiteral("PlayEffect")) == QLatin1String("YES");
}

void PublishActions::setEffectsWanted(SettingsStore &store, const QString &appletId, bool on)
{
    store.write(appletId, QStringLiteral("PlayEffect"), on ? QStringLiteral("YES") : QStringLiteral("NO"));
    store.sync();
}

bool PublishActions::movingPictureWanted(const SettingsStore &store)
{
    return store.read(QString(), QStringLiteral("MovingPicture")) == QLatin1String("YES");
}

void PublishActions::setMovingPictureWanted(SettingsStore &store, bool on)
{
    store.write(QString(), QStringLiteral("MovingPicture"), on ? QStringLiteral("YES") : QStringLiteral("NO"));
    store.sync();
}

} // namespace vexa
