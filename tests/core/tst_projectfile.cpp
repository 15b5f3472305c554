#include "FailDevice.h"
#include "TestSupport.h"
#include "publish/ProjectFile.h"
#include "strings/StringIds.h"

#include <QBuffer>
#include <QDir>
#include <QMap>
#include <QTest>
#include <QtEndian>

using namespace vexa;
using namespace vexa::test;

namespace {

const QString Blobs = QStringLiteral("BLOBS");
const QString Bump = QStringLiteral("BUMP");

// Built here independently of the code under test.
QByteArray record(const QByteArray &name, qint32 type, const QByteArray &data, qint32 length)
{
    QByteArray r(ProjectFile::RecordSize, '\0');
    std::memcpy(r.data(), name.constData(), size_t(name.size()));
    qToLittleEndian<qint32>(type, r.data() + 128);
    std::memcpy(r.data() + 132, data.constData(), size_t(data.size()));
    qToLittleEndian<qint32>(length, r.data() + 644);
    return r;
}

QByteArray valueRecord(const QByteArray &key, const QByteArray &text)
{
    return record(key, 1, text, qint32(text.size() + 1));
}

QMap<QString, QString> section(SettingsStore &store, const QString &id)
{
    QMap<QString, QString> values;
    for (const QString &key : store.keys(id))
        values.insert(key, store.read(id, key));
    return values;
}

QByteArray saveToBuffer(TestEnvironment &env, const QString &id, int *result = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ProjectFile project(env.store(), env.reporter);
    const int r = project.save(id, buffer);
    if (result)
        *result = r;
    return buffer.data();
}

// A small valid BLOBS project with three values.
QByteArray blobsProject()
{
    return record("V X P 1 4", 3, "BLOBS", 5) + valueRecord("NBlobs", "7") + valueRecord("Res", "2") +
           valueRecord("Text", "a, b");
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT

private slots:
    void savesRecordsByteForByte()
    {
        TestEnvironment env;
        for (int i = 1; i <= 30; ++i)
            env.store().write(Blobs, QStringLiteral("Key%1").arg(i, 2, 10, QLatin1Char('0')),
                              QString::number(i * 11));
        int result = 0;
        const QByteArray bytes = saveToBuffer(env, Blobs, &result);
        QCOMPARE(result, 1);
        QCOMPARE(bytes.size(), 22072);

        QByteArray expected = record("V X P 1 4", 30, "BLOBS", 5);
        for (const QString &key : env.store().keys(Blobs))
            expected += valueRecord(key.toLatin1(), env.store().read(Blobs, key).toLatin1());
        QCOMPARE(bytes, expected);
        QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 712 + 644), 3); // "11" + zero
        QVERIFY(env.reporter.messages.isEmpty());
    }

    void savesSingleByteTexts_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("a, \"b\"; c=d") << QByteArray("a, \"b\"; c=d");
        QTest::newRow("latin-1") << QStringLiteral("caf\u00e9") << QByteArray("caf\xe9");
        QTest::newRow("beyond latin-1") << QStringLiteral("\u20ac5") << QByteArray("\xe2\x82\xac" "5");
        // Latin-1 bytes C3 A9 would read back as UTF-8 "é".
        QTest::newRow("reads as utf-8") << QStringLiteral("\u00c3\u00a9") << QByteArray("\xc3\x83\xc2\xa9");
    }

    void savesSingleByteTexts()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, bytes);
        TestEnvironment env;
        env.store().write(Blobs, QStringLiteral("Text"), value);
        QCOMPARE(saveToBuffer(env, Blobs).mid(712), valueRecord("Text", bytes));
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks") << "Text" << "  two  blanks ";
        QTest::newRow("punctuation") << "Text" << "a,b \"q\" 'r'; x=y=z <b>";
        QTest::newRow("empty") << "Text" << "";
        QTest::newRow("latin-1") << "Text" << QStringLiteral("\u00e9t\u00e9 \u00fc\u00df");
        QTest::newRow("other scripts") << "Text" << QStringLiteral("\u20ac \u4e2d\u6587 \U0001F600");
        QTest::newRow("mojibake") << "Text" << QStringLiteral("\u00c3\u00a9 x");
        QTest::newRow("leading bom") << "Text" << QStringLiteral("\ufeffx");
        QTest::newRow("511 bytes") << "Text" << QString(511, QLatin1Char('x'));
        QTest::newRow("511 latin-1") << "Text" << QString(511, QChar(0xe9));
        QTest::newRow("510 utf-8") << "Text" << QString(170, QChar(0x20ac));
        QTest::newRow("key 127") << QString(127, QLatin1Char('k')) << "v";
        QTest::newRow("key odd") << QStringLiteral("Key w\u00eftH sp@ce=;#") << "v";
    }

    void roundTrips()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        TestEnvironment source;
        source.store().write(Blobs, key, value);
        source.store().write(Blobs, QStringLiteral("Other"), QStringLiteral("1"));
        const QString path = source.path(QStringLiteral("p.vxp"));
        ProjectFile saver(source.store(), source.reporter);
        QCOMPARE(saver.save(Blobs, path), 1);

        TestEnvironment target;
        ProjectFile opener(target.store(), target.reporter);
        QString current = Blobs;
        QCOMPARE(opener.open(path, &current, false), 1);
        QVERIFY(target.reporter.messages.isEmpty());
        target.reopenStore();
        QCOMPARE(target.store().read(Blobs, key), value);
        QCOMPARE(target.store().read(Blobs, QStringLiteral("Other")), QStringLiteral("1"));
    }

    void saveRefusesWhatDoesNotFit_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("512 bytes") << "Text" << QString(512, QLatin1Char('x'));
        QTest::newRow("513 utf-8 bytes") << "Text" << QString(171, QChar(0x20ac));
        QTest::newRow("key 128") << QString(128, QLatin1Char('k')) << "v";
        QTest::newRow("zero character") << "Text" << QStringLiteral("a\u0000b");
    }

    void saveRefusesWhatDoesNotFit()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        TestEnvironment env;
        env.store().write(Blobs, QStringLiteral("Before"), QStringLiteral("1"));
        QVERIFY(env.store().write(Blobs, key, value));
        int result = 1;
        QVERIFY(saveToBuffer(env, Blobs, &result).isEmpty()); // checked before writing
        QCOMPARE(result, 0);
        QVERIFY(env.reporter.messages.isEmpty());
    }

    void saveReportsWriteFailures()
    {
        TestEnvironment env;
        for (int i = 0; i < 5; ++i)
            env.store().write(Blobs, QStringLiteral("K%1").arg(i), QStringLiteral("v"));
        const QByteArray whole = saveToBuffer(env, Blobs);
        QCOMPARE(whole.size(), 6 * 712);
        ProjectFile project(env.store(), env.reporter);
        for (qint64 capacity : {0, 1, 711, 712, 713, 3000, 6 * 712 - 1}) {
            FailDevice device(capacity);
            device.open(QIODevice::WriteOnly);
            QCOMPARE(project.save(Blobs, device), 0);
        }
        FailDevice exact(whole.size());
        exact.open(QIODevice::WriteOnly);
        QCOMPARE(project.save(Blobs, exact), 1);
        QCOMPARE(exact.data(), whole);
        QBuffer closed;
        QCOMPARE(project.save(Blobs, closed), 0);
        QVERIFY(env.reporter.messages.isEmpty());
        project.reportSaveFailure();
        QCOMPARE(env.reporter.ids(), QList<int>{Str::ProjectSaveFailed});
        QCOMPARE(env.reporter.messages.first().icon, MessageIcon::Stop);
    }

    void saveToFileIsAtomic()
    {
        TestEnvironment env;
        QDir().mkpath(env.path(QStringLiteral("out")));
        const QString path = env.path(QStringLiteral("out/p.vxp"));
        ProjectFile project(env.store(), env.reporter);
        env.store().write(Blobs, QStringLiteral("NBlobs"), QStringLiteral("5"));
        QCOMPARE(project.save(Blobs, path), 1);
        const QByteArray earlier = TestEnvironment::readFile(path);
        QCOMPARE(earlier.size(), 2 * 712);

        env.store().write(Blobs, QStringLiteral("Text"), QString(600, QLatin1Char('x')));
        QCOMPARE(project.save(Blobs, path), 0);
        QCOMPARE(TestEnvironment::readFile(path), earlier);
        QCOMPARE(QDir(env.path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("p.vxp")});
        QCOMPARE(project.save(Blobs, env.path(QStringLiteral("missing/p.vxp"))), 0);
        QCOMPARE(project.save(QString(), path), 0); // never the Application section
        QCOMPARE(TestEnvironment::readFile(path), earlier);
        // Nor over a project the user made read-only.
        QFile::setPermissions(path, QFile::ReadOwner);
        env.store().write(Blobs, QStringLiteral("Text"), QStringLiteral("short"));
        QCOMPARE(project.save(Blobs, path), 0);
        QVERIFY(env.reporter.messages.last().text.endsWith(QStringLiteral("it is write-protected")));
        QCOMPARE(TestEnvironment::readFile(path), earlier);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

        // A section without values gives an empty file.
        QCOMPARE(project.save(Bump, path), 1);
        QCOMPARE(QFileInfo(path).size(), 0);
    }

    // Large projects are written and read a few dozen records at a time: every piece, the
    // partial last one included, comes out and goes in whole, and damage deep in a file
    // still refuses all of it.
    void largeProjectsGoInPieces()
    {
        constexpr int Values = 3 * ProjectFile::PieceRecords + 7;
        TestEnvironment source;
        SettingsStore::Values values;
        QByteArray expected = record("V X P 1 4", Values, "BLOBS", 5);
        for (int i = 0; i < Values; ++i) {
            const QString key = QStringLiteral("Key%1").arg(i, 4, 10, QLatin1Char('0')); // in stored order
            values.append({key, QStringLiteral("value %1").arg(i)});
            expected += valueRecord(key.toLatin1(), values.last().second.toLatin1());
        }
        source.store().write(Blobs, values);
        const QString path = source.path(QStringLiteral("large.vxp"));
        QCOMPARE(ProjectFile(source.store(), source.reporter).save(Blobs, path), 1);
        QCOMPARE(TestEnvironment::readFile(path), expected);
        QCOMPARE(saveToBuffer(source, Blobs), expected);

        QByteArray unterminated = expected;
        unterminated.replace(300 * 712, 128, QByteArray(128, 'k'));
        const QList<QByteArray> damaged{expected.chopped(10 * 712), expected + valueRecord("Extra", "1"),
                                        expected.chopped(1), unterminated};
        for (const QByteArray &bytes : damaged) {
            TestEnvironment target;
            const QString bad = target.path(QStringLiteral("bad.vxp"));
            TestEnvironment::writeFile(bad, bytes);
            QString current = Blobs;
            QCOMPARE(ProjectFile(target.store(), target.reporter).open(bad, &current, false), -1);
            QVERIFY(!target.store().sectionExists(Blobs));
        }
        TestEnvironment target;
        QString current = Blobs;
        QCOMPARE(ProjectFile(target.store(), target.reporter).open(path, &current, false), 1);
        target.reopenStore();
        for (const auto &[key, value] : std::as_const(values))
            QCOMPARE(target.store().read(Blobs, key), value);
    }

    void openBelongsToItsApplet()
    {
        TestEnvironment env;
        const QString path = env.path(QStringLiteral("blobs.vxp"));
        TestEnvironment::writeFile(path, blobsProject());
        env.store().write(Blobs, QStringLiteral("NBlobs"), QStringLiteral("3"));
        env.store().write(Blobs, QStringLiteral("Kept"), QStringLiteral("yes"));
        ProjectFile project(env.store(), env.reporter);

        QString current = Bump;
        QCOMPARE(project.open(path, &current, false), 0);
        QCOMPARE(env.reporter.ids(), QList<int>{Str::ProjectOpenWrongApplet});
        QCOMPARE(env.reporter.messages.first().icon, MessageIcon::Stop);
        QVERIFY(env.reporter.messages.first().text.endsWith("at the moment: this project is for the applet \"BLOBS\"."));
        QCOMPARE(current, Bump);
        QCOMPARE(env.store().read(Blobs, QStringLiteral("NBlobs")), QStringLiteral("3"));
        QVERIFY(!env.store().sectionExists(Bump));

        env.reporter.clear();
        QCOMPARE(project.open(path, &current, true), 1);
        QVERIFY(env.reporter.messages.isEmpty());
        QCOMPARE(current, Blobs);
        env.reopenStore();
        const QMap<QString, QString> expected{
            {"NBlobs", "7"}, {"Res", "2"}, {"Text", "a, b"}, {"Kept", "yes"}};
        QCOMPARE(section(env.store(), Blobs), expected);
    }

    // An applet never used before starts from its defaults, then takes the project's values:
    // a project of only some keys still gives a complete tag.
    void openCreatesNeverWrittenSection()
    {
        TestEnvironment env;
        const QString path = env.path(QStringLiteral("blobs.vxp"));
        TestEnvironment::writeFile(path, record("V X P 1 4", 1, "BLOBS", 5) + valueRecord("NBlobs", "7"));
        QVERIFY(!env.store().sectionExists(Blobs));
        ProjectFile project(env.store(), env.reporter);
        QString current = Blobs;
        QCOMPARE(project.open(path, &current, false), 1);
        env.reopenStore();
        const QMap<QString, QString> expected{{"NBlobs", "7"}, {"Res", "1"}};
        QCOMPARE(section(env.store(), Blobs), expected);
    }

    void openRefusesDamagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = blobsProject();
        QByteArray name = good, data = good, slash = good, emptyKey = good, count = good, noId = good;
        name.replace(3 * 712, 128, QByteArray(128, 'k'));
        data.replace(3 * 712 + 132, 512, QByteArray(512, 'x'));
        slash.replace(3 * 712, 5, "Te/t");
        emptyKey[3 * 712] = '\0';
        qToLittleEndian<qint32>(4, count.data() + 128);
        noId[132] = '\0';
        QTest::newRow("zero bytes") << QByteArray();
        QTest::newRow("one byte short") << good.chopped(1);
        QTest::newRow("one byte over") << good + 'x';
        QTest::newRow("magic only") << QByteArray("V X P 1 4");
        QTest::newRow("last record cut") << good.chopped(712);
        QTest::newRow("name unterminated") << name;
        QTest::newRow("data unterminated") << data;
        QTest::newRow("key with slash") << slash;
        QTest::newRow("empty key") << emptyKey;
        QTest::newRow("count disagrees") << count;
        QTest::newRow("empty applet id") << noId;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10);
    }

    void openRefusesDamagedFiles()
    {
        QFETCH(QByteArray, bytes);
        TestEnvironment env;
        const QString path = env.path(QStringLiteral("bad.vxp"));
        TestEnvironment::writeFile(path, bytes);
        env.store().write(Blobs, QStringLiteral("NBlobs"), QStringLiteral("3"));
        const QMap<QString, QString> before = section(env.store(), Blobs);
        ProjectFile project(env.store(), env.reporter);
        for (bool selectionPage : {false, true}) {
            env.reporter.clear();
            QString current = selectionPage ? QString() : Blobs;
            QCOMPARE(project.open(path, &current, selectionPage), -1);
            QCOMPARE(env.reporter.ids(), QList<int>{Str::ProjectOpenBadFormat});
            QCOMPARE(current, selectionPage ? QString() : Blobs);
            QCOMPARE(section(env.store(), Blobs), before);
        }
    }

    void openUnknownAppletOnSelectionPage()
    {
        TestEnvironment env;
        ProjectFile project(env.store(), env.reporter);
        const QString current = QStringLiteral("BUMP");
        for (const QByteArray &bytes :
             {record("V X P 1 4", 1, "NOPE", 4) + valueRecord("A", "1"), QByteArray("[NOPE]\r\nA=1\r\n"),
              record("V X P 1 4", 1, "BLOBS_DEF", 9) + valueRecord("A", "1")}) {
            QString id = current;
            QCOMPARE(project.openData(bytes, &id, true), 0);
            QCOMPARE(id, current);
        }
        QVERIFY(env.reporter.messages.isEmpty());
        QVERIFY(!env.store().sectionExists(QStringLiteral("NOPE")));
    }

    void openUnreadablePath()
    {
        TestEnvironment env;
        ProjectFile project(env.store(), env.reporter);
        QString current = Blobs;
        for (const QString &path : {env.path(QStringLiteral("none.vxp")), env.path(QString()),
                                    QStringLiteral("/dev/zero")}) {
            env.reporter.clear();
            QCOMPARE(project.open(path, &current, false), 0);
            QCOMPARE(env.reporter.ids(), QList<int>{Str::ProjectOpenWrongApplet});
        }
    }

    void importsOldFormat()
    {
        TestEnvironment env;
        env.store().write(Bump, QStringLiteral("Kept"), QStringLiteral("1"));
        const QByteArray bytes = "[BUMP]\r\nWidth=320\r\nText=a, \"b\"; c=d==\r\n  Blank = x \r\nEmpty=\r\n"
                                 "Caf=caf\xe9\r\n[OTHER]\r\nWidth=1\r\nnot a value line\r\n";
        ProjectFile project(env.store(), env.reporter);
        QString current = Bump;
        QCOMPARE(project.openData(bytes, &current, false), 1);
        QCOMPARE(env.reporter.ids(), QList<int>{Str::ProjectOldFormat});
        QCOMPARE(env.reporter.messages.first().icon, MessageIcon::Exclamation);
        env.reopenStore();
        const QMap<QString, QString> expected{{"Kept", "1"},    {"Width", "320"}, {"Text", "a, \"b\"; c=d=="},
                                              {"Blank", " x "}, {"Empty", ""},    {"Caf", "caf\u00e9"}};
        QCOMPARE(section(env.store(), Bump), expected);

        env.reporter.clear();
        ProjectFile reopened(env.store(), env.reporter);
        current = Blobs;
        QCOMPARE(reopened.openData(bytes, &current, false), 0);
        QCOMPARE(env.reporter.ids(), QList<int>{Str::ProjectOpenWrongApplet});
        current.clear();
        QCOMPARE(reopened.openData(bytes, &current, true), 1);
        QCOMPARE(current, Bump);
    }

    void oldFormatLimits_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("result");
        // Section list: "BUMP" + zero = 5, so a second name of 248 bytes fills 253.
        QTest::newRow("list fits") << "[BUMP]\nA=1\n[" + QByteArray(247, 's') + "]\n" << 1;
        QTest::newRow("list too long") << "[BUMP]\nA=1\n[" + QByteArray(248, 's') + "]\n" << -1;
        // Section: 80 lines of 407 bytes (with zeros) = 32560, plus one line.
        QByteArray lines = "[BUMP]\n";
        for (int i = 0; i < 80; ++i)
            lines += "K" + QByteArray::number(1000 + i) + "=" + QByteArray(400, 'v') + "\n";
        QTest::newRow("section fits") << lines + "K9999=" + QByteArray(197, 'v') << 1;
        QTest::newRow("section too long") << lines + "K9999=" + QByteArray(198, 'v') << -1;
        QTest::newRow("value 511") << "[BUMP]\nA=" + QByteArray(511, 'v') << 1;
        QTest::newRow("value 512") << "[BUMP]\nA=1\nB=" + QByteArray(512, 'v') << -1;
        QTest::newRow("key 128") << "[BUMP]\nA=1\n" + QByteArray(128, 'k') + "=1" << -1;
        QTest::newRow("line without =") << QByteArray("[BUMP]\nA=1\nB\n") << -1;
        QTest::newRow("key with slash") << QByteArray("[BUMP]\nA=1\nB/C=1\n") << -1;
        QTest::newRow("empty key") << QByteArray("[BUMP]\nA=1\n=1\n") << -1;
        QTest::newRow("zero in value") << QByteArray("[BUMP]\nA=1\nB=x\0y\n", 17) << -1;
        QTest::newRow("empty name") << QByteArray("[]\nA=1\n") << -1;
        QTest::newRow("no section") << QByteArray("A=1\n") << -1;
    }

    void oldFormatLimits()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, result);
        TestEnvironment env;
        ProjectFile project(env.store(), env.reporter);
        QString current = Bump;
        QCOMPARE(project.openData(bytes, &current, false), result);
        const int id = result == 1 ? Str::ProjectOldFormat : Str::ProjectOpenBadFormat;
        QCOMPARE(env.reporter.ids(), QList<int>{id});
        QCOMPARE(env.store().sectionExists(Bump), result == 1); // nothing half-imported
    }
};

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_projectfile.moc"
