#include "ScrollTextFiles.h"

#include "Folders.h"
#include "IniText.h"
#include "Reporter.h"
#include "strings/StringIds.h"

#include <QFile>
#include "publish/FileCopy.h"

namespace vexa {

ScrollTextFiles::ScrollTextFiles(const Folders &folders, Reporter &reporter)
    : m_folders(folders), m_reporter(reporter)
{
}

bool ScrollTextFiles::save(const QString &appletId, const QString &text)
{
    const QString path = m_folders.scrollTextFile(appletId);
    const QByteArray bytes = text.left(MaxLength).toUtf8();
    const FileError error = path.isEmpty() ? FileError{path, QStringLiteral("no scroll text")}
                                           : m_folders.explained(FileCopy::write(path, bytes));
    if (!error.ok()) {
        if (!path.isEmpty())
            m_reporter.report(FileCopy::describe(error));
        m_reporter.report(message(Str::ErrorWritingScrollText, MessageIcon::Exclamation));
        return false;
    }
    return true;
}

bool ScrollTextFiles::load(const QString &appletId, QString *text)
{
    const QString path = m_folders.scrollTextFile(appletId);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        m_reporter.report(message(Str::ErrorReadingScrollText, MessageIcon::Exclamation));
        return false;
    }
    // Four bytes per character at most; anything beyond cannot be shown anyway.
    QByteArray bytes = file.read(qint64(MaxLength + 1) * 4);
    if (!file.atEnd()) {
        // Cut on a character boundary so the text still reads as UTF-8.
        while (!bytes.isEmpty() && (quint8(bytes.back()) & 0xC0) == 0x80)
            bytes.chop(1);
        if (!bytes.isEmpty() && quint8(bytes.back()) >= 0xC0)
            bytes.chop(1);
    }
    if (file.error() != QFileDevice::NoError) {
        m_reporter.report(message(Str::ErrorReadingScrollText, MessageIcon::Exclamation));
        return false;
    }
    *text = IniText::decode(bytes).left(MaxLength);
    return true;
}

} // namespace vexa
