#include "MovingPicture.h"

#include "AppletViewer.h"
#include "catalogue/Catalogue.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <webp/encode.h>
#include <webp/mux.h>

#include <memory>

namespace vexa {
namespace {

// The viewer's start, the applet's init() and start() (which it bounds itself) and its end on
// top of the recording: a recording returns in time whatever the applet does.
constexpr int StartAllowanceMs = 15000;
// 3 s of a 320 x 200 effect stays under 1 MB; other sizes and lengths in proportion.
constexpr double BudgetBytes = 1000000.0;
constexpr double BudgetPixels = 320.0 * 200.0 * 3 * MovingPicture::DefaultFramesPerSecond;
constexpr int Qualities[] = {75, 55, 35, 20, 5, 0};
constexpr int MaxSide = 8192;

struct Recording {
    int width = 0;
    int height = 0;
    int fps = 0;
    int count = 0;
    qint64 frameBytes() const { return qint64(width) * height * 4; }
};

QString readHeader(QFile &file, Recording &recording)
{
    const QByteArray line = file.readLine(128);
    const QList<QByteArray> fields = line.trimmed().split(' ');
    bool ok[4] = {};
    if (fields.size() == 5 && fields[0] == "VXFRAMES") {
        recording.width = fields[1].toInt(&ok[0]);
        recording.height = fields[2].toInt(&ok[1]);
        recording.fps = fields[3].toInt(&ok[2]);
        recording.count = fields[4].toInt(&ok[3]);
    }
    const bool sane = ok[0] && ok[1] && ok[2] && ok[3] && recording.width > 0 && recording.height > 0 &&
                      recording.width <= MaxSide && recording.height <= MaxSide && recording.count > 0 &&
                      MovingPicture::isValidLength(1, recording.fps) &&
                      recording.count <= MovingPicture::MaxSeconds * MovingPicture::MaxFramesPerSecond;
    if (!sane)
        return QStringLiteral("the recording \"%1\" does not start with a valid frame header").arg(file.fileName());
    if (file.size() - file.pos() != recording.frameBytes() * recording.count)
        return QStringLiteral("the recording \"%1\" does not hold its %2 frames").arg(file.fileName()).arg(recording.count);
    return QString();
}

struct EncoderDeleter {
    void operator()(WebPAnimEncoder *encoder) const { WebPAnimEncoderDelete(encoder); }
};

// One pass over the frames at one quality.
QString encodeAt(QFile &file, qint64 framesStart, const Recording &recording, int quality, QByteArray *webp)
{
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return QStringLiteral("the WebP library does not match the one the program was built with");
    options.anim_params.loop_count = 0; // forever
    std::unique_ptr<WebPAnimEncoder, EncoderDeleter> encoder(
        WebPAnimEncoderNew(recording.width, recording.height, &options));
    WebPConfig config;
    if (!encoder || !WebPConfigInit(&config))
        return QStringLiteral("the WebP encoder cannot be set up");
    config.quality = float(quality);
    config.method = 4;
    if (!file.seek(framesStart))
        return file.errorString();
    for (int k = 0; k < recording.count; ++k) {
        const QByteArray frame = file.read(recording.frameBytes());
        if (frame.size() != recording.frameBytes())
            return QStringLiteral("the recording \"%1\" ends early").arg(file.fileName());
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.width = recording.width;
        picture.height = recording.height;
        picture.use_argb = 1;
        const bool imported = WebPPictureImportRGBA(&picture, reinterpret_cast<const uint8_t *>(frame.constData()),
                                                    recording.width * 4);
        const int timestamp = int(qint64(k) * 1000 / recording.fps);
        const bool added = imported && WebPAnimEncoderAdd(encoder.get(), &picture, timestamp, &config);
        WebPPictureFree(&picture);
        if (!added)
            return QStringLiteral("the WebP encoder refused frame %1 (%2)")
                .arg(k + 1)
                .arg(QString::fromUtf8(WebPAnimEncoderGetError(encoder.get())));
    }
    WebPAnimEncoderAdd(encoder.get(), nullptr, int(qint64(recording.count) * 1000 / recording.fps), nullptr);
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAssemble(encoder.get(), &data))
        return QStringLiteral("the WebP encoder could not assemble the picture");
    *webp = QByteArray(reinterpret_cast<const char *>(data.bytes), qsizetype(data.size));
    WebPDataClear(&data);
    return QString();
}

} // namespace

bool MovingPicture::isValidLength(int seconds, int framesPerSecond)
{
    return seconds >= 1 && seconds <= MaxSeconds && framesPerSecond >= 1 && framesPerSecond <= MaxFramesPerSecond;
}

QString MovingPicture::fileName(const QString &htmlPath, const QString &appletId)
{
    return QFileInfo(htmlPath).completeBaseName() + QLatin1Char('-') + Catalogue::folderName(appletId) +
           QStringLiteral(".webp");
}

QString MovingPicture::encode(const QString &recordingPath, QByteArray *webp)
{
    QFile file(recordingPath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("the recording \"%1\" cannot be read (%2)").arg(recordingPath, file.errorString());
    Recording recording;
    if (const QString problem = readHeader(file, recording); !problem.isEmpty())
        return problem;
    const qint64 framesStart = file.pos();
    // The best quality that keeps within the budget; the lowest when none does.
    const double budget = BudgetBytes * recording.width * recording.height * recording.count / BudgetPixels;
    for (int quality : Qualities) {
        if (const QString problem = encodeAt(file, framesStart, recording, quality, webp); !problem.isEmpty())
            return problem;
        if (webp->size() <= budget)
            break;
    }
    return QString();
}

QString MovingPicture::record(const QString &page, int seconds, int framesPerSecond, QByteArray *webp,
                              const std::function<void()> &waiting)
{
    QTemporaryDir work;
    if (!work.isValid())
        return QStringLiteral("no temporary folder can be made (%1)").arg(work.errorString());
    const QString recording = work.filePath(QStringLiteral("frames.rgba"));
    const QStringList options = {QStringLiteral("--record"),  recording,
                                 QStringLiteral("--seconds"), QString::number(seconds),
                                 QStringLiteral("--fps"),     QString::number(framesPerSecond)};
    if (const QString problem =
            AppletViewer::run(page, options, work.path(), seconds * 1000 + StartAllowanceMs, {}, waiting);
        !problem.isEmpty())
        return problem;
    return encode(recording, webp);
}

} // namespace vexa
