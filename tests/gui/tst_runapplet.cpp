#include "WizardFixture.h"
#include <QAction>
#include "settings/InstallData.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "viewer/AppletViewer.h"
#include "wizard/AppletRunner.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

using namespace vexa;
using vexa::test::TestEnvironment;
using vexa::test::WizardFixture;

namespace {

// A Java runtime in JAVA_HOME that only plays the viewer: it logs its arguments and its
// commands, says on its events channel that it painted, and asks for documents when told to
// reload: a local file, and two web pages at once.
const char *const Viewer = R"(#!/bin/sh
log="${0%bin/java}log"
printf '%s\n' "$@" > "$log.args"
echo painted >&3
while read -r line; do
    echo "$line" >> "$log.commands"
    case "$line" in
        reload) printf 'document\t_blank\tfile:/etc/passwd\ndocument\t_blank\thttp://example.com/next.html\n' >&3
                printf 'document\t_blank\thttp://example.com/again.html\n' >&3 ;;
        close) exit 0 ;;
    esac
done
)";

// A viewer whose applet hangs it: it counts its starts, saves a picture into the folder it
// was given for pictures and says so, and ends as a hung viewer does when told to reload.
const char *const HungViewer = R"(#!/bin/sh
log="${0%bin/java}log"
echo start >> "$log.starts"
while [ "$1" != --pictures ]; do shift; done
printf 'PNG' > "$2/shot.png"
printf 'painted\npicture\t%s/shot.png\npicture\t/etc/passwd\n' "$2" >&3
while read -r line; do
    [ "$line" = reload ] && exit 7
done
)";

QString fakeJava(const TestEnvironment &env, const QByteArray &script)
{
    const QString home = env.path(QStringLiteral("java"));
    const QString java = home + QStringLiteral("/bin/java");
    TestEnvironment::writeFile(java, script);
    TestEnvironment::writeFile(home + QStringLiteral("/release"), "JAVA_VERSION=\"17.0.99\"\n");
    QFile::setPermissions(java, QFile::permissions(java) | QFileDevice::ExeOwner);
    qputenv("JAVA_HOME", home.toLocal8Bit());
    return home;
}

// BLOBS with values every page of it takes.
void readyBlobs(WizardFixture &f)
{
    f.env.makeAppletFolder("BLOBS", {"blob.class", "blobs.class", "vexa.class", "vexalib.class", "blobs.jar", "blobscr.txt"});
    for (const auto &[key, value] : QList<QPair<QString, QString>>{
             {"Width", "200"}, {"Height", "150"}, {"NBlobs", "5"}, {"BVal1", "210"}, {"BVal2", "35600"},
             {"BVal3", "35600"}, {"Res", "2"}, {"Textscroll", "NO"}, {"MemDelay", "200"}, {"TaskPriority", "3"},
             {"MinSYNC", "20"}, {"OverImage", "NO"}, {"RegLink", "NO"}, {"RegNewFrame", "NO"}})
        f.set("BLOBS", key, value);
}

QString statusOf(const WizardFixture &f) { return f.window->statusLine()->text(); }

} // namespace

class RunAppletTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_noBwrap;

private slots:
    void init()
    {
        if (!QFileInfo::exists(AppletViewer::jarPath()))
            QSKIP("the applet viewer is not built here (no Java development kit)");
    }
    // The stand-in runtimes write their logs beside themselves: no process sandbox around them.
    void initTestCase() { qputenv("PATH", m_noBwrap.path().toLocal8Bit()); }
    void cleanup() { qunsetenv("JAVA_HOME"); }

    // F5 starts the viewer on the page's values; F5 again, and the code page's button,
    // make the same viewer read the page again; of what the applet asks to show, a web page
    // opens in the browser, a local file never, and no more than one every few seconds;
    // the viewer closes with the wizard.
    void runKeyStartsThenReloadsTheViewer()
    {
        WizardFixture f;
        const QString home = fakeJava(f.env, Viewer);
        readyBlobs(f);
        f.startAt("BLOBS", 132);
        QTest::keyClick(f.window.get(), Qt::Key_F5);
        // The viewer says it painted after it wrote down its arguments.
        // After the note that the process sandbox is off, which stays a few seconds.
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(f), QStringLiteral("Applet running in the viewer"), 15000);
        QStringList arguments = QString::fromUtf8(TestEnvironment::readFile(home + "/log.args")).split('\n');
        arguments = arguments.mid(arguments.indexOf("-jar"));
        QCOMPARE(arguments.mid(0, 8), (QStringList{"-jar", AppletViewer::jarPath(), "--events", "/proc/self/fd/3",
                                                   "--control", "--title", "BLOBS", "--pictures"}));
        const QRect frame = f.window->frameGeometry();
        QCOMPARE(arguments.mid(9, 2), (QStringList{"--beside", QStringLiteral("%1,%2,%3,%4")
                                                                   .arg(frame.x()).arg(frame.y())
                                                                   .arg(frame.width()).arg(frame.height())}));
        QCOMPARE(arguments.value(11), f.env.folders().appletFolder("BLOBS") + "/preview.html");
        QVERIFY(f.window->appletRunner().isRunning("BLOBS"));

        QTest::keyClick(f.window.get(), Qt::Key_F5);
        QTRY_VERIFY2(statusOf(f).contains("1 of them were not opened"), qPrintable(statusOf(f)));
        QCOMPARE(f.services.opened, QStringList{"http://example.com/next.html"});
        f.walkTo(134);
        QTest::mouseClick(f.control<QPushButton>(5141), Qt::LeftButton);
        QTRY_VERIFY2(statusOf(f).contains("3 of them were not opened"), qPrintable(statusOf(f)));
        QCOMPARE(f.services.opened.size(), 1);
        f.window.reset();
        QCOMPARE(TestEnvironment::readFile(home + "/log.commands"), QByteArray("reload\nreload\nclose\n"));
        QVERIFY(f.services.messages.isEmpty());
    }

    // A picture the viewer saved in its private folder is kept where the user says, and
    // nothing else is; a viewer an applet had hung is started anew when asked to reload.
    void hungViewerStartsAnewAndPicturesAreKept()
    {
        WizardFixture f;
        const QString home = fakeJava(f.env, HungViewer);
        readyBlobs(f);
        f.services.fileNames.enqueue(f.env.path("kept.png"));
        f.startAt("BLOBS", 132);
        QTest::keyClick(f.window.get(), Qt::Key_F5);
        QTRY_COMPARE(TestEnvironment::readFile(f.env.path("kept.png")), QByteArray("PNG"));
        QCOMPARE(f.services.filters.size(), 1); // asked once: /etc/passwd is no picture of the viewer's
        QTest::keyClick(f.window.get(), Qt::Key_F5);
        QTRY_COMPARE(TestEnvironment::readFile(home + "/log.starts"), QByteArray("start\nstart\n"));
        QTRY_VERIFY(f.window->appletRunner().isRunning("BLOBS"));
    }

    // Whatever keeps the viewer from running is said in the status line, with its reason.
    void failuresReachTheStatusLine_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("JAVA_HOME holds no runtime") << QByteArray() << QStringList{"JAVA_HOME names", "nowhere"};
        QTest::newRow("no runtime") << QByteArray("none") << QStringList{StringTable::text(Str::NoJavaRuntime)};
        QTest::newRow("applet code missing")
            << QByteArray("#!/bin/sh\necho 'Cannot run the applet: \"blobs.class\" is not in the folder \"/x\".' >&2\n"
                          "exit 5\n")
            << QStringList{"\"blobs.class\" is not in the folder \"/x\".", "do not come with Vexa Java"};
        QTest::newRow("runtime too old")
            << QByteArray("#!/bin/sh\nif [ \"$1\" = -version ]; then echo 'java version \"11.0.2\"' >&2; exit 0; fi\n"
                          "echo 'java.lang.UnsupportedClassVersionError: class file version 61.0' >&2\nexit 1\n")
            << QStringList{"is version 11.0.2", "needs Java 17"};
    }
    void failuresReachTheStatusLine()
    {
        QFETCH(QByteArray, script);
        QFETCH(QStringList, said);
        WizardFixture f;
        if (script.isEmpty())
            qputenv("JAVA_HOME", f.env.path("nowhere").toLocal8Bit());
        else if (script == "none")
            qunsetenv("JAVA_HOME"); // and no java on the PATH of these tests
        else
            fakeJava(f.env, script);
        readyBlobs(f);
        f.startAt("BLOBS", 132);
        QTest::mouseClick(f.window->button(WizardWindow::RunButton), Qt::LeftButton);
        for (const QString &part : said)
            QTRY_VERIFY2(statusOf(f).contains(part), qPrintable(statusOf(f)));
        QTRY_VERIFY(!f.window->appletRunner().isRunning("BLOBS"));
        QVERIFY(f.services.messages.isEmpty());
    }

    // The moving picture is one choice for all applets, off until turned on, and kept;
    // when it cannot be recorded, publishing says why and writes nothing.
    void movingPictureChoiceIsKept()
    {
        WizardFixture f;
        readyBlobs(f);
        TestEnvironment::writeFile(f.env.installDir() + "/applets/qzbut1.gif", "GIF89a");
        f.startAt("BLOBS", 134);
        auto *box = f.control<QCheckBox>(5142);
        QVERIFY(!box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        qputenv("JAVA_HOME", f.env.path("nowhere").toLocal8Bit());
        const QString site = f.env.path("site");
        QDir().mkpath(site);
        f.services.fileNames.enqueue(site + "/index.html");
        QTest::mouseClick(f.control<QPushButton>(1056), Qt::LeftButton);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::MovingPictureFailed});
        QVERIFY(f.services.messages.first().text.contains("holds no Java runtime"));
        QVERIFY(QDir(site).isEmpty());
        f.window.reset();
        f.env.reopenStore();
        QCOMPARE(f.env.store().read(QString(), "MovingPicture"), QStringLiteral("YES"));
        f.startAt("BLOBS", 134);
        QVERIFY(f.control<QCheckBox>(5142)->isChecked());
    }

    // Vexa Java's own effect: the published page's choice is the applet's, the preview's a
    // menu choice of the program (on unless turned off), and the page then names the player.
    void effectChoicesAreKept()
    {
        WizardFixture f;
        readyBlobs(f);
        f.startAt("BLOBS", 134);
        auto *box = f.control<QCheckBox>(5143);
        QVERIFY(box->isEnabled() && !box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(f.env.store().read("BLOBS", "PlayEffect"), QStringLiteral("YES"));
        QAction *menu = f.window->menuItem(WizardWindow::EffectsInPreviewItem);
        QVERIFY(menu->isChecked());
        const QString page = f.env.folders().appletFolder("BLOBS") + "/preview.html";
        for (const bool on : {false, true}) {
            menu->trigger();
            QCOMPARE(f.env.store().read(QString(), "EffectsInPreview"), QString(on ? "YES" : "NO"));
            QTest::mouseClick(f.control<QPushButton>(1003), Qt::LeftButton);
            const bool player = QFileInfo::exists(InstallData::playerScript());
            QCOMPARE(TestEnvironment::readFile(page).contains("vexajava-effects.js"), on && player);
        }
    }
};

QTEST_MAIN(RunAppletTest)
#include "tst_runapplet.moc"
