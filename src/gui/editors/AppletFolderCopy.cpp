#include "AppletFolderCopy.h"

#include "Reporter.h"
#include "pages/Page.h"
#include "services/Services.h"
#include "settings/Folders.h"
#include "strings/StringIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace vexa {
namespace {

bool samePath(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (QDir::cleanPath(fa.absoluteFilePath())
            .compare(QDir::cleanPath(fb.absoluteFilePath()), Qt::CaseInsensitive) == 0)
        return true;
    // A link or a folder reached twice: copying the file onto itself could only lose it.
    const QString ca = fa.canonicalFilePath();
    return !ca.isEmpty() && ca == fb.canonicalFilePath();
}

// The system's reason when the copy fails, or "" when it succeeded.
QString copyContents(const QString &source, const QString &target)
{
    const QFileInfo info(source);
    // Only plain files: a pipe or a device would never end.
    if (info.exists() && !info.isFile()) return qt_error_string(info.isDir() ? EISDIR : EINVAL);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return in.errorString();
    // Written beside the target and renamed over it: a failed copy keeps the old file.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return out.errorString();
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(chunk.data(), chunk.size());
        if (n < 0) return in.errorString();
        if (n == 0) break;
        if (out.write(chunk.constData(), n) != n) return out.errorString();
    }
    if (!out.commit()) return out.errorString();
    return QString();
}

} // namespace

QString AppletFolderCopy::bareName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString AppletFolderCopy::pathInAppletFolder(Page &page, const QString &name)
{
    return page.context().folders.appletFolder(page.appletId()) + QLatin1Char('/') + name;
}

bool AppletFolderCopy::copy(const QString &source, const QString &folder, Reporter &reporter)
{
    const QString name = bareName(source);
    const QString target = folder + QLatin1Char('/') + name;
    QString reason;
    if (name.isEmpty())
        reason = qt_error_string(EINVAL);
    else if (samePath(source, target))
        return true;
    else
        reason = copyContents(source, target);
    if (reason.isEmpty()) return true;
    reportFailure(source, reason, reporter);
    return false;
}

void AppletFolderCopy::reportFailure(const QString &source, const QString &reason, Reporter &reporter)
{
    Message failed = message(Str::FileCopyFailed, MessageIcon::Stop);
    failed.text = failed.text.arg(QDir::toNativeSeparators(source), reason);
    reporter.report(failed);
    reporter.report(message(Str::CopyIntoAppletFolderFailed, MessageIcon::Stop));
}

bool AppletFolderCopy::intoAppletFolder(Page &page, const QString &source)
{
    PageContext &context = page.context();
    return copy(source, context.folders.appletFolder(page.appletId()), context.services);
}

} // namespace vexa
