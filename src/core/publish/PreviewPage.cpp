#include "PreviewPage.h"

#include "Addresses.h"
#include "io/CharsetEncoder.h"
#include "Reporter.h"
#include "settings/Folders.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"
#include "tag/TagGenerator.h"
#include "catalogue/Catalogue.h"
#include "settings/InstallData.h"
#include "Animation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

#include "io/FileCopy.h"

namespace vexa {

PreviewPage::PreviewPage(const SettingsStore &store, const Folders &folders, Reporter &reporter)
    : m_store(store), m_folders(folders), m_reporter(reporter)
{
}

QString PreviewPage::path(const QString &appletId) const
{
    return m_folders.appletFolder(appletId) + QLatin1Char('/') + fileName();
}

QString PreviewPage::charsetFor(const SettingsStore &store, const QString &appletId)
{
    if (appletId == QLatin1String("MORPHMENU") || appletId == QLatin1String("TREEMENU") ||
        appletId == QLatin1String("TEXTSCROLLER"))
        return store.read(appletId, QStringLiteral("CharSet"));
    return QStringLiteral("iso-8859-1");
}

bool PreviewPage::effectsWanted(const SettingsStore &store)
{
    return store.read(QString(), QStringLiteral("EffectsInPreview")) != QLatin1String("NO");
}

bool PreviewPage::playsEffect(const QString &appletId) const
{
    return m_effects && effects::findEffect(Catalogue::classFile(appletId).toStdString()) &&
           QFileInfo::exists(InstallData::playerScript());
}

QString PreviewPage::text(const QString &appletId, bool copied, const QString &movingPicture) const
{
    const QString reference = copied ? buttonImage() : QStringLiteral("../") + buttonImage();
    QString afterTag;
    if (playsEffect(appletId)) {
        const QLatin1String crlf("\r\n");
        const auto line = [&crlf](const QString &script) {
            return QLatin1String("<script src=\"") + script + QLatin1String("\"></script>") + crlf;
        };
        afterTag = copied ? line(playerName())
                          : line(picturesScriptName()) +
                                line(QUrl::fromLocalFile(InstallData::playerScript()).toString(QUrl::FullyEncoded));
    }
    return compose(charset(appletId), TagGenerator(m_store).generate(appletId, movingPicture), reference, afterTag);
}

// window.vexajavaPictures = {"name": "data:image/...;base64,..."}: the player takes a picture
// from there before it asks the page's folder.
bool PreviewPage::writePicturesScript(const QString &appletId, const QString &tag)
{
    const std::vector<effects::AppletTag> tags = effects::readAppletTags(tag.toStdString());
    QByteArray script("window.vexajavaPictures = {");
    if (!tags.empty()) {
        const QString folder = m_folders.appletFolder(appletId);
        for (const auto &[key, file] : effects::Animation::pictureFiles(tags.front())) {
            const QString name = QString::fromStdString(file);
            QFile picture(QDir(folder).filePath(name));
            if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                !picture.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = picture.read(16 * 1024 * 1024);
            const QByteArray type = bytes.startsWith("GIF") ? "image/gif" : bytes.startsWith("\x89PNG") ? "image/png"
                                                                                                        : "image/jpeg";
            script += "\n  " + QJsonDocument(QJsonArray{name}).toJson(QJsonDocument::Compact).mid(1).chopped(1) +
                      ": \"data:" + type + ";base64," + bytes.toBase64() + "\",";
        }
    }
    script += "\n};\n";
    const FileError error = m_folders.explained(FileCopy::write(QDir(m_folders.appletFolder(appletId)).filePath(
                                                                    picturesScriptName()),
                                                                script, FileCopy::Durability::Replaceable));
    if (!error.ok()) {
        m_reporter.report(FileCopy::describe(error));
        return false;
    }
    return true;
}

QString PreviewPage::compose(const QString &charset, const QString &tag, const QString &buttonReference,
                             const QString &afterTag)
{
    // Plain concatenation: the values may hold anything, "%1" included.
    const QLatin1String crlf("\r\n");
    QString page;
    page += QLatin1String("<html>") + crlf + crlf;
    page += QLatin1String("<head>") + crlf;
    page += QLatin1String("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=") + charset +
            QLatin1String("\">") + crlf;
    page += QLatin1String("<meta name=\"Vexa Java\" content=\"\">") + crlf;
    page += QLatin1String("<title>Vexa Java preview</title>") + crlf;
    page += QLatin1String("</head>") + crlf + crlf;
    page += QLatin1String("<body bgcolor=\"#102070\" text=\"#FFFF22\" link=\"#5FFF5F\"") + crlf;
    page += QLatin1String("vlink=\"#553AEB\" alink=\"#FF8000\">") + crlf + crlf;
    page += QLatin1String("<p align=\"center\">") + crlf;
    page += tag + QLatin1String("</p>") + crlf;
    page += afterTag;
    page +=
        QLatin1String("<p><a href=\"") + Addresses::homePage() + QLatin1String("\"><img src=\"") +
        buttonReference +
        QLatin1String("\" alt=\"This site is Vexa Java Enhanced\" border=\"0\" width=\"85\" height=\"31\">"
                      "</a></p>") +
        crlf;
    page += QLatin1String("</body>") + crlf;
    page += QLatin1String("</html>") + crlf;
    return page;
}

bool PreviewPage::write(const QString &appletId, bool copied, const QString &movingPicture)
{
    if (!copied && playsEffect(appletId) && !writePicturesScript(appletId, TagGenerator(m_store).generate(appletId)))
        return false;
    const QByteArray bytes = CharsetEncoder(charset(appletId)).encode(text(appletId, copied, movingPicture));
    // A page written again at every preview: the applet folder keeps what it is made from.
    const FileError error =
        m_folders.explained(FileCopy::write(path(appletId), bytes, FileCopy::Durability::Replaceable));
    if (!error.ok()) {
        m_reporter.report(FileCopy::describe(error));
        m_reporter.report(message(Str::ErrorWritingPreview, MessageIcon::Exclamation));
        return false;
    }
    return true;
}

} // namespace vexa
