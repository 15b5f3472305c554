#include "MenuTree.h"

#include <utility>
#include <vector>

namespace vexa {

bool MenuRecord::operator==(const MenuRecord &other) const {
    return url == other.url && targetEnabled == other.targetEnabled && target == other.target &&
           back == other.back && icon == other.icon && root == other.root;
}

bool MenuItem::operator==(const MenuItem &other) const {
    return text == other.text && expanded == other.expanded && record == other.record &&
           children == other.children;
}

namespace {

// Visits every item once, without recursion.
template <typename Visit> void forEachItem(const QList<MenuItem> &top, Visit visit) {
    std::vector<const QList<MenuItem> *> pending{&top};
    while (!pending.empty()) {
        const QList<MenuItem> *list = pending.back();
        pending.pop_back();
        for (const MenuItem &item : *list) {
            visit(item);
            if (item.hasChildren()) pending.push_back(&item.children);
        }
    }
}

} // namespace

int MenuTree::itemCount() const {
    int count = 0;
    forEachItem(items, [&count](const MenuItem &) { ++count; });
    return count;
}

int MenuTree::depth() const {
    // Levels by breadth: each round takes the children of the previous one.
    int levels = 0;
    std::vector<const MenuItem *> current;
    for (const MenuItem &item : items)
        current.push_back(&item);
    while (!current.empty()) {
        ++levels;
        std::vector<const MenuItem *> next;
        for (const MenuItem *item : current)
            for (const MenuItem &child : item->children)
                next.push_back(&child);
        current = std::move(next);
    }
    return levels;
}

} // namespace vexa
