#include "PublishActions.h"

#include "pages/PageContext.h"
#include "publish/FilePublisher.h"
#include "publish/PreviewPage.h"
#include "services/Services.h"
#include "strings/StringIds.h"

namespace vexa {

void PublishActions::showPreview()
{
    // A failed write has been reported; the browser still shows what is there.
    PreviewPage(m_context.store, m_context.folders, m_context.services).write(m_context.appletId, false);
    openPreview();
}

void PublishActions::openPreview()
{
    const PreviewPage page(m_context.store, m_context.folders, m_context.services);
    if (!m_context.services.openInBrowser(page.path(m_context.appletId)))
        m_context.services.showMessage(message(Str::CreateProcessFailed, MessageIcon::Stop));
}

void PublishActions::saveAllFiles()
{
    const QString path =
        m_context.services.saveFile(QStringLiteral("HTML Doc (*.html; *.htm)|*.html; *.htm|"), QStringLiteral("html"));
    if (path.isEmpty())
        return;
    FilePublisher(m_context.store, m_context.folders, m_context.services).copyAllFiles(m_context.appletId, path);
}

} // namespace vexa
