#include "IniText.h"

#include <QStringDecoder>

namespace vexa {

QString IniText::decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QList<IniSection> IniText::parse(const QByteArray &bytes)
{
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);

    QList<IniSection> sections;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(';'))
            continue;
        if (trimmed.startsWith('[')) {
            const int close = trimmed.indexOf(']');
            IniSection section;
            section.name = decode(trimmed.mid(1, close < 0 ? -1 : close - 1)).trimmed();
            sections.append(section);
            continue;
        }
        if (sections.isEmpty())
            continue; // lines before the first section belong to none
        const int equals = line.indexOf('=');
        if (equals < 0) {
            sections.last().malformed.append(decode(line));
            continue;
        }
        sections.last().lines.append({decode(line.left(equals)).trimmed(), decode(line.mid(equals + 1))});
    }
    return sections;
}

} // namespace vexa
