#include "TestSupport.h"
#include "publish/VexaFont.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace vexa;

namespace {

QByteArray lines(const QList<QByteArray> &list, const QByteArray &end = "\n") { return list.join(end) + end; }

void verifyEmpty(const FontProperties &font)
{
    QVERIFY(!font.valid);
    QCOMPARE(font.width, 0);
    QCOMPARE(font.height, 0);
    QCOMPARE(font.verticalSpacing, 0);
    QVERIFY(font.characters.isEmpty());
    QVERIFY(font.comment.isEmpty());
}

const QByteArray Glyphs = " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ";

} // namespace

class TestVexaFont : public QObject {
    Q_OBJECT

private slots:
    void valid_data();
    void valid();
    void invalid_data();
    void invalid();
    void files();
    void largeFileReadsOnlyTheHead();
    void readError();
};

void TestVexaFont::valid_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<QString>("characters");
    QTest::addColumn<QString>("comment");

    const QString glyphs = QString::fromLatin1(Glyphs);
    QTest::newRow("seven lines") << lines({"VXF1", "16", "20", "2", Glyphs, "Chrome font", "by the team"}) << 16
                                 << 20 << 2 << glyphs << "Chrome font\r\nby the team";
    QTest::newRow("crlf") << lines({"VXF1", "16", "20", "2", Glyphs, "Chrome font", "by the team"}, "\r\n") << 16
                          << 20 << 2 << glyphs << "Chrome font\r\nby the team";
    QTest::newRow("no final line end") << lines({"VXF1", "8", "8", "1", "AB", "c1", "c2"}).chopped(1) << 8 << 8
                                       << 1 << "AB" << "c1\r\nc2";
    QTest::newRow("spacing 0") << lines({"id", "8", "9", "0", "AB"}) << 8 << 9 << 0 << "AB" << "\r\n";
    QTest::newRow("spacing not a number") << lines({"id", "8", "9", "none", "AB"}) << 8 << 9 << 0 << "AB"
                                          << "\r\n";
    QTest::newRow("negative spacing") << lines({"id", "8", "9", "-3", "AB"}) << 8 << 9 << -3 << "AB" << "\r\n";
    QTest::newRow("five lines") << lines({"id", "32", "32", "4", "ABC"}) << 32 << 32 << 4 << "ABC" << "\r\n";
    QTest::newRow("five lines no line end") << QByteArray("id\n32\n32\n4\nABC") << 32 << 32 << 4 << "ABC"
                                            << "\r\n";
    QTest::newRow("six lines") << lines({"id", "32", "32", "4", "ABC", "only"}) << 32 << 32 << 4 << "ABC"
                               << "only\r\n";
    QTest::newRow("empty comment lines") << lines({"id", "1", "1", "0", "A", "", ""}) << 1 << 1 << 0 << "A"
                                         << "\r\n";
    QTest::newRow("lines past seven ignored") << lines({"id", "4", "5", "6", "A", "c", "d", "e", "f"}) << 4 << 5
                                              << 6 << "A" << "c\r\nd";
    QTest::newRow("empty identification and characters") << lines({"", "4", "5", "6", ""}) << 4 << 5 << 6 << ""
                                                          << "\r\n";
    QTest::newRow("number with trailing text") << lines({"id", "12px", " 14", "+2", "A"}) << 12 << 14 << 2 << "A"
                                               << "\r\n";
    QTest::newRow("latin-1 characters") << lines({"id", "8", "8", "0", "A\xE9\xFC"}) << 8 << 8 << 0
                                        << QString::fromUtf8("A\xC3\xA9\xC3\xBC") << "\r\n";
    QTest::newRow("utf-8 comment") << lines({"id", "8", "8", "0", "A", "caf\xC3\xA9", "x"}) << 8 << 8 << 0 << "A"
                                   << QString::fromUtf8("caf\xC3\xA9\r\nx");
    QTest::newRow("blanks kept in characters") << lines({"id", "8", "8", "0", "  A B  "}) << 8 << 8 << 0
                                               << "  A B  " << "\r\n";
}

void TestVexaFont::valid()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, spacing);
    QFETCH(QString, characters);
    QFETCH(QString, comment);

    const FontProperties font = VexaFont::read(bytes);
    QVERIFY(font.valid);
    QCOMPARE(font.width, width);
    QCOMPARE(font.height, height);
    QCOMPARE(font.verticalSpacing, spacing);
    QCOMPARE(font.characters, characters);
    QCOMPARE(font.comment, comment);
}

void TestVexaFont::invalid_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one line") << QByteArray("id\n");
    QTest::newRow("four lines") << lines({"id", "8", "8", "0"});
    QTest::newRow("four lines and an empty end") << QByteArray("id\n8\n8\n0\n");
    QTest::newRow("width 0") << lines({"id", "0", "8", "0", "A"});
    QTest::newRow("height 0") << lines({"id", "8", "0", "0", "A"});
    QTest::newRow("width not a number") << lines({"id", "wide", "8", "0", "A"});
    QTest::newRow("width empty") << lines({"id", "", "8", "0", "A"});
    QTest::newRow("negative width") << lines({"id", "-8", "8", "0", "A"});
    QTest::newRow("negative height") << lines({"id", "8", "-1", "0", "A"});
    QTest::newRow("width overflows") << lines({"id", "99999999999", "8", "0", "A"});
    QTest::newRow("spacing overflows") << lines({"id", "8", "8", "4294967296", "A"});
    QTest::newRow("binary junk") << QByteArray("\x00\xFF\xFE\x01\x89PNG\r\n\x1A\n\x00\x00\x00\x0D", 16);
    QTest::newRow("junk lines") << QByteArray("\x7F\n\x00\x01\n\xFF\n\x00\n\x00\n", 11);
    QTest::newRow("over-long characters line")
        << lines({"id", "8", "8", "0", QByteArray(VexaFont::MaxLineLength + 1, 'A')});
    QTest::newRow("over-long comment line")
        << lines({"id", "8", "8", "0", "A", "c", QByteArray(VexaFont::MaxLineLength + 1, 'c')});
    QTest::newRow("over-long line without end") << QByteArray(VexaFont::MaxLineLength * 8, 'x');
}

void TestVexaFont::invalid()
{
    QFETCH(QByteArray, bytes);
    verifyEmpty(VexaFont::read(bytes));
}

void TestVexaFont::files()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chrome.vxf"));
    test::TestEnvironment::writeFile(path, lines({"VXF", "10", "12", "1", "ABC", "a", "b"}, "\r\n"));
    const FontProperties font = VexaFont::read(path);
    QVERIFY(font.valid);
    QCOMPARE(font.width, 10);
    QCOMPARE(font.comment, QStringLiteral("a\r\nb"));

    verifyEmpty(VexaFont::read(dir.filePath(QStringLiteral("missing.vxf"))));
    verifyEmpty(VexaFont::read(dir.path()));
    verifyEmpty(VexaFont::read(QString()));
    verifyEmpty(VexaFont::read(QStringLiteral("/dev/zero")));
}

void TestVexaFont::largeFileReadsOnlyTheHead()
{
    // Longest allowed lines are still read whole; what follows the seventh line is never read.
    const QByteArray longest(VexaFont::MaxLineLength, 'Z');
    const QByteArray head = lines({longest, "8", "8", "0", longest, longest, longest}, "\r\n");
    QBuffer device;
    device.setData(head + QByteArray(16 << 20, '\n'));
    QVERIFY(device.open(QIODevice::ReadOnly));
    const FontProperties font = VexaFont::read(device);
    QVERIFY(font.valid);
    QCOMPARE(font.characters.size(), VexaFont::MaxLineLength);
    QCOMPARE(font.comment.size(), 2 * VexaFont::MaxLineLength + 2);
    QVERIFY(device.pos() <= 7 * (VexaFont::MaxLineLength + 2));
}

void TestVexaFont::readError()
{
    class FailingReadDevice : public QBuffer {
    protected:
        qint64 readData(char *data, qint64 len) override
        {
            return pos() >= 6 ? -1 : QBuffer::readData(data, qMin<qint64>(len, 6 - pos()));
        }
    };
    FailingReadDevice device;
    device.setData(lines({"id", "8", "8", "0", "A", "c", "d"}));
    QVERIFY(device.open(QIODevice::ReadOnly));
    verifyEmpty(VexaFont::read(device));

    QBuffer closed;
    verifyEmpty(VexaFont::read(closed));
}

QTEST_GUILESS_MAIN(TestVexaFont)
#include "tst_vexafont.moc"
