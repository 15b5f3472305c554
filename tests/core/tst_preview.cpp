#include "Addresses.h"
#include "TestSupport.h"
#include "publish/BrowserLauncher.h"
#include "io/CharsetEncoder.h"
#include "publish/PreviewPage.h"
#include "publish/ProcessStarter.h"
#include "publish/SystemProcessStarter.h"
#include "strings/StringIds.h"
#include "tag/TagGenerator.h"

#include <QTest>

#include <memory>

using namespace vexa;
using vexa::test::TestEnvironment;

namespace {

// The page as it must appear on disk, around whatever tag the generator gives.
QByteArray expectedPage(const QByteArray &charset, const QByteArray &tag, const QByteArray &button)
{
    return "<html>\r\n"
           "\r\n"
           "<head>\r\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
           charset +
           "\">\r\n"
           "<meta name=\"Vexa Java\" content=\"\">\r\n"
           "<title>Vexa Java preview</title>\r\n"
           "</head>\r\n"
           "\r\n"
           "<body bgcolor=\"#102070\" text=\"#FFFF22\" link=\"#5FFF5F\"\r\n"
           "vlink=\"#553AEB\" alink=\"#FF8000\">\r\n"
           "\r\n"
           "<p align=\"center\">\r\n" +
           tag +
           "</p>\r\n"
           "<p><a href=\"https://www.vexajava.example/\"><img src=\"" +
           button +
           "\" alt=\"This site is Vexa Java Enhanced\" border=\"0\" width=\"85\" height=\"31\"></a></p>\r\n"
           "</body>\r\n"
           "</html>\r\n";
}

class FakeStarter : public ProcessStarter {
public:
    QString start(const QString &program, const QStringList &arguments) override
    {
        calls.append({program, arguments});
        return failure;
    }
    struct Call {
        QString program;
        QStringList arguments;
    };
    QList<Call> calls;
    QString failure;
};

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private:
    QByteArray writePage(TestEnvironment &env, const QString &applet, bool copied)
    {
        env.makeAppletFolder(applet);
        PreviewPage page(env.store(), env.folders(), env.reporter);
        if (!page.write(applet, copied))
            return QByteArray("<write failed>");
        return TestEnvironment::readFile(page.path(applet));
    }

private slots:
    void pageIsTheTemplateByteForByte_data()
    {
        QTest::addColumn<bool>("copied");
        QTest::addColumn<QByteArray>("button");
        QTest::newRow("preview") << false << QByteArray("../qzbut1.gif");
        QTest::newRow("copied") << true << QByteArray("qzbut1.gif");
    }
    void pageIsTheTemplateByteForByte()
    {
        QFETCH(bool, copied);
        QFETCH(QByteArray, button);
        TestEnvironment env;
        const QString tag = TagGenerator(env.store()).generate(QStringLiteral("BLOBS"));
        const QByteArray bytes = writePage(env, QStringLiteral("BLOBS"), copied);
        QCOMPARE(bytes, expectedPage("iso-8859-1", tag.toLatin1(), button));
        QVERIFY(bytes.endsWith("</html>\r\n"));
        QVERIFY(env.reporter.messages.isEmpty());
        QCOMPARE(Addresses::homePage(), QStringLiteral("https://www.vexajava.example/"));
    }

    void pageReplacesTheOldOne()
    {
        TestEnvironment env;
        const QString folder = env.makeAppletFolder(QStringLiteral("BLOBS"));
        TestEnvironment::writeFile(folder + QStringLiteral("/preview.html"), QByteArray(5000, 'x'));
        const QByteArray bytes = writePage(env, QStringLiteral("BLOBS"), false);
        QVERIFY(bytes.startsWith("<html>\r\n"));
        QVERIFY(!bytes.contains("xxxx"));
    }

    void characterSetOfThePage_data()
    {
        QTest::addColumn<QString>("applet");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("declared");
        QTest::newRow("MORPHMENU") << "MORPHMENU"
                                   << "windows-1251" << QByteArray("windows-1251");
        QTest::newRow("TREEMENU") << "TREEMENU"
                                  << "iso-8859-2" << QByteArray("iso-8859-2");
        QTest::newRow("TEXTSCROLLER") << "TEXTSCROLLER"
                                      << "x-sjis" << QByteArray("x-sjis");
        QTest::newRow("TREEMENU, never set") << "TREEMENU"
                                             << "" << QByteArray("");
        QTest::newRow("BLOBS ignores CharSet") << "BLOBS"
                                               << "windows-1251" << QByteArray("iso-8859-1");
        QTest::newRow("BUMP ignores CharSet") << "BUMP"
                                              << "koi8-ru" << QByteArray("iso-8859-1");
    }
    void characterSetOfThePage()
    {
        QFETCH(QString, applet);
        QFETCH(QString, stored);
        QFETCH(QByteArray, declared);
        TestEnvironment env;
        if (!stored.isEmpty())
            env.store().write(applet, QStringLiteral("CharSet"), stored);
        const QByteArray line4 = writePage(env, applet, false).split('\n').value(3);
        QCOMPARE(line4,
                 "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + declared + "\">\r");
    }

    void pageBytesFollowTheDeclaredSet()
    {
        TestEnvironment env;
        env.store().write(QStringLiteral("BLOBS"), QStringLiteral("NoJavaMsg"), QStringLiteral("Café"));
        const QByteArray latin = writePage(env, QStringLiteral("BLOBS"), false);
        QVERIFY(latin.contains("\r\nCaf\xE9\r\n"));

        // A set without é gets a reference; the Cyrillic letter its own byte.
        env.store().write(QStringLiteral("MORPHMENU"), QStringLiteral("CharSet"),
                          QStringLiteral("windows-1251"));
        env.store().write(QStringLiteral("MORPHMENU"), QStringLiteral("NoJavaMsg"),
                          QStringLiteral("Café Жук"));
        const QByteArray cyrillic = writePage(env, QStringLiteral("MORPHMENU"), false);
        QVERIFY(cyrillic.contains("\r\nCaf&#233; \xC6\xF3\xEA\r\n"));

        // No set named: ASCII, every other character a reference.
        env.store().write(QStringLiteral("TREEMENU"), QStringLiteral("NoJavaMsg"), QStringLiteral("Café"));
        const QByteArray plain = writePage(env, QStringLiteral("TREEMENU"), false);
        QVERIFY(plain.contains("\r\nCaf&#233;\r\n"));
    }

    void unwritableFolderIsReported()
    {
        TestEnvironment env;
        // A file where the applet folder should be: no one can write into it.
        TestEnvironment::writeFile(env.installDir() + QStringLiteral("/applets/blobs"), "file");
        PreviewPage page(env.store(), env.folders(), env.reporter);
        QVERIFY(!page.write(QStringLiteral("BLOBS"), false));
        // The cause, naming the file, then the page's own message.
        QCOMPARE(env.reporter.ids(), (QList<int>{Str::FileWriteFailed, Str::ErrorWritingPreview}));
        QVERIFY(env.reporter.messages.first().text.contains(QStringLiteral("preview.html")));
        QCOMPARE(env.reporter.messages.last().icon, MessageIcon::Exclamation);
        QCOMPARE(env.reporter.messages.last().text, QStringLiteral("Error writing preview html file"));
    }

    void encoderConvertsOrRefers_data()
    {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("latin-1") << "iso-8859-1" << QStringLiteral("é€") << QByteArray("\xE9&#8364;");
        QTest::newRow("name case and blanks") << " ISO-8859-1 " << QStringLiteral("é") << QByteArray("\xE9");
        QTest::newRow("cyrillic") << "windows-1251" << QStringLiteral("Жé") << QByteArray("\xC6&#233;");
        QTest::newRow("upper-case cyrillic") << "WINDOWS-1251" << QStringLiteral("Ж") << QByteArray("\xC6");
        QTest::newRow("shift-jis") << "x-sjis" << QStringLiteral("日本") << QByteArray("\x93\xFA\x96\x7B");
        QTest::newRow("euc-jp") << "x-euc-jp" << QStringLiteral("日") << QByteArray("\xC6\xFC");
        QTest::newRow("gb2312") << "gb2312" << QStringLiteral("中é") << QByteArray("\xD6\xD0\xA8\xA6");
        QTest::newRow("koi8-ru") << "koi8-ru" << QStringLiteral("Жé") << QByteArray("\xF6&#233;");
        QTest::newRow("thai") << "windows-874" << QStringLiteral("ก") << QByteArray("\xA1");
        // A shifted set returns to ASCII before the reference and at the end.
        QTest::newRow("iso-2022-jp") << "iso-2022-jp" << QStringLiteral("a日é")
                                     << QByteArray("a\x1B$BF|\x1B(B&#233;");
        QTest::newRow("hz") << "hz-gb-2312" << QStringLiteral("~中") << QByteArray("~~&#20013;");
        QTest::newRow("utf-8") << "utf-8" << QStringLiteral("é") << QByteArray("\xC3\xA9");
        QTest::newRow("empty name") << "" << QStringLiteral("aé") << QByteArray("a&#233;");
        QTest::newRow("unknown name") << "no-such-set" << QStringLiteral("é") << QByteArray("&#233;");
        QTest::newRow("converter suffix refused")
            << "utf-8//TRANSLIT" << QStringLiteral("é") << QByteArray("&#233;");
        QTest::newRow("beyond the BMP")
            << "iso-8859-1" << QStringLiteral("a\U0001F600") << QByteArray("a&#128512;");
        QTest::newRow("lone surrogate")
            << "windows-1251" << QString(QChar(0xD800)) + QLatin1Char('x') << QByteArray("&#65533;x");
    }
    void encoderConvertsOrRefers()
    {
        QFETCH(QString, charset);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(CharsetEncoder(charset).encode(text), bytes);
    }

    void everyOfferedSetCanBeEncoded()
    {
        const char *offered[] = {"iso-8859-6",   "windows-1256", "iso-8859-4",  "windows-1257", "big5",
                                 "gb2312",       "hz-gb-2312",   "iso-8859-5",  "windows-1251", "iso-8859-2",
                                 "windows-1250", "iso-8859-1",   "iso-8859-7",  "windows-1253", "iso-8859-8",
                                 "windows-1255", "x-sjis",       "iso-2022-jp", "x-euc-jp",     "iso-2022-kr",
                                 "euc-kr",       "iso-8859-3",   "iso-8859-11", "windows-874",  "iso-8859-9",
                                 "windows-1254", "koi8-ru",      "windows-1258"};
        for (const char *name : offered) {
            const CharsetEncoder encoder{QLatin1String(name)};
            QVERIFY2(encoder.isSupported(), name);
            // ASCII markup passes unchanged through every one of them.
            const QByteArray markup = "<p align=\"center\">\r\n</p>";
            QVERIFY2(encoder.encode(QString::fromLatin1(markup)).contains(markup), name);
        }
        QVERIFY(!CharsetEncoder(QString()).isSupported());
        QVERIFY(!CharsetEncoder(QStringLiteral("no-such-set")).isSupported());
    }

    void launcherChoosesTheBrowser()
    {
        TestEnvironment env;
        FakeStarter starter;
        BrowserLauncher launcher(env.store(), starter);
        // A page that is there goes as its path, never as a file URL with escapes.
        const QString address = env.path("My Pages/preview.html");
        TestEnvironment::writeFile(address, "<html></html>");

        // Never chosen, or chosen as the default: the system's handler.
        QVERIFY(launcher.open(address));
        env.store().write(QString(), QStringLiteral("Browser"), QStringLiteral("Default browser"));
        QVERIFY(launcher.open(address));
        QCOMPARE(starter.calls.size(), 2);
        for (const FakeStarter::Call &call : starter.calls) {
            QCOMPARE(call.program, BrowserLauncher::systemOpener());
            QCOMPARE(call.arguments, QStringList{address});
        }

        // A program path: the address is its one argument, blanks and all. The
        // setting is read afresh at every call.
        starter.calls.clear();
        env.store().write(QString(), QStringLiteral("Browser"), QStringLiteral("/opt/web browser/browse"));
        QVERIFY(launcher.open(address));
        QCOMPARE(starter.calls.size(), 1);
        QCOMPARE(starter.calls.first().program, QStringLiteral("/opt/web browser/browse"));
        QCOMPARE(starter.calls.first().arguments, QStringList{address});

        // A failure names the command, what happened and the page.
        starter.failure = QStringLiteral("ended with status 2");
        QString why;
        QVERIFY(!launcher.open(address, &why));
        QCOMPARE(why, QStringLiteral("\"/opt/web browser/browse\" ended with status 2 for \"%1\"").arg(address));
    }

    void launcherUsesTheDefaultHandler()
    {
        TestEnvironment env;
        FakeStarter starter;
        BrowserLauncher launcher(env.store(), starter);
        QStringList handled;
        launcher.setDefaultHandler([&](const QString &address) {
            handled << address;
            return QStringLiteral("cannot be opened");
        });
        QVERIFY(!launcher.open(QStringLiteral("https://www.vexajava.example/")));
        QCOMPARE(handled, QStringList{QStringLiteral("https://www.vexajava.example/")});
        QVERIFY(starter.calls.isEmpty());

        // A chosen program does not go through the handler.
        env.store().write(QString(), QStringLiteral("Browser"), QStringLiteral("/usr/bin/browse"));
        QVERIFY(launcher.open(QStringLiteral("x")));
        QCOMPARE(handled.size(), 1);
        QCOMPARE(starter.calls.size(), 1);
    }

    // A launcher that cannot start or that fails at once says so; one that ends well or
    // keeps running (a browser at work) has done its part.
    void systemStarterReportsWhatFails_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("failure");
        QTest::newRow("missing") << "/nonexistent/browser" << QStringList{"a"} << "cannot be started (";
        QTest::newRow("none") << "" << QStringList{} << "cannot be started (";
        QTest::newRow("fails") << "sh" << QStringList{"-c", "exit 2"} << "ended with status 2";
        QTest::newRow("succeeds") << "true" << QStringList{"a b"} << "";
        QTest::newRow("keeps running") << "sleep" << QStringList{"5"} << "";
    }
    void systemStarterReportsWhatFails()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, failure);
        SystemProcessStarter starter;
        const QString result = starter.start(program, arguments);
        QVERIFY2(failure.isEmpty() ? result.isEmpty() : result.startsWith(failure), qPrintable(result));

        // Without waiting: a program that cannot start is said at once, a quick failure later.
        auto late = std::make_shared<QString>();
        SystemProcessStarter lateStarter([late](const QString &reason) { *late = reason; });
        const QString atOnce = lateStarter.start(program, arguments);
        const bool startFails = failure.startsWith("cannot");
        QVERIFY2(startFails ? atOnce.startsWith(failure) : atOnce.isEmpty(), qPrintable(atOnce));
        if (!startFails && !failure.isEmpty())
            QTRY_COMPARE(*late, failure);
    }
};

QTEST_GUILESS_MAIN(PreviewTest)
#include "tst_preview.moc"
