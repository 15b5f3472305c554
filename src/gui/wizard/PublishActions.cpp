#include "PublishActions.h"

#include "pages/PageContext.h"
#include "publish/FilePublisher.h"
#include "publish/PreviewPage.h"
#include "services/Services.h"
#include "strings/StringIds.h"

#include <QDir>
#include <QFileInfo>

namespace vexa {

void PublishActions::showPreview()
{
    // A failed write has been reported; the browser still shows what is there.
    const bool written = PreviewPage(m_context.store, m_context.folders, m_context.services).write(m_context.appletId, false);
    m_context.status(written ? QStringLiteral("Preview page written") : QString());
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
    if (!publisher.copyAllFiles(m_context.appletId, path)) {
        m_context.status(QString()); // the cause has been reported; an earlier note would mislead
        return;
    }
    const int count = publisher.copiedCount();
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    m_context.status(QStringLiteral("%1 %2 copied to").arg(count).arg(count == 1 ? "file" : "files"), folder);
}

} // namespace vexa
