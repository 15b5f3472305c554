#include "TestSupport.h"
#include "viewer/AppletViewer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <webp/demux.h>

using namespace vexa;
using vexa::test::TestEnvironment;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
    qint64 ms = 0;
};

Run runProcess(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        qFatal("%s did not finish", qPrintable(program));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()), clock.elapsed()};
}

// The test applets' classes, built with the viewer.
QString fixture(const QString &relative) { return QStringLiteral(VEXAJAVA_VIEWER_TEST_APPLETS "/") + relative; }

void copyInto(const QString &folder, const QStringList &fixtures)
{
    QDir().mkpath(folder);
    for (const QString &file : fixtures)
        QFile::copy(fixture(file), folder + QLatin1Char('/') + QFileInfo(file).fileName());
}

QImage picture(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The frames of an animated WebP picture, and when the last one ends (ms). The encoder joins
// a frame to the one before when they are the same (an applet slowed down by a busy machine),
// so the length tells how much was recorded, the count only roughly.
QList<QImage> frames(const QByteArray &webp, int *endMs = nullptr)
{
    QList<QImage> result;
    WebPData data{reinterpret_cast<const uint8_t *>(webp.constData()), size_t(webp.size())};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder *decoder = WebPAnimDecoderNew(&data, &options);
    if (!decoder)
        return result;
    WebPAnimInfo info;
    WebPAnimDecoderGetInfo(decoder, &info);
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t *rgba = nullptr;
        int timestamp = 0;
        WebPAnimDecoderGetNext(decoder, &rgba, &timestamp);
        if (endMs)
            *endMs = timestamp;
        result << QImage(rgba, int(info.canvas_width), int(info.canvas_height), QImage::Format_RGBA8888).copy();
    }
    WebPAnimDecoderDelete(decoder);
    return result;
}

// Serves a folder over HTTP, answering one file late: a browser's load event, and so its
// screenshot, waits for it.
class SlowServer : public QObject {
public:
    SlowServer(const QString &root, const QByteArray &late, int delayMs) : m_root(root), m_late(late), m_delay(delayMs)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }
    QString address(const QString &file) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(file);
    }

private:
    void answer(QTcpSocket *socket)
    {
        disconnect(socket, &QTcpSocket::readyRead, this, nullptr); // one request a connection
        const QList<QByteArray> request = socket->readAll().split(' ');
        const QByteArray file = request.value(1);
        QFile content(m_root + QString::fromUtf8(file));
        QByteArray reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        if (!file.contains("..") && content.open(QIODevice::ReadOnly)) {
            const QByteArray body = content.readAll();
            const QByteArray type = file.endsWith(".html") ? "text/html" : file.endsWith(".webp") ? "image/webp" : "image/gif";
            reply = "HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: " + QByteArray::number(body.size()) +
                    "\r\nConnection: close\r\n\r\n" + body;
        }
        QTimer::singleShot(file == m_late ? m_delay : 0, socket, [socket, reply] {
            socket->write(reply);
            socket->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    QString m_root;
    QByteArray m_late;
    int m_delay;
};

} // namespace

// The applet viewer with applets of our own: what a browser gave an applet, and what the
// command line makes of it. Needs a display (CTest runs it under xvfb-run).
class ViewerTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();

    QString path(const QString &relative) const { return m_home.filePath(relative); }

    Run viewer(const QStringList &arguments)
    {
        return runProcess(AppletViewer::javaProgram(), QStringList{"-jar", AppletViewer::jarPath()} << arguments,
                          m_environment);
    }
    Run cli(const QStringList &arguments)
    {
        return runProcess(QStringLiteral(VEXAJAVA_CLI_PATH), arguments, m_environment);
    }
    // A page in `folder` holding `body`, shot after `after` ms.
    Run shoot(const QString &folder, const QByteArray &body, const QString &shot, int after = 300)
    {
        TestEnvironment::writeFile(folder + "/page.html", "<html><body>\n" + body + "\n</body></html>\n");
        return viewer({"--screenshot", shot, "--after", QString::number(after), folder + "/page.html"});
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("the applet viewer needs a display");
        QVERIFY(!AppletViewer::javaProgram().isEmpty());
        m_environment.insert("XDG_CONFIG_HOME", path("config"));
        // An installation whose BLOBS is the painting test applet, with every other file
        // publishing copies (an empty archive: the class comes from the folder).
        const QString applets = path("install/applets");
        copyInto(applets + "/blobs", {"catalogue/blobs/blobs.class", "catalogue/blobs/PaintApplet.class"});
        for (const char *name : {"blob.class", "vexa.class", "vexalib.class", "blobscr.txt"})
            TestEnvironment::writeFile(applets + "/blobs/" + name, name);
        TestEnvironment::writeFile(applets + "/blobs/blobs.jar", QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
        TestEnvironment::writeFile(applets + "/qzbut1.gif", "GIF89a");
        QDir().mkpath(applets + "/lake"); // a fresh installation's folder: no applet files
        for (const QStringList &setting : {QStringList{"Application", "Dir", path("install")},
                                           QStringList{"", "AppletDir", "applets"}, QStringList{"BLOBS", "Width", "160"},
                                           QStringList{"BLOBS", "Height", "120"}, QStringList{"BLOBS", "Textscroll", "NO"}})
            QCOMPARE(cli(QStringList{"set"} << setting).status, 0);
    }

    // Parameters by any case, values quoted any way or not at all, entities decoded; the
    // picture named by a parameter loads from the code base; the area is the tag's size.
    void screenshotShowsTheParameters()
    {
        const QString folder = path("paint");
        copyInto(folder + "/classes", {"paint/PaintApplet.class"});
        QVERIFY(picture(16, 16, Qt::blue).save(folder + "/classes/dot.png"));
        const Run run = shoot(folder,
                              "<APPLET CODE=PaintApplet CodeBase=\"classes/\" WIDTH=120 height='100'>\n"
                              "<PARAM NAME=Background VALUE=\"&#35;FF0000\">\n"
                              "<param name='FOREGROUND' value='&#x23;00ff00'>\n"
                              "<param name=picture value=dot.png>\n"
                              "<param name=\"text\" value=\"&lt;&amp;&gt;\">\n"
                              "</applet>",
                              folder + "/shot.png");
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QImage shot(folder + "/shot.png");
        QCOMPARE(shot.size(), QSize(120, 100));
        QCOMPARE(shot.pixelColor(60, 50), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(120 - 8, 8), QColor(Qt::blue));
        QVERIFY(run.out.startsWith("painted\n"));
    }

    // The archive is searched before the code base, as browsers did.
    void archiveComesBeforeTheCodeBase_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("archive") << QByteArray("<applet archive=\"JarApplet.jar\" code=\"JarApplet.class\" width=100 height=100></applet>")
                                 << QColor(Qt::green);
        QTest::newRow("code base alone") << QByteArray("<applet code=\"JarApplet\" width=100 height=100></applet>")
                                         << QColor(Qt::red);
    }
    void archiveComesBeforeTheCodeBase()
    {
        QFETCH(QByteArray, tag);
        QFETCH(QColor, colour);
        const QString folder = path("jar");
        copyInto(folder, {"jar/JarApplet.jar", "jar/JarApplet.class"});
        const Run run = shoot(folder, tag, folder + "/shot.png");
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(QImage(folder + "/shot.png").pixelColor(50, 50), colour);
    }

    // A missing class names the file and the folder; an exception names its class and
    // message; a stop that never returns is abandoned.
    void failuresSayWhat_data()
    {
        QTest::addColumn<QString>("fixtureFile");
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::newRow("missing class") << QString() << QByteArray("<applet code=Nowhere.class archive=gone.jar width=50 height=50></applet>")
                                       << int(AppletViewer::CodeMissing) << "\"Nowhere.class\" is not in the folder \"%1\"";
        QTest::newRow("exception in init") << "throws/ThrowingApplet.class"
                                           << QByteArray("<applet code=ThrowingApplet width=50 height=50></applet>") << 1
                                           << "java.lang.IllegalStateException: init failed on purpose";
        QTest::newRow("stop never returns") << "hangs/HangingApplet.class"
                                            << QByteArray("<applet code=HangingApplet width=50 height=50></applet>") << 0
                                            << "did not return from stop() and was abandoned";
    }
    void failuresSayWhat()
    {
        QFETCH(QString, fixtureFile);
        QFETCH(QByteArray, tag);
        QFETCH(int, status);
        QFETCH(QString, said);
        const QString folder = path(QStringLiteral("failure-%1").arg(QTest::currentDataTag()));
        copyInto(folder, fixtureFile.isEmpty() ? QStringList() : QStringList{fixtureFile});
        const Run run = shoot(folder, tag, folder + "/shot.png", 200);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(said.contains("%1") ? said.arg(folder) : said), qPrintable(run.err));
        QVERIFY2(run.ms < 15000, qPrintable(QString::number(run.ms)));
    }

    // showStatus and showDocument reach the host; the applets of a page see each other.
    void statusAndDocuments()
    {
        const QString folder = path("talks");
        copyInto(folder, {"talks/TalkingApplet.class"});
        const Run run = shoot(folder,
                              "<applet code=TalkingApplet name=one width=40 height=40><param name=who value=Ann></applet>\n"
                              "<applet code=TalkingApplet name=two width=40 height=40><param name=WHO value=Bob></applet>",
                              folder + "/shot.png");
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains("status\tHello from Ann, 2 applets on this page\n"), qPrintable(run.out));
        QVERIFY(run.out.contains("status\tHello from Bob, 2 applets on this page\n"));
        const QStringList documents = run.out.split('\n').filter("document\t");
        QCOMPARE(documents.size(), 2);
        for (const QString &document : documents) {
            const QStringList fields = document.split('\t');
            QCOMPARE(fields.value(1), QStringLiteral("_blank"));
            QCOMPARE(QUrl(fields.value(2)).toLocalFile(), folder + "/next.html");
        }
    }

    // The command line runs the catalogue's applet: a picture of exactly the tag's size,
    // and an animated picture whose frames move.
    void commandLineRunsAndRecords()
    {
        const Run run = cli({"run", "BLOBS", "--screenshot", path("blobs.png"), "--after", "300"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QImage shot(path("blobs.png"));
        QCOMPARE(shot.size(), QSize(160, 120));
        QCOMPARE(shot.pixelColor(80, 60), QColor(Qt::black)); // the applet's default background

        const Run record = cli({"record", "BLOBS", path("blobs.webp"), "--seconds", "1", "--fps", "10"});
        QVERIFY2(record.status == 0, qPrintable(record.err));
        int lengthMs = 0;
        const QList<QImage> recorded = frames(TestEnvironment::readFile(path("blobs.webp")), &lengthMs);
        QCOMPARE(lengthMs, 1000);
        QVERIFY(recorded.size() > 5 && recorded.size() <= 10);
        QCOMPARE(recorded.first().size(), QSize(160, 120));
        QVERIFY(recorded.first() != recorded.last());
        QCOMPARE(cli({"record", "BLOBS", path("x.webp"), "--fps", "0"}).status, 2);
    }

    // Every failure ends with status 1 and says why.
    void commandLineFailures_data()
    {
        QTest::addColumn<QString>("applet");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("said");
        QTest::newRow("applet code missing") << "LAKE" << "" << "" << "do not come with Vexa Java";
        QTest::newRow("JAVA_HOME holds no runtime") << "BLOBS" << "JAVA_HOME" << path("nowhere") << "JAVA_HOME names";
        QTest::newRow("no display") << "BLOBS" << "DISPLAY" << "" << "desktop";
    }
    void commandLineFailures()
    {
        QFETCH(QString, applet);
        QFETCH(QString, variable);
        QFETCH(QString, value);
        QFETCH(QString, said);
        const QProcessEnvironment usual = m_environment;
        if (variable == "DISPLAY")
            m_environment.remove(variable);
        else if (!variable.isEmpty())
            m_environment.insert(variable, value);
        const Run run = cli({"run", applet, "--screenshot", path("failed.png")});
        m_environment = usual;
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        QVERIFY(!QFile::exists(path("failed.png")));
    }

    // With the moving picture, the published folder differs from the plain one by the
    // picture and by one line of the page; Chromium shows the picture moving.
    void publishedMovingPicture()
    {
        QDir().mkpath(path("plain"));
        QDir().mkpath(path("moving"));
        QCOMPARE(cli({"publish", "BLOBS", path("plain/index.html")}).status, 0);
        const Run moving = cli({"publish", "BLOBS", path("moving/index.html"), "--moving-picture"});
        QVERIFY2(moving.status == 0, qPrintable(moving.err));
        const QStringList plainFiles = QDir(path("plain")).entryList(QDir::Files);
        QStringList expected = QStringList(plainFiles) << "index-blobs.webp";
        expected.sort();
        QCOMPARE(QDir(path("moving")).entryList(QDir::Files), expected);
        for (const QString &file : plainFiles) {
            if (file != "index.html")
                QCOMPARE(TestEnvironment::readFile(path("moving/" + file)), TestEnvironment::readFile(path("plain/" + file)));
        }
        QList<QByteArray> plainPage = TestEnvironment::readFile(path("plain/index.html")).split('\n');
        const QList<QByteArray> movingPage = TestEnvironment::readFile(path("moving/index.html")).split('\n');
        const qsizetype message = plainPage.indexOf("</applet>\r") - 1; // the message line comes last
        QVERIFY(message > 0);
        plainPage.insert(message, "<img src=\"index-blobs.webp\" width=\"160\" height=\"120\" alt=\"\">\r");
        QCOMPARE(movingPage, plainPage);
        int lengthMs = 0;
        const qsizetype count = frames(TestEnvironment::readFile(path("moving/index-blobs.webp")), &lengthMs).size();
        QCOMPARE(lengthMs, 3000);
        QVERIFY(count > 20 && count <= 45);

        const QString chromium = QStandardPaths::findExecutable("chromium");
        if (chromium.isEmpty())
            QSKIP("Chromium is not installed");
        // Two pictures of the page: at once, and with its load event held back 2 s by an
        // extra picture the server answers late, while the animation goes on.
        QByteArray late = TestEnvironment::readFile(path("moving/index.html"));
        late.replace("</body>", "<img src=\"late.gif\" width=\"1\" height=\"1\"></body>");
        TestEnvironment::writeFile(path("moving/late.html"), late);
        TestEnvironment::writeFile(path("moving/late.gif"), QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14));
        SlowServer server(path("moving"), "/late.gif", 2000);
        QList<QImage> shots;
        for (const char *page : {"index.html", "late.html"}) {
            const QString shot = path(QStringLiteral("chromium-%1.png").arg(shots.size()));
            QProcess browser;
            browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                                     "--window-size=400,300", "--screenshot=" + shot, server.address(page)});
            QVERIFY(QTest::qWaitFor([&] { return browser.state() == QProcess::NotRunning; }, 60000));
            shots << QImage(shot);
        }
        QVERIFY(!shots.first().isNull() && shots.first().size() == shots.last().size());
        QVERIFY(shots.first() != shots.last());
    }
};

QTEST_GUILESS_MAIN(ViewerTest)
#include "tst_viewer.moc"
