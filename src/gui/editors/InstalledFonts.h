#pragma once

#include <QStringList>

#include <functional>

namespace vexa {

// The font families installed on the system, as a browser names them: each family once,
// by its plain name, in the order the system reports them. The font database qualifies a
// family that several foundries supply ("C059 [urw]", "C059 [UKWN]"); no browser knows
// such a name, so the foundry goes and the duplicates with it.
class InstalledFonts {
public:
    static QStringList families();
    // The plain names of `reported`; an empty name ends the list.
    static QStringList plainFamilies(const QStringList &reported);
    // Where the reported families come from; the font database unless replaced (tests).
    static void setSource(std::function<QStringList()> source);
};

} // namespace vexa
