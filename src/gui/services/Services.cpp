#include "Services.h"

namespace vexa {

QString Services::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        const int bracket = name.indexOf(QLatin1Char('('));
        if (bracket > 0)
            name = name.left(bracket).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.simplified());
    }
    return filters.join(QLatin1String(";;"));
}

} // namespace vexa
