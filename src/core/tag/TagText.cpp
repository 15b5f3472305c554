#include "TagText.h"

namespace vexa {

void TagText::param(const QString &name, const QString &value)
{
    m_text += QLatin1String("<param name=\"") + name + QLatin1String("\" value=\"") + value +
              QLatin1String("\">\r\n");
}

void TagText::line(const QString &text) { m_text += text + QLatin1String("\r\n"); }

} // namespace vexa
