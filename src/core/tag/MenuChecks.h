#pragma once

#include "MenuTree.h"

#include <QList>
#include <QString>

namespace vexa {

// The checks a menu must pass before the menu page is left: what the applets can show
// (menus and items per menu, back items) and what the stored form needs (records,
// icons). The first failure counts.
class MenuChecks {
public:
    struct Result {
        int code = 1;       // 1 passed; 0 invalid or empty; -1 .. -4 as the failures below
        int messageId = 0;  // the message to show, 0 when passed
        QList<int> path;    // the item to select (tree menu without icon): indices from the top
        QList<int> arguments; // the numbers the message names, in its order
        bool passed() const { return code == 1; }
    };

    static Result check(const MenuTree &tree, const QString &appletId);
    // Only the limits of menus and items per menu, and of the tree menu's levels and items:
    // the menu the stored form can hold whole.
    static Result checkCapacity(const MenuTree &tree, const QString &appletId);
};

} // namespace vexa
