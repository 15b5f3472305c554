#include "PictureThumbnail.h"

#include <QCache>
#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMutex>
#include <QPixmap>
#include <QThreadPool>
#include <QVBoxLayout>

#include <atomic>

namespace vexa {

// The way back from a worker: the worker posts its result only while the thumbnail still
// exists, under the lock its destructor takes, and only the newest request is shown.
struct PictureThumbnail::Channel {
    QMutex mutex;
    PictureThumbnail *target = nullptr;
    std::atomic<quint64> latest{0};
};

namespace {

// Set on the window's thread, copied by workers: each runs the copy it took.
struct DecodeHook {
    QMutex mutex;
    std::function<void(const QString &)> run;
};

DecodeHook &decodeHook()
{
    static DecodeHook hook;
    return hook;
}

std::function<void(const QString &)> currentDecodeHook()
{
    QMutexLocker lock(&decodeHook().mutex);
    return decodeHook().run;
}

// Decoded thumbnails of this run, by file; a changed file has another key. Used on the
// window's thread only. The cost is in kilobytes: a few hundred thumbnails.
QCache<QString, PictureThumbnail::Decoded> &cache()
{
    static QCache<QString, PictureThumbnail::Decoded> decoded(16 * 1024);
    return decoded;
}

QString cacheKey(const QFileInfo &file)
{
    return QStringLiteral("%1|%2|%3")
        .arg(file.absoluteFilePath())
        .arg(file.size())
        .arg(file.lastModified().toMSecsSinceEpoch());
}

PictureThumbnail::Decoded decode(const QString &path)
{
    PictureThumbnail::Decoded result;
    QImageReader reader(path);
    result.size = reader.size();
    if (!reader.canRead() || !result.size.isValid()) {
        result.error = QStringLiteral("Not a picture that can be shown");
        return result;
    }
    result.format = QString::fromLatin1(reader.format()).toUpper();
    const int side = PictureThumbnail::Side - 4;
    // Decoding at the shown size keeps large pictures quick: JPEG scales while decoding.
    reader.setScaledSize(result.size.scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    result.image = reader.read();
    if (result.image.isNull())
        result.error = QStringLiteral("The picture cannot be read: %1").arg(reader.errorString());
    return result;
}

} // namespace

PictureThumbnail::PictureThumbnail(QWidget *parent)
    : QWidget(parent), m_name(new QLabel(this)), m_picture(new QLabel(this)), m_caption(new QLabel(this)),
      m_channel(std::make_shared<Channel>())
{
    setObjectName(QStringLiteral("thumbnail"));
    m_channel->target = this;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_name->setObjectName(QStringLiteral("thumbnailName"));
    m_name->setFixedWidth(Side);
    m_name->setAlignment(Qt::AlignHCenter);
    m_name->setTextFormat(Qt::PlainText);
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
    layout->addWidget(m_name);
    layout->addWidget(m_picture);
    layout->addWidget(m_caption);
    layout->addStretch(1);
}

PictureThumbnail::~PictureThumbnail()
{
    QMutexLocker lock(&m_channel->mutex);
    m_channel->target = nullptr;
}

void PictureThumbnail::setDecodeHook(std::function<void(const QString &)> hook)
{
    QMutexLocker lock(&decodeHook().mutex);
    decodeHook().run = std::move(hook);
}

void PictureThumbnail::showPicture(const QString &path)
{
    const quint64 request = ++m_channel->latest; // whatever is still decoding is stale now
    m_decoding = false;
    m_picture->clear();
    m_caption->clear();
    const QString name = QFileInfo(path).fileName();
    m_name->setText(m_name->fontMetrics().elidedText(name, Qt::ElideMiddle, Side));
    m_name->setToolTip(name);
    if (path.isEmpty()) {
        m_picture->setText(QStringLiteral("Select a picture\nto see it here"));
        return;
    }
    const QFileInfo file(path);
    if (!file.isFile()) {
        m_caption->setText(QStringLiteral("No such file in the applet folder"));
        emit pictureShown(path);
        return;
    }
    const QString key = cacheKey(file);
    if (const Decoded *known = cache().object(key)) {
        show(path, *known);
        return;
    }
    m_decoding = true;
    m_caption->setText(QStringLiteral("Loading..."));
    std::shared_ptr<Channel> channel = m_channel;
    QThreadPool::globalInstance()->start([channel, request, path, key] {
        if (channel->latest != request)
            return; // the selection moved on before this decode began
        if (const auto hook = currentDecodeHook())
            hook(path);
        const Decoded decoded = decode(path);
        QMutexLocker lock(&channel->mutex);
        if (PictureThumbnail *target = channel->target) {
            // Posted events die with their receiver, so the call never outlives the thumbnail.
            QMetaObject::invokeMethod(
                target,
                [target, request, path, key, decoded] { target->deliver(request, path, key, decoded); },
                Qt::QueuedConnection);
        }
    });
}

void PictureThumbnail::deliver(quint64 request, const QString &path, const QString &key,
                               const Decoded &decoded)
{
    const int kilobytes = int(decoded.image.sizeInBytes() / 1024) + 1;
    cache().insert(key, new Decoded(decoded), kilobytes);
    if (request == m_channel->latest)
        show(path, decoded);
}

void PictureThumbnail::show(const QString &path, const Decoded &decoded)
{
    m_decoding = false;
    if (decoded.image.isNull()) {
        m_picture->clear();
        m_caption->setText(decoded.error);
    } else {
        m_picture->setPixmap(QPixmap::fromImage(decoded.image));
        m_caption->setText(QStringLiteral("%1 × %2 %3")
                               .arg(decoded.size.width())
                               .arg(decoded.size.height())
                               .arg(decoded.format));
    }
    emit pictureShown(path);
}

QString PictureThumbnail::caption() const { return m_caption->text(); }

QString PictureThumbnail::fileName() const { return m_name->toolTip(); }

bool PictureThumbnail::hasPicture() const { return !m_picture->pixmap().isNull(); }

} // namespace vexa
