#include "TestSupport.h"
#include "catalogue/Catalogue.h"
#include "io/FileCopy.h"
#include "publish/FilePublisher.h"
#include "settings/InstallData.h"
#include "publish/PreviewPage.h"
#include "strings/StringIds.h"
#include "tag/AppletBlocks.h"
#include "tag/TagGenerator.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using namespace vexa;
using vexa::test::TestEnvironment;

namespace {

QStringList names(const QList<PublishFile> &files)
{
    QStringList result;
    for (const PublishFile &file : files)
        result << file.name;
    return result;
}

QStringList folderFiles(const QString &folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    return files;
}

ino_t inode(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class PublishTest : public QObject {
    Q_OBJECT

private:
    // Settings as "Key=value" texts.
    void set(TestEnvironment &env, const QString &applet, const QStringList &settings)
    {
        for (const QString &setting : settings) {
            const qsizetype eq = setting.indexOf(QLatin1Char('='));
            env.store().write(applet, setting.left(eq), setting.mid(eq + 1));
        }
    }
    // An applet folder holding every file the plan names, and the button image.
    QString prepare(TestEnvironment &env, const QString &applet, const QStringList &settings)
    {
        set(env, applet, settings);
        TestEnvironment::writeFile(env.folders().appletDirectory() + QStringLiteral("/qzbut1.gif"),
                                   "qzbut1.gif");
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        // Frames are planned while they exist: create until the plan stops growing.
        QStringList files;
        for (qsizetype created = -1; created != files.size();) {
            created = files.size();
            for (const PublishFile &file : publisher.plannedFiles(applet)) {
                if (!file.fromAppletDirectory && FilePublisher::isBareFileName(file.name) &&
                    !files.contains(file.name))
                    files << file.name;
            }
            env.makeAppletFolder(applet, files);
        }
        return env.folders().appletFolder(applet);
    }

private slots:
    void plannedFilesFollowTheTable_data()
    {
        QTest::addColumn<QString>("applet");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QStringList>("planned");
        QTest::newRow("BLUR frames") << "BLUR"
                                     << QStringList{"NumImages=3",  "ImgsValue=pic", "FormatValue=.gif",
                                                    "AudioPing=NO", "AudioPong=",    "OverImage=over.gif"}
                                     << QStringList{"vxblur.class",  "pic1.gif", "pic2.gif",  "pic3.gif",
                                                    "vexalib.class", "over.gif", "vxblur.jar"};
        QTest::newRow("CFADE stops at NO")
            << "CFADE" << QStringList{"Image_1=a.jpg", "Image_2=b.jpg", "Image_3=NO", "Image_4=d.jpg"}
            << QStringList{"VxFade.class", "a.jpg", "b.jpg", "vexa.class", "vexalib.class", "VxFade.jar"};
        QTest::newRow("BOOKFLIP stops at empty")
            << "BOOKFLIP" << QStringList{"Image_1=a.jpg", "Image_3=c.jpg", "OverImage=NO"}
            << QStringList{"bookflip.class", "a.jpg", "vexa.class", "vexalib.class", "bookflip.jar"};
        QTest::newRow("MOSAIC back image")
            << "MOSAIC" << QStringList{"Image_1=a.jpg", "BackImage=back.jpg"}
            << QStringList{"mosaic.class", "a.jpg", "back.jpg", "vexa.class", "vexalib.class", "mosaic.jar"};
        QTest::newRow("TREEMENU icons from 0")
            << "TREEMENU"
            << QStringList{"Icon_0=i0.gif", "Icon_1=i1.gif", "Icon_2=", "Icon_3=i3.gif", "BackImage=NO"}
            << QStringList{"treemenu.class", "i0.gif",        "i1.gif",
                           "vexa.class",     "vexalib.class", "treemenu.jar"};
        QTest::newRow("MORPHMENU color")
            << "MORPHMENU" << QStringList{"BackFx=color", "BackImage="}
            << QStringList{"morphmenu.class", "morphmenub.class", "morphmenuc.class",
                           "vexa.class",      "vexalib.class",    "morphmenu.jar"};
        QTest::newRow("MORPHMENU mmgalaxy")
            << "MORPHMENU" << QStringList{"BackFx=mmgalaxy", "BackImage=bg.gif"}
            << QStringList{"morphmenu.class", "morphmenub.class", "morphmenuc.class", "mmgalaxy.class",
                           "bg.gif",          "vexa.class",       "vexalib.class",    "morphmenu.jar"};
        QTest::newRow("MORPHMENU mmblobs")
            << "MORPHMENU" << QStringList{"BackFx=mmblobs"}
            << QStringList{"morphmenu.class", "morphmenub.class", "morphmenuc.class", "mmblob.class",
                           "mmblobs.class",   "vexa.class",       "vexalib.class",    "morphmenu.jar"};
        QTest::newRow("SOLIDSCROLLER font and picture")
            << "SOLIDSCROLLER" << QStringList{"FontIndex=big.font.vxf"}
            << QStringList{"solidscr.class", "big.font.vxf", "big.gif",
                           "vexalib.class",  "solidscr.jar", "solidscr1.txt"};
        QTest::newRow("SOLIDSCROLLER leading dot")
            << "SOLIDSCROLLER" << QStringList{"FontIndex=.vxf"}
            << QStringList{"solidscr.class", ".vxf",         ".vxf.gif",
                           "vexalib.class",  "solidscr.jar", "solidscr1.txt"};
        QTest::newRow("SOLIDSCROLLER no font")
            << "SOLIDSCROLLER" << QStringList{}
            << QStringList{"solidscr.class", "vexalib.class", "solidscr.jar", "solidscr1.txt"};
        QTest::newRow("VEXA3D LIGHT textures if set")
            << "VEXA3D LIGHT"
            << QStringList{"Texture0=t0.jpg", "Texture1=NO", "Texture2=", "PhongMap=phong.jpg",
                           "GPhongMap=NO"}
            << QStringList{"vexa3d.class", "vexa3ds0.class", "vexa3ds1.class", "Box01.class",
                           "Cone01.class", "Sphere01.class", "Sphere02.class", "t0.jpg",
                           "phong.jpg",    "vexa.class",     "vexalib.class",  "vexa3d.jar",
                           "vexa3dscr.txt"};
        QTest::newRow("WHEELMENU font")
            << "WHEELMENU" << QStringList{"Font=font1.class", "BackImage=", "TextureFile=tex.gif"}
            << QStringList{"wheelmenu.class", "font1.class",   "tex.gif",
                           "vexa.class",      "vexalib.class", "wheelmenu.jar"};
        QTest::newRow("VEXAPAINT no overlay")
            << "VEXAPAINT" << QStringList{"OverImage=over.gif", "BackImage=NO"}
            << QStringList{"vexapaint.class",  "vexapaintb.class", "vexapaintc.class", "vexapaintd.class",
                           "vexapainte.class", "vexalib.class",    "vexapaint.jar"};
        QTest::newRow("BUMP") << "BUMP" << QStringList{"ImageFile=img.jpg", "AltImageFile=NO", "OverImage=NO"}
                              << QStringList{"vexabump.class", "img.jpg",      "vexa.class",
                                             "vexalib.class",  "vexabump.jar", "bumpscr.txt"};
        QTest::newRow("CUBEMENU all six")
            << "CUBEMENU" << QStringList{"Image_1=1.jpg", "Image_2=2.jpg", "Image_3=NO"}
            << QStringList{"CubeMenu.class", "1.jpg",         "2.jpg",        "NO",         "", "", "",
                           "vexa.class",     "vexalib.class", "CubeMenu.jar", "cbmescr.txt"};
        QTest::newRow("FIREWORKS") << "FIREWORKS" << QStringList{"BackImage=night.jpg", "AudioFile=boom.au"}
                                   << QStringList{"firewks.class", "night.jpg",   "boom.au",
                                                  "vexalib.class", "firewks.jar", "firewkscr.txt"};
    }
    void plannedFilesFollowTheTable()
    {
        QFETCH(QString, applet);
        QFETCH(QStringList, settings);
        QFETCH(QStringList, planned);
        TestEnvironment env;
        // The frames are planned while they exist.
        env.makeAppletFolder(applet, {"pic1.gif", "pic2.gif", "pic3.gif"});
        set(env, applet, settings);
        const QList<PublishFile> files =
            FilePublisher(env.store(), env.folders(), env.reporter).plannedFiles(applet);
        QCOMPARE(files.first().name, QStringLiteral("qzbut1.gif"));
        QVERIFY(files.first().fromAppletDirectory);
        QCOMPARE(names(files).mid(1), planned);
    }

    // Every optional picture or sound a tag names (its background picture, VOXEL's land map,
    // BLUR's and FIREWORKS' sounds) is published with the page.
    void everyFileTheTagNamesIsPublished()
    {
        for (const AppletBlock &block : appletBlocks()) {
            for (const TagRow &row : block.rows) {
                const bool namesFile = row.conversion == Conversion::EmptyToNo || qstrcmp(row.key, "BackImage") == 0;
                if (!namesFile)
                    continue;
                TestEnvironment env;
                set(env, block.appletId, {QStringLiteral("%1=probe.gif").arg(QLatin1String(row.key))});
                const QStringList planned = names(FilePublisher(env.store(), env.folders(), env.reporter)
                                                      .plannedFiles(QLatin1String(block.appletId)));
                QVERIFY2(planned.contains("probe.gif"), qPrintable(QStringLiteral("%1 %2").arg(block.appletId, row.key)));
                QVERIFY2(TagGenerator(env.store()).generate(QLatin1String(block.appletId)).contains("value=\"probe.gif\""),
                         block.appletId);
            }
        }
    }

    void everyAppletHasItsClassAndArchive()
    {
        TestEnvironment env;
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        for (const AppletRecord &record : Catalogue::applets()) {
            const QStringList planned = names(publisher.plannedFiles(QLatin1String(record.id)));
            QVERIFY2(planned.contains(QLatin1String(record.classFile)), record.id);
            QVERIFY2(planned.contains(QLatin1String(record.archive)), record.id);
            QVERIFY2(planned.contains(FilePublisher::supportClassFile()), record.id);
        }
    }

    // The web cam's picture is published when it is a file of the applet folder; an address
    // is fetched by the applet itself.
    void webCamPictureIsPublishedWhenLocal()
    {
        TestEnvironment env;
        env.makeAppletFolder("VEXACAM", {"cam.jpg"});
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        auto planned = [&] { return names(publisher.plannedFiles("VEXACAM")).mid(1, 2); };
        set(env, "VEXACAM", {"ImageFile=cam.jpg", "OverImage=NO"});
        QCOMPARE(planned(), (QStringList{"vexacam.class", "cam.jpg"}));
        for (const char *elsewhere : {"http://cam.example.com/now.jpg", "missing.jpg", "../cam.jpg", ""}) {
            set(env, "VEXACAM", {QStringLiteral("ImageFile=") + elsewhere});
            QCOMPARE(planned(), (QStringList{"vexacam.class", "vexa.class"}));
        }

        prepare(env, "VEXACAM", {"ImageFile=cam.jpg", "OverImage=NO"});
        const QString site = env.path("site");
        QDir().mkpath(site);
        QVERIFY(publisher.copyAllFiles("VEXACAM", site + "/cam.html"));
        QVERIFY(QFile::exists(site + "/cam.jpg"));
        QCOMPARE(publisher.copiedCount(), folderFiles(site).size());
    }

    void publishesTheBlurExample()
    {
        TestEnvironment env;
        const QString folder = prepare(
            env, QStringLiteral("BLUR"),
            {"NumImages=3", "ImgsValue=pic", "FormatValue=.gif", "AudioPing=NO", "OverImage=over.gif"});
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);
        TestEnvironment::writeFile(site + QStringLiteral("/pic2.gif"), "old");

        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(publisher.copyAllFiles(QStringLiteral("BLUR"), site + QStringLiteral("/index.html")));
        QVERIFY(env.reporter.messages.isEmpty());
        QCOMPARE(folderFiles(site),
                 (QStringList{"index.html", "over.gif", "pic1.gif", "pic2.gif", "pic3.gif", "qzbut1.gif",
                              "vexalib.class", "vxblur.class", "vxblur.jar"}));
        QCOMPARE(TestEnvironment::readFile(site + QStringLiteral("/pic2.gif")), QByteArray("pic2.gif"));
        QCOMPARE(TestEnvironment::readFile(site + QStringLiteral("/qzbut1.gif")), QByteArray("qzbut1.gif"));
        // The published page is the preview page written for copying.
        const QByteArray page = TestEnvironment::readFile(site + QStringLiteral("/index.html"));
        QCOMPARE(page, TestEnvironment::readFile(folder + QStringLiteral("/preview.html")));
        QVERIFY(page.contains("<img src=\"qzbut1.gif\""));
    }

    void publishingIntoTheAppletFolderCopiesOnlyThePage()
    {
        TestEnvironment env;
        const QString folder = prepare(env, QStringLiteral("LAKE"), {"ImageFile=lake.jpg"});
        const ino_t before = inode(folder + QStringLiteral("/lake.jpg"));
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(publisher.copyAllFiles(QStringLiteral("LAKE"), folder + QStringLiteral("/mypage.html")));
        QVERIFY(env.reporter.messages.isEmpty());
        QCOMPARE(inode(folder + QStringLiteral("/lake.jpg")), before);
        QVERIFY(QFile::exists(folder + QStringLiteral("/mypage.html")));
        // The page refers to the button beside it, so the button comes along.
        QVERIFY(QFile::exists(folder + QStringLiteral("/qzbut1.gif")));

        // The page itself as the chosen file.
        QVERIFY(publisher.copyAllFiles(QStringLiteral("LAKE"), folder + QStringLiteral("/preview.html")));
        QVERIFY(env.reporter.messages.isEmpty());
    }

    void aLinkToTheAppletFolderLosesNothing()
    {
        TestEnvironment env;
        const QString folder = prepare(env, QStringLiteral("LAKE"), {"ImageFile=lake.jpg"});
        const QString link = env.path(QStringLiteral("link"));
        QVERIFY(QFile::link(folder, link));
        const ino_t before = inode(folder + QStringLiteral("/lake.jpg"));
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(publisher.copyAllFiles(QStringLiteral("LAKE"), link + QStringLiteral("/page.html")));
        QCOMPARE(TestEnvironment::readFile(folder + QStringLiteral("/lake.jpg")), QByteArray("lake.jpg"));
        QCOMPARE(inode(folder + QStringLiteral("/lake.jpg")), before);
        QVERIFY(publisher.copyFile(folder, QStringLiteral("%1/../%2").arg(folder, QFileInfo(folder).fileName()),
                                   QStringLiteral("lake.jpg")));
        QCOMPARE(inode(folder + QStringLiteral("/lake.jpg")), before);
    }

    // Where letter case matters, a folder named like the applet folder but for case is another.
    void aFolderDifferingInCaseGetsEverything()
    {
        TestEnvironment env;
        const QString folder = prepare(env, QStringLiteral("LAKE"), {"ImageFile=lake.jpg"});
        const QString other = QFileInfo(folder).absolutePath() + QStringLiteral("/LAKE");
        QVERIFY(QDir().mkpath(other));
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(publisher.copyAllFiles(QStringLiteral("LAKE"), other + QStringLiteral("/index.html")));
        QVERIFY(folderFiles(other).contains(QStringLiteral("lake.jpg")));
        QVERIFY(folderFiles(other).contains(QStringLiteral("VxLake.class")));
        QCOMPARE(publisher.copiedCount(), folderFiles(other).size());
    }

    // A missing file stops the publishing, named with the folder it belongs in; a missing
    // class or archive brings the advice on applet files. Nothing is written, not even the page.
    void missingFileStopsThePublishing_data()
    {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<bool>("advice");
        QTest::newRow("picture") << "lake.jpg" << false;
        QTest::newRow("applet class") << "VxLake.class" << true;
    }
    void missingFileStopsThePublishing()
    {
        QFETCH(QString, missing);
        QFETCH(bool, advice);
        TestEnvironment env;
        prepare(env, QStringLiteral("LAKE"), {"ImageFile=lake.jpg"});
        const QString folder = env.folders().appletFolder(QStringLiteral("LAKE"));
        QFile::remove(folder + QLatin1Char('/') + missing);
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);

        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(!publisher.copyAllFiles(QStringLiteral("LAKE"), site + QStringLiteral("/index.html")));
        QCOMPARE(env.reporter.ids(), (QList<int>{Str::PublishFileMissing, Str::ErrorCopyingFile}));
        const Message &reason = env.reporter.messages.first();
        QVERIFY2(reason.text.startsWith(QStringLiteral("Error ! \"%1\" is not in the applet folder \"%2\".").arg(missing, folder)),
                 qPrintable(reason.text));
        QCOMPARE(reason.text.contains(QStringLiteral("this applet needs VxLake.class")), advice);
        QCOMPARE(reason.icon, MessageIcon::Stop);
        QCOMPARE(folderFiles(site), QStringList());
    }

    // With Vexa Java's own effect the page names the player, the player lies beside it, and
    // the applet's missing code is named in a note but stops nothing; other files still do.
    void theEffectPlaysWithoutTheAppletsCode()
    {
        if (!QFileInfo::exists(InstallData::playerScript())) QSKIP("the effects player is not built here");
        TestEnvironment env;
        prepare(env, QStringLiteral("LAKE"), {"ImageFile=lake.jpg"});
        const QString folder = env.folders().appletFolder(QStringLiteral("LAKE"));
        QFile::remove(folder + QStringLiteral("/VxLake.class"));
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        publisher.setEffects(true);
        QVERIFY(publisher.copyAllFiles(QStringLiteral("LAKE"), site + QStringLiteral("/index.html")));
        QCOMPARE(env.reporter.ids(), QList<int>{Str::EffectWithoutAppletCode});
        QVERIFY(env.reporter.messages.first().text.endsWith(QStringLiteral(": VxLake.class.")));
        QVERIFY(folderFiles(site).contains(QStringLiteral("vexajava-effects.js")));
        QVERIFY(!folderFiles(site).contains(QStringLiteral("VxLake.class")));
        QVERIFY(TestEnvironment::readFile(site + QStringLiteral("/index.html"))
                    .contains("</applet>\r\n</p>\r\n<script src=\"vexajava-effects.js\"></script>\r\n"));
        QFile::remove(folder + QStringLiteral("/lake.jpg"));
        QVERIFY(!publisher.copyAllFiles(QStringLiteral("LAKE"), site + QStringLiteral("/index.html")));
    }

    // Publishing again copies only what changed: an unchanged file keeps its inode and
    // bytes, a changed one is copied anew, a copy carries its source's time, and a target
    // that is a link is replaced whatever its size and time.
    void republishingCopiesOnlyWhatChanged()
    {
        TestEnvironment env;
        const QString folder = prepare(env, QStringLiteral("LAKE"), {"ImageFile=lake.jpg"});
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(publisher.copyAllFiles(QStringLiteral("LAKE"), site + QStringLiteral("/index.html")));
        const int all = publisher.copiedCount();
        QCOMPARE(publisher.upToDateCount(), 0);
        auto identity = [&](const QString &name) {
            struct stat st {};
            ::stat(QFile::encodeName(site + QLatin1Char('/') + name).constData(), &st);
            return QPair<qint64, qint64>(qint64(st.st_ino), qint64(st.st_mtim.tv_nsec) + st.st_mtim.tv_sec * 1000000000LL);
        };
        const auto code = identity(QStringLiteral("VxLake.class"));
        const auto picture = identity(QStringLiteral("lake.jpg"));

        TestEnvironment::writeFile(folder + QStringLiteral("/lake.jpg"), "a changed picture");
        // A link to a file of the same size and time elsewhere is no copy of ours.
        const QString elsewhere = env.path(QStringLiteral("elsewhere.class"));
        TestEnvironment::writeFile(elsewhere, "vexa.class");
        for (const QString &file : {elsewhere, folder + QStringLiteral("/vexa.class")}) {
            QFile touched(file);
            QVERIFY(touched.open(QIODevice::ReadWrite) &&
                    touched.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000), QFileDevice::FileModificationTime));
        }
        QVERIFY(QFile::remove(site + QStringLiteral("/vexa.class")));
        QVERIFY(QFile::link(elsewhere, site + QStringLiteral("/vexa.class")));
        QVERIFY(publisher.copyAllFiles(QStringLiteral("LAKE"), site + QStringLiteral("/index.html")));
        QCOMPARE(publisher.countsText(), QStringLiteral("3 files copied, %1 up to date").arg(all - 3));
        QCOMPARE(identity(QStringLiteral("VxLake.class")), code);
        QCOMPARE(TestEnvironment::readFile(site + QStringLiteral("/VxLake.class")), QByteArray("VxLake.class"));
        QVERIFY(identity(QStringLiteral("lake.jpg")).first != picture.first);
        QCOMPARE(TestEnvironment::readFile(site + QStringLiteral("/lake.jpg")), QByteArray("a changed picture"));
        QCOMPARE(QFileInfo(site + QStringLiteral("/lake.jpg")).lastModified(),
                 QFileInfo(folder + QStringLiteral("/lake.jpg")).lastModified());
        QVERIFY(!QFileInfo(site + QStringLiteral("/vexa.class")).isSymLink());
        QCOMPARE(TestEnvironment::readFile(elsewhere), QByteArray("vexa.class"));
    }

    // Files are copied side by side, yet publishing reads as one copy after the other: a
    // picture shown twice is copied once and then up to date, and of two files that cannot
    // be copied the first in order is the one named.
    void manyFilesCopiedSideBySide()
    {
        TestEnvironment env;
        QStringList pictures;
        for (int n = 1; n <= 40; ++n)
            pictures << QStringLiteral("Image_%1=p%2.jpg").arg(n).arg(n == 40 ? 1 : n);
        const QString folder = prepare(env, QStringLiteral("CFADE"), pictures << "Image_41=" << "OverImage=NO");
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(publisher.copyAllFiles(QStringLiteral("CFADE"), site + QStringLiteral("/index.html")));
        const int planned = int(publisher.plannedFiles(QStringLiteral("CFADE")).size());
        QCOMPARE(publisher.countsText(), QStringLiteral("%1 files copied, 1 up to date").arg(planned)); // the page too
        for (int n = 1; n < 40; ++n) {
            const QString name = QStringLiteral("/p%1.jpg").arg(n);
            QCOMPARE(TestEnvironment::readFile(site + name), TestEnvironment::readFile(folder + name));
        }

        for (const QString &name : {QStringLiteral("p7.jpg"), QStringLiteral("p30.jpg")}) {
            QVERIFY(QFile::remove(site + QLatin1Char('/') + name));
            QVERIFY(QDir(site).mkdir(name));
        }
        env.reporter.clear();
        QVERIFY(!publisher.copyAllFiles(QStringLiteral("CFADE"), site + QStringLiteral("/index.html")));
        QCOMPARE(env.reporter.ids(), (QList<int>{Str::FileWriteFailed, Str::ErrorCopyingFile}));
        QVERIFY(env.reporter.messages.first().text.contains(QStringLiteral("p7.jpg")));
    }

    void onlyPlainFilesAreCopied_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::addColumn<QString>("reason");
        QTest::newRow("pipe") << true << QStringLiteral("it is not a regular file");
        QTest::newRow("folder") << false << qt_error_string(EISDIR);
    }
    void onlyPlainFilesAreCopied()
    {
        QFETCH(bool, fifo);
        QFETCH(QString, reason);
        TestEnvironment env;
        const QString folder = prepare(env, QStringLiteral("LAKE"), {"ImageFile=odd"});
        QFile::remove(folder + QStringLiteral("/odd"));
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(folder + QStringLiteral("/odd")).constData(), 0600), 0);
        else
            QVERIFY(QDir(folder).mkdir(QStringLiteral("odd")));
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(!publisher.copyAllFiles(QStringLiteral("LAKE"), site + QStringLiteral("/index.html")));
        QCOMPARE(env.reporter.ids(), (QList<int>{Str::FileCopyFailed, Str::ErrorCopyingFile}));
        QVERIFY(env.reporter.messages.first().text.endsWith(reason));
    }

    // A page or file the user made read-only stops the publishing before anything is
    // written, naming the file; one already up to date is no obstacle.
    void protectedTargetsAreKept_data()
    {
        QTest::addColumn<QString>("protectedFile");
        QTest::addColumn<bool>("upToDate");
        QTest::newRow("page") << "index.html" << false;
        QTest::newRow("changed picture") << "lake.jpg" << false;
        QTest::newRow("picture up to date") << "lake.jpg" << true;
    }
    void protectedTargetsAreKept()
    {
        QFETCH(QString, protectedFile);
        QFETCH(bool, upToDate);
        TestEnvironment env;
        const QString folder = prepare(env, QStringLiteral("LAKE"), {"ImageFile=lake.jpg"});
        const QString site = env.path(QStringLiteral("site"));
        const QString target = site + QLatin1Char('/') + protectedFile;
        QDir().mkpath(site);
        if (upToDate)
            QCOMPARE(FileCopy::copy(folder + QStringLiteral("/lake.jpg"), target).reason, QString());
        else
            TestEnvironment::writeFile(target, "mine");
        const QByteArray kept = TestEnvironment::readFile(target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QCOMPARE(publisher.copyAllFiles(QStringLiteral("LAKE"), site + QStringLiteral("/index.html")), upToDate);
        QCOMPARE(TestEnvironment::readFile(target), kept);
        if (!upToDate) {
            QCOMPARE(env.reporter.ids(), (QList<int>{Str::FileWriteFailed, Str::ErrorCopyingFile}));
            QVERIFY(env.reporter.messages.first().text.contains(target + "\": it is write-protected"));
            QCOMPARE(folderFiles(site), QStringList{protectedFile});
        }
    }

    // What interrupted writers left beside their files is removed once it is stale, and
    // only then: a file of a writer still at work, or a minute young, stays.
    void staleTemporaryFilesAreRemoved()
    {
        QTemporaryDir dir;
        const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
        const QStringList names = {".a.vxp.vxtmp-999999999-Ab12Cd", ".b.vxp.vxtmp-999999999-Ef34Gh",
                                   QStringLiteral(".c.vxp.vxtmp-%1-Ij56Kl").arg(QCoreApplication::applicationPid()),
                                   ".d.vxp.XXXXXX"};
        for (const QString &name : names) {
            TestEnvironment::writeFile(dir.filePath(name), "half");
            if (name.startsWith(".b"))
                continue; // young
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QCOMPARE(FileCopy::write(dir.filePath("e.vxp"), "whole").reason, QString());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({".b.vxp.vxtmp-999999999-Ef34Gh", names[2], ".d.vxp.XXXXXX", "e.vxp"}));
    }

    void emptyRequiredSettingIsNamed()
    {
        TestEnvironment env;
        prepare(env, QStringLiteral("LAKE"), {});
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(!publisher.copyAllFiles(QStringLiteral("LAKE"), site + QStringLiteral("/index.html")));
        QCOMPARE(env.reporter.ids(), (QList<int>{Str::UnsafeFileName, Str::ErrorCopyingFile}));
        QVERIFY(env.reporter.messages.first().text.contains(QStringLiteral("ImageFile")));
    }

    void pathLikeValuesAreRefused_data()
    {
        QTest::addColumn<QString>("applet");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("key");
        QTest::newRow("parent folder") << "LAKE" << QStringList{"ImageFile=../../secret.txt"} << "ImageFile";
        QTest::newRow("root") << "LAKE" << QStringList{"ImageFile=/etc/hostname"} << "ImageFile";
        QTest::newRow("backslash") << "LAKE" << QStringList{"ImageFile=..\\secret.txt"} << "ImageFile";
        QTest::newRow("drive") << "LAKE" << QStringList{"ImageFile=C:secret.txt"} << "ImageFile";
        QTest::newRow("dot dot") << "LAKE" << QStringList{"ImageFile=.."} << "ImageFile";
        QTest::newRow("NUL") << "LAKE" << QStringList{QStringLiteral("ImageFile=a") + QChar(0) + "/x"}
                             << "ImageFile";
        QTest::newRow("frame format")
            << "BLUR" << QStringList{"NumImages=1", "ImgsValue=pic", "FormatValue=/../x"} << "FormatValue";
        QTest::newRow("frame stem") << "BLUR"
                                    << QStringList{"NumImages=1", "ImgsValue=../pic", "FormatValue=.gif"}
                                    << "ImgsValue";
        QTest::newRow("font") << "SOLIDSCROLLER" << QStringList{"FontIndex=../../secret.txt"} << "FontIndex";
        QTest::newRow("numbered image")
            << "CFADE" << QStringList{"Image_1=a.jpg", "Image_2=../b.jpg"} << "Image_2";
        QTest::newRow("overlay") << "FIRE" << QStringList{"OverImage=/etc/hostname"} << "OverImage";
    }
    void pathLikeValuesAreRefused()
    {
        QFETCH(QString, applet);
        QFETCH(QStringList, settings);
        QFETCH(QString, key);
        TestEnvironment env;
        set(env, applet, settings);
        // Every name the plan could reach outside the folder exists, so only the check stops it.
        TestEnvironment::writeFile(env.path(QStringLiteral("secret.txt")), "secret");
        TestEnvironment::writeFile(env.path(QStringLiteral("install/secret.txt")), "secret");
        TestEnvironment::writeFile(env.folders().appletDirectory() + QStringLiteral("/qzbut1.gif"),
                                   "qzbut1.gif");
        const QStringList own = {"VxLake.class", "vxblur.class", "solidscr.class", "VxFade.class",
                                 "a.jpg",        "fire.class",   "vexa.class",     "vexalib.class",
                                 "fire.jar",     "firescr.txt"};
        env.makeAppletFolder(applet, own);
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);

        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(!publisher.copyAllFiles(applet, site + QStringLiteral("/index.html")));
        QCOMPARE(env.reporter.ids(), (QList<int>{Str::UnsafeFileName, Str::ErrorCopyingFile}));
        const QString text = env.reporter.messages.first().text;
        QVERIFY2(text.contains(QStringLiteral("setting ") + key + QLatin1Char(' ')), qPrintable(text));
        for (const QString &file : folderFiles(site))
            QVERIFY2(file == QLatin1String("index.html") || own.contains(file) ||
                         file == QLatin1String("qzbut1.gif"),
                     qPrintable(file));
        QVERIFY(!QFile::exists(site + QStringLiteral("/secret.txt")));
    }

    void copyFileRefusesNamesWithAFolder()
    {
        TestEnvironment env;
        TestEnvironment::writeFile(env.path(QStringLiteral("secret.txt")), "secret");
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        QVERIFY(
            !publisher.copyFile(env.path(QStringLiteral("install")), site, QStringLiteral("../secret.txt")));
        QCOMPARE(env.reporter.ids(), QList<int>{Str::FileCopyFailed});
        QVERIFY(folderFiles(site).isEmpty());
    }

    void failedPageStopsEverything()
    {
        TestEnvironment env;
        const QString site = env.path(QStringLiteral("site"));
        QDir().mkpath(site);
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        // No applet folder: the page cannot be written.
        QVERIFY(!publisher.copyAllFiles(QStringLiteral("FIRE"), site + QStringLiteral("/index.html")));
        QCOMPARE(env.reporter.ids(),
                 (QList<int>{Str::FileWriteFailed, Str::ErrorWritingPreview, Str::ErrorCopyingFile}));
        QVERIFY(folderFiles(site).isEmpty());

        // A chosen file in a folder that does not exist.
        env.reporter.clear();
        prepare(env, QStringLiteral("FIRE"), {});
        QVERIFY(!publisher.copyAllFiles(QStringLiteral("FIRE"), env.path(QStringLiteral("none/index.html"))));
        // The folder that is missing is the destination's, and the message says so.
        QCOMPARE(env.reporter.ids(), (QList<int>{Str::FileWriteFailed, Str::ErrorCopyingFile}));
        QVERIFY(env.reporter.messages.first().text.contains(QStringLiteral("none/index.html")));
        QVERIFY(env.reporter.messages.first().text.contains(qt_error_string(ENOENT)));
    }

    void hugeFrameCountEndsAtTheFrames()
    {
        TestEnvironment env;
        const QString folder = prepare(env, QStringLiteral("BLUR"), {"ImgsValue=pic", "FormatValue=.gif"});
        env.makeAppletFolder(QStringLiteral("BLUR"), {"vxblur.class", "pic1.gif", "pic2.gif"});
        env.store().write(QStringLiteral("BLUR"), QStringLiteral("NumImages"),
                          QStringLiteral("99999999999999"));
        FilePublisher publisher(env.store(), env.folders(), env.reporter);
        const QStringList planned = names(publisher.plannedFiles(QStringLiteral("BLUR")));
        QCOMPARE(planned.mid(1, 4), (QStringList{"vxblur.class", "pic1.gif", "pic2.gif", "pic3.gif"}));
        QVERIFY(planned.size() < 10);
        // Into the applet folder itself every copy is skipped, and it still ends.
        QVERIFY(publisher.copyAllFiles(QStringLiteral("BLUR"), folder + QStringLiteral("/x.html")));

        env.store().write(QStringLiteral("BLUR"), QStringLiteral("NumImages"), QStringLiteral("none"));
        QCOMPARE(names(publisher.plannedFiles(QStringLiteral("BLUR"))).mid(1, 2),
                 (QStringList{"vxblur.class", "vexalib.class"}));
    }
};

QTEST_GUILESS_MAIN(PublishTest)
#include "tst_publish.moc"
