#include "ImageSize.h"

#include "Reporter.h"
#include "strings/StringIds.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>

namespace vexa {

namespace {

// Developer diagnostics of the JPEG walk; the wizard's user never sees them.
const char CantOpenText[] = "can't open %1";
const char NotJpegText[] = "Not a JPEG file";
const char ExpectedSoiText[] = "Expected SOI marker first";
const char PrematureEofText[] = "Premature EOF in JPEG file";
const char GarbageText[] = "Warning: garbage data found in JPEG file";

const char GifSignature[] = "GIF";
const char *const GifVersions[] = {"87a", "89a"};
// Signature and version, then the logical screen width and height (16-bit little-endian).
constexpr int GifHeaderSize = 6;
constexpr int GifSizeEnd = 10;

constexpr int JpegMarker = 0xFF;
constexpr int JpegSoi = 0xD8;
constexpr int FirstFrameCode = 192;
constexpr int LastFrameCode = 207;
// Codes inside the frame range that are not frame headers: Huffman tables,
// the reserved JPG extension and arithmetic conditioning.
constexpr int NonFrameCodes[] = {196, 200, 204};

// Large enough that a header near the start costs one read, small enough that
// the cost never depends on the size of the file.
constexpr qint64 ChunkSize = 16 * 1024;

bool isFrameCode(int code)
{
    if (code < FirstFrameCode || code > LastFrameCode)
        return false;
    for (int other : NonFrameCodes) {
        if (code == other)
            return false;
    }
    return true;
}

void diagnose(QStringList *diagnostics, const QString &line)
{
    if (diagnostics) {
        diagnostics->append(line);
        return;
    }
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

// Reads a device through a buffer of its own, so single bytes are cheap and long
// segments are sought over instead of read.
class ByteSource {
public:
    explicit ByteSource(QIODevice &device) : m_device(device) {}

    // The next byte, or -1 at the end or after a read error.
    int next()
    {
        if (m_pos >= m_buffer.size() && !fill(1))
            return -1;
        return quint8(m_buffer.at(m_pos++));
    }

    // Up to `count` bytes from the current position, not consumed.
    QByteArray peek(qsizetype count)
    {
        fill(count);
        return m_buffer.mid(m_pos, count);
    }

    // False when the end (or an error) came before `count` bytes were passed.
    bool skip(qint64 count)
    {
        const qint64 buffered = qMin<qint64>(count, m_buffer.size() - m_pos);
        m_pos += buffered;
        count -= buffered;
        if (count == 0)
            return true;
        m_buffer.clear();
        m_pos = 0;
        if (m_failed || m_atEnd)
            return false;
        const qint64 skipped = m_device.skip(count);
        if (skipped < 0)
            m_failed = true;
        return skipped == count;
    }

    bool failed() const { return m_failed; }

private:
    // Makes at least `wanted` unread bytes available if the device still has them.
    bool fill(qsizetype wanted)
    {
        if (m_pos > 0) {
            m_buffer.remove(0, m_pos);
            m_pos = 0;
        }
        while (m_buffer.size() < wanted && !m_atEnd && !m_failed) {
            const qsizetype old = m_buffer.size();
            m_buffer.resize(old + ChunkSize);
            const qint64 got = m_device.read(m_buffer.data() + old, ChunkSize);
            m_buffer.resize(old + qMax<qint64>(got, 0));
            if (got < 0)
                m_failed = true;
            else if (got == 0)
                m_atEnd = true;
        }
        return m_buffer.size() >= wanted;
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
    bool m_failed = false;
};

// The marker walk. Past the end a byte reads as 1 and a cut 16-bit value as 1,
// so a truncated frame header still yields a size; the marker search alone ends
// the walk at the end, which keeps every loop bounded by the bytes left.
class JpegWalk {
public:
    JpegWalk(ByteSource &source, QStringList *diagnostics) : m_source(source), m_diagnostics(diagnostics) {}

    // The walk gave up in bytes that are no segment: not a picture it can measure.
    bool gaveUp() const { return m_garbage > MaxGarbage; }

    bool run(int *width, int *height)
    {
        const int first = m_source.next();
        const int second = m_source.next();
        if (first != JpegMarker || second != JpegSoi) {
            diagnose(m_diagnostics, QString::fromLatin1(NotJpegText));
            diagnose(m_diagnostics, QString::fromLatin1(ExpectedSoiText));
            return false;
        }
        for (;;) {
            const int code = nextMarker();
            if (code < 0)
                return false;
            if (isFrameCode(code)) {
                read16(); // segment length
                readByte(); // sample precision
                *height = read16();
                *width = read16();
                return true;
            }
            const int length = read16();
            if (length >= 2 && !m_source.skip(length - 2)) {
                // One line for the whole cut segment; the search that follows would only meet the end.
                prematureEnd();
                return false;
            }
        }
    }

private:
    int readByte()
    {
        const int c = m_source.next();
        if (c >= 0)
            return c;
        prematureEnd();
        return 1;
    }

    int read16()
    {
        const int high = m_source.next();
        const int low = high < 0 ? -1 : m_source.next();
        if (low >= 0)
            return (high << 8) | low;
        prematureEnd();
        return 1;
    }

    // The code after the next 255 and its fill bytes; -1 at the end, or after more
    // bytes that belong to no segment than any real picture holds.
    int nextMarker()
    {
        bool garbage = false;
        int c = m_source.next();
        while (c != JpegMarker) {
            if (c < 0) {
                prematureEnd();
                return -1;
            }
            garbage = true;
            if (++m_garbage > MaxGarbage)
                return -1;
            c = m_source.next();
        }
        do {
            c = m_source.next();
        } while (c == JpegMarker);
        if (c < 0) {
            prematureEnd();
            return -1;
        }
        if (garbage)
            diagnose(m_diagnostics, QString::fromLatin1(GarbageText));
        return c;
    }

    void prematureEnd() { diagnose(m_diagnostics, QString::fromLatin1(PrematureEofText)); }

    static constexpr qint64 MaxGarbage = 4 * 1024 * 1024;

    ByteSource &m_source;
    QStringList *m_diagnostics;
    qint64 m_garbage = 0;
};

bool readGifSize(const QByteArray &head, int *width, int *height)
{
    if (head.size() < GifHeaderSize || !head.startsWith(GifSignature))
        return false;
    bool knownVersion = false;
    for (const char *version : GifVersions)
        knownVersion = knownVersion || head.mid(3, 3) == version;
    // A header that ends before the screen size gives no size at all.
    if (!knownVersion || head.size() < GifSizeEnd)
        return false;
    const auto byte = [&head](int i) { return int(quint8(head.at(i))); };
    *width = byte(6) | (byte(7) << 8);
    *height = byte(8) | (byte(9) << 8);
    return true;
}

ImageInfo readFailed(Reporter &reporter)
{
    reporter.report(message(Str::ErrorReadingImageSize, MessageIcon::Exclamation));
    return ImageInfo();
}

ImageInfo cannotOpen(const QString &name, Reporter &reporter, QStringList *diagnostics)
{
    diagnose(diagnostics, QString::fromLatin1(CantOpenText).arg(name));
    return readFailed(reporter);
}

} // namespace

ImageInfo ImageSize::read(const QString &path, Reporter &reporter, QStringList *diagnostics)
{
    QFile file;
#ifdef Q_OS_UNIX
    // One status call: opened without waiting (a pipe would block), then asked what it is.
    // A device or pipe may never end: only plain files are read.
    const int fd = path.isEmpty() ? -1 : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return cannotOpen(path, reporter, diagnostics);
    }
    // Unbuffered: the reader buffers itself and seeks over segments.
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return cannotOpen(path, reporter, diagnostics);
    }
#else
    file.setFileName(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return cannotOpen(path, reporter, diagnostics);
#endif
    return read(file, reporter, diagnostics);
}

ImageInfo ImageSize::read(QIODevice &device, Reporter &reporter, QStringList *diagnostics)
{
    if (!device.isReadable()) {
        const auto *file = qobject_cast<QFileDevice *>(&device);
        return cannotOpen(file ? file->fileName() : QString(), reporter, diagnostics);
    }

    ByteSource source(device);
    ImageInfo info;
    if (readGifSize(source.peek(GifSizeEnd), &info.width, &info.height)) {
        info.extension = QStringLiteral(".gif");
        info.found = true;
    } else if (!source.failed()) {
        JpegWalk walk(source, diagnostics);
        info.found = walk.run(&info.width, &info.height);
        if (info.found)
            info.extension = QStringLiteral(".jpg");
        else if (walk.gaveUp())
            return readFailed(reporter);
    }

    if (source.failed())
        return readFailed(reporter);
    if (!info.found) {
        reporter.report(message(Str::WrongImageFormat, MessageIcon::Exclamation));
        return ImageInfo();
    }
    return info;
}

ImageInfo ImageSize::read(const QByteArray &bytes, Reporter &reporter, QStringList *diagnostics)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer, reporter, diagnostics);
}

} // namespace vexa
