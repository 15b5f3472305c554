#include "Services.h"

#include "strings/StringIds.h"

namespace vexa {

bool Services::showInBrowser(const QString &address)
{
    QString why;
    if (openInBrowser(address, why))
        return true;
    showMessage(browserFailure(why));
    return false;
}

Message Services::browserFailure(const QString &why)
{
    Message m = message(Str::CreateProcessFailed, MessageIcon::Stop);
    if (!why.isEmpty())
        m.text += QStringLiteral(":\n") + why;
    return m;
}

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
        patterns.replace(QLatin1String("*.jpg"), QLatin1String("*.jpg *.jpeg"));
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.simplified());
    }
    return filters.join(QLatin1String(";;"));
}

QString Services::folderKey(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    const QString pattern = parts.value(1).section(QLatin1Char(';'), 0, 0).trimmed();
    QString extension = pattern.mid(pattern.lastIndexOf(QLatin1Char('.')) + 1).toLower();
    extension.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
    if (!extension.isEmpty())
        extension[0] = extension[0].toUpper();
    return QStringLiteral("Folder") + (extension.isEmpty() ? QStringLiteral("Any") : extension);
}

} // namespace vexa
