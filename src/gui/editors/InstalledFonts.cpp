#include "InstalledFonts.h"

#include <QFontDatabase>
#include <QSet>

namespace vexa {
namespace {

std::function<QStringList()> &source()
{
    static std::function<QStringList()> reported = [] { return QFontDatabase::families(); };
    return reported;
}

// "Nimbus Sans [URW ]" -> "Nimbus Sans"
QString withoutFoundry(const QString &family)
{
    const qsizetype bracket = family.lastIndexOf(QLatin1String(" ["));
    if (bracket > 0 && family.endsWith(QLatin1Char(']')))
        return family.left(bracket);
    return family;
}

} // namespace

QStringList InstalledFonts::families() { return plainFamilies(source()()); }

QStringList InstalledFonts::plainFamilies(const QStringList &reported)
{
    QStringList families;
    QSet<QString> seen;
    for (const QString &family : reported) {
        if (family.isEmpty())
            break;
        const QString plain = withoutFoundry(family);
        if (!seen.contains(plain)) {
            seen.insert(plain);
            families.append(plain);
        }
    }
    return families;
}

void InstalledFonts::setSource(std::function<QStringList()> reported) { source() = std::move(reported); }

} // namespace vexa
