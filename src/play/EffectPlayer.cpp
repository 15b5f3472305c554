#include "EffectPlayer.h"

#include "catalogue/Catalogue.h"
#include "settings/Folders.h"
#include "tag/TagGenerator.h"

#include <QDir>

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

int EffectPlayer::framesPerSecond() const
{
    return m_animation.info() ? m_animation.info()->framesPerSecond : 25;
}

} // namespace vexa
