#pragma once

#include "MenuTree.h"
#include "settings/ValueLimits.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <functional>

namespace vexa {

class SettingsStore;

// The stored form of the three navigation menus: the numbered keys of TREEMENU
// (MenuText_n, MenuLevel_n, ..., the icon table Icon_k) and the character-addressed
// keys of WHEELMENU and MORPHMENU (MenuText_mp, ...). The walks are the one place
// that decides how stored keys are followed; the tag blocks and the readers both use
// them, so the editor shows exactly the menu the tag carries. Every walk ends on any
// stored data: cycles, backward links and odd levels included.
class MenuKeys {
public:
    static const QString TreeSection; // "TREEMENU"

    // What the menu page keeps of a menu, whatever the store holds. A tree deeper than
    // this does not fit the page's recursion budget; more items than this, each of about
    // six values, or a longer text would not fit a project file (16 MB of records of 511
    // characters), so the page never holds a menu it could not save.
    static constexpr int MaxTreeDepth = 100;
    static constexpr int MaxTreeItems = 3000;
    static constexpr int MaxTextLength = MaxProjectValueLength;

    // What a reader left out of the stored menu to stay within those limits.
    struct Cuts {
        int deepItems = 0;    // items below MaxTreeDepth levels, with what they hold
        int surplusItems = 0; // items after the first MaxTreeItems
        int longTexts = 0;    // texts, links, targets cut to MaxTextLength
        bool any() const { return deepItems + surplusItems + longTexts > 0; }
    };

    // One stored tree-menu item as the walk meets it, in pre-order.
    struct TreeEntry {
        int number = 0; // n of the keys
        int depth = 0;
        int parent = 0; // number of the parent item; 0 at the top level
        QString text;
        QString icon;  // MenuIcon_n as stored
        QString url;   // MenuUrl_n
        QString link;  // MenuLink_n; not empty for an item with children
        QString state; // MenuState_n
    };

    // One stored wheel or morph item, in the order of the tag: an item, then the
    // whole sub-menu it opens, then the next item of its menu.
    struct ListEntry {
        enum Kind { Link, Back, SubMenu };
        QChar menu;
        QChar position;
        QChar parent;  // character of the menu this item's menu was reached from
        int depth = 0; // 0 in the top menu
        QString text;
        QString url;
        QString target;
        QString link; // MenuLink_mp as stored
        QString state;
        Kind kind = Link;
    };

    // WHEELMENU and MORPHMENU.
    static bool isListMenu(const QString &appletId);
    // The menu and position characters of a list menu in order: "01234567" for the
    // wheel menu, "0123456789abcdefghij" for the morph menu; empty for other applets.
    static QString characters(const QString &appletId);
    // The character after `c`, or a null QChar at the end of the sequence.
    static QChar nextChar(const QString &appletId, QChar c);

    // The readers read the applet's own section unless `section` names another one
    // (its default section, for "Default values").
    // The icon table: Icon_0, Icon_1, ... up to the first empty one.
    static QStringList readIcons(const SettingsStore &store, const QString &section = QString());
    static void walkTree(const SettingsStore &store, const std::function<void(const TreeEntry &)> &visit,
                         const QString &section = QString());
    // Writes `tree` into TREEMENU; `icons` is the page's icon list that the records'
    // icon numbers index. Only the icons in use are stored, numbered by first use.
    // False when something could not be stored (an icon number outside `icons`, a
    // write the store refused).
    static bool writeTree(SettingsStore &store, const MenuTree &tree, const QStringList &icons);
    // Rebuilds the tree and replaces `icons` with the stored icon table; what does not fit
    // the limits above is left out and counted in `cuts`.
    static MenuTree readTree(const SettingsStore &store, QStringList &icons, const QString &section = QString(),
                             Cuts *cuts = nullptr);

    static void walkMenuList(const SettingsStore &store, const QString &appletId,
                             const std::function<void(const ListEntry &)> &visit, const QString &section = QString());
    // Writes `tree` into the section of `appletId` (WHEELMENU or MORPHMENU). False when
    // part of it does not fit the character sequence (those items are left out), for
    // another applet, or when the store refused a write.
    static bool writeMenuList(SettingsStore &store, const QString &appletId, const MenuTree &tree);
    static MenuTree readMenuList(const SettingsStore &store, const QString &appletId,
                                 const QString &section = QString(), Cuts *cuts = nullptr);

    // "MenuText_" + "12"; "MenuText_" + '0' + 'a'.
    static QString key(const QString &name, int number);
    static QString key(const QString &name, QChar menu, QChar position);
};

} // namespace vexa
