#include "EffectPlayer.h"

#include "catalogue/Catalogue.h"
#include "settings/Folders.h"
#include "tag/TagGenerator.h"

#include "viewer/MovingPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>

namespace vexa {
namespace {

// A picture file of the applet folder as RGBA bytes; unreadable or outside the folder: empty,
// which the engine draws as a plain placeholder.
effects::Picture readPicture(const QString &folder, const QString &name)
{
    effects::Picture picture;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.startsWith(QLatin1Char('.')))
        return picture;
    QImage image(QDir(folder).filePath(name));
    if (image.isNull() || image.width() > effects::MaxSide || image.height() > effects::MaxSide)
        return picture;
    image = image.convertToFormat(QImage::Format_RGBA8888);
    picture.width = image.width();
    picture.height = image.height();
    picture.rgba.resize(std::size_t(image.width()) * std::size_t(image.height()) * 4);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(&picture.rgba[std::size_t(y) * std::size_t(image.width()) * 4], image.constScanLine(y),
                    std::size_t(image.width()) * 4);
    return picture;
}

} // namespace

bool EffectPlayer::knows(const QString &appletId)
{
    return effects::findEffect(Catalogue::classFile(appletId).toStdString()) != nullptr;
}

QString EffectPlayer::open(const SettingsStore &store, const Folders &folders, const QString &appletId)
{
    return openTag(TagGenerator(store).generate(appletId), folders.appletFolder(appletId));
}

QString EffectPlayer::openTag(const QString &tagText, const QString &folder)
{
    const std::vector<effects::AppletTag> tags = effects::readAppletTags(tagText.toStdString());
    if (tags.empty())
        return QStringLiteral("The page holds no applet tag.");
    effects::Animation::Pictures pictures;
    for (const auto &[key, file] : effects::Animation::pictureFiles(tags.front()))
        pictures.emplace_back(key, readPicture(folder, QString::fromStdString(file)));
    return QString::fromStdString(m_animation.open(tags.front(), pictures));
}

QImage EffectPlayer::frame(quint32 n)
{
    const std::uint8_t *bytes = m_animation.frame(n);
    if (!bytes)
        return QImage();
    return QImage(bytes, m_animation.width(), m_animation.height(), m_animation.width() * 4,
                  QImage::Format_RGBA8888);
}

QString EffectPlayer::recordMovingPicture(const QString &page, int seconds, int framesPerSecond, QByteArray *webp,
                                          Engine engine, const std::function<void()> &waiting)
{
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the page \"%1\" cannot be read (%2)").arg(page, file.errorString());
    const QString html = QString::fromLatin1(file.read(4 * 1024 * 1024)); // names and numbers are ASCII
    const QString folder = QFileInfo(page).absolutePath();
    const std::vector<effects::AppletTag> tags = effects::readAppletTags(html.toStdString());
    const bool known = !tags.empty() && effects::findEffect(tags.front().code);
    const bool codeHere = !tags.empty() && QFileInfo::exists(QDir(folder).filePath(QString::fromStdString(tags.front().code)));
    if (engine == Engine::Java || (engine == Engine::Automatic && (codeHere || !known)))
        return MovingPicture::record(page, seconds, framesPerSecond, webp, waiting);
    if (!known)
        return QStringLiteral("Vexa Java has no effect of its own for the applet of \"%1\"").arg(page);
    if (!MovingPicture::isValidLength(seconds, framesPerSecond))
        return QStringLiteral("a moving picture lasts 1 to %1 seconds at 1 to %2 frames a second")
            .arg(MovingPicture::MaxSeconds)
            .arg(MovingPicture::MaxFramesPerSecond);
    EffectPlayer player;
    if (const QString problem = player.openTag(html, folder); !problem.isEmpty())
        return problem;
    // The same recording the viewer makes, its frames at the picture's times.
    QTemporaryDir work;
    QFile recording(work.filePath(QStringLiteral("frames.rgba")));
    if (!work.isValid() || !recording.open(QIODevice::WriteOnly))
        return QStringLiteral("no temporary file can be made for the frames");
    const int count = seconds * framesPerSecond;
    recording.write(QStringLiteral("VXFRAMES %1 %2 %3 %4\n")
                        .arg(player.size().width()).arg(player.size().height()).arg(framesPerSecond).arg(count)
                        .toLatin1());
    for (int i = 0; i < count; ++i) {
        const QImage frame = player.frame(quint32(qint64(i) * player.framesPerSecond() / framesPerSecond));
        if (recording.write(reinterpret_cast<const char *>(frame.constBits()), frame.sizeInBytes()) != frame.sizeInBytes())
            return QStringLiteral("the frames cannot be written (%1)").arg(recording.errorString());
        if (waiting)
            waiting();
    }
    recording.close();
    return MovingPicture::encode(recording.fileName(), webp);
}

int EffectPlayer::framesPerSecond() const
{
    return m_animation.info() ? m_animation.info()->framesPerSecond : 25;
}

} // namespace vexa
