#include "MenuKeys.h"

#include "ValueText.h"
#include "settings/SettingsStore.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace vexa {

const QString MenuKeys::TreeSection = QStringLiteral("TREEMENU");

namespace {

const QString TextKey = QStringLiteral("MenuText_");
const QString LevelKey = QStringLiteral("MenuLevel_");
const QString UrlKey = QStringLiteral("MenuUrl_");
const QString IconKey = QStringLiteral("MenuIcon_");
const QString StateKey = QStringLiteral("MenuState_");
const QString LinkKey = QStringLiteral("MenuLink_");
const QString TargetKey = QStringLiteral("MenuTarget_");
const QString IconTableKey = QStringLiteral("Icon_");

struct CharacterSequence {
    const char *appletId;
    const char *characters;
};

// The wheel applet shows 8 items on each of at most 8 wheels, and the editor allows
// no more; the characters after '7' in code order would run into ':', '<' and '>',
// which have no place in a parameter name. So the wheel sequence ends at '7'.
const CharacterSequence Sequences[] = {
    {"WHEELMENU", "01234567"},
    {"MORPHMENU", "0123456789abcdefghij"},
};

const QChar FirstChar = QLatin1Char('0');

// A text the page can hold, counted in `cuts` when it had to be shortened.
QString limited(const QString &text, MenuKeys::Cuts &cuts) {
    if (text.size() <= MenuKeys::MaxTextLength) return text;
    ++cuts.longTexts;
    return text.left(MenuKeys::MaxTextLength);
}

// The tree's values by item number, gathered in one pass over the section, so the walk
// looks up numbers instead of building and finding six keys per item. Keys match their
// names ignoring case, as the store's do; the program's own spelling wins over another.
class TreeValues {
public:
    enum Field { Text, Level, Icon, Url, Link, State, FieldCount };

    TreeValues(const SettingsStore &store, const QString &section) {
        static const QString *const names[FieldCount] = {&TextKey, &LevelKey, &IconKey, &UrlKey, &LinkKey, &StateKey};
        const SettingsStore::Values values = store.values(section);
        // Items are numbered from 0 without gaps, so no item reached has a number beyond this.
        const qsizetype limit = values.size();
        for (const auto &[key, value] : values) {
            for (int field = 0; field < FieldCount; ++field) {
                const QString &name = *names[field];
                if (!key.startsWith(name, Qt::CaseInsensitive))
                    continue;
                const qsizetype n = number(QStringView(key).mid(name.size()), limit);
                if (n >= 0)
                    take(Field(field), n, value, key.startsWith(name));
                break;
            }
        }
    }

    QString get(Field field, int n) const {
        const std::vector<Slot> &entries = m_fields[field];
        return n < qsizetype(entries.size()) ? entries[size_t(n)].value : QString();
    }

private:
    struct Slot {
        QString value;
        char spelling = 0; // 0 none, 1 another spelling, 2 the program's
    };

    // A number as the program writes it (no sign, no leading zero), below `limit`; else -1.
    static qsizetype number(QStringView digits, qsizetype limit) {
        if (digits.isEmpty() || digits.size() > 9 || (digits.size() > 1 && digits.front() == QLatin1Char('0')))
            return -1;
        qsizetype n = 0;
        for (QChar c : digits) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return -1;
            n = n * 10 + (c.unicode() - '0');
        }
        return n < limit ? n : -1;
    }

    void take(Field field, qsizetype n, const QString &value, bool ownSpelling) {
        std::vector<Slot> &entries = m_fields[field];
        if (qsizetype(entries.size()) <= n)
            entries.resize(size_t(n) + 1);
        Slot &slot = entries[size_t(n)];
        const char spelling = ownSpelling ? 2 : 1;
        if (spelling >= slot.spelling)
            slot = Slot{value, spelling};
    }

    std::vector<Slot> m_fields[FieldCount];
};

QString stateText(bool expanded) {
    return expanded ? QStringLiteral("1") : QStringLiteral("0");
}

// Writes one tree in pre-order: items numbered from 0, the icons of the page's list
// renumbered in the order of their first use.
class TreeWriter {
public:
    TreeWriter(SettingsStore &store, const QStringList &icons) : m_store(store), m_icons(icons) {}

    bool write(const MenuTree &tree) {
        // An empty table and an empty menu unless items follow: nothing stored
        // earlier stays reachable.
        put(IconTableKey + QLatin1Char('0'), QString());
        if (tree.isEmpty())
            put(MenuKeys::key(TextKey, 0), QString());
        else
            writeRun(tree.items, 0);
        return m_complete;
    }

private:
    void writeRun(const QList<MenuItem> &items, int depth) {
        for (int i = 0; i < items.size(); ++i) {
            const MenuItem &item = items[i];
            const int n = m_number;
            put(MenuKeys::key(TextKey, n), item.text);
            put(MenuKeys::key(LevelKey, n), QString::number(depth));
            put(MenuKeys::key(UrlKey, n), item.record ? item.record->url : QString());
            // Written empty for an item without icon, so no earlier icon shows through.
            put(MenuKeys::key(IconKey, n), iconNumber(item));
            if (item.hasChildren()) {
                put(MenuKeys::key(StateKey, n), stateText(item.expanded));
                put(MenuKeys::key(LinkKey, n), QString::number(n + 1));
                ++m_number;
                writeRun(item.children, depth + 1);
            } else {
                put(MenuKeys::key(LinkKey, n), QString());
            }
            if (i + 1 < items.size())
                ++m_number;
            else
                put(MenuKeys::key(TextKey, m_number + 1), QString());
        }
    }

    QString iconNumber(const MenuItem &item) {
        if (!item.record || item.record->icon < 0) return QString();
        const int icon = item.record->icon;
        if (icon >= m_icons.size() || m_icons[icon].isEmpty()) {
            m_complete = false;
            return QString();
        }
        auto it = m_renumbered.constFind(icon);
        if (it == m_renumbered.constEnd()) {
            const int k = m_renumbered.size();
            put(MenuKeys::key(IconTableKey, k), m_icons[icon]);
            put(MenuKeys::key(IconTableKey, k + 1), QString());
            it = m_renumbered.insert(icon, k);
        }
        return QString::number(*it);
    }

    void put(const QString &key, const QString &value) {
        if (!m_store.write(MenuKeys::TreeSection, key, value)) m_complete = false;
    }

    SettingsStore &m_store;
    const QStringList &m_icons;
    QHash<int, int> m_renumbered; // index in the page's list -> stored number
    int m_number = 0;
    bool m_complete = true;
};

// Writes a wheel or morph menu: sub-menus take the next character of one running
// counter in pre-order; items take the positions of their menu.
class ListWriter {
public:
    ListWriter(SettingsStore &store, const QString &appletId) : m_store(store), m_appletId(appletId) {}

    bool write(const MenuTree &tree) {
        if (tree.isEmpty())
            put(MenuKeys::key(TextKey, FirstChar, FirstChar), QString());
        else
            writeMenu(tree.items, FirstChar, FirstChar);
        return m_complete;
    }

private:
    // Recursion depth is bounded by the sequence: every level takes a new character.
    void writeMenu(const QList<MenuItem> &items, QChar menu, QChar parent) {
        QChar position = FirstChar;
        for (int i = 0; i < items.size(); ++i) {
            if (position.isNull()) {
                m_complete = false; // no position left in this menu
                return;
            }
            const MenuItem &item = items[i];
            put(MenuKeys::key(TextKey, menu, position), item.text);
            // An item without record still gets empty keys, so nothing stored earlier
            // under its position shows through.
            put(MenuKeys::key(UrlKey, menu, position), item.record ? item.record->url : QString());
            // A target switched off leads nowhere, whatever name was last chosen.
            put(MenuKeys::key(TargetKey, menu, position),
                item.record && item.record->targetEnabled ? item.record->target : QString());
            const QChar subMenu = item.hasChildren() ? MenuKeys::nextChar(m_appletId, m_counter) : QChar();
            if (item.hasChildren() && subMenu.isNull())
                m_complete = false; // out of menu characters: stored without its sub-menu
            if (!subMenu.isNull()) {
                m_counter = subMenu;
                put(MenuKeys::key(StateKey, menu, position), stateText(item.expanded));
                put(MenuKeys::key(LinkKey, menu, position), QString(subMenu));
                writeMenu(item.children, subMenu, menu);
            } else {
                const bool back = item.record && item.record->back;
                put(MenuKeys::key(LinkKey, menu, position), back ? QString(parent) : QString());
            }
            position = MenuKeys::nextChar(m_appletId, position);
        }
        if (!position.isNull()) put(MenuKeys::key(TextKey, menu, position), QString());
    }

    void put(const QString &key, const QString &value) {
        if (!m_store.write(m_appletId, key, value)) m_complete = false;
    }

    SettingsStore &m_store;
    QString m_appletId;
    QChar m_counter = FirstChar;
    bool m_complete = true;
};

void walkMenu(const SettingsStore &store, const QString &appletId, const QString &section, QChar menu, QChar parent,
              int depth, QSet<QChar> &visited, const std::function<void(const MenuKeys::ListEntry &)> &visit) {
    // Each menu at most once: a stored cycle of sub-menu links ends here. Together with
    // the finite sequence this bounds the recursion by the number of menu characters.
    visited.insert(menu);
    const QString characters = MenuKeys::characters(appletId);
    for (QChar position = FirstChar; !position.isNull(); position = MenuKeys::nextChar(appletId, position)) {
        MenuKeys::ListEntry entry;
        entry.text = store.read(section, MenuKeys::key(TextKey, menu, position));
        if (entry.text.isEmpty()) return;
        entry.menu = menu;
        entry.position = position;
        entry.parent = parent;
        entry.depth = depth;
        entry.url = store.read(section, MenuKeys::key(UrlKey, menu, position));
        entry.target = store.read(section, MenuKeys::key(TargetKey, menu, position));
        entry.link = store.read(section, MenuKeys::key(LinkKey, menu, position));
        entry.state = store.read(section, MenuKeys::key(StateKey, menu, position));
        const QChar linked = entry.link.isEmpty() ? QChar() : entry.link.at(0);
        if (linked.isNull())
            entry.kind = MenuKeys::ListEntry::Link;
        else if (linked == parent)
            entry.kind = MenuKeys::ListEntry::Back;
        else if (characters.contains(linked) && !visited.contains(linked))
            entry.kind = MenuKeys::ListEntry::SubMenu;
        else
            entry.kind = MenuKeys::ListEntry::Link; // a menu already shown, or none of this applet
        visit(entry);
        if (entry.kind == MenuKeys::ListEntry::SubMenu)
            walkMenu(store, appletId, section, linked, menu, depth + 1, visited, visit);
    }
}

} // namespace

bool MenuKeys::isListMenu(const QString &appletId) {
    return !characters(appletId).isEmpty();
}

QString MenuKeys::characters(const QString &appletId) {
    for (const CharacterSequence &sequence : Sequences)
        if (appletId == QLatin1String(sequence.appletId)) return QLatin1String(sequence.characters);
    return QString();
}

QChar MenuKeys::nextChar(const QString &appletId, QChar c) {
    const QString sequence = characters(appletId);
    const int at = sequence.indexOf(c);
    return at >= 0 && at + 1 < sequence.size() ? sequence.at(at + 1) : QChar();
}

QString MenuKeys::key(const QString &name, int number) {
    return name + QString::number(number);
}

QString MenuKeys::key(const QString &name, QChar menu, QChar position) {
    return name + menu + position;
}

QStringList MenuKeys::readIcons(const SettingsStore &store, const QString &section) {
    const QString from = section.isEmpty() ? TreeSection : section;
    // Ends at the first empty key; the store holds finitely many.
    QStringList icons;
    for (int k = 0;; ++k) {
        const QString name = store.read(from, key(IconTableKey, k));
        if (name.isEmpty()) return icons;
        icons.append(name);
    }
}

void MenuKeys::walkTree(const SettingsStore &store, const std::function<void(const TreeEntry &)> &visit,
                        const QString &section) {
    const QString from = section.isEmpty() ? TreeSection : section;
    // The walk of the tag: a run of siblings ends at an item of another level or an
    // empty text; the item after a linked one opens its children, whatever number the
    // link holds. Kept as a loop over an explicit stack of parents: the number only
    // grows with every item taken, so any stored levels and links end the walk.
    const TreeValues values(store, from);
    std::vector<int> parents{0};
    int n = 0;
    for (;;) {
        const int depth = int(parents.size()) - 1;
        TreeEntry entry;
        entry.text = values.get(TreeValues::Text, n);
        if (entry.text.isEmpty() || ValueText::integer(values.get(TreeValues::Level, n)) != depth) {
            if (parents.size() == 1) return;
            parents.pop_back(); // the parent's run goes on with the same item
            continue;
        }
        entry.number = n;
        entry.depth = depth;
        entry.parent = parents.back();
        entry.icon = values.get(TreeValues::Icon, n);
        entry.url = values.get(TreeValues::Url, n);
        entry.link = values.get(TreeValues::Link, n);
        entry.state = values.get(TreeValues::State, n);
        visit(entry);
        if (!entry.link.isEmpty()) parents.push_back(n);
        ++n;
    }
}

bool MenuKeys::writeTree(SettingsStore &store, const MenuTree &tree, const QStringList &icons) {
    return TreeWriter(store, icons).write(tree);
}

MenuTree MenuKeys::readTree(const SettingsStore &store, QStringList &icons, const QString &section, Cuts *cuts) {
    Cuts counted;
    icons = readIcons(store, section);
    for (QString &icon : icons) icon = limited(icon, counted);
    MenuTree tree;
    int items = 0;
    // path[d]: the list that takes the items of depth d.
    std::vector<QList<MenuItem> *> path{&tree.items};
    walkTree(store, [&](const TreeEntry &entry) {
        if (entry.depth >= MaxTreeDepth) {
            ++counted.deepItems;
            return;
        }
        if (items == MaxTreeItems) {
            ++counted.surplusItems;
            return;
        }
        if (entry.depth >= int(path.size())) return; // the walk does not skip levels; kept as a guard
        ++items;
        path.resize(size_t(entry.depth) + 1);
        MenuItem item;
        item.text = limited(entry.text, counted);
        MenuRecord record;
        record.url = limited(entry.url, counted);
        if (!entry.icon.isEmpty()) {
            const int icon = ValueText::integer(entry.icon);
            // A number outside the table means no icon; the page check then asks for one.
            record.icon = icon >= 0 && icon < icons.size() ? icon : -1;
        }
        record.root = entry.depth == 0;
        item.record = record;
        const bool opens = !entry.link.isEmpty();
        item.expanded = opens && entry.state == QLatin1String("1");
        path.back()->append(item);
        if (opens) path.push_back(&path.back()->last().children);
    }, section);
    if (cuts) *cuts = counted;
    return tree;
}

void MenuKeys::walkMenuList(const SettingsStore &store, const QString &appletId,
                            const std::function<void(const ListEntry &)> &visit, const QString &section) {
    if (!isListMenu(appletId)) return;
    QSet<QChar> visited;
    walkMenu(store, appletId, section.isEmpty() ? appletId : section, FirstChar, FirstChar, 0, visited, visit);
}

bool MenuKeys::writeMenuList(SettingsStore &store, const QString &appletId, const MenuTree &tree) {
    if (!isListMenu(appletId)) return false;
    return ListWriter(store, appletId).write(tree);
}

MenuTree MenuKeys::readMenuList(const SettingsStore &store, const QString &appletId, const QString &section,
                                Cuts *cuts) {
    Cuts counted;
    MenuTree tree;
    std::vector<QList<MenuItem> *> path{&tree.items};
    walkMenuList(store, appletId, [&](const ListEntry &entry) {
        path.resize(size_t(entry.depth) + 1);
        MenuItem item;
        item.text = limited(entry.text, counted);
        MenuRecord record;
        record.url = limited(entry.url, counted);
        record.target = limited(entry.target, counted);
        record.targetEnabled = !entry.target.isEmpty();
        record.back = entry.kind == ListEntry::Back;
        item.record = record;
        item.expanded = entry.kind == ListEntry::SubMenu && entry.state == QLatin1String("1");
        path.back()->append(item);
        if (entry.kind == ListEntry::SubMenu) path.push_back(&path.back()->last().children);
    }, section);
    if (cuts) *cuts = counted;
    return tree;
}

} // namespace vexa
