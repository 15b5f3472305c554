#include "PictureThumbnail.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace vexa {

PictureThumbnail::PictureThumbnail(QWidget *parent)
    : QWidget(parent), m_picture(new QLabel(this)), m_caption(new QLabel(this))
{
    setObjectName(QStringLiteral("thumbnail"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_picture->setFixedSize(Side, Side);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_picture->setAccessibleName(QStringLiteral("Selected picture"));
    m_picture->setForegroundRole(QPalette::PlaceholderText);
    m_picture->setWordWrap(true);
    m_caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_caption->setWordWrap(true);
    m_caption->setFixedWidth(Side);
    m_caption->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_picture);
    layout->addWidget(m_caption);
    layout->addStretch(1);
}

void PictureThumbnail::showPicture(const QString &path)
{
    m_picture->clear();
    m_caption->clear();
    if (path.isEmpty()) {
        m_picture->setText(QStringLiteral("Select a picture\nto see it here"));
        return;
    }
    if (!QFileInfo(path).isFile()) {
        m_caption->setText(QStringLiteral("No such file in the applet folder"));
        return;
    }
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid()) {
        m_caption->setText(QStringLiteral("Not a picture that can be shown"));
        return;
    }
    const QString format = QString::fromLatin1(reader.format()).toUpper();
    // Decoding at the shown size keeps large pictures quick: JPEG scales while decoding.
    reader.setScaledSize(size.scaled(Side - 4, Side - 4, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    const QImage image = reader.read();
    if (image.isNull()) {
        m_caption->setText(QStringLiteral("The picture cannot be read: %1").arg(reader.errorString()));
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_caption->setText(QStringLiteral("%1 × %2 %3").arg(size.width()).arg(size.height()).arg(format));
}

QString PictureThumbnail::caption() const { return m_caption->text(); }

bool PictureThumbnail::hasPicture() const { return !m_picture->pixmap().isNull(); }

} // namespace vexa
