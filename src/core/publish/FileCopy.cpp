#include "FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace vexa {

bool FileCopy::samePath(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (QDir::cleanPath(fa.absoluteFilePath()).compare(QDir::cleanPath(fb.absoluteFilePath()), Qt::CaseInsensitive) ==
        0)
        return true;
    const QString ca = fa.canonicalFilePath();
    return !ca.isEmpty() && ca == fb.canonicalFilePath();
}

QString FileCopy::copy(const QString &source, const QString &target)
{
    const QFileInfo info(source);
    if (info.exists() && !info.isFile())
        return qt_error_string(info.isDir() ? EISDIR : EINVAL);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return in.errorString();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return out.errorString();
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(chunk.data(), chunk.size());
        if (n < 0)
            return in.errorString();
        if (n == 0)
            break;
        if (out.write(chunk.constData(), n) != n)
            return out.errorString();
    }
    return out.commit() ? QString() : out.errorString();
}

} // namespace vexa
