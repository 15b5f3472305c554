#include "FileCopy.h"

#include "strings/StringIds.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSaveFile>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <cerrno>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vexa {
namespace {

QString reasonOf(int error) { return qt_error_string(error); }

#ifdef Q_OS_UNIX

// The process's file-creation mask, read once: reading it means setting it for a moment,
// which copies running side by side must not do.
mode_t creationMask()
{
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    return mask;
}

// The files written beside their targets: ".<target>.vxtmp-<process>-XXXXXX".
const QRegularExpression &temporaryName()
{
    static const QRegularExpression name(QStringLiteral("^\\..+\\.vxtmp-(\\d+)-[A-Za-z0-9]{6}$"));
    return name;
}

// Removes what writers interrupted in `folder` left: files of ours older than a minute whose
// process has ended. A folder is looked at once a minute at most, so a publish of many files
// reads its folder once.
void removeStaleTemporaries(const QString &folder)
{
    static QMutex lock;
    static QHash<QString, QDateTime> looked;
    const QDateTime minuteAgo = QDateTime::currentDateTimeUtc().addSecs(-60);
    {
        const QMutexLocker locked(&lock);
        QDateTime &last = looked[folder];
        if (last.isValid() && last > minuteAgo)
            return;
        last = QDateTime::currentDateTimeUtc();
    }
    const QDir dir(folder);
    for (const QFileInfo &file : dir.entryInfoList({QStringLiteral(".*.vxtmp-*")}, QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = temporaryName().match(file.fileName());
        const pid_t writer = pid_t(match.captured(1).toLongLong());
        const bool writerGone = writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH;
        if (match.hasMatch() && writerGone && file.lastModified().toUTC() < minuteAgo)
            QFile::remove(file.filePath());
    }
}

// Writes what `fill` puts into a new file beside `target`, then renames it into place.
FileError replace(const QString &target, FileCopy::Durability durability,
                  const std::function<int(int out)> &fill)
{
    const QString refused = FileCopy::refusedTarget(target);
    if (!refused.isEmpty())
        return {target, refused};
    const QFileInfo info(target);
    removeStaleTemporaries(info.absolutePath());
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                             QStringLiteral(".vxtmp-%1-XXXXXX").arg(::getpid()));
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0)
        return {target, reasonOf(errno)};
    auto fail = [&](int error) {
        ::close(out);
        ::unlink(temporary.constData());
        return FileError{target, reasonOf(error)};
    };
    // A new file gets the usual permissions; one that replaces another keeps that one's.
    struct stat old {};
    mode_t mode = 0666 & ~creationMask();
    if (::stat(QFile::encodeName(target).constData(), &old) == 0)
        mode = old.st_mode & 07777;
    if (::fchmod(out, mode) != 0)
        return fail(errno);
    if (const int error = fill(out))
        return fail(error);
    if (durability == FileCopy::Durability::Durable && ::fsync(out) != 0)
        return fail(errno);
    if (::close(out) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return {target, reasonOf(error)};
    }
    if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return {target, reasonOf(error)};
    }
    return {};
}

int writeAll(int out, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(out, data, size_t(qMin<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= n;
    }
    return 0;
}

// The kernel copies; where it cannot between these two files, a plain read and write does.
int copyData(int in, int out, bool *readFailed)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n > 0)
            continue;
        if (n == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
            break;
        // Which side failed is not told; a write error is by far the likely one.
        return errno;
    }
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(in, chunk.data(), size_t(chunk.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *readFailed = true;
            return errno;
        }
        if (n == 0)
            return 0;
        if (const int error = writeAll(out, chunk.constData(), n))
            return error;
    }
}

#endif

} // namespace

bool FileCopy::samePath(const QString &a, const QString &b)
{
    if (QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath()))
        return true; // one name, whether the file exists or not
#ifdef Q_OS_UNIX
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#else
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#endif
}

QString FileCopy::refusedTarget(const QString &target)
{
    const QFileInfo info(target); // links followed
    if (info.exists() && !info.isFile())
        return info.isDir() ? reasonOf(EISDIR) : QStringLiteral("it is not a regular file");
    // A file the user made read-only is kept as it is, by whoever runs the program: the new
    // file would be renamed over it, which its folder allows.
    constexpr auto Writable = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & Writable)))
        return QStringLiteral("it is write-protected");
    return QString();
}

FileError FileCopy::copy(const QString &source, const QString &target, Durability durability)
{
    bool upToDate = false;
    return copyUnlessCurrent(source, target, durability, false, &upToDate);
}

FileError FileCopy::update(const QString &source, const QString &target, bool *upToDate)
{
    return copyUnlessCurrent(source, target, Durability::Replaceable, true, upToDate);
}

QList<FileCopy::Update> FileCopy::updateAll(const QList<QPair<QString, QString>> &copies)
{
    QList<Update> results(copies.size());
    Update *result = results.data(); // each thread writes only the results of its own files
    auto updateOne = [&](qsizetype i) {
        result[i].error = update(copies.at(i).first, copies.at(i).second, &result[i].upToDate);
    };
    const int threads = qMin<qsizetype>(QThread::idealThreadCount(), copies.size());
    if (threads <= 1) {
        for (qsizetype i = 0; i < copies.size(); ++i)
            updateOne(i);
        return results;
    }
#ifdef Q_OS_UNIX
    creationMask(); // read here, before the copies start
#endif
    // Each thread takes the next file not yet taken, so a large file holds up only one.
    std::atomic<qsizetype> next{0};
    QThreadPool pool;
    pool.setMaxThreadCount(threads);
    for (int t = 0; t < threads; ++t)
        pool.start([&] {
            for (qsizetype i = next++; i < copies.size(); i = next++)
                updateOne(i);
        });
    pool.waitForDone();
    return results;
}

FileError FileCopy::copyUnlessCurrent(const QString &source, const QString &target, Durability durability,
                                      bool skipCurrent, bool *upToDate)
{
    *upToDate = false;
    const QFileInfo info(source);
    if (info.exists() && !info.isFile())
        return {source, info.isDir() ? reasonOf(EISDIR) : QStringLiteral("it is not a regular file")};
#ifdef Q_OS_UNIX
    const int in = ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return {source, reasonOf(errno)};
    struct stat from {};
    if (::fstat(in, &from) != 0) {
        const int error = errno;
        ::close(in);
        return {source, reasonOf(error)};
    }
    // The target itself (no link followed) must be a plain file to count as current.
    struct stat to {};
    if (skipCurrent && ::lstat(QFile::encodeName(target).constData(), &to) == 0 && S_ISREG(to.st_mode) &&
        to.st_size == from.st_size && to.st_mtim.tv_sec == from.st_mtim.tv_sec &&
        to.st_mtim.tv_nsec == from.st_mtim.tv_nsec) {
        ::close(in);
        *upToDate = true;
        return {};
    }
    bool readFailed = false;
    FileError result = replace(target, durability, [&](int out) {
        if (const int error = copyData(in, out, &readFailed))
            return error;
        const struct timespec times[2] = {{0, UTIME_OMIT}, from.st_mtim};
        return ::futimens(out, times) == 0 ? 0 : errno;
    });
    ::close(in);
    if (readFailed)
        result.path = source;
    return result;
#else
    Q_UNUSED(durability);
    const QString refused = refusedTarget(target);
    if (!refused.isEmpty())
        return {target, refused};
    const QFileInfo current(target);
    if (skipCurrent && current.isFile() && !current.isSymLink() && current.size() == info.size() &&
        current.lastModified() == info.lastModified()) {
        *upToDate = true;
        return {};
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return {source, in.errorString()};
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return {target, out.errorString()};
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(chunk.data(), chunk.size());
        if (n < 0)
            return {source, in.errorString()};
        if (n == 0)
            break;
        if (out.write(chunk.constData(), n) != n)
            return {target, out.errorString()};
    }
    if (!out.commit())
        return {target, out.errorString()};
    QFile copied(target);
    if (copied.open(QIODevice::ReadWrite))
        copied.setFileTime(info.lastModified(), QFileDevice::FileModificationTime);
    return {};
#endif
}

Message FileCopy::describe(const FileError &error, const QString &source)
{
    const bool reading = !source.isEmpty() && error.path == source;
    Message shown = message(reading ? Str::FileCopyFailed : Str::FileWriteFailed, MessageIcon::Stop);
    shown.text = shown.text.arg(QDir::toNativeSeparators(error.path), error.reason);
    return shown;
}

FileError FileCopy::write(const QString &target, const QByteArray &bytes, Durability durability)
{
    bool handedOut = false;
    return write(
        target,
        [&] {
            const QByteArrayView piece = handedOut ? QByteArrayView() : QByteArrayView(bytes);
            handedOut = true;
            return piece;
        },
        durability);
}

FileError FileCopy::write(const QString &target, const Pieces &next, Durability durability)
{
#ifdef Q_OS_UNIX
    return replace(target, durability, [&](int out) {
        for (QByteArrayView piece = next(); !piece.isEmpty(); piece = next())
            if (const int error = writeAll(out, piece.data(), piece.size()))
                return error;
        return 0;
    });
#else
    Q_UNUSED(durability);
    const QString refused = refusedTarget(target);
    if (!refused.isEmpty())
        return {target, refused};
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return {target, out.errorString()};
    for (QByteArrayView piece = next(); !piece.isEmpty(); piece = next())
        if (out.write(piece.data(), piece.size()) != piece.size())
            return {target, out.errorString()};
    if (!out.commit())
        return {target, out.errorString()};
    return {};
#endif
}

} // namespace vexa
