#include "TagText.h"

namespace vexa {

void TagText::param(const QString &name, const QString &value)
{
    m_text += QLatin1String("<param name=\"") + attributeValue(name) + QLatin1String("\" value=\"") +
              attributeValue(value) + QLatin1String("\">\r\n");
}

QString TagText::attributeValue(const QString &value)
{
    if (!value.contains(QLatin1Char('"')))
        return value;
    return QString(value).replace(QLatin1Char('"'), QLatin1String("&quot;"));
}

void TagText::line(const QString &text) { m_text += text + QLatin1String("\r\n"); }

} // namespace vexa
