// The player in a browser of today: every effect drawn by the WebAssembly module in headless
// Chromium is byte for byte the frame the native engine draws, from a local server and from
// file://; applet tags become canvases of their size, an unknown applet keeps its message.
#include "Animation.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace vexa::effects;

namespace {

constexpr int Frame = 50;

QString quote(const std::string &text) { return QString::fromStdString(text).toHtmlEscaped(); }

// The tag of an effect at its default values, or with every visible parameter at its other value.
AppletTag tagOf(const EffectInfo &info, bool others)
{
    AppletTag tag;
    tag.code = info.className;
    tag.width = 160;
    tag.height = 100;
    for (const ParamRow &row : info.params) {
        const bool other = others && row.kind != ParamKind::Picture && row.visible && !row.needs;
        tag.params.set(row.name, row.kind == ParamKind::Picture ? "bands.png" : other ? row.other : row.fallback);
    }
    return tag;
}

QString html(const AppletTag &tag, const EffectInfo &info)
{
    QString text = QStringLiteral("<applet code=\"%1\" width=\"%2\" height=\"%3\">\n")
                       .arg(quote(tag.code)).arg(tag.width).arg(tag.height);
    for (const ParamRow &row : info.params)
        text += QStringLiteral("<param name=\"%1\" value=\"%2\">\n").arg(row.name, quote(*tag.params.find(row.name)));
    return text + QStringLiteral("Your browser does not support Java applets.\n</applet>\n");
}

// FNV-1a over the RGBA bytes, as the page computes it.
quint32 hashOf(const std::uint8_t *bytes, qsizetype size)
{
    quint32 hash = 2166136261u;
    for (qsizetype i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

// Serves one folder over HTTP to 127.0.0.1.
class Server : public QObject {
public:
    explicit Server(const QString &root) : m_root(root)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray file = socket->readAll().split(' ').value(1);
                    QFile content(m_root + QString::fromUtf8(file));
                    QByteArray reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
                    if (!file.contains("..") && content.open(QIODevice::ReadOnly)) {
                        const QByteArray body = content.readAll();
                        reply = "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                                "\r\nConnection: close\r\n\r\n" + body;
                    }
                    socket->write(reply);
                    socket->disconnectFromHost();
                });
        });
    }
    QString address(const QString &file) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(file);
    }

private:
    QTcpServer m_server;
    QString m_root;
};

// The page's report: one "WxH:hash" line per canvas, in page order.
QStringList playedIn(const QString &chromium, const QString &address)
{
    QProcess browser;
    browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--virtual-time-budget=20000",
                             "--dump-dom", address});
    if (!QTest::qWaitFor([&] { return browser.state() == QProcess::NotRunning; }, 120000)) return {};
    const QString dom = QString::fromUtf8(browser.readAllStandardOutput());
    const QRegularExpressionMatch result = QRegularExpression("<pre id=\"result\">([^<]*)</pre>").match(dom);
    QStringList lines = result.captured(1).split('\n', Qt::SkipEmptyParts);
    if (!dom.contains("No effect here") || dom.count("<canvas") != lines.size()) lines.prepend("page: " + dom.left(400));
    return lines;
}

} // namespace

class PlayerTest : public QObject {
    Q_OBJECT

private slots:
    void browserFramesAreTheNativeOnes()
    {
        const QString player = QStringLiteral(VEXAJAVA_PLAYER);
        const QString chromium = QStandardPaths::findExecutable("chromium");
        if (!QFile::exists(player)) QSKIP("the effects player is not built here");
        if (chromium.isEmpty()) QSKIP("Chromium is not installed");
        QTemporaryDir site;
        QVERIFY(QFile::copy(player, site.filePath("vexajava-effects.js")));
        QFile script(player);
        QVERIFY(script.open(QIODevice::ReadOnly));
        QVERIFY(qCompress(script.readAll(), 9).size() < 200 * 1024); // one small file for every page
        // A lossless picture, so that the browser and the program read the same pixels.
        QImage bands(96, 64, QImage::Format_RGBA8888);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 96; ++x) bands.setPixel(x, y, qRgb(x * 255 / 96, y * 255 / 64, (x ^ y) & 0xFF));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        bands.save(&buffer, "PNG");
        Picture picture{96, 64, {}};
        const QImage rgba = QImage::fromData(png).convertToFormat(QImage::Format_RGBA8888);
        picture.rgba.assign(rgba.constBits(), rgba.constBits() + 96 * 64 * 4);

        // Every effect twice, and one applet the engine does not know.
        QString body;
        QStringList expected;
        QSet<QString> files;
        for (const EffectInfo &info : registry()) {
            for (const bool others : {false, true}) {
                const AppletTag tag = tagOf(info, others);
                body += html(tag, info);
                Animation animation;
                Animation::Pictures pictures;
                for (const auto &[name, file] : Animation::pictureFiles(tag)) {
                    pictures.emplace_back(name, picture);
                    files.insert(QString::fromStdString(file));
                }
                QVERIFY(animation.open(tag, pictures).empty());
                expected << QStringLiteral("%1 160x100:%2").arg(info.appletId).arg(hashOf(animation.frame(Frame), 160 * 100 * 4));
            }
        }
        body += "<applet code=\"unknown.class\" width=\"50\" height=\"40\">No effect here</applet>\n";
        const QString check = QStringLiteral(R"(<script>
function hash(bytes) { var h = 2166136261; for (var i = 0; i < bytes.length; i++) h = Math.imul(h ^ bytes[i], 16777619) >>> 0; return h; }
function check() {
  var v = window.vexajavaEffects;
  if (!v || !v.show) { setTimeout(check, 50); return; }
  var lines = v.animations.map(function (a, i) {
    v.show(i, %1);
    var data = a.context.getImageData(0, 0, a.canvas.width, a.canvas.height).data;
    return a.canvas.getAttribute("data-applet") + " " + a.canvas.width + "x" + a.canvas.height + ":" + hash(data);
  });
  var pre = document.createElement("pre"); pre.id = "result"; pre.textContent = lines.join("\n"); document.body.appendChild(pre);
}
check();
</script>)").arg(Frame);
        // Every picture a tag names (a sequence's too) is the lossless one, beside the page and as data.
        QStringList data;
        for (const QString &file : files) {
            QFile pictureFile(site.filePath(file));
            QVERIFY(pictureFile.open(QIODevice::WriteOnly) && pictureFile.write(png) == png.size());
            data << QStringLiteral("\"%1\": \"data:image/png;base64,%2\"").arg(file, QString::fromLatin1(png.toBase64()));
        }
        const QString pictures = QStringLiteral("<script>window.vexajavaPictures = {%1};</script>\n").arg(data.join(", "));
        for (const auto &[name, extra] : {std::pair{"served.html", QString()}, {"local.html", pictures}}) {
            QFile page(site.filePath(name));
            QVERIFY(page.open(QIODevice::WriteOnly));
            page.write(("<html><body>\n" + body + extra + "<script src=\"vexajava-effects.js\"></script>\n" + check +
                        "</body></html>\n").toUtf8());
        }
        // The report names the class; the expectation the applet.
        QStringList classes;
        for (const EffectInfo &info : registry()) classes << QString(info.className) << QString(info.className);
        for (qsizetype i = 0; i < expected.size(); ++i) expected[i].replace(0, expected[i].indexOf(' '), classes[i]);

        Server server(site.path());
        QCOMPARE(playedIn(chromium, server.address("served.html")), expected);
        QCOMPARE(playedIn(chromium, QUrl::fromLocalFile(site.filePath("local.html")).toString()), expected);
    }
};

QTEST_GUILESS_MAIN(PlayerTest)
#include "tst_player.moc"
