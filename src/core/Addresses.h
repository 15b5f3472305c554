#pragma once

#include <QString>

namespace vexa {

// The maker's web addresses: the preview page's button link, the Help menu, the
// font page's "more fonts" button and the 3D objects notice all open these.
class Addresses {
public:
    static QString homePage() { return QStringLiteral("https://www.vexajava.example/"); }
    static QString fontCollection() { return QStringLiteral("https://www.vexajava.example/fonts/"); }
    static QString product3d() { return QStringLiteral("https://www.vexajava.example/vexa3d/"); }
};

} // namespace vexa
