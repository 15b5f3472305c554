#include "ValueText.h"

#include <limits>

namespace vexa {
namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
                               c == QLatin1Char('\r') || c == QLatin1Char('\v') || c == QLatin1Char('\f'); }

int skipBlanks(const QString &text)
{
    int i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

} // namespace

int ValueText::integer(const QString &text)
{
    int i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    qint64 value = 0;
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = qMin(limit, value * 10 + (text[i].unicode() - '0'));
    value = negative ? -value : qMin(value, qint64(std::numeric_limits<int>::max()));
    return int(qMax(value, qint64(std::numeric_limits<int>::min())));
}

quint32 ValueText::hexadecimal(const QString &text)
{
    int i = skipBlanks(text);
    if (i + 1 < text.size() && text[i] == QLatin1Char('0') &&
        (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X')))
        i += 2;
    quint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            break;
        value = value * 16 + quint64(digit);
        if (value > std::numeric_limits<quint32>::max())
            return std::numeric_limits<quint32>::max();
    }
    return quint32(value);
}

} // namespace vexa
