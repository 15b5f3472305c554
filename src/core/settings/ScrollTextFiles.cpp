#include "ScrollTextFiles.h"

#include "Folders.h"
#include "IniText.h"
#include "Reporter.h"
#include "strings/StringIds.h"

#include <QFile>
#include <QStringDecoder>
#include "io/CharsetEncoder.h"
#include "io/FileCopy.h"

namespace vexa {

ScrollTextFiles::ScrollTextFiles(const Folders &folders, Reporter &reporter)
    : m_folders(folders), m_reporter(reporter)
{
}

void ScrollTextFiles::reportOutside(char32_t missing, const QString &charset)
{
    Message m = message(Str::ScrollTextOutsideCharset, MessageIcon::Exclamation);
    m.text = m.text.arg(QString::fromUcs4(&missing, 1),
                        QString::number(quint32(missing), 16).toUpper().rightJustified(4, QLatin1Char('0')), charset);
    m_reporter.report(m);
}

bool ScrollTextFiles::fitsCharset(const QString &text, const QString &charset)
{
    char32_t missing = 0;
    if (CharsetEncoder(charset).encodeExactly(text.left(MaxLength), &missing))
        return true;
    reportOutside(missing, charset);
    return false;
}

bool ScrollTextFiles::save(const QString &appletId, const QString &text, const QString &charset)
{
    const QString path = m_folders.scrollTextFile(appletId);
    char32_t missing = 0;
    const std::optional<QByteArray> encoded = CharsetEncoder(charset).encodeExactly(text.left(MaxLength), &missing);
    if (!encoded) {
        reportOutside(missing, charset);
        return false;
    }
    const QByteArray &bytes = *encoded;
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

bool ScrollTextFiles::load(const QString &appletId, QString *text, const QString &charset)
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
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8(bytes);
    *text = (utf8.hasError() ? CharsetEncoder(charset).decode(bytes) : asUtf8).left(MaxLength);
    return true;
}

} // namespace vexa
