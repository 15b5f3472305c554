#include "AppletFolderCopy.h"

#include "Reporter.h"
#include "controls/ControlPage.h"
#include "io/FileCopy.h"
#include "services/Services.h"
#include "settings/Folders.h"
#include "strings/StringIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace vexa {
QString AppletFolderCopy::bareName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString AppletFolderCopy::pathInAppletFolder(ControlPage &page, const QString &name)
{
    return page.context().folders.appletFolder(page.appletId()) + QLatin1Char('/') + name;
}

bool AppletFolderCopy::copy(const QString &source, const Folders &folders, const QString &appletId, Reporter &reporter)
{
    const QString name = bareName(source);
    const QString target = folders.appletFolder(appletId) + QLatin1Char('/') + name;
    FileError error;
    if (name.isEmpty())
        error = FileError{source, qt_error_string(EINVAL)};
    else if (FileCopy::samePath(source, target))
        return true;
    else
        error = folders.explained(FileCopy::copy(source, target));
    if (error.ok()) return true;
    reporter.report(FileCopy::describe(error, source));
    reporter.report(message(Str::CopyIntoAppletFolderFailed, MessageIcon::Stop));
    return false;
}

void AppletFolderCopy::reportFailure(const QString &source, const QString &reason, Reporter &reporter)
{
    reporter.report(FileCopy::describe(FileError{source, reason}, source));
    reporter.report(message(Str::CopyIntoAppletFolderFailed, MessageIcon::Stop));
}

AppletFolderCopy::Existing AppletFolderCopy::compare(const QString &source, const QString &existing)
{
    const QFileInfo there(existing);
    if (!there.exists() && !there.isSymLink())
        return Existing::None;
    if (FileCopy::samePath(source, existing))
        return Existing::Same;
    QFile a(source), b(existing);
    if (!there.isFile() || QFileInfo(source).size() != there.size() || !a.open(QIODevice::ReadOnly) ||
        !b.open(QIODevice::ReadOnly))
        return Existing::Different;
    constexpr qint64 Chunk = 64 * 1024;
    while (!a.atEnd() || !b.atEnd()) {
        const QByteArray left = a.read(Chunk);
        if (left.isEmpty() || left != b.read(Chunk))
            return Existing::Different;
    }
    return Existing::Same;
}

bool AppletFolderCopy::intoAppletFolder(ControlPage &page, const QString &source)
{
    PageContext &context = page.context();
    return copy(source, context.folders, page.appletId(), context.services);
}

} // namespace vexa
