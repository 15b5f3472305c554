#include "TestSupport.h"
#include "settings/InstallData.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "tag/TagGenerator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QTest>
#include <qplatformdefs.h>

#include <cerrno>
#include <sys/stat.h>

using namespace vexa;
using vexa::test::TestEnvironment;

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

// Drives the real vexajava-cli binary against a private configuration folder.
class CliTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_install;

    QString storeFile() const { return m_home.path() + "/config/Vexa Team/Vexa Java.conf"; }

    Run cli(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_home.path() + "/config");
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VEXAJAVA_CLI_PATH), arguments);
        if (!process.waitForFinished(30000))
            qFatal("vexajava-cli did not finish");
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // The same store the command line uses, opened directly.
    std::unique_ptr<SettingsStore> openStore(RecordingReporter &reporter)
    {
        return std::make_unique<SettingsStore>(storeFile(), vexa::test::testData("defaults.ini"), reporter);
    }

    QString appletFolder(const QString &folder) const { return m_install + "/applets/" + folder; }

private slots:
    void initTestCase()
    {
        m_install = m_home.path() + "/install";
        QDir().mkpath(m_install + "/applets");
        QCOMPARE(cli({"set", "Application", "Dir", m_install}).status, 0);
        QCOMPARE(cli({"set", "", "AppletDir", "applets"}).status, 0);
        TestEnvironment::writeFile(m_install + "/applets/qzbut1.gif", "GIF89a button");
    }

    // An applet used for the first time starts from its default values, as in the wizard;
    // reset starts it over, and only when asked twice.
    void appletsStartFromTheirDefaults()
    {
        RecordingReporter reporter;
        const QString defaultRes = SettingsStore(m_home.path() + "/probe.conf", InstallData::defaultsFile(), reporter)
                                       .read("PLASMA_DEF", "Res");
        QVERIFY(!defaultRes.isEmpty());
        const Run tag = cli({"tag", "PLASMA"});
        QCOMPARE(tag.status, 0);
        QVERIFY2(tag.out.contains("width=\"") && !tag.out.contains("width=\"\""), tag.out.constData());
        QCOMPARE(cli({"get", "PLASMA", "Res"}).out, (defaultRes + "\n").toUtf8());

        QCOMPARE(cli({"set", "PLASMA", "Res", "7"}).status, 0);
        QCOMPARE(cli({"tag", "PLASMA"}).status, 0);
        QCOMPARE(cli({"get", "PLASMA", "Res"}).out, QByteArray("7\n"));
        const Run unconfirmed = cli({"reset", "PLASMA"});
        QCOMPARE(unconfirmed.status, 2);
        QVERIFY(unconfirmed.err.contains("--yes"));
        QCOMPARE(cli({"get", "PLASMA", "Res"}).out, QByteArray("7\n"));
        QCOMPARE(cli({"reset", "PLASMA", "--yes"}).status, 0);
        QCOMPARE(cli({"get", "PLASMA", "Res"}).out, (defaultRes + "\n").toUtf8());
        QCOMPARE(cli({"reset", "NOAPPLET", "--yes"}).status, 2);

        // The first value set for an applet never used before joins its default values.
        QCOMPARE(cli({"set", "FIRE", "Res", "3"}).status, 0);
        const Run fire = cli({"tag", "FIRE"});
        QVERIFY2(fire.out.contains("width=\"") && !fire.out.contains("width=\"\""), fire.out.constData());
        QCOMPARE(cli({"get", "FIRE", "Res"}).out, QByteArray("3\n"));
    }

    // Hardening: what the command line must never do with odd targets and odd input.

    // A pipe, a device or a link to one is never replaced, whatever writes it.
    void specialFilesAreNeverReplaced()
    {
        const QString dir = m_home.path() + "/special";
        QDir().mkpath(dir);
        const QString fifo = dir + "/pipe";
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link(fifo, dir + "/to-pipe"));
        QVERIFY(QFile::link("/dev/null", dir + "/to-null"));
        QCOMPARE(cli({"set", "BLOBS", "NBlobs", "4"}).status, 0);
        for (const char *name : {"blob.class", "blobs.class", "vexa.class", "vexalib.class", "blobs.jar", "blobscr.txt"})
            TestEnvironment::writeFile(appletFolder("blobs") + "/" + name, name);
        for (const char *target : {"pipe", "to-pipe", "to-null"}) {
            const QString path = dir + "/" + target;
            for (const QStringList &command : {QStringList{"save-project", "BLOBS", path},
                                               QStringList{"publish", "BLOBS", path}}) {
                const Run run = cli(command);
                QCOMPARE(run.status, 1);
                QVERIFY2(run.err.contains(path.toUtf8()) && run.err.contains("not a regular file"), run.err.constData());
            }
        }
        QT_STATBUF st;
        QCOMPARE(QT_STAT(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
        QCOMPARE(QT_STAT("/dev/null", &st), 0);
        QVERIFY(S_ISCHR(st.st_mode));
        // The preview page in the applet folder, too.
        const QString page = appletFolder("blobs") + "/preview.html";
        QFile::remove(page);
        QCOMPARE(::mkfifo(QFile::encodeName(page).constData(), 0600), 0);
        const Run preview = cli({"preview", "BLOBS"});
        QCOMPARE(preview.status, 1);
        QVERIFY(preview.err.contains("not a regular file"));
        QFile::remove(page);
    }

    // A failure names the system's own reason: here a file larger than the process may write.
    void failuresNameTheirCause()
    {
        const QString folder = appletFolder("lake");
        QDir().mkpath(folder);
        for (const char *name : {"VxLake.class", "vexa.class", "vexalib.class", "VxLake.jar", "lakescr.txt"})
            TestEnvironment::writeFile(folder + "/" + name, name);
        TestEnvironment::writeFile(folder + "/big.jpg", QByteArray(64 * 1024, 'x'));
        QCOMPARE(cli({"set", "LAKE", "ImageFile", "big.jpg"}).status, 0);
        const QString site = m_home.path() + "/limited";
        QDir().mkpath(site);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_home.path() + "/config");
        process.setProcessEnvironment(env);
        // 16 KiB per file at most; the signal that would end the process is ignored.
        process.start("bash", {"-c", "trap '' XFSZ; ulimit -f 16; exec \"$0\" publish LAKE \"$1\"",
                               QStringLiteral(VEXAJAVA_CLI_PATH), site + "/index.html"});
        QVERIFY(process.waitForFinished(30000));
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 1);
        QVERIFY2(err.contains(qt_error_string(EFBIG).toUtf8()) && err.contains("big.jpg"), err.constData());
        QVERIFY(!QFile::exists(site + "/big.jpg"));
        QVERIFY(QDir(site).entryList(QDir::Hidden | QDir::Files).filter(".big.jpg").isEmpty()); // no leftovers
    }

    void projectLimitsAreOneRule()
    {
        // A section that could not be opened again is not saved.
        RecordingReporter reporter;
        {
            auto store = openStore(reporter);
            for (int i = 0; i < 24000; ++i)
                store->write("FLUID", QStringLiteral("Key%1").arg(i), "v");
            store->sync();
        }
        const QString big = m_home.path() + "/big.vxp";
        const Run save = cli({"save-project", "FLUID", big});
        QCOMPARE(save.status, 1);
        QVERIFY2(save.err.contains("too many settings"), save.err.constData());
        QVERIFY(!QFile::exists(big));

        // A project naming a section that is no applet: said so, and nothing on standard output.
        const QString odd = m_home.path() + "/odd.vxp";
        TestEnvironment::writeFile(odd, "[NOSUCHAPPLET]\nKey=value\n");
        const Run open = cli({"open-project", odd});
        QCOMPARE(open.status, 1);
        QVERIFY(open.out.isEmpty());
        QVERIFY2(open.err.contains("NOSUCHAPPLET"), open.err.constData());
    }

    // Every text comes back as it was set, in another run of the program.
    void storeKeepsEveryText()
    {
        const QChar bom(0xFEFF);
        const QStringList values = {QString(bom) + "B", "A\\" + QString(bom) + "C", QString(bom),
                                    "@vexa-utf16:AAAA", QString(bom) + "\n" + bom + "x\"y;z"};
        for (const QString &value : values) {
            QCOMPARE(cli({"set", "BLOBS", "Odd", value}).status, 0);
            QStringDecoder exact(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
            QCOMPARE(QString(exact(cli({"get", "BLOBS", "Odd"}).out)), value + "\n");
        }
        // A value written before in the plain form still reads as it is.
        QCOMPARE(cli({"set", "BLOBS", "Plain", "café, 100%"}).status, 0);
        QVERIFY(TestEnvironment::readFile(storeFile()).contains("Plain="));
        QCOMPARE(cli({"get", "BLOBS", "Plain"}).out, QByteArray("café, 100%\n"));
    }

    // A store file that is a pipe: said once, and the command goes on without blocking.
    void storeFileThatIsAPipe()
    {
        QTemporaryDir home;
        QDir().mkpath(home.path() + "/Vexa Team");
        QCOMPARE(::mkfifo(QFile::encodeName(home.path() + "/Vexa Team/Vexa Java.conf").constData(), 0600), 0);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home.path());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VEXAJAVA_CLI_PATH), {"set", "BLOBS", "NBlobs", "3"});
        QVERIFY(process.waitForFinished(10000));
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(err.count("could not be saved"), 1);
        QVERIFY(err.contains("not a regular file"));
    }

    // The store's failures fail the command and name the system's reason: a file too large
    // for the limits, a full disk (a small file system of its own, where one can be made),
    // a store that cannot be read (no value is printed as if it were stored).
    void storeFailuresNameTheirCause_data()
    {
        QTest::addColumn<QString>("script"); // $0 the command line program, $1 its config folder
        QTest::addColumn<QString>("said");
        QTest::newRow("file size limit") << "trap '' XFSZ; ulimit -f 1; exec \"$0\" set BLOBS Long \"$(head -c 4000 "
                                            "/dev/zero | tr '\\0' x)\""
                                         << qt_error_string(EFBIG);
        QTest::newRow("full disk") << "unshare -rm sh -c 'mount -t tmpfs -o size=32k tmpfs \"$2\" || exit 77; "
                                      "cat /dev/zero > \"$2/fill\" 2>/dev/null; exec \"$1\" set BLOBS NBlobs 5' sh \"$0\" \"$1\""
                                   << qt_error_string(ENOSPC);
        QTest::newRow("store is a folder") << "mkdir -p \"$1/Vexa Team/Vexa Java.conf\"; exec \"$0\" get BLOBS NBlobs"
                                           << "not a regular file";
    }
    void storeFailuresNameTheirCause()
    {
        QFETCH(QString, script);
        QFETCH(QString, said);
        QTemporaryDir home;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home.path());
        process.setProcessEnvironment(env);
        process.start("bash", {"-c", script, QStringLiteral(VEXAJAVA_CLI_PATH), home.path()});
        QVERIFY(process.waitForFinished(10000));
        if (process.exitCode() == 77)
            QSKIP("no file system of its own can be made here");
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        QVERIFY2(err.contains(said.toUtf8()), err.constData());
    }

    // A file that starts like a JPEG and then holds junk is given up on, quickly.
    void junkAfterAJpegStartIsBounded()
    {
        const QString junk = m_home.path() + "/junk.jpg";
        QByteArray bytes("\xFF\xD8", 2);
        bytes.append(QByteArray(16 * 1024 * 1024, '\0'));
        TestEnvironment::writeFile(junk, bytes);
        QElapsedTimer timer;
        timer.start();
        const Run run = cli({"image-size", junk});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.contains(StringTable::text(Str::ErrorReadingImageSize).toUtf8()));
        QVERIFY(timer.elapsed() < 5000);
    }

    void usage()
    {
        Run help = cli({"--help"});
        QCOMPARE(help.status, 0);
        for (const char *command : {"catalogue", "get SECTION KEY", "set SECTION KEY VALUE", "tag APPLET",
                                    "preview APPLET [--copied]", "save-project APPLET FILE",
                                    "open-project FILE [--applet APPLET]", "publish APPLET HTMLFILE",
                                    "reset APPLET --yes", "image-size FILE", "font-info FILE"})
            QVERIFY2(help.out.contains(command), command);

        QCOMPARE(cli({}).status, 2);
        QCOMPARE(cli({"frobnicate"}).status, 2);
        QCOMPARE(cli({"get", "BLOBS"}).status, 2);
        QCOMPARE(cli({"tag", "BLOBS", "extra"}).status, 2);
        QCOMPARE(cli({"preview", "BLOBS", "--copy"}).status, 2);
        QCOMPARE(cli({"open-project", "x.vxp", "--applet"}).status, 2);
        Run unknown = cli({"tag", "blobs"});
        QCOMPARE(unknown.status, 2);
        QVERIFY(unknown.err.contains("Unknown applet"));
    }

    void catalogueLines()
    {
        Run run = cli({"catalogue"});
        QCOMPARE(run.status, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 41); // and the final newline
        QCOMPARE(lines.first(), QByteArray("BLOBS\t6\tblobs"));
        QVERIFY(lines.contains("VEXA3D LIGHT\t4\tvexa3d"));
        QVERIFY(lines.contains("MANDEL\t2\tmandel2"));
        QCOMPARE(lines.at(39), QByteArray("FIREWORKS\t3\tfirewks"));
    }

    void setAndGet()
    {
        const QString value = QStringLiteral("Café, \"quoted\"; 100% <b> @x \\ end");
        QCOMPARE(cli({"set", "VEXA3D LIGHT", "NoJavaMsg", value}).status, 0);
        Run run = cli({"get", "VEXA3D LIGHT", "nojavamsg"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, value.toUtf8() + "\n");
        QCOMPARE(cli({"get", "VEXA3D LIGHT", "Never"}).out, QByteArray("\n"));
        QCOMPARE(cli({"get", "", "Dir"}).out, m_install.toUtf8() + "\n");

        RecordingReporter reporter;
        QCOMPARE(openStore(reporter)->read("VEXA3D LIGHT", "NoJavaMsg"), value);

        Run refused = cli({"set", "BLOBS_DEF", "Res", "9"});
        QCOMPARE(refused.status, 1);
        QVERIFY(!refused.err.isEmpty());
    }

    // Several command lines setting keys of their own at once: every key arrives, every
    // run says it succeeded. Repeated, as a lost key needs two writers at the wrong moment.
    void concurrentSetsKeepEveryKey()
    {
        constexpr int Writers = 4, Keys = 15, Rounds = 3;
        for (int round = 0; round < Rounds; ++round) {
            QProcess writers;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("XDG_CONFIG_HOME", m_home.path() + "/config");
            writers.setProcessEnvironment(env);
            writers.start("bash", {"-c",
                                   "for w in $(seq $2); do (for k in $(seq $3); do \"$1\" set CONCURRENT "
                                   "R$4W${w}K$k $k || echo failed; done) & done; wait",
                                   "bash", QStringLiteral(VEXAJAVA_CLI_PATH), QString::number(Writers),
                                   QString::number(Keys), QString::number(round)});
            QVERIFY(writers.waitForFinished(300000));
            const QByteArray failed = writers.readAllStandardOutput();
            QVERIFY2(failed.isEmpty(), writers.readAllStandardError().constData());
            RecordingReporter reporter;
            const std::unique_ptr<SettingsStore> store = openStore(reporter);
            for (int w = 1; w <= Writers; ++w)
                for (int k = 1; k <= Keys; ++k)
                    QCOMPARE(store->read("CONCURRENT", QStringLiteral("R%1W%2K%3").arg(round).arg(w).arg(k)),
                             QString::number(k));
        }
    }

    void tagIsExactlyTheGeneratorsBytes()
    {
        QCOMPARE(cli({"set", "TEXTSCROLLER", "NoJavaMsg", "Ünïcode <i>text</i>"}).status, 0);
        QCOMPARE(cli({"set", "TEXTSCROLLER", "Textscroll", "txtscr.txt"}).status, 0);
        for (const QString applet : {"TEXTSCROLLER", "VEXA3D LIGHT", "TREEMENU", "FIRE"}) {
            Run run = cli({"tag", applet});
            QCOMPARE(run.status, 0);
            RecordingReporter reporter;
            auto store = openStore(reporter);
            QCOMPARE(run.out, TagGenerator(*store).generate(applet).toUtf8());
            QVERIFY(run.out.endsWith("</applet>\r\n"));
        }
    }

    void previewPage()
    {
        QDir().mkpath(appletFolder("blobs"));
        Run run = cli({"preview", "BLOBS"});
        QCOMPARE(run.status, 0);
        const QString path = QString::fromUtf8(run.out).trimmed();
        QCOMPARE(QFileInfo(path).canonicalFilePath(), QFileInfo(appletFolder("blobs") + "/preview.html").canonicalFilePath());
        QByteArray page = TestEnvironment::readFile(path);
        QVERIFY(page.contains("src=\"../qzbut1.gif\""));
        QVERIFY(page.endsWith("</html>\r\n"));
        QCOMPARE(cli({"preview", "BLOBS", "--copied"}).status, 0);
        QVERIFY(TestEnvironment::readFile(path).contains("src=\"qzbut1.gif\""));

        Run missing = cli({"preview", "LENS"}); // its folder does not exist
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains(StringTable::text(Str::ErrorWritingPreview).toUtf8()));
    }

    void projectRoundTrip()
    {
        const QString file = m_home.path() + "/blobs.vxp";
        QCOMPARE(cli({"set", "BLOBS", "NBlobs", "12"}).status, 0);
        QCOMPARE(cli({"save-project", "BLOBS", file}).status, 0);
        QVERIFY(QFileInfo(file).size() > 0);
        QCOMPARE(QFileInfo(file).size() % 712, 0);
        QCOMPARE(cli({"set", "BLOBS", "NBlobs", "3"}).status, 0);

        Run open = cli({"open-project", file});
        QCOMPARE(open.status, 0);
        QCOMPARE(open.out, QByteArray("BLOBS\n"));
        QCOMPARE(cli({"get", "BLOBS", "NBlobs"}).out, QByteArray("12\n"));

        Run wrong = cli({"open-project", file, "--applet", "BUMP"});
        QCOMPARE(wrong.status, 1);
        QVERIFY(wrong.err.contains(StringTable::text(Str::ProjectOpenWrongApplet).toUtf8()));

        TestEnvironment::writeFile(m_home.path() + "/empty.vxp", QByteArray());
        Run empty = cli({"open-project", m_home.path() + "/empty.vxp"});
        QCOMPARE(empty.status, 1);
        QVERIFY(empty.err.contains(StringTable::text(Str::ProjectOpenBadFormat).toUtf8()));

        Run unwritable = cli({"save-project", "BLOBS", m_home.path() + "/no/such/folder/x.vxp"});
        QCOMPARE(unwritable.status, 1);
        QVERIFY(unwritable.err.contains(StringTable::text(Str::ProjectSaveFailed).toUtf8()));
    }

    void publishCopiesEverything()
    {
        const QStringList files = {"huerot.class", "vexa.class", "vexalib.class", "huerot.jar", "huerscr.txt",
                                   "pic.jpg"};
        QDir().mkpath(appletFolder("huerot"));
        for (const QString &name : files)
            TestEnvironment::writeFile(appletFolder("huerot") + "/" + name, name.toUtf8());
        QCOMPARE(cli({"set", "HUEROT", "ImageFile", "pic.jpg"}).status, 0);
        const QString destination = m_home.path() + "/site";
        QDir().mkpath(destination);
        Run run = cli({"publish", "HUEROT", destination + "/index.html"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        QCOMPARE(run.out, QByteArray("8 files copied\n"));
        QCOMPARE(cli({"publish", "HUEROT", destination + "/index.html"}).out,
                 QByteArray("1 file copied, 7 up to date\n")); // the page is written anew
        QVERIFY(TestEnvironment::readFile(destination + "/index.html").contains("code=\"huerot.class\""));
        for (const QString &name : files + QStringList{"qzbut1.gif"})
            QVERIFY2(QFile::exists(destination + "/" + name), qPrintable(name));

        QCOMPARE(cli({"set", "HUEROT", "ImageFile", "missing.jpg"}).status, 0);
        Run failed = cli({"publish", "HUEROT", destination + "/again.html"});
        QCOMPARE(failed.status, 1);
        QVERIFY(failed.err.contains("missing.jpg"));
        QVERIFY(failed.err.contains(StringTable::text(Str::ErrorCopyingFile).toUtf8()));
    }

    void pictureAndFontReaders()
    {
        const QString gif = m_home.path() + "/pic.gif";
        TestEnvironment::writeFile(gif, QByteArray("GIF89a\x64\x00\x32\x00\x80\x00\x00", 13));
        Run size = cli({"image-size", gif});
        QCOMPARE(size.status, 0);
        QCOMPARE(size.out, QByteArray(".gif 100 50\n"));

        TestEnvironment::writeFile(m_home.path() + "/bad.gif", "GIF88a and more bytes");
        Run bad = cli({"image-size", m_home.path() + "/bad.gif"});
        QCOMPARE(bad.status, 1);
        QVERIFY(bad.err.contains(StringTable::text(Str::WrongImageFormat).toUtf8()));
        Run missing = cli({"image-size", m_home.path() + "/none.gif"});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains(StringTable::text(Str::ErrorReadingImageSize).toUtf8()));

        const QString font = m_home.path() + "/big.vxf";
        TestEnvironment::writeFile(font, "Big font\r\n16\r\n20\r\n2\r\nABC 123\r\nMade by me\r\nfor you\r\n");
        Run info = cli({"font-info", font});
        QCOMPARE(info.status, 0);
        QCOMPARE(info.out, QByteArray("16\n20\n2\nABC 123\nMade by me\r\nfor you\n"));
        TestEnvironment::writeFile(font, "Big font\n0\n20\n2\nABC\n");
        Run invalid = cli({"font-info", font});
        QCOMPARE(invalid.status, 1);
        QVERIFY(invalid.err.contains(StringTable::text(Str::IncorrectVexaFont).toUtf8()));
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
