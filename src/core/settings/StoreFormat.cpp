#include "StoreFormat.h"

#include <QByteArray>
#include <QStringDecoder>


namespace vexa {
namespace {

bool isPlainNameChar(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') || c == QLatin1Char('-') ||
           c == QLatin1Char('.');
}

void appendHex(QString &out, uint value, int digits, const char *hexDigits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += QLatin1Char(hexDigits[(value >> shift) & 0xF]);
}

// Section and key names: as the INI files of earlier versions spell them (%20 for a
// blank, %E9 for a Latin-1 letter, %U20AC beyond).
void appendName(QString &out, QStringView name)
{
    for (QChar c : name) {
        if (isPlainNameChar(c)) {
            out += c;
        } else if (c.unicode() <= 0xFF) {
            out += QLatin1Char('%');
            appendHex(out, c.unicode(), 2, "0123456789ABCDEF");
        } else {
            out += QLatin1String("%U");
            appendHex(out, c.unicode(), 4, "0123456789ABCDEF");
        }
    }
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QString unescapeName(QStringView name)
{
    if (!name.contains(QLatin1Char('%')) && !name.contains(QLatin1Char('\\')))
        return name.toString(); // the usual name: nothing to decode
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == QLatin1Char('%')) {
            const bool wide = i + 1 < name.size() && name[i + 1] == QLatin1Char('U');
            const qsizetype digits = wide ? 4 : 2;
            const qsizetype start = i + (wide ? 2 : 1);
            int value = 0;
            bool ok = start + digits <= name.size();
            for (qsizetype k = 0; ok && k < digits; ++k) {
                const int h = hexValue(name[start + k]);
                ok = h >= 0;
                value = value * 16 + h;
            }
            if (ok) {
                out += QChar(char16_t(value));
                i = start + digits - 1;
                continue;
            }
        }
        out += c == QLatin1Char('\\') ? QLatin1Char('/') : c;
    }
    return out;
}

// Values are always quoted: blanks at either end, commas and semicolons stay as they are.
// Runs of characters that need no escape are copied whole.
void appendValue(QString &out, QStringView value)
{
    out += QLatin1Char('"');
    // "@" starts a typed value in the older syntax: doubled, it is a plain "@".
    if (value.startsWith(QLatin1Char('@')))
        out += QLatin1Char('@');
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
            ++i; // a pair stays as it is
            continue;
        }
        if (u >= 0x20 && u != 0x7F && u != '\\' && u != '"' && u != 0xFEFF && !c.isSurrogate())
            continue;
        out += value.mid(plainFrom, i - plainFrom);
        plainFrom = i + 1;
        switch (u) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            // Always four digits, so a hexadecimal letter after it stays a letter.
            out += QLatin1String("\\x");
            appendHex(out, u, 4, "0123456789abcdef");
        }
    }
    out += value.mid(plainFrom);
    out += QLatin1Char('"');
}

// A value in the syntax of the older files and of ours: quoted parts, backslash escapes,
// unquoted blanks at the ends dropped, commas outside quotes separating list items.
QString unescapeValue(QStringView raw)
{
    // The usual value, as this program writes it: quoted, with nothing escaped inside.
    if (raw.size() >= 2 && raw.front() == QLatin1Char('"') && raw.back() == QLatin1Char('"')) {
        const QStringView inside = raw.mid(1, raw.size() - 2);
        if (!inside.contains(QLatin1Char('"')) && !inside.contains(QLatin1Char('\\')))
            return inside.startsWith(QLatin1String("@@")) ? inside.mid(1).toString() : inside.toString();
    }
    QStringList items;
    QString current;
    qsizetype keepFrom = -1; // after this index (in current) the text was quoted or not blank
    bool quoted = false;
    bool anyQuote = false;
    auto finishItem = [&] {
        // Unquoted blanks at the end go.
        qsizetype end = current.size();
        while (end > keepFrom + 1 && end > 0 && current.at(end - 1).isSpace())
            --end;
        items << current.left(end);
        current.clear();
        keepFrom = -1;
    };
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            anyQuote = true;
            keepFrom = current.size() - 1;
            continue;
        }
        if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
            const QChar e = raw[++i];
            switch (e.unicode()) {
            case 'n': current += QLatin1Char('\n'); break;
            case 'r': current += QLatin1Char('\r'); break;
            case 't': current += QLatin1Char('\t'); break;
            case 'a': current += QLatin1Char('\a'); break;
            case 'b': current += QLatin1Char('\b'); break;
            case 'f': current += QLatin1Char('\f'); break;
            case 'v': current += QLatin1Char('\v'); break;
            case 'x': {
                int value = 0, digits = 0;
                while (digits < 4 && i + 1 < raw.size() && hexValue(raw[i + 1]) >= 0) {
                    value = value * 16 + hexValue(raw[++i]);
                    ++digits;
                }
                current += QChar(char16_t(value));
                break;
            }
            default:
                if (e >= QLatin1Char('0') && e <= QLatin1Char('7')) {
                    int value = e.unicode() - '0', digits = 1;
                    while (digits < 3 && i + 1 < raw.size() && raw[i + 1] >= QLatin1Char('0') &&
                           raw[i + 1] <= QLatin1Char('7')) {
                        value = value * 8 + (raw[++i].unicode() - '0');
                        ++digits;
                    }
                    current += QChar(char16_t(value));
                } else {
                    current += e; // \" \' \\ \? and anything else stand for themselves
                }
            }
            keepFrom = current.size() - 1;
            continue;
        }
        if (!quoted && c == QLatin1Char(',')) {
            finishItem();
            continue;
        }
        if (!quoted && c.isSpace() && keepFrom == current.size() - 1 && current.isEmpty())
            continue; // unquoted blanks at the start go
        current += c;
        if (quoted || !c.isSpace())
            keepFrom = current.size() - 1;
    }
    finishItem();
    QString value = items.join(QLatin1String(", "));
    if (value.startsWith(QLatin1String("@@")))
        return value.mid(1);
    // A typed value of the older syntax: its text, never decoded.
    if (!anyQuote && value.startsWith(QLatin1String("@ByteArray(")) && value.endsWith(QLatin1Char(')')))
        return value.mid(11, value.size() - 12);
    return value;
}

bool isGeneral(QStringView name) { return name.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0; }

// Valid UTF-8 as a whole, the usual case, or else line by line: a line that is no UTF-8
// is Latin-1, the encoding of older tools and of hand edits.
QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    for (const QByteArray &line : bytes.split('\n')) {
        QStringDecoder lineDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = lineDecoder(line);
        text += lineDecoder.hasError() ? QString::fromLatin1(line) : decoded;
        text += QLatin1Char('\n');
    }
    text.chop(1);
    return text;
}

} // namespace

QByteArray StoreFormat::write(const Sections &sections)
{
    QString text;
    bool first = true;
    for (auto section = sections.constBegin(); section != sections.constEnd(); ++section) {
        if (section->isEmpty())
            continue;
        if (!first)
            text += QLatin1Char('\n');
        first = false;
        text += QLatin1Char('[');
        // "[General]" is the unnamed section: a section of the user's of that name is marked
        // as one, as Qt's own settings files mark it.
        if (isGeneral(section.key()))
            text += QLatin1Char('%');
        appendName(text, section.key().isEmpty() ? QStringView(u"General") : QStringView(section.key()));
        text += QLatin1String("]\n");
        for (auto it = section->constBegin(); it != section->constEnd(); ++it) {
            appendName(text, it.key());
            text += QLatin1Char('=');
            appendValue(text, it.value());
            text += QLatin1Char('\n');
        }
    }
    return text.toUtf8();
}

QString StoreFormat::notAStore(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return QStringLiteral("it is written in UTF-16");
    if (bytes.contains('\0'))
        return QStringLiteral("it holds binary data");
    // Most lines of a settings file are section headers, keys or comments.
    qsizetype lines = 0, others = 0;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start).trimmed();
        start = end + 1;
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        ++lines;
        const bool header = line.startsWith('[') && line.endsWith(']');
        if (!header && line.indexOf('=') <= 0)
            ++others;
    }
    return others * 2 > lines ? QStringLiteral("most of its lines are neither sections nor keys") : QString();
}

StoreFormat::Sections StoreFormat::read(const QByteArray &bytes)
{
    Sections sections;
    // A mark at the start of the file is one; in values U+FEFF is written escaped.
    const QString text = decodeText(bytes);
    Section *section = &sections[QString()];
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QStringView raw = trimmed.mid(1, trimmed.size() - 2);
            QString name = unescapeName(raw);
            if (isGeneral(name))
                name.clear();
            else if (raw.startsWith(QLatin1Char('%')) && isGeneral(raw.mid(1)))
                name = raw.mid(1).toString();
            section = &sections[name];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = unescapeName(line.left(equals).trimmed());
        // Keys come in order in the files this program writes: each goes in at the end.
        if (!key.isEmpty())
            section->insert(section->cend(), key, unescapeValue(line.mid(equals + 1)));
    }
    sections.removeIf([](const auto &entry) { return entry.value().isEmpty(); });
    return sections;
}

} // namespace vexa
