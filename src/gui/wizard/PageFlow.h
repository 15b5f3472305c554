#pragma once

#include "controls/WalkFlags.h"

#include <QString>

namespace vexa {

// Which page follows which: pure functions of the current page, the applet and the flags.
class PageFlow {
public:
    static constexpr int SelectionPage = 129;
    static constexpr int ScrollTextPage = 133;
    static constexpr int CodePage = 134;
    static constexpr int ExpertPage = 135;
    static constexpr int LinkPage = 155;
    static constexpr int MenuItemsPage = 197;
    static constexpr int FloatPage = 211;

    // The page Next leads to; the same page when the walk stays.
    static int next(int page, const QString &appletId, const WalkFlags &flags);
    // The page Previous leads to; the same page when the walk stays.
    static int previous(int page, const QString &appletId, const WalkFlags &flags);
    // The applet's first page, or 0 for an id outside the catalogue.
    static int firstPage(const QString &appletId);
    // The applet's last own page (where Previous returns from the common pages).
    static int lastPage(const QString &appletId, const WalkFlags &flags);
};

} // namespace vexa
