#include "MenuChecks.h"

#include "MenuKeys.h"
#include "strings/StringIds.h"

#include <algorithm>

namespace vexa {
namespace {

// What each list menu allows, and the messages that say so.
struct ListLimits {
    const char *applet;
    int maxMenus;
    int maxItems;
    bool backInEverySubMenu;
    int tooManyMenus, tooManyItems, twoBackItems;
};

constexpr ListLimits Limits[] = {
    {"WHEELMENU", 8, 8, false, 1591, 1587, 1589},
    {"MORPHMENU", 20, 20, true, 1590, 1586, 1588},
};

constexpr int Invalid = 0, TooManyMenus = -1, TwoBackItems = -2, TooManyItems = -3, NoBackItem = -4, TooDeep = -5;
constexpr int NoIcon = -1; // the tree menu's own failure

MenuChecks::Result fail(int code, int messageId, QList<int> path = {}, QList<int> arguments = {})
{
    return MenuChecks::Result{code, messageId, std::move(path), std::move(arguments)};
}

bool isBack(const MenuItem &item) { return item.record && item.record->back; }

// Pre-order: the item, its children, then its following siblings.
MenuChecks::Result checkTree(const QList<MenuItem> &items, QList<int> &path)
{
    for (int i = 0; i < items.size(); ++i) {
        path.append(i);
        const MenuItem &item = items[i];
        if (!item.record)
            return fail(Invalid, Str::MenuInvalidTree, path);
        if (item.record->icon < 0)
            return fail(NoIcon, Str::MenuItemWithoutIcon, path);
        const MenuChecks::Result inner = checkTree(item.children, path);
        if (!inner.passed())
            return inner;
        path.removeLast();
    }
    return {};
}

// `limitsOnly`: only the counts, no rules on back items and records.
MenuChecks::Result checkList(const QList<MenuItem> &items, const ListLimits &limits, bool topLevel, int &menus,
                             bool limitsOnly)
{
    for (int p = 0; p < items.size(); ++p) {
        const MenuItem &item = items[p];
        if (menus > limits.maxMenus)
            return fail(TooManyMenus, limits.tooManyMenus);
        if (p + 1 > limits.maxItems)
            return fail(TooManyItems, limits.tooManyItems);
        if (!limitsOnly) {
            // The first item of a sub-menu stands for the whole sub-menu: one of its items leads back.
            if (limits.backInEverySubMenu && p == 0 && !topLevel && std::none_of(items.begin(), items.end(), isBack))
                return fail(NoBackItem, Str::MenuNoBackItem);
            if (!item.record)
                return fail(Invalid, Str::MenuInvalidList);
            if (isBack(item) && std::any_of(items.begin() + p + 1, items.end(), isBack))
                return fail(TwoBackItems, limits.twoBackItems);
        }
        if (item.hasChildren()) {
            ++menus;
            const MenuChecks::Result inner = checkList(item.children, limits, false, menus, limitsOnly);
            if (!inner.passed())
                return inner;
        }
    }
    return {};
}

// Finds the first item below the tree menu's last level: true, with its path.
bool findTooDeep(const QList<MenuItem> &items, int depth, QList<int> &path)
{
    for (int i = 0; i < items.size(); ++i) {
        path.append(i);
        if (depth >= MenuKeys::MaxTreeDepth || findTooDeep(items[i].children, depth + 1, path))
            return true;
        path.removeLast();
    }
    return false;
}

// The levels and items the page and a project file can keep. The depth is looked for
// only in a tree of allowed size, so the search is bounded too.
MenuChecks::Result checkTreeCapacity(const MenuTree &tree)
{
    if (const int items = tree.itemCount(); items > MenuKeys::MaxTreeItems)
        return fail(TooManyItems, Str::MenuTooManyItems, {}, {items, MenuKeys::MaxTreeItems});
    QList<int> path;
    if (findTooDeep(tree.items, 0, path))
        return fail(TooDeep, Str::MenuTooDeep, path, {MenuKeys::MaxTreeDepth});
    return {};
}

MenuChecks::Result checkListMenu(const MenuTree &tree, const QString &appletId, bool limitsOnly)
{
    for (const ListLimits &limits : Limits) {
        if (appletId == QLatin1String(limits.applet)) {
            int menus = 1; // the top-level menu
            return checkList(tree.items, limits, true, menus, limitsOnly);
        }
    }
    return {};
}

} // namespace

MenuChecks::Result MenuChecks::checkCapacity(const MenuTree &tree, const QString &appletId)
{
    if (appletId == MenuKeys::TreeSection)
        return checkTreeCapacity(tree);
    return checkListMenu(tree, appletId, true);
}

MenuChecks::Result MenuChecks::check(const MenuTree &tree, const QString &appletId)
{
    if (tree.isEmpty())
        return fail(Invalid, Str::InsertAtLeastOne);
    if (appletId == MenuKeys::TreeSection) {
        if (const Result capacity = checkTreeCapacity(tree); !capacity.passed())
            return capacity;
        QList<int> path;
        return checkTree(tree.items, path);
    }
    return checkListMenu(tree, appletId, false);
}

} // namespace vexa
