#include "SamplePages.h"

#include "io/FileCopy.h"
#include "Reporter.h"
#include "catalogue/Catalogue.h"
#include "settings/Folders.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vexa {

QString SamplePages::page(const QString &appletId) const
{
    const QString folder = m_folders.appletFolder(appletId);
    const QString path = folder + QLatin1Char('/') + Catalogue::samplePage(appletId);
    if (QFileInfo(path).isFile())
        return path;
    Message m = message(Str::SamplePageMissing, MessageIcon::Exclamation);
    m.text = m.text.arg(appletId, Catalogue::samplePage(appletId), QDir::toNativeSeparators(folder));
    m_reporter.report(m);
    return QString();
}

QString SamplePages::indexText() const
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("<html>") + crlf +
                   QStringLiteral("<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                                  "<title>Vexa Java sample pages</title></head>") +
                   crlf + QStringLiteral("<body>") + crlf + QStringLiteral("<h1>Sample pages of the applets</h1>") +
                   crlf;
    QStringList missing;
    QString list;
    for (const AppletRecord &applet : Catalogue::applets()) {
        const QString id = QString::fromLatin1(applet.id);
        const QString relative = QString::fromLatin1(applet.folder) + QLatin1Char('/') +
                                 QString::fromLatin1(applet.samplePage);
        const QString path = m_folders.appletDirectory() + QLatin1Char('/') + relative;
        if (QFileInfo(path).isFile()) {
            list += QStringLiteral("<li><a href=\"%1\">%2</a></li>")
                        .arg(QString::fromLatin1(QUrl(relative).toEncoded()), id.toHtmlEscaped()) +
                    crlf;
        } else {
            list += QStringLiteral("<li>%1: not installed, its files are not in <code>%2</code></li>")
                        .arg(id.toHtmlEscaped(), QDir::toNativeSeparators(m_folders.appletFolder(id)).toHtmlEscaped()) +
                    crlf;
            missing << id;
        }
    }
    if (!missing.isEmpty())
        text += QStringLiteral("<p>The applets' own files do not come with Vexa Java: a sample page shows once its "
                               "applet's .class and .jar files and the page itself are in the applet's folder. %1 "
                               "of the %2 applets are not installed.</p>")
                    .arg(missing.size())
                    .arg(Catalogue::applets().size()) +
                crlf;
    text += QStringLiteral("<ul>") + crlf + list + QStringLiteral("</ul>") + crlf + QStringLiteral("</body>") + crlf +
            QStringLiteral("</html>") + crlf;
    return text;
}

QString SamplePages::writeIndex() const
{
    const QString path = m_folders.appletDirectory() + QLatin1Char('/') + indexFileName();
    const FileError error =
        m_folders.explained(FileCopy::write(path, indexText().toUtf8(), FileCopy::Durability::Replaceable));
    if (error.ok())
        return path;
    m_reporter.report(FileCopy::describe(error));
    return QString();
}

} // namespace vexa
