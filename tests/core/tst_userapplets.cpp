// Where the applet folders are not written into (installed, or the build tree's when they
// cannot be written), the user works in a copy of them, made once and never written over.

#include "TestSupport.h"
#include "catalogue/Catalogue.h"
#include "publish/PreviewPage.h"
#include "settings/Folders.h"
#include "settings/InstallData.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vexa;
using vexa::test::TestEnvironment;

class UserAppletsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_installedApplets;

private slots:
    void initTestCase()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath("data")));
        m_installedApplets = InstallData::dir() + QStringLiteral("/applets");
        // The tests run as root, where permissions stop nothing: the installation is declared read-only.
        InstallData::setWritableCheck([this](const QString &folder) {
            return QDir(folder).absolutePath() != QDir(m_installedApplets).absolutePath();
        });
    }
    void cleanupTestCase()
    {
        InstallData::setWritableCheck([](const QString &folder) { return QFileInfo(folder).isWritable(); });
    }

    void theUserWorksInACopy()
    {
        RecordingReporter reporter;
        SettingsStore store(m_home.filePath("settings.conf"), InstallData::defaultsFile(), reporter);
        const QString userApplets = m_home.filePath("data") + "/Vexa Team/Vexa Java/applets";
        Folders folders(store);
        QCOMPARE(folders.appletDirectory(), userApplets);
        // Help pages and defaults stay with the installation.
        QCOMPARE(folders.helpFolder(), InstallData::dir() + "/help");
        QVERIFY(QFile::exists(userApplets + "/qzbut1.gif"));
        QVERIFY(QFile::exists(folders.appletFolder("BUMP") + "/sample.jpg"));
        QVERIFY(QFile::exists(folders.scrollTextFile("BUMP")));

        // The preview page and a picked picture land in the user's folder.
        store.startFromDefaults("BUMP");
        PreviewPage preview(store, folders, reporter);
        QVERIFY(preview.write("BUMP", false));
        QVERIFY(preview.path("BUMP").startsWith(userApplets));
        QVERIFY(!QFile::exists(m_installedApplets + "/bump/preview.html"));

        // A second start copies nothing; the user's own changes stay.
        TestEnvironment::writeFile(folders.appletFolder("BUMP") + "/sample.jpg", "the user's own picture");
        QCOMPARE(InstallData::copyMissing(m_installedApplets, userApplets), 0);
        Folders again(store);
        QCOMPARE(TestEnvironment::readFile(again.appletFolder("BUMP") + "/sample.jpg"),
                 QByteArray("the user's own picture"));
        // A file the installation gained (or the user lost) is filled in.
        QFile::remove(again.appletFolder("LAKE") + "/sample.jpg");
        QCOMPARE(InstallData::copyMissing(m_installedApplets, userApplets), 1);
    }

    // A copy that cannot be made is said once, with the place and the reason; the
    // installation's folders serve meanwhile, and later failures name the cause.
    void aCopyThatCannotBeMadeIsSaid_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a file in the way") << "file" << "is a file, not a folder";
        QTest::newRow("dangling link") << "dangling" << "is a link that leads to no folder";
        QTest::newRow("looping link") << "loop" << "is a link that leads to no folder";
    }
    void aCopyThatCannotBeMadeIsSaid()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir home;
        const QString data = home.filePath("data");
        if (kind == "file")
            TestEnvironment::writeFile(data, "not a folder");
        else if (kind == "dangling")
            QVERIFY(QFile::link(home.filePath("nowhere"), data));
        else
            QVERIFY(QFile::link(data, data));
        const QByteArray before = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        RecordingReporter reporter;
        SettingsStore store(home.filePath("settings.conf"), InstallData::defaultsFile(), reporter);
        Folders folders(store);
        qputenv("XDG_DATA_HOME", before);

        QCOMPARE(folders.appletDirectory(), m_installedApplets);
        const Message problem = folders.problem();
        QCOMPARE(problem.id, Str::AppletFolderNotMade);
        QVERIFY2(problem.text.contains(data + "/Vexa Team/Vexa Java/applets\" (\"" + data + "\" " + reason),
                 qPrintable(problem.text));
        const FileError later = folders.explained({m_installedApplets + "/bump/preview.html", "Permission denied"});
        QVERIFY(later.reason.startsWith("Permission denied; your own copy of the applet folders could not be made"));
        QCOMPARE(folders.explained({home.filePath("elsewhere.html"), "Permission denied"}).reason,
                 QStringLiteral("Permission denied"));
    }

    // A user who names the installation folder keeps it: nothing is copied.
    void aChosenFolderIsLeftAlone()
    {
        TestEnvironment env(InstallData::defaultsFile());
        QVERIFY(!env.store().read("", "Dir").isEmpty());
        Folders folders(env.store());
        QCOMPARE(folders.appletDirectory(), env.installDir() + "/applets");
    }
};

QTEST_MAIN(UserAppletsTest)
#include "tst_userapplets.moc"
