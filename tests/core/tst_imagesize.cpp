#include "TestSupport.h"
#include "publish/ImageSize.h"
#include "strings/StringIds.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace vexa;

namespace {

const QString NotJpeg = QStringLiteral("Not a JPEG file");
const QString ExpectedSoi = QStringLiteral("Expected SOI marker first");
const QString Premature = QStringLiteral("Premature EOF in JPEG file");
const QString Garbage = QStringLiteral("Warning: garbage data found in JPEG file");

QByteArray be16(int value) { return QByteArray(1, char(value >> 8)) + char(value & 0xFF); }
QByteArray le16(int value) { return QByteArray(1, char(value & 0xFF)) + char(value >> 8); }
QByteArray marker(int code) { return QByteArray(1, '\xFF') + char(code); }
QByteArray soi() { return marker(0xD8); }
// A segment whose length field counts itself and `payload` bytes.
QByteArray segment(int code, int payload) { return marker(code) + be16(payload + 2) + QByteArray(payload, 'x'); }
QByteArray frame(int code, int width, int height)
{
    return marker(code) + be16(17) + char(8) + be16(height) + be16(width) + QByteArray(12, '\1');
}
QByteArray gif(const char *version, int width, int height)
{
    return QByteArray("GIF") + version + le16(width) + le16(height) + QByteArray(3, '\0');
}

// Fails every read once `good` bytes have been delivered.
class FailingReadDevice : public QBuffer {
public:
    FailingReadDevice(const QByteArray &bytes, qint64 good) : m_good(good)
    {
        setData(bytes);
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 len) override
    {
        const qint64 room = m_good - pos();
        if (room <= 0)
            return -1;
        return QBuffer::readData(data, qMin(len, room));
    }

private:
    qint64 m_good;
};

} // namespace

class TestImageSize : public QObject {
    Q_OBJECT

private slots:
    void crafted_data();
    void crafted();
    void realFiles_data();
    void realFiles();
    void unreadable();
    void readErrorMidway();
    void readsOnlyTheHeader();
};

void TestImageSize::crafted_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("extension"); // empty: not found, message 1689
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("diagnostics");

    const QStringList none;
    const QStringList notJpeg{NotJpeg, ExpectedSoi};

    QTest::newRow("gif89a") << gif("89a", 100, 50) << ".gif" << 100 << 50 << none;
    QTest::newRow("gif87a large") << gif("87a", 0x1234, 0xFFFF) << ".gif" << 0x1234 << 0xFFFF << none;
    QTest::newRow("gif exactly 10 bytes") << gif("89a", 3, 4).left(10) << ".gif" << 3 << 4 << none;
    QTest::newRow("gif88a refused") << gif("88a", 100, 50) << "" << 0 << 0 << notJpeg;
    QTest::newRow("gif cut in size") << gif("89a", 100, 50).left(9) << "" << 0 << 0 << notJpeg;
    QTest::newRow("gif signature only") << QByteArray("GIF89") << "" << 0 << 0 << notJpeg;
    QTest::newRow("empty") << QByteArray() << "" << 0 << 0 << notJpeg;
    QTest::newRow("text") << QByteArray("hello world") << "" << 0 << 0 << notJpeg;
    QTest::newRow("soi reversed") << QByteArray("\xD8\xFF\xFF\xC0", 4) << "" << 0 << 0 << notJpeg;

    QTest::newRow("baseline") << soi() + frame(0xC0, 64, 48) << ".jpg" << 64 << 48 << none;
    QTest::newRow("progressive") << soi() + frame(0xC2, 33, 17) << ".jpg" << 33 << 17 << none;
    QTest::newRow("last frame code 207") << soi() + frame(0xCF, 5, 6) << ".jpg" << 5 << 6 << none;
    QTest::newRow("app0 and dqt first")
        << soi() + segment(0xE0, 14) + segment(0xDB, 65) + segment(0xDB, 65) + frame(0xC0, 640, 480) << ".jpg"
        << 640 << 480 << none;
    // 196, 200 and 204 lie in the frame range but carry tables; their lengths must be used.
    QTest::newRow("dht before frame") << soi() + segment(0xC4, 28) + frame(0xC1, 7, 9) << ".jpg" << 7 << 9 << none;
    QTest::newRow("jpg and dac before frame")
        << soi() + segment(0xC8, 3) + segment(0xCC, 4) + frame(0xC3, 11, 12) << ".jpg" << 11 << 12 << none;
    QTest::newRow("dht payload looks like a frame")
        << soi() + marker(0xC4) + be16(9) + frame(0xC0, 1, 1).left(7) + frame(0xC0, 8, 8) << ".jpg" << 8 << 8
        << none;
    QTest::newRow("fill bytes") << soi() + QByteArray(5, '\xFF') + frame(0xC0, 2, 3) << ".jpg" << 2 << 3 << none;
    QTest::newRow("garbage before marker")
        << soi() + segment(0xE0, 4) + QByteArray("junk") + frame(0xC0, 20, 10) << ".jpg" << 20 << 10
        << QStringList{Garbage};
    QTest::newRow("garbage across many bytes")
        << soi() + QByteArray(40000, '\x01') + frame(0xC0, 21, 22) << ".jpg" << 21 << 22 << QStringList{Garbage};
    QTest::newRow("segment longer than a read chunk")
        << soi() + segment(0xE1, 60000) + frame(0xC0, 30, 40) << ".jpg" << 30 << 40 << none;
    QTest::newRow("segment length 0") << soi() + marker(0xE0) + be16(0) + frame(0xC0, 4, 5) << ".jpg" << 4 << 5
                                      << none;
    QTest::newRow("segment length 1") << soi() + marker(0xE0) + be16(1) + frame(0xC0, 4, 5) << ".jpg" << 4 << 5
                                      << none;

    // The end of the file: a cut value reads as 1, a missing marker fails.
    QTest::newRow("frame cut after code")
        << soi() + marker(0xC0) << ".jpg" << 1 << 1 << QStringList{Premature, Premature, Premature, Premature};
    QTest::newRow("frame cut in length")
        << soi() + marker(0xC0) + char(0) << ".jpg" << 1 << 1
        << QStringList{Premature, Premature, Premature, Premature};
    QTest::newRow("frame cut in height") << soi() + frame(0xC0, 300, 200).left(6) << ".jpg" << 1 << 1
                                         << QStringList{Premature, Premature};
    QTest::newRow("frame cut in width") << soi() + frame(0xC0, 300, 200).left(8) << ".jpg" << 1 << 200
                                        << QStringList{Premature};
    QTest::newRow("soi only") << soi() << "" << 0 << 0 << QStringList{Premature};
    QTest::newRow("no frame") << soi() + segment(0xE0, 14) + segment(0xDB, 65) << "" << 0 << 0
                              << QStringList{Premature};
    QTest::newRow("garbage to the end") << soi() + QByteArray(100, 'a') << "" << 0 << 0 << QStringList{Premature};
    QTest::newRow("fill bytes to the end") << soi() + QByteArray(9, '\xFF') << "" << 0 << 0
                                           << QStringList{Premature};
    QTest::newRow("huge segment past the end")
        << soi() + marker(0xE0) + be16(0xFFFF) + QByteArray(10, '\0') << "" << 0 << 0 << QStringList{Premature};
    QTest::newRow("segment length cut") << soi() + marker(0xE0) + char(0x10) << "" << 0 << 0
                                        << QStringList{Premature, Premature};
}

void TestImageSize::crafted()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, extension);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QStringList, diagnostics);

    RecordingReporter reporter;
    QStringList said;
    const ImageInfo info = ImageSize::read(bytes, reporter, &said);
    QCOMPARE(info.found, !extension.isEmpty());
    QCOMPARE(info.extension, extension);
    QCOMPARE(info.width, width);
    QCOMPARE(info.height, height);
    QCOMPARE(said, diagnostics);
    if (extension.isEmpty()) {
        QCOMPARE(reporter.ids(), QList<int>{Str::WrongImageFormat});
        QCOMPARE(reporter.messages.first().text, QStringLiteral("Error ! Wrong image file format"));
        QCOMPARE(reporter.messages.first().icon, MessageIcon::Exclamation);
    } else {
        QVERIFY(reporter.messages.isEmpty());
    }
}

void TestImageSize::realFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("gif 89a") << "gif89.gif" << ".gif" << 100 << 50;
    QTest::newRow("gif 87a") << "gif87.gif" << ".gif" << 7 << 300;
    QTest::newRow("baseline jpeg") << "baseline.jpg" << ".jpg" << 40 << 30;
    QTest::newRow("progressive jpeg") << "progressive.jpg" << ".jpg" << 33 << 17;
}

void TestImageSize::realFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, extension);
    QFETCH(int, width);
    QFETCH(int, height);

    RecordingReporter reporter;
    QStringList said;
    const ImageInfo info = ImageSize::read(test::testData(QStringLiteral("images/") + file), reporter, &said);
    QVERIFY(info.found);
    QCOMPARE(info.extension, extension);
    QCOMPARE(info.width, width);
    QCOMPARE(info.height, height);
    QVERIFY(said.isEmpty());
    QVERIFY(reporter.messages.isEmpty());
}

void TestImageSize::unreadable()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.jpg"));
    // /dev/zero never ends; it must be refused, not searched for a marker.
    for (const QString &path : {missing, dir.path(), QString(), QStringLiteral("/dev/zero")}) {
        RecordingReporter reporter;
        QStringList said;
        const ImageInfo info = ImageSize::read(path, reporter, &said);
        QVERIFY(!info.found);
        QVERIFY(info.extension.isEmpty());
        QCOMPARE(reporter.ids(), QList<int>{Str::ErrorReadingImageSize});
        QCOMPARE(reporter.messages.first().text, QStringLiteral("Error reading image file size"));
        QCOMPARE(reporter.messages.first().icon, MessageIcon::Exclamation);
        QCOMPARE(said, QStringList{QStringLiteral("can't open ") + path});
    }

    QBuffer closed;
    RecordingReporter reporter;
    QStringList said;
    QVERIFY(!ImageSize::read(closed, reporter, &said).found);
    QCOMPARE(reporter.ids(), QList<int>{Str::ErrorReadingImageSize});
}

void TestImageSize::readErrorMidway()
{
    // A read error is not the end of the file: it must not turn into a size of 1 or message 1689.
    const QByteArray jpeg = soi() + segment(0xE0, 14) + frame(0xC0, 64, 48);
    for (qint64 good : {0, 1, 2, 6, 20, 25}) {
        FailingReadDevice device(jpeg, good);
        RecordingReporter reporter;
        QStringList said;
        const ImageInfo info = ImageSize::read(device, reporter, &said);
        QVERIFY2(!info.found, qPrintable(QString::number(good)));
        QCOMPARE(reporter.ids(), QList<int>{Str::ErrorReadingImageSize});
    }
}

void TestImageSize::readsOnlyTheHeader()
{
    // A large picture costs the same as a small one: the reader stops at the frame header.
    const QByteArray big = soi() + segment(0xE0, 14) + frame(0xC0, 1024, 768) + QByteArray(4 << 20, '\0');
    QBuffer device;
    device.setData(big);
    QVERIFY(device.open(QIODevice::ReadOnly));
    RecordingReporter reporter;
    const ImageInfo info = ImageSize::read(device, reporter);
    QVERIFY(info.found);
    QCOMPARE(info.width, 1024);
    QVERIFY(device.pos() <= 64 * 1024);

    // Long segments are passed over, not read.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("skip.jpg"));
    test::TestEnvironment::writeFile(path, soi() + segment(0xE1, 65533) + segment(0xE2, 65533) +
                                               segment(0xE3, 65533) + frame(0xC2, 9, 10));
    const ImageInfo skipped = ImageSize::read(path, reporter);
    QCOMPARE(skipped.extension, QStringLiteral(".jpg"));
    QCOMPARE(skipped.width, 9);
    QCOMPARE(skipped.height, 10);
    QVERIFY(reporter.messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestImageSize)
#include "tst_imagesize.moc"
