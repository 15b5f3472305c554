#include "EffectPlayer.h"
#include "TestSupport.h"
#include "publish/PreviewPage.h"
#include "viewer/AppletViewer.h"
#include "viewer/MovingPicture.h"

#include <QRandomGenerator>
#include <QTest>

#include <webp/demux.h>

using namespace vexa;
using vexa::test::TestEnvironment;

namespace {

enum class Motion { Square, Noise };

// A recording as the viewer writes it: a header line, then RGBA frames.
QByteArray recording(int width, int height, int count, Motion motion)
{
    QByteArray bytes = QStringLiteral("VXFRAMES %1 %2 15 %3\n").arg(width).arg(height).arg(count).toLatin1();
    QRandomGenerator random(7);
    for (int k = 0; k < count; ++k) {
        QByteArray frame(qsizetype(width) * height * 4, '\0');
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                char *pixel = frame.data() + (qsizetype(y) * width + x) * 4;
                const bool square = x >= k * 4 && x < k * 4 + 20 && y >= height - 24 && y < height - 4;
                const char grey = motion == Motion::Noise ? char(random.bounded(256)) : (square ? char(255) : 0);
                pixel[0] = pixel[1] = pixel[2] = grey;
                pixel[3] = char(255);
            }
        }
        bytes += frame;
    }
    return bytes;
}

struct Decoded {
    int frames = 0;
    int loops = -1;
    QList<QByteArray> pixels;
};

Decoded decode(const QByteArray &webp)
{
    Decoded result;
    WebPData data{reinterpret_cast<const uint8_t *>(webp.constData()), size_t(webp.size())};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    WebPAnimDecoder *decoder = WebPAnimDecoderNew(&data, &options);
    if (!decoder)
        return result;
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(decoder, &info);
    result.frames = int(info.frame_count);
    result.loops = int(info.loop_count);
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t *rgba = nullptr;
        int timestamp = 0;
        WebPAnimDecoderGetNext(decoder, &rgba, &timestamp);
        result.pixels << QByteArray(reinterpret_cast<const char *>(rgba), qsizetype(info.canvas_width) * info.canvas_height * 4);
    }
    WebPAnimDecoderDelete(decoder);
    return result;
}

} // namespace

class MovingPictureTest : public QObject {
    Q_OBJECT

private slots:
    void viewerEvents_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind"); // -1: not an event
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("target");
        QTest::newRow("painted") << QByteArray("painted") << int(ViewerEvent::Kind::Painted) << "" << "";
        QTest::newRow("status with a tab") << QByteArray("status\tHello\tthere\r") << int(ViewerEvent::Kind::Status)
                                           << "Hello\tthere" << "";
        QTest::newRow("document") << QByteArray("document\t_blank\thttp://example.com/a b") << int(ViewerEvent::Kind::Document)
                                  << "http://example.com/a b" << "_blank";
        QTest::newRow("document without target") << QByteArray("document\thttp://x") << -1 << "" << "";
        QTest::newRow("unknown") << QByteArray("Picked up JAVA_TOOL_OPTIONS") << -1 << "" << "";
    }
    void viewerEvents()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, target);
        const std::optional<ViewerEvent> event = ViewerEvent::parse(line);
        QCOMPARE(event.has_value(), kind >= 0);
        if (event) {
            QCOMPARE(int(event->kind), kind);
            QCOMPARE(event->text, text);
            QCOMPARE(event->target, target);
        }
    }

    // 3 s of a 320 x 200 effect, loops forever, frames as recorded, under 1 MB even when
    // every pixel changes in every frame.
    void encodesTheRecording_data()
    {
        QTest::addColumn<int>("motion");
        QTest::newRow("moving square") << int(Motion::Square);
        QTest::newRow("noise") << int(Motion::Noise);
    }
    void encodesTheRecording()
    {
        QFETCH(int, motion);
        TestEnvironment env;
        const QString file = env.path("frames.rgba");
        TestEnvironment::writeFile(file, recording(320, 200, 45, Motion(motion)));
        QByteArray webp;
        QCOMPARE(MovingPicture::encode(file, &webp), QString());
        QVERIFY2(webp.size() < 1000000, qPrintable(QString::number(webp.size())));
        const Decoded decoded = decode(webp);
        QCOMPARE(decoded.loops, 0);
        QCOMPARE(decoded.pixels.size(), 45);
        QVERIFY(decoded.pixels.first() != decoded.pixels.last());
    }

    // Where the applet's code is missing, our own effect is recorded, at the picture's times.
    void ourEffectIsRecordedWithoutTheAppletsCode()
    {
        TestEnvironment env;
        const QString page = env.path("site/index.html");
        TestEnvironment::writeFile(page, "<applet code=\"Plasma3.class\" width=\"80\" height=\"50\">"
                                         "<param name=\"speed\" value=\"8\"></applet>");
        QByteArray webp;
        QCOMPARE(EffectPlayer::recordMovingPicture(page, 2, 10, &webp), QString());
        const Decoded decoded = decode(webp);
        QCOMPARE(decoded.pixels.size(), 20);
        QVERIFY(decoded.pixels.first() != decoded.pixels.last());
        QVERIFY(!EffectPlayer::recordMovingPicture(page, 99, 10, &webp, EffectPlayer::Engine::Ours).isEmpty());
    }

    void refusesABrokenRecording_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no header") << QByteArray("GIF89a") << "does not start with a valid frame header";
        QTest::newRow("huge size") << QByteArray("VXFRAMES 99999 2 15 1\n") << "does not start with a valid frame header";
        QTest::newRow("too fast") << QByteArray("VXFRAMES 2 2 1000 1\n") << "does not start with a valid frame header";
        QTest::newRow("frames missing") << recording(8, 8, 3, Motion::Square).replace("VXFRAMES 8 8 15 3", "VXFRAMES 8 8 15 4")
                                        << "does not hold its 4 frames";
    }
    void refusesABrokenRecording()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        TestEnvironment env;
        TestEnvironment::writeFile(env.path("frames.rgba"), bytes);
        QByteArray webp;
        QVERIFY(MovingPicture::encode(env.path("frames.rgba"), &webp).contains(problem));
        QVERIFY(MovingPicture::encode(env.path("none.rgba"), &webp).contains("cannot be read"));
    }

    // The published page differs from the plain one by the picture's line alone, just
    // before the message, with a name that stays a name in an address.
    void pageNamesThePicture()
    {
        TestEnvironment env;
        env.store().write("BLOBS", "Width", "200");
        env.store().write("BLOBS", "Height", "150");
        env.store().write("BLOBS", "NoJavaMsg", "No Java here.");
        const QString name = MovingPicture::fileName("/site/my page#2.html", "BLOBS");
        QCOMPARE(name, QStringLiteral("my page#2-blobs.webp"));
        PreviewPage page(env.store(), env.folders(), env.reporter);
        QStringList plain = page.text("BLOBS", true).split("\r\n");
        const QStringList moving = page.text("BLOBS", true, name).split("\r\n");
        const int message = int(plain.indexOf("No Java here."));
        QVERIFY(message > 0);
        plain.insert(message, "<img src=\"my page%232-blobs.webp\" width=\"200\" height=\"150\" alt=\"\">");
        QCOMPARE(moving, plain);
    }
};

QTEST_GUILESS_MAIN(MovingPictureTest)
#include "tst_movingpicture.moc"
