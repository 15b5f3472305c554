#include "TestSupport.h"
#include "settings/Folders.h"
#include "settings/InstallData.h"
#include "settings/ScrollTextFiles.h"
#include "settings/SettingsStore.h"
#include "settings/StoreFormat.h"
#include "strings/StringIds.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

#include <unistd.h>

using namespace vexa;
using vexa::test::TestEnvironment;

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void nativeLocationFollowsXdgConfigHome()
    {
        // First use of the native store in this process, so the location is read now.
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        RecordingReporter reporter;
        {
            SettingsStore store(reporter);
            QCOMPARE(store.fileName(), home.path() + "/Vexa Team/Vexa Java.conf");
            store.write("BLOBS", "NBlobs", "7");
            QVERIFY(store.sync());
        }
        QVERIFY(QFile::exists(home.path() + "/Vexa Team/Vexa Java.conf"));
        SettingsStore again(reporter);
        QCOMPARE(again.read("BLOBS", "NBlobs"), QStringLiteral("7"));
        QVERIFY(reporter.messages.isEmpty());
    }

    void anyTextRoundTrips_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks") << "  two  blanks  ";
        QTest::newRow("commas") << "a, b,c";
        QTest::newRow("semicolons") << "a;b; c";
        QTest::newRow("quotes") << "say \"hi\" 'there'";
        QTest::newRow("backslashes") << "C:\\dir\\file \\n \\\\";
        QTest::newRow("percent") << "100% %20 %1";
        QTest::newRow("angle brackets") << "<b>bold</b> <applet>";
        QTest::newRow("line breaks") << "one\ntwo\r\nthree\r";
        QTest::newRow("leading at") << "@ByteArray(x)";
        QTest::newRow("at variant") << "@Variant(\\0\\0)";
        QTest::newRow("non-ascii") << "Café ñ Ж 東京 🙂";
        QTest::newRow("equals") << "a=b==c";
        QTest::newRow("hash") << "#not a comment ;nor this";
        QTest::newRow("empty") << "";
        QTest::newRow("true") << "true";
        QTest::newRow("brackets") << "[Section]";
        QTest::newRow("long") << QString(40000, QLatin1Char('x'));
    }

    void anyTextRoundTrips()
    {
        QFETCH(QString, value);
        TestEnvironment env;
        QVERIFY(env.store().write("VEXA3D LIGHT", "Text", value));
        QCOMPARE(env.store().read("VEXA3D LIGHT", "Text"), value);
        env.reopenStore();
        QCOMPARE(env.store().read("VEXA3D LIGHT", "Text"), value);
        QCOMPARE(env.store().keys("VEXA3D LIGHT"), QStringList({"Text"}));
    }

    void keysIgnoreLetterCase()
    {
        TestEnvironment env;
        env.store().write("BLOBS", "NBlobs", "5");
        QCOMPARE(env.store().read("BLOBS", "nblobs"), QStringLiteral("5"));
        env.store().write("BLOBS", "NBLOBS", "6");
        QCOMPARE(env.store().keys("BLOBS"), QStringList({"NBlobs"})); // first spelling stays
        env.reopenStore();
        QCOMPARE(env.store().read("BLOBS", "nBlObS"), QStringLiteral("6"));

        // A key written by hand in another case is found too.
        QFile file(env.storeFile());
        QVERIFY(file.open(QIODevice::Append));
        file.write("\n[HUEROT]\nhueshift=9\n");
        file.close();
        env.reopenStore();
        QCOMPARE(env.store().read("HUEROT", "HueShift"), QStringLiteral("9"));

        // A batch follows the same rules: the spelling on file stays, a case variant
        // within the batch is the same key, a key the store cannot hold is skipped.
        QVERIFY(!env.store().write("HUEROT", {{"HUESHIFT", "10"}, {"Speed", "1"}, {"bad/key", "x"},
                                              {"speed", "2"}}));
        QVERIFY(!env.store().write("HUEROT_DEF", {{"Speed", "3"}}));
        const SettingsStore::Values values = env.store().values("HUEROT");
        QCOMPARE(values, SettingsStore::Values({{"Speed", "2"}, {"hueshift", "10"}}));
        QCOMPARE(env.store().keys("HUEROT"), QStringList({"Speed", "hueshift"}));
    }

    void sectionsAndEnumeration()
    {
        TestEnvironment env;
        QCOMPARE(env.store().read("", "Dir"), env.store().read("Application", "Dir"));
        env.store().write("", "Browser", "Default browser");
        QCOMPARE(env.store().read("Application", "Browser"), QStringLiteral("Default browser"));

        QVERIFY(!env.store().sectionExists("BLUR"));
        QCOMPARE(env.store().read("BLUR", "Speed"), QString());
        const QStringList keys = {"Zeta", "alpha", "Image_10", "Image_2", "Mid"};
        for (const QString &key : keys)
            env.store().write("BLUR", key, key + "!");
        env.store().write("BLUR", "ALPHA", "again");
        QVERIFY(env.store().sectionExists("BLUR"));
        const QStringList listed = env.store().keys("BLUR");
        QCOMPARE(listed.size(), keys.size());
        for (const QString &key : keys)
            QCOMPARE(listed.count(key), 1);
        env.reopenStore();
        QCOMPARE(env.store().keys("BLUR"), listed); // stable across runs

        // A section named as the file's unnamed one, in any case, is kept apart from it.
        for (const char *general : {"General", "gENERAL"})
            env.store().write(general, "Key", general);
        QVERIFY(env.store().sync());
        env.reopenStore();
        QCOMPARE(env.store().read("General", "Key"), QStringLiteral("General"));
        QCOMPARE(env.store().read("gENERAL", "Key"), QStringLiteral("gENERAL"));
        QCOMPARE(StoreFormat::read("[General]\nold=1\n[%General]\nnew=2\n").keys(), QStringList({"", "General"}));
    }

    void defaultSectionsAreReadOnly()
    {
        TestEnvironment env;
        QCOMPARE(env.store().read("BLOBS_DEF", "nblobs"), QStringLiteral("5"));
        QVERIFY(!env.store().write("BLOBS_DEF", "NBlobs", "9"));
        QCOMPARE(env.store().read("BLOBS_DEF", "NBlobs"), QStringLiteral("5"));
        QVERIFY(env.store().sectionExists("BLOBS_DEF"));
        QVERIFY(!env.store().sectionExists("FIRE_DEF"));
        QCOMPARE(env.store().read("FIRE_DEF", "Width"), QString());
        // Keys the store cannot hold are refused rather than turned into sub-groups.
        QVERIFY(!env.store().write("BLOBS", "a/b", "x"));
        QVERIFY(!env.store().write("BLOBS", "a\\b", "x"));
        QVERIFY(!env.store().write("BLOBS", "", "x"));
        QVERIFY(!env.store().sectionExists("BLOBS"));
    }

    // An applet used for the first time starts as a copy of its defaults; a section the user
    // has written is never touched, and starting over discards it.
    void appletsStartFromTheirDefaults()
    {
        TestEnvironment env;
        SettingsStore &store = env.store();
        QVERIFY(store.startFromDefaults("BLOBS"));
        QStringList own = store.keys("BLOBS"), defaults = store.keys("BLOBS_DEF");
        own.sort();
        defaults.sort();
        QCOMPARE(own, defaults);
        for (const QString &key : store.keys("BLOBS_DEF"))
            QCOMPARE(store.read("BLOBS", key), store.read("BLOBS_DEF", key));

        store.write("BLOBS", "NBlobs", "9");
        store.write("BLOBS", "Extra", "kept");
        QVERIFY(!store.startFromDefaults("BLOBS"));
        QCOMPARE(store.read("BLOBS", "NBlobs"), QStringLiteral("9"));

        // No defaults, a default section itself, the program's own section: nothing to start.
        QVERIFY(!store.startFromDefaults("FIRE"));
        QVERIFY(!store.sectionExists("FIRE"));
        QVERIFY(!store.startFromDefaults("BLOBS_DEF"));

        store.resetToDefaults("BLOBS");
        QCOMPARE(store.read("BLOBS", "NBlobs"), QStringLiteral("5"));
        QCOMPARE(store.read("BLOBS", "Extra"), QString());
        store.resetToDefaults("");
        QVERIFY(!store.read("", "Dir").isEmpty());
        // What was copied is on disk for the next run.
        env.reopenStore();
        QCOMPARE(env.store().read("BLOBS", "NBlobs"), QStringLiteral("5"));
    }

    // The file's own text: every value comes back exactly; files of earlier versions read as before.
    void storeFileText()
    {
        const QChar bom(0xFEFF);
        const QStringList values = {QString(bom) + "B",  "A\\" + QString(bom) + "C", QString(QChar(0xD800)) + "x",
                                    "@at",  "@@two", " lead, trail ", "q\"u;o=t#e[]%", "tab\tnl\ncr\r\x01\x7F",
                                    QString("\x01") + "A", "café 日本 😀", QString()};
        StoreFormat::Sections sections;
        for (int i = 0; i < values.size(); ++i)
            sections["VEXA3D LIGHT"].insert(QStringLiteral("Key %1 é€").arg(i), values[i]);
        QCOMPARE(StoreFormat::read(StoreFormat::write(sections)), sections);

        // The file form: names %-escaped, values quoted with backslash escapes, pairs kept.
        StoreFormat::Sections one;
        one["A B"].insert(QStringLiteral("k é€"), QString("x\"\\\x01") + bom + QStringLiteral("😀\t"));
        one[""].insert(QStringLiteral("top"), QStringLiteral("@a"));
        QCOMPARE(StoreFormat::write(one), QByteArray("[General]\ntop=\"@@a\"\n\n"
                                                     "[A%20B]\nk%20%E9%U20AC=\"x\\\"\\\\\\x0001\\xfeff\xF0\x9F\x98\x80\\t\"\n"));

        // As earlier versions wrote them.
        const QByteArray older = "[A]\nlist=x, y\n\n[VEXA3D%20LIGHT]\nKey%200%20%E9=plain\n"
                                 "Key%201=\"a, b\"\nKey%202=q\\\"uote\nKey%203=back\\\\slash\n"
                                 "Key%205=new\\nline\\r\\t\nKey%206=\" lead\"\nKey%208=@@at\n"
                                 "Key%209=caf\xC3\xA9\nKey%2011=x\\x1\x7F\n";
        const StoreFormat::Sections read = StoreFormat::read(older);
        const StoreFormat::Section light = read.value("VEXA3D LIGHT");
        QCOMPARE(read.value("A").value("list"), QStringLiteral("x, y"));
        QCOMPARE(light.value(QStringLiteral("Key 0 é")), QStringLiteral("plain"));
        QCOMPARE(light.value("Key 1"), QStringLiteral("a, b"));
        QCOMPARE(light.value("Key 2"), QStringLiteral("q\"uote"));
        QCOMPARE(light.value("Key 3"), QStringLiteral("back\\slash"));
        QCOMPARE(light.value("Key 5"), QStringLiteral("new\nline\r\t"));
        QCOMPARE(light.value("Key 6"), QStringLiteral(" lead"));
        QCOMPARE(light.value("Key 8"), QStringLiteral("@at"));
        QCOMPARE(light.value("Key 9"), QStringLiteral("café"));
        QCOMPARE(light.value("Key 11"), QStringLiteral("x\x01\x7F"));
        // A typed value of a hand-edited file is text, never decoded into something huge.
        const StoreFormat::Sections typed = StoreFormat::read("[B]\nk=@Variant(\\0\\0\\0\\x7f\\xff\\xff\\xff\\xff)\n");
        QVERIFY(typed.value("B").value("k").startsWith("@Variant("));
    }

    // Lines in Latin-1 (a hand edit, an older tool) keep their letters, also after a write.
    void latin1LinesKeepTheirLetters()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("s.conf");
        TestEnvironment::writeFile(path, "[TEXTSCROLLER]\nText=caf\xE9 \xA3\xBD\nOther=na\xC3\xAFve\n");
        RecordingReporter reporter;
        for (int pass = 0; pass < 2; ++pass) {
            SettingsStore store(path, QString(), reporter);
            QCOMPARE(store.read("TEXTSCROLLER", "Text"), QStringLiteral("café £½"));
            QCOMPARE(store.read("TEXTSCROLLER", "Other"), QStringLiteral("naïve"));
            store.write("BLOBS", "NBlobs", "3");
            QVERIFY(store.sync());
        }
        QVERIFY(reporter.messages.isEmpty());
    }

    // Two copies of the program each write a key of their own: both keys stay, even when
    // the other's file came in with the same size and time as the one read before.
    void concurrentWritersKeepEachOthersKeys()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("s.conf");
        TestEnvironment::writeFile(path, "[BLOBS]\nA=0\nB=0\n");
        const QDateTime time = QFileInfo(path).lastModified();
        RecordingReporter reporter;
        SettingsStore first(path, QString(), reporter);
        SettingsStore second(path, QString(), reporter);
        second.write("BLOBS", "B", "2");
        QVERIFY(second.sync());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
        file.close();
        first.write("BLOBS", "A", "1");
        QVERIFY(first.sync());
        SettingsStore after(path, QString(), reporter);
        QCOMPARE(after.values("BLOBS"), SettingsStore::Values({{"A", "1"}, {"B", "2"}}));
        // A copy that only reads takes in the others' values at its next sync.
        QVERIFY(second.sync());
        QCOMPARE(second.read("BLOBS", "A"), QStringLiteral("1"));
        // The last writer of a key wins; a reset section stays reset.
        second.write("BLOBS", "A", "3");
        first.resetToDefaults("BLOBS");
        first.write("BLOBS", "C", "4");
        QVERIFY(second.sync());
        QVERIFY(first.sync());
        SettingsStore last(path, QString(), reporter);
        QCOMPARE(last.values("BLOBS"), SettingsStore::Values({{"C", "4"}}));
        QVERIFY(reporter.messages.isEmpty());
    }

    // Writes that pile up unsynced are kept as the last value of each key, in the spelling
    // first written, and still go in over another copy's file.
    void manyUnsyncedWritesKeepTheLastOfEach()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("s.conf");
        RecordingReporter reporter;
        SettingsStore first(path, QString(), reporter);
        SettingsStore second(path, QString(), reporter);
        // The last write makes them pile past 65,536 values: what is then kept must be the last.
        constexpr int Keys = 128;
        constexpr int Rounds = 513;
        for (int round = 0; round < Rounds; ++round) {
            SettingsStore::Values values;
            for (int key = 0; key < Keys; ++key)
                values.append({QString(round % 2 ? "KEY%1" : "Key%1").arg(key), QString::number(round)});
            first.write("BLOBS", values);
        }
        second.write("BLOBS", "Other", "x");
        QVERIFY(second.sync());
        QVERIFY(first.sync());
        SettingsStore after(path, QString(), reporter);
        QCOMPARE(after.keys("BLOBS").size(), Keys + 1);
        QCOMPARE(after.read("BLOBS", "Other"), QStringLiteral("x"));
        const SettingsStore::Values stored = after.values("BLOBS");
        for (int key = 0; key < Keys; ++key)
            QVERIFY(stored.contains({QStringLiteral("Key%1").arg(key), QString::number(Rounds - 1)}));
        QVERIFY(reporter.messages.isEmpty());
    }

    // A lock file that cannot be used, or one another host holds, is given up on within a
    // few seconds and named; the program goes on with the values in memory, tries again at
    // every sync, and says so when saving works again.
    void lockFileProblems_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << "folder" << "is not a regular file";
        QTest::newRow("pipe") << "pipe" << "is not a regular file";
        QTest::newRow("other host") << "other host" << "is held by";
        QTest::newRow("unreadable") << "unreadable" << "cannot be read: " + qt_error_string(EACCES);
    }

    void lockFileProblems()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("s.conf");
        const QString lock = path + ".lock";
        if (kind == "folder")
            QVERIFY(QDir().mkdir(lock));
        else if (kind == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
        else if (kind == "unreadable" && geteuid() == 0)
            QSKIP("root reads any file");
        else if (kind == "unreadable")
            TestEnvironment::writeFile(lock, ""), QFile::setPermissions(lock, {});
        else
            TestEnvironment::writeFile(lock, "4242\nvexajava-cli\nelsewhere.example\n");
        RecordingReporter reporter;
        SettingsStore store(path, QString(), reporter);
        store.write("BLOBS", "NBlobs", "5");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!store.sync());
        store.write("BLOBS", "NBlobs", "6");
        QVERIFY(!store.sync());
        QVERIFY(clock.elapsed() < SettingsStore::LockWaitMs + 5000);
        QCOMPARE(reporter.ids(), QList<int>({Str::SettingsNotSavedYet}));
        QVERIFY(reporter.messages.first().text.contains('"' + lock + "\" " + reason));
        QCOMPARE(store.read("BLOBS", "NBlobs"), QStringLiteral("6"));
        QVERIFY(!QFile::exists(path));
        QVERIFY(store.hasUnsavedChanges());
        QVERIFY(store.saveProblem().contains(reason));

        QVERIFY(QFileInfo(lock).isDir() ? QDir().rmdir(lock) : QFile::remove(lock));
        store.write("BLOBS", "Res", "2");
        QVERIFY(store.sync());
        QCOMPARE(reporter.ids(), QList<int>({Str::SettingsNotSavedYet, Str::SettingsSavedAgain}));
        QVERIFY(!store.hasUnsavedChanges());
        SettingsStore after(path, QString(), reporter);
        QCOMPARE(after.read("BLOBS", "NBlobs"), QStringLiteral("6"));
        QCOMPARE(after.read("BLOBS", "Res"), QStringLiteral("2"));
    }

    void bundledDefaultsAreShipped()
    {
        RecordingReporter reporter;
        QTemporaryDir dir;
        SettingsStore store(dir.filePath("s.conf"), InstallData::defaultsFile(), reporter);
        QVERIFY(QFile::exists(InstallData::defaultsFile()));
        QVERIFY(!store.read("BLOBS_DEF", "Res").isEmpty());
        // Without folder settings the bundled installation is used.
        Folders folders(store);
        QCOMPARE(folders.installDir(), InstallData::dir());
        QVERIFY(QFile::exists(folders.appletDirectory() + "/qzbut1.gif"));
        QVERIFY(QFile::exists(folders.scrollTextFile("BUMP")));
        QVERIFY(QDir(folders.appletFolder("MANDEL")).exists());
        QCOMPARE(folders.helpPage("ROT"), folders.helpFolder() + "/rot.html");
    }

    void unwritableStoreIsReportedOnce()
    {
        // A plain file where the store's folder should be: no one, root included, can write there.
        QTemporaryDir dir;
        vexa::test::TestEnvironment::writeFile(dir.filePath("locked"), "not a folder");
        RecordingReporter reporter;
        SettingsStore store(dir.filePath("locked/s.conf"), QString(), reporter);
        store.write("BLOBS", "NBlobs", "5");
        QVERIFY(!store.sync());
        store.write("BLOBS", "NBlobs", "6");
        QVERIFY(!store.sync());
        QCOMPARE(reporter.ids(), QList<int>({Str::SettingsNotSavedYet}));
        QVERIFY(reporter.messages.first().text.contains("s.conf"));
        // The program goes on with the values in memory.
        QCOMPARE(store.read("BLOBS", "NBlobs"), QStringLiteral("6"));
    }

    // A file that does not read as settings is never written over: it is kept aside under a
    // name that says so, and the store starts afresh. A stray line is no such file.
    void unreadableStoreIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("setAside");
        QByteArray utf16 = "\xFF\xFE";
        for (char c : QByteArray("[BLOBS]\nRes=2\n"))
            utf16 += QByteArray(1, c) + '\0';
        QTest::newRow("UTF-16") << utf16 << true;
        QTest::newRow("binary") << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0=\x03\x00", 14) << true;
        QTest::newRow("prose") << QByteArray("Dear diary,\ntoday I\nwrote no settings.\n") << true;
        QTest::newRow("stray line") << QByteArray("[BLOBS]\nRes=2\noops\nNBlobs=3\n") << false;
    }
    void unreadableStoreIsKeptAside()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, setAside);
        QTemporaryDir dir;
        const QString path = dir.filePath("s.conf");
        TestEnvironment::writeFile(path, bytes);
        RecordingReporter reporter;
        SettingsStore store(path, QString(), reporter);
        store.write("BLOBS", "NBlobs", "5");
        QVERIFY(store.sync());
        const QStringList aside = QDir(dir.path()).entryList({"s.conf.unreadable-*"});
        QCOMPARE(aside.size(), setAside ? 1 : 0);
        QCOMPARE(reporter.ids(), setAside ? QList<int>({Str::SettingsSetAside}) : QList<int>());
        if (setAside) {
            QCOMPARE(TestEnvironment::readFile(dir.filePath(aside.first())), bytes);
            QVERIFY(reporter.messages.first().text.contains(aside.first()));
        }
        QCOMPARE(SettingsStore(path, QString(), reporter).read("BLOBS", "Res"), setAside ? QString() : QString("2"));
    }

    // The program reads its store before its window exists: a store it cannot use is said
    // once the window is there, not lost.
    void storeProblemAtStartWaitsForTheWindow()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("s.conf")); // a folder in the store's place
        HoldingReporter holding;
        SettingsStore store(dir.filePath("s.conf"), QString(), holding);
        RecordingReporter window;
        holding.forwardTo(window);
        QCOMPARE(window.ids(), QList<int>({Str::SettingsNotWritable}));
        holding.report(message(Str::SettingsNotWritable, MessageIcon::Stop));
        QCOMPARE(window.ids().size(), 2); // and later ones go straight through
    }

    // A store the user made read-only is kept as it is, by root too.
    void readOnlyStoreFileIsReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("s.conf");
        vexa::test::TestEnvironment::writeFile(path, "[BLOBS]\nRes=1\n");
        QFile::setPermissions(path, QFile::ReadOwner);
        RecordingReporter reporter;
        SettingsStore store(path, QString(), reporter);
        QCOMPARE(store.read("BLOBS", "Res"), QStringLiteral("1"));
        store.write("BLOBS", "Res", "2");
        QVERIFY(!store.sync());
        QCOMPARE(reporter.ids(), QList<int>({Str::SettingsNotSavedYet}));
        QVERIFY(reporter.messages.first().text.contains("it is write-protected"));
        QCOMPARE(TestEnvironment::readFile(path), QByteArray("[BLOBS]\nRes=1\n"));
    }

    void scrollTextFiles()
    {
        TestEnvironment env;
        env.makeAppletFolder("BUMP");
        ScrollTextFiles files(env.folders(), env.reporter);
        QString text;
        QVERIFY(!files.load("BUMP", &text, "utf-8")); // not written yet
        QCOMPARE(env.reporter.ids(), QList<int>({Str::ErrorReadingScrollText}));
        QCOMPARE(env.reporter.messages.first().icon, MessageIcon::Exclamation);
        env.reporter.clear();

        const QString multiLine = QStringLiteral("Line one\r\nLine two: café ✓\n");
        QVERIFY(files.save("BUMP", multiLine, "utf-8"));
        QVERIFY(files.load("BUMP", &text, "utf-8"));
        QCOMPARE(text, multiLine);
        QCOMPARE(vexa::test::TestEnvironment::readFile(env.folders().scrollTextFile("BUMP")), multiLine.toUtf8());
        QVERIFY(!QDir(env.folders().appletFolder("BUMP")).entryList(QDir::Files).join(' ').contains(".tmp"));

        const QString exact(ScrollTextFiles::MaxLength, QLatin1Char('a'));
        vexa::test::TestEnvironment::writeFile(env.folders().scrollTextFile("BUMP"), exact.toUtf8());
        QVERIFY(files.load("BUMP", &text, "utf-8"));
        QCOMPARE(text, exact);
        // Longer files load truncated, also when the cut falls inside a multi-byte character.
        const QString longer = QString(ScrollTextFiles::MaxLength - 1, QLatin1Char('b')) +
                               QString(200000, QChar(0x00E9));
        vexa::test::TestEnvironment::writeFile(env.folders().scrollTextFile("BUMP"), longer.toUtf8());
        QVERIFY(files.load("BUMP", &text, "utf-8"));
        QCOMPARE(text, longer.left(ScrollTextFiles::MaxLength));
        QVERIFY(env.reporter.messages.isEmpty());

        // An applet without a scroll-text file, and a folder that does not exist.
        QVERIFY(!files.save("LENS", "x", "utf-8"));
        QVERIFY(!files.save("FIRE", "x", "utf-8"));
        QCOMPARE(env.reporter.ids(),
                 QList<int>({Str::ErrorWritingScrollText, Str::FileWriteFailed, Str::ErrorWritingScrollText}));
        QVERIFY(env.reporter.messages[1].text.contains(qt_error_string(ENOENT)));
    }

    // The file is in the page's character set, both ways; a character the set lacks is
    // refused by name, and the old file stays.
    void scrollTextFileInTheCharset_data()
    {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refused");
        QTest::newRow("latin-1") << "iso-8859-1" << "café\r\n" << QByteArray("caf\xE9\r\n") << "€";
        QTest::newRow("cyrillic") << "windows-1251" << "Привет\r\n" << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\r\n")
                                  << "日";
    }
    void scrollTextFileInTheCharset()
    {
        QFETCH(QString, charset);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refused);
        TestEnvironment env;
        env.makeAppletFolder("BUMP");
        ScrollTextFiles files(env.folders(), env.reporter);
        QVERIFY(files.save("BUMP", text, charset));
        QCOMPARE(TestEnvironment::readFile(env.folders().scrollTextFile("BUMP")), bytes);
        QString back;
        QVERIFY(files.load("BUMP", &back, charset));
        QCOMPARE(back, text);

        QVERIFY(!files.save("BUMP", "a" + refused + "b", charset));
        QCOMPARE(env.reporter.ids(), QList<int>{Str::ScrollTextOutsideCharset});
        QVERIFY(env.reporter.messages.first().text.contains("\"" + refused + "\" (U+"));
        QCOMPARE(TestEnvironment::readFile(env.folders().scrollTextFile("BUMP")), bytes);
    }

    void failedScrollTextSaveKeepsTheOldFile()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        TestEnvironment env;
        const QString folder = env.makeAppletFolder("FIRE");
        ScrollTextFiles files(env.folders(), env.reporter);
        QVERIFY(files.save("FIRE", "old text", "iso-8859-1"));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(!files.save("FIRE", "new text", "iso-8859-1"));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(vexa::test::TestEnvironment::readFile(env.folders().scrollTextFile("FIRE")), QByteArray("old text"));
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
