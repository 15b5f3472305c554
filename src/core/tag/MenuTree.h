#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace vexa {

// What the menu editor keeps with every item besides its text. A default record is
// the record of a new item.
struct MenuRecord {
    QString url;
    bool targetEnabled = false; // wheel and morph menus
    QString target;             // "_blank", "_self", ... or a frame name
    bool back = false;          // wheel and morph menus: leads back to the opening menu
    int icon = -1;              // tree menu: index into the page's icon list, -1 for none
    bool root = false;          // top-level item of a loaded tree menu

    bool operator==(const MenuRecord &other) const;
    bool operator!=(const MenuRecord &other) const { return !(*this == other); }
};

// One item of the menu tree; an item with children opens a sub-menu (wheel, morph)
// or a folder (tree menu).
struct MenuItem {
    QString text;
    QList<MenuItem> children;
    bool expanded = false;
    std::optional<MenuRecord> record;

    bool hasChildren() const { return !children.isEmpty(); }

    bool operator==(const MenuItem &other) const;
    bool operator!=(const MenuItem &other) const { return !(*this == other); }
};

// The menu of one of the navigation applets as the editor holds it: a plain value,
// written to and read from the applet's numbered keys by MenuKeys.
class MenuTree {
public:
    QList<MenuItem> items; // the top level

    bool isEmpty() const { return items.isEmpty(); }
    // All items at every level.
    int itemCount() const;
    // The number of levels; 0 for an empty tree.
    int depth() const;

    bool operator==(const MenuTree &other) const { return items == other.items; }
    bool operator!=(const MenuTree &other) const { return !(*this == other); }
};

} // namespace vexa
