#include "TestSupport.h"
#include "tag/MenuKeys.h"
#include "tag/MenuTagBlocks.h"
#include "tag/MenuTree.h"
#include "tag/TagText.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <functional>
#include <utility>

using namespace vexa;
using vexa::test::TestEnvironment;

namespace {

const QString Wheel = QStringLiteral("WHEELMENU");
const QString Morph = QStringLiteral("MORPHMENU");
const QString Tree = QStringLiteral("TREEMENU");

using Lines = QList<std::pair<QString, QString>>;

QString paramLines(const Lines &lines) {
    QString text;
    // A double quote would end the value in the browser; it is written as an entity.
    for (const auto &[name, value] : lines)
        text += QStringLiteral("<param name=\"%1\" value=\"%2\">\r\n")
                    .arg(name, QString(value).replace(QLatin1Char('"'), QLatin1String("&quot;")));
    return text;
}

QString listTag(const SettingsStore &store, const QString &applet) {
    TagText tag;
    MenuTagBlocks::appendMenuList(store, applet, tag);
    return tag.text();
}

QString treeTag(const SettingsStore &store) {
    TagText tag;
    MenuTagBlocks::appendTree(store, tag);
    return tag.text();
}

QStringList paramNames(const QString &tag) {
    QStringList names;
    for (const QString &line : tag.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        names << line.section(QLatin1Char('"'), 1, 1);
    return names;
}

void set(SettingsStore &store, const QString &section, const QList<std::pair<QString, QString>> &values) {
    for (const auto &[key, value] : values)
        QVERIFY(store.write(section, key, value));
}

MenuRecord record(const QString &url = QString(), const QString &target = QString()) {
    MenuRecord r;
    r.url = url;
    r.target = target;
    r.targetEnabled = !target.isEmpty();
    return r;
}

MenuItem item(const QString &text, const MenuRecord &r = MenuRecord(), const QList<MenuItem> &children = {},
              bool expanded = false) {
    MenuItem i;
    i.text = text;
    i.record = r;
    i.children = children;
    i.expanded = expanded;
    return i;
}

MenuItem backItem(const QString &text) {
    MenuRecord r;
    r.back = true;
    return item(text, r);
}

MenuRecord treeRecord(int icon, const QString &url, bool root) {
    MenuRecord r;
    r.icon = icon;
    r.url = url;
    r.root = root;
    return r;
}

// ---- what the stored menus must give, worked out from the model ----

// Tree menu: the icons in first-use order, items renumbered to them.
void renumberIcons(QList<MenuItem> &items, const QStringList &icons, QStringList &used,
                   QHash<int, int> &map) {
    for (MenuItem &i : items) {
        int &icon = i.record->icon;
        if (icon >= 0) {
            if (!map.contains(icon)) {
                map.insert(icon, used.size());
                used << icons[icon];
            }
            icon = map.value(icon);
        }
        renumberIcons(i.children, icons, used, map);
    }
}

void treeConfigLines(const QList<MenuItem> &items, int parent, int &n, Lines &lines) {
    for (const MenuItem &i : items) {
        const int number = n++;
        lines << std::pair(QStringLiteral("config%1").arg(number),
                           QString::number(parent) + QLatin1Char(',') + i.text + QLatin1Char(',') +
                               QString::number(qMax(0, i.record->icon)) + QLatin1Char(',') +
                               (i.record->url.isEmpty() ? QStringLiteral("u") : i.record->url));
        treeConfigLines(i.children, number, n, lines);
    }
}

QString expectedTreeTag(const MenuTree &normalized, const QStringList &usedIcons) {
    if (normalized.isEmpty()) return QString();
    Lines lines;
    for (int k = 0; k < usedIcons.size(); ++k)
        lines << std::pair(QStringLiteral("Icon%1").arg(k), usedIcons[k]);
    int n = 0;
    treeConfigLines(normalized.items, 0, n, lines);
    return paramLines(lines);
}

void listLines(const QList<MenuItem> &items, QChar menu, QChar parent, const QString &sequence, int &counter,
               Lines &lines) {
    for (int p = 0; p < items.size(); ++p) {
        const MenuItem &i = items[p];
        const QString suffix = QString(menu) + sequence[p];
        lines << std::pair(QStringLiteral("MenuText") + suffix, i.text);
        if (!i.record->url.isEmpty()) lines << std::pair(QStringLiteral("MenuUrl") + suffix, i.record->url);
        if (i.record->targetEnabled && !i.record->target.isEmpty())
            lines << std::pair(QStringLiteral("MenuTarget") + suffix, i.record->target);
        if (i.hasChildren()) {
            const QChar sub = sequence[++counter];
            lines << std::pair(QStringLiteral("MenuLink") + suffix, QString(sub));
            listLines(i.children, sub, menu, sequence, counter, lines);
        } else if (i.record->back) {
            lines << std::pair(QStringLiteral("MenuLink") + suffix, QString(parent));
        }
    }
}

QString expectedListTag(const MenuTree &tree, const QString &sequence) {
    Lines lines;
    int counter = 0;
    listLines(tree.items, QLatin1Char('0'), QLatin1Char('0'), sequence, counter, lines);
    return paramLines(lines);
}

// ---- generated menus, within what the editors allow ----

QString randomText(QRandomGenerator &rng, const QString &alphabet, int minLength, int maxLength) {
    QString text;
    const int length = rng.bounded(minLength, maxLength + 1);
    for (int i = 0; i < length; ++i)
        text += alphabet[rng.bounded(int(alphabet.size()))];
    return text;
}

const QString TreeAlphabet = QStringLiteral("abcXYZ 019-_.&\"<>'?=/\\:%äé€");
const QString UrlAlphabet = QStringLiteral("abcz019/.:?=&#%,~_-");
const QString WheelAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
const QStringList Targets = {QStringLiteral("_blank"), QStringLiteral("_self"), QStringLiteral("_parent"),
                             QStringLiteral("_top"), QStringLiteral("mainFrame")};

QList<MenuItem> randomTreeRun(QRandomGenerator &rng, int depth, int iconCount, int &budget) {
    QList<MenuItem> run;
    const int count = rng.bounded(1, 6);
    for (int i = 0; i < count && budget > 0; ++i, --budget) {
        const int icon = rng.bounded(5) == 0 ? -1 : rng.bounded(iconCount);
        const QString url = rng.bounded(3) == 0 ? QString() : randomText(rng, UrlAlphabet, 1, 20);
        MenuItem it = item(randomText(rng, TreeAlphabet, 1, 16), treeRecord(icon, url, depth == 0));
        if (depth < 7 && rng.bounded(3) == 0) {
            it.children = randomTreeRun(rng, depth + 1, iconCount, budget);
            it.expanded = it.hasChildren() && rng.bounded(2) == 0;
        }
        run << it;
    }
    return run;
}

QList<MenuItem> randomMenu(QRandomGenerator &rng, const QString &applet, int limit, bool subMenu,
                           int &menusLeft) {
    const bool wheel = applet == Wheel;
    const QString alphabet = wheel ? WheelAlphabet : TreeAlphabet;
    const int count = rng.bounded(subMenu ? 2 : 1, limit + 1);
    // Wheel sub-menus may have a back item, morph sub-menus must have one.
    const int back = subMenu && (!wheel || rng.bounded(2) == 0) ? rng.bounded(count) : -1;
    QList<MenuItem> menu;
    for (int p = 0; p < count; ++p) {
        if (p == back) {
            menu << backItem(wheel ? QStringLiteral("BACK") : QStringLiteral("<---"));
        } else if (menusLeft > 0 && rng.bounded(3) == 0) {
            --menusLeft;
            MenuItem it = item(randomText(rng, alphabet, 1, 12), record());
            it.children = randomMenu(rng, applet, limit, true, menusLeft);
            it.expanded = rng.bounded(2) == 0;
            menu << it;
        } else {
            const QString url = rng.bounded(4) == 0 ? QString() : randomText(rng, UrlAlphabet, 1, 20);
            const QString target =
                rng.bounded(2) == 0 ? QString() : Targets[rng.bounded(int(Targets.size()))];
            menu << item(randomText(rng, alphabet, 1, 12), record(url, target));
        }
    }
    return menu;
}

} // namespace

class MenuKeysTest : public QObject {
    Q_OBJECT

private slots:
    void wheelExample();
    void morphUsesTwentyPositions();
    void wheelStopsAfterPositionSeven();
    void emptyTree();
    void treeExample();
    void treeSecondChildWithChildren();
    void treeRoundTrip();
    void listRoundTrip_data();
    void listRoundTrip();
    void roundTripSurvivesReopening();
    void shorterMenuOverwritesLonger();
    void targetSwitchedOffIsNotStored();
    void iconsOutsideTheList();
    void listCyclesEnd();
    void treeLinksAndLevelsCannotLoop();
    void deepTreeEndsAndStaysBounded();
    void readersCountWhatTheyLeaveOut();
    void treeKeysInAnySpelling();
};

void MenuKeysTest::wheelExample() {
    TestEnvironment env;
    MenuTree tree;
    tree.items = {
        item(QStringLiteral("A")),
        item(QStringLiteral("B"), record(), {item(QStringLiteral("x")), backItem(QStringLiteral("BACK"))})};
    QVERIFY(MenuKeys::writeMenuList(env.store(), Wheel, tree));

    QCOMPARE(listTag(env.store(), Wheel), paramLines({{"MenuText00", "A"},
                                                      {"MenuText01", "B"},
                                                      {"MenuLink01", "1"},
                                                      {"MenuText10", "x"},
                                                      {"MenuText11", "BACK"},
                                                      {"MenuLink11", "0"}}));
    QCOMPARE(env.store().read(Wheel, QStringLiteral("MenuText_02")), QString());
    QCOMPARE(env.store().read(Wheel, QStringLiteral("MenuText_12")), QString());

    // Addresses and targets come between the text and the link, each only when set.
    tree.items[0].record = record(QStringLiteral("a.html"), QStringLiteral("_top"));
    tree.items[1].children[0].record = record(QStringLiteral("x.html"));
    QVERIFY(MenuKeys::writeMenuList(env.store(), Wheel, tree));
    QCOMPARE(listTag(env.store(), Wheel), paramLines({{"MenuText00", "A"},
                                                      {"MenuUrl00", "a.html"},
                                                      {"MenuTarget00", "_top"},
                                                      {"MenuText01", "B"},
                                                      {"MenuLink01", "1"},
                                                      {"MenuText10", "x"},
                                                      {"MenuUrl10", "x.html"},
                                                      {"MenuText11", "BACK"},
                                                      {"MenuLink11", "0"}}));
    // Only the list menus have this block.
    QCOMPARE(listTag(env.store(), Tree), QString());
}

void MenuKeysTest::morphUsesTwentyPositions() {
    TestEnvironment env;
    MenuTree tree;
    for (int i = 0; i < 20; ++i)
        tree.items << item(QStringLiteral("Item %1").arg(i));
    QVERIFY(MenuKeys::writeMenuList(env.store(), Morph, tree));
    const QString tag = listTag(env.store(), Morph);
    QStringList expected;
    for (QChar c : QStringLiteral("0123456789abcdefghij"))
        expected << QStringLiteral("MenuText0") + c;
    QCOMPARE(paramNames(tag), expected);
    QCOMPARE(MenuKeys::nextChar(Morph, QLatin1Char('9')), QLatin1Char('a'));
    QVERIFY(MenuKeys::nextChar(Morph, QLatin1Char('j')).isNull());

    // A 21st item has no position: it is neither stored nor read.
    env.store().write(Morph, QStringLiteral("MenuText_0k"), QStringLiteral("stray"));
    QCOMPARE(listTag(env.store(), Morph), tag);
    tree.items << item(QStringLiteral("Item 20"));
    QVERIFY(!MenuKeys::writeMenuList(env.store(), Morph, tree));
    QCOMPARE(listTag(env.store(), Morph), tag);
    tree.items.removeLast();
    QCOMPARE(MenuKeys::readMenuList(env.store(), Morph), tree);
}

void MenuKeysTest::wheelStopsAfterPositionSeven() {
    TestEnvironment env;
    for (int p = 0; p < 10; ++p)
        env.store().write(Wheel, QStringLiteral("MenuText_0%1").arg(p), QStringLiteral("W%1").arg(p));
    env.store().write(Wheel, QStringLiteral("MenuText_0:"), QStringLiteral("colon"));
    QCOMPARE(paramNames(listTag(env.store(), Wheel)).size(), 8);
    QCOMPARE(paramNames(listTag(env.store(), Wheel)).last(), QStringLiteral("MenuText07"));
    QCOMPARE(MenuKeys::readMenuList(env.store(), Wheel).items.size(), 8);

    // Nine items or a ninth wheel do not fit: left out, and the writer says so.
    MenuTree nine;
    for (int i = 0; i < 9; ++i)
        nine.items << item(QStringLiteral("I"), record(), {item(QStringLiteral("S"))});
    QVERIFY(!MenuKeys::writeMenuList(env.store(), Wheel, nine));
    const MenuTree back = MenuKeys::readMenuList(env.store(), Wheel);
    QCOMPARE(back.items.size(), 8);
    QCOMPARE(back.itemCount(), 8 + 7); // wheels 1..7 only
    QVERIFY(!back.items[7].hasChildren());
    QCOMPARE(env.store().read(Wheel, QStringLiteral("MenuLink_07")), QString());
}

void MenuKeysTest::emptyTree() {
    TestEnvironment env;
    set(env.store(), Tree, {{"Icon_0", "a.gif"}, {"MenuLevel_0", "0"}, {"MenuText_1", "orphan"}});
    QCOMPARE(treeTag(env.store()), QString());
    QStringList icons;
    QVERIFY(MenuKeys::readTree(env.store(), icons).isEmpty());
    QCOMPARE(icons, QStringList{QStringLiteral("a.gif")});

    // Storing an empty menu empties the stored one, for all three menus.
    MenuTree one;
    one.items << item(QStringLiteral("Main"), treeRecord(0, QString(), true));
    QVERIFY(MenuKeys::writeTree(env.store(), one, {QStringLiteral("a.gif")}));
    QVERIFY(!treeTag(env.store()).isEmpty());
    QVERIFY(MenuKeys::writeTree(env.store(), MenuTree(), {}));
    QCOMPARE(treeTag(env.store()), QString());
    QVERIFY(MenuKeys::readTree(env.store(), icons).isEmpty());
    QVERIFY(icons.isEmpty());
    for (const QString &applet : {Wheel, Morph}) {
        MenuTree list;
        list.items << item(QStringLiteral("ONE"));
        QVERIFY(MenuKeys::writeMenuList(env.store(), applet, list));
        QVERIFY(MenuKeys::writeMenuList(env.store(), applet, MenuTree()));
        QCOMPARE(listTag(env.store(), applet), QString());
        QVERIFY(MenuKeys::readMenuList(env.store(), applet).isEmpty());
    }
}

void MenuKeysTest::treeExample() {
    TestEnvironment env;
    // 0 (with children), 1, 2 below it, 3 at the top level; 1 has neither icon nor address.
    MenuTree tree;
    tree.items = {item(QStringLiteral("Zero"), treeRecord(2, QStringLiteral("zero.html"), true),
                       {item(QStringLiteral("One"), treeRecord(-1, QString(), false)),
                        item(QStringLiteral("Two"), treeRecord(0, QStringLiteral("two.html"), false))},
                       true),
                  item(QStringLiteral("Three"), treeRecord(2, QString(), true))};
    const QStringList icons = {QStringLiteral("leaf.gif"), QStringLiteral("unused.gif"),
                               QStringLiteral("dir.gif")};
    QVERIFY(MenuKeys::writeTree(env.store(), tree, icons));

    QCOMPARE(treeTag(env.store()), paramLines({{"Icon0", "dir.gif"},
                                               {"Icon1", "leaf.gif"},
                                               {"config0", "0,Zero,0,zero.html"},
                                               {"config1", "0,One,0,u"},
                                               {"config2", "0,Two,1,two.html"},
                                               {"config3", "0,Three,0,u"}}));
    const QList<std::pair<QString, QString>> stored = {
        {"MenuText_0", "Zero"}, {"MenuLevel_0", "0"},    {"MenuIcon_0", "0"},  {"MenuState_0", "1"},
        {"MenuLink_0", "1"},    {"MenuLevel_1", "1"},    {"MenuIcon_1", ""},   {"MenuLink_1", ""},
        {"MenuLink_2", ""},     {"MenuText_3", "Three"}, {"MenuLevel_3", "0"}, {"MenuText_4", ""},
        {"Icon_2", ""}};
    for (const auto &[key, value] : stored)
        QCOMPARE(env.store().read(Tree, key), value);

    QStringList readIcons;
    MenuTree back = MenuKeys::readTree(env.store(), readIcons);
    QCOMPARE(readIcons, (QStringList{QStringLiteral("dir.gif"), QStringLiteral("leaf.gif")}));
    tree.items[0].record->icon = 0;
    tree.items[0].children[1].record->icon = 1;
    tree.items[1].record->icon = 0;
    QCOMPARE(back, tree);
}

void MenuKeysTest::treeSecondChildWithChildren() {
    TestEnvironment env;
    // Hand-made keys: Main > (A, B > (C, D), E)
    set(env.store(), Tree,
        {{"MenuText_0", "Main"},
         {"MenuLevel_0", "0"},
         {"MenuLink_0", "1"},
         {"MenuText_1", "A"},
         {"MenuLevel_1", "1"},
         {"MenuText_2", "B"},
         {"MenuLevel_2", "1"},
         {"MenuLink_2", "3"},
         {"MenuText_3", "C"},
         {"MenuLevel_3", "2"},
         {"MenuIcon_3", "4"},
         {"MenuText_4", "D"},
         {"MenuLevel_4", "2"},
         {"MenuUrl_4", "d.html"},
         {"MenuText_5", "E"},
         {"MenuLevel_5", "1"}});
    QCOMPARE(treeTag(env.store()), paramLines({{"config0", "0,Main,0,u"},
                                               {"config1", "0,A,0,u"},
                                               {"config2", "0,B,0,u"},
                                               {"config3", "2,C,4,u"},
                                               {"config4", "2,D,0,d.html"},
                                               {"config5", "0,E,0,u"}}));
    QStringList icons;
    const MenuTree tree = MenuKeys::readTree(env.store(), icons);
    QCOMPARE(tree.itemCount(), 6);
    QCOMPARE(tree.items[0].children[1].children.size(), 2);
    QCOMPARE(tree.items[0].children[2].text, QStringLiteral("E"));
}

void MenuKeysTest::treeRoundTrip() {
    TestEnvironment env; // one store for all: every tree overwrites the one before
    QRandomGenerator rng(20240611);
    for (int round = 0; round < 300; ++round) {
        QStringList icons;
        const int iconCount = rng.bounded(1, 9);
        for (int i = 0; i < iconCount; ++i)
            icons << QStringLiteral("icon%1_%2.gif").arg(round).arg(i);
        int budget = rng.bounded(1, 60);
        MenuTree tree;
        tree.items = randomTreeRun(rng, 0, iconCount, budget);
        QVERIFY(MenuKeys::writeTree(env.store(), tree, icons));

        MenuTree expected = tree;
        QStringList used;
        QHash<int, int> map;
        renumberIcons(expected.items, icons, used, map);
        QStringList readIcons;
        const MenuTree back = MenuKeys::readTree(env.store(), readIcons);
        QCOMPARE(readIcons, used);
        QCOMPARE(back, expected);
        QCOMPARE(treeTag(env.store()), expectedTreeTag(expected, used));
    }
}

void MenuKeysTest::listRoundTrip_data() {
    QTest::addColumn<QString>("applet");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("sequence");
    QTest::newRow("wheel") << Wheel << 8 << QStringLiteral("01234567");
    QTest::newRow("morph") << Morph << 20 << QStringLiteral("0123456789abcdefghij");
}

void MenuKeysTest::listRoundTrip() {
    QFETCH(QString, applet);
    QFETCH(int, limit);
    QFETCH(QString, sequence);
    TestEnvironment env;
    QRandomGenerator rng(limit * 7919u);
    int fullMenus = 0;
    for (int round = 0; round < 300; ++round) {
        int menusLeft = rng.bounded(limit); // sub-menus besides the top menu
        const int allowed = menusLeft;
        MenuTree tree;
        tree.items = randomMenu(rng, applet, limit, false, menusLeft);
        if (menusLeft == 0 && allowed == limit - 1) ++fullMenus;
        QVERIFY(MenuKeys::writeMenuList(env.store(), applet, tree));
        QCOMPARE(MenuKeys::readMenuList(env.store(), applet), tree);
        QCOMPARE(listTag(env.store(), applet), expectedListTag(tree, sequence));
    }
    QVERIFY(fullMenus > 0); // the limits themselves were reached
}

void MenuKeysTest::roundTripSurvivesReopening() {
    TestEnvironment env;
    MenuTree list;
    list.items = {item(QStringLiteral("A, b"),
                       record(QStringLiteral("a.html?x=1,2"), QStringLiteral("_self")),
                       {item(QStringLiteral("\"q\" <x>")), backItem(QStringLiteral("<---"))}, true)};
    MenuTree tree;
    tree.items = {item(QStringLiteral("Main"), treeRecord(0, QStringLiteral("m.html?a=1&b=2"), true))};
    QVERIFY(MenuKeys::writeMenuList(env.store(), Morph, list));
    QVERIFY(MenuKeys::writeTree(env.store(), tree, {QStringLiteral("ic empty.gif")}));
    const QString listBefore = listTag(env.store(), Morph);
    const QString treeBefore = treeTag(env.store());
    env.reopenStore();
    QCOMPARE(MenuKeys::readMenuList(env.store(), Morph), list);
    QStringList icons;
    QCOMPARE(MenuKeys::readTree(env.store(), icons), tree);
    QCOMPARE(icons, QStringList{QStringLiteral("ic empty.gif")});
    QCOMPARE(listTag(env.store(), Morph), listBefore);
    QCOMPARE(treeTag(env.store()), treeBefore);
}

void MenuKeysTest::shorterMenuOverwritesLonger() {
    QRandomGenerator rng(4711);
    for (int round = 0; round < 20; ++round) {
        TestEnvironment env, fresh;
        // Tree: a big tree with icons everywhere, then a small one without icons.
        MenuTree big;
        int budget = 60;
        big.items = randomTreeRun(rng, 0, 4, budget);
        const QStringList icons = {QStringLiteral("a.gif"), QStringLiteral("b.gif"), QStringLiteral("c.gif"),
                                   QStringLiteral("d.gif")};
        QVERIFY(MenuKeys::writeTree(env.store(), big, icons));
        MenuTree small;
        small.items = {item(QStringLiteral("Main"), treeRecord(-1, QString(), true),
                            {item(QStringLiteral("Leaf"), treeRecord(-1, QString(), false))})};
        QVERIFY(MenuKeys::writeTree(env.store(), small, icons));
        QVERIFY(MenuKeys::writeTree(fresh.store(), small, icons));
        QCOMPARE(treeTag(env.store()), treeTag(fresh.store()));
        QCOMPARE(treeTag(env.store()), paramLines({{"config0", "0,Main,0,u"}, {"config1", "0,Leaf,0,u"}}));
        QStringList readIcons;
        QCOMPARE(MenuKeys::readTree(env.store(), readIcons), small);
        QVERIFY(readIcons.isEmpty());

        // Wheel and morph: a full menu, then a short one whose items have no record.
        for (const QString &applet : {Wheel, Morph}) {
            const int limit = applet == Wheel ? 8 : 20;
            int menusLeft = limit - 1;
            MenuTree full;
            full.items = randomMenu(rng, applet, limit, false, menusLeft);
            QVERIFY(MenuKeys::writeMenuList(env.store(), applet, full));
            MenuTree shortMenu;
            shortMenu.items = {item(QStringLiteral("ONE")), MenuItem()};
            shortMenu.items[1].text = QStringLiteral("TWO");
            QVERIFY(MenuKeys::writeMenuList(env.store(), applet, shortMenu));
            QVERIFY(MenuKeys::writeMenuList(fresh.store(), applet, shortMenu));
            QCOMPARE(listTag(env.store(), applet), listTag(fresh.store(), applet));
            QCOMPARE(listTag(env.store(), applet),
                     paramLines({{"MenuText00", "ONE"}, {"MenuText01", "TWO"}}));
            QCOMPARE(MenuKeys::readMenuList(env.store(), applet).itemCount(), 2);
        }
    }
}

void MenuKeysTest::targetSwitchedOffIsNotStored() {
    TestEnvironment env;
    MenuRecord off = record(QStringLiteral("a.html"), QStringLiteral("_top"));
    off.targetEnabled = false; // unticked after a target was chosen
    MenuTree tree;
    tree.items = {item(QStringLiteral("A"), off)};
    QVERIFY(MenuKeys::writeMenuList(env.store(), Morph, tree));
    QCOMPARE(listTag(env.store(), Morph), paramLines({{"MenuText00", "A"}, {"MenuUrl00", "a.html"}}));
    const MenuTree back = MenuKeys::readMenuList(env.store(), Morph);
    QVERIFY(!back.items[0].record->targetEnabled);
    QCOMPARE(back.items[0].record->target, QString());
}

void MenuKeysTest::iconsOutsideTheList() {
    TestEnvironment env;
    MenuTree tree;
    tree.items = {item(QStringLiteral("Main"), treeRecord(5, QString(), true))};
    // An icon number the list does not have is left out rather than read past the list.
    QVERIFY(!MenuKeys::writeTree(env.store(), tree, {QStringLiteral("a.gif")}));
    QCOMPARE(treeTag(env.store()), paramLines({{"config0", "0,Main,0,u"}}));

    // A stored number outside the icon table reads back as no icon; the tag keeps it.
    set(env.store(), Tree, {{"Icon_0", "a.gif"}, {"Icon_1", ""}, {"MenuIcon_0", "7"}});
    QStringList icons;
    QCOMPARE(MenuKeys::readTree(env.store(), icons).items[0].record->icon, -1);
    QCOMPARE(treeTag(env.store()), paramLines({{"Icon0", "a.gif"}, {"config0", "0,Main,7,u"}}));
}

void MenuKeysTest::listCyclesEnd() {
    TestEnvironment env;
    // 0 -> 1 -> 2 -> 3 -> back to 1; 3 also links 0, 1 links itself, 0 links 3 again.
    set(env.store(), Wheel,
        {{"MenuText_00", "A"},
         {"MenuLink_00", "1"},
         {"MenuText_10", "B"},
         {"MenuLink_10", "2"},
         {"MenuText_20", "C"},
         {"MenuLink_20", "3"},
         {"MenuText_30", "D"},
         {"MenuLink_30", "1"},
         {"MenuText_31", "E"},
         {"MenuLink_31", "0"},
         {"MenuText_11", "G"},
         {"MenuLink_11", "1"},
         {"MenuText_01", "F"},
         {"MenuLink_01", "3"},
         {"MenuText_02", "H"},
         {"MenuLink_02", "9"}});
    const QString tag = listTag(env.store(), Wheel);
    QCOMPARE(tag, paramLines({{"MenuText00", "A"},
                              {"MenuLink00", "1"},
                              {"MenuText10", "B"},
                              {"MenuLink10", "2"},
                              {"MenuText20", "C"},
                              {"MenuLink20", "3"},
                              {"MenuText30", "D"},
                              {"MenuLink30", "1"},
                              {"MenuText31", "E"},
                              {"MenuLink31", "0"},
                              {"MenuText11", "G"},
                              {"MenuLink11", "1"},
                              {"MenuText01", "F"},
                              {"MenuLink01", "3"},
                              {"MenuText02", "H"},
                              {"MenuLink02", "9"}}));
    const MenuTree wheel = MenuKeys::readMenuList(env.store(), Wheel);
    QCOMPARE(wheel.itemCount(), 8);
    QCOMPARE(wheel.depth(), 4);
    for (const MenuItem *leaf : {&wheel.items[1], &wheel.items[2], &wheel.items[0].children[1]})
        QVERIFY(!leaf->hasChildren() && !leaf->record->back);

    // Morph: every menu links every other one, the top menu included.
    const QString sequence = QStringLiteral("0123456789abcdefghij");
    for (QChar m : sequence)
        for (int p = 0; p < 20; ++p) {
            env.store().write(Morph, MenuKeys::key(QStringLiteral("MenuText_"), m, sequence[p]),
                              QStringLiteral("T"));
            env.store().write(Morph, MenuKeys::key(QStringLiteral("MenuLink_"), m, sequence[p]),
                              QString(sequence[p]));
        }
    const QStringList names = paramNames(listTag(env.store(), Morph));
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    QCOMPARE(names.size(), 2 * 20 * 20); // every menu once, text and link of each item
    QCOMPARE(MenuKeys::readMenuList(env.store(), Morph).itemCount(), 20 * 20);
}

void MenuKeysTest::treeLinksAndLevelsCannotLoop() {
    TestEnvironment env;
    // Links pointing backwards or anywhere: the children are the items that follow.
    set(env.store(), Tree,
        {{"MenuText_0", "Main"},
         {"MenuLevel_0", "0"},
         {"MenuLink_0", "0"},
         {"MenuText_1", "A"},
         {"MenuLevel_1", "1"},
         {"MenuLink_1", "0"},
         {"MenuText_2", "B"},
         {"MenuLevel_2", "0"},
         {"MenuLink_2", "x"},
         {"MenuText_3", "C"},
         {"MenuLevel_3", " -1"}});
    QCOMPARE(treeTag(env.store()),
             paramLines({{"config0", "0,Main,0,u"}, {"config1", "0,A,0,u"}, {"config2", "0,B,0,u"}}));
    QStringList icons;
    MenuTree tree = MenuKeys::readTree(env.store(), icons);
    QCOMPARE(tree.itemCount(), 3);
    QCOMPARE(tree.items.size(), 2);

    // Huge or odd levels end the run where they stand.
    for (const QString &level : {QStringLiteral("99999999999999"), QStringLiteral("-2147483649"),
                                 QStringLiteral("2"), QStringLiteral("1x")}) {
        env.store().write(Tree, QStringLiteral("MenuLevel_1"), level);
        const int expected = level == QLatin1String("1x") ? 3 : 1;
        QCOMPARE(paramNames(treeTag(env.store())).size(), expected);
        QCOMPARE(MenuKeys::readTree(env.store(), icons).itemCount(), expected);
    }
}

void MenuKeysTest::deepTreeEndsAndStaysBounded() {
    TestEnvironment env;
    // A chain far deeper than any editor makes, then one more top-level item.
    const int chain = 5000;
    for (int n = 0; n < chain; ++n) {
        env.store().write(Tree, MenuKeys::key(QStringLiteral("MenuText_"), n), QStringLiteral("L%1").arg(n));
        env.store().write(Tree, MenuKeys::key(QStringLiteral("MenuLevel_"), n), QString::number(n));
        env.store().write(Tree, MenuKeys::key(QStringLiteral("MenuLink_"), n), QString::number(n + 1));
    }
    env.store().write(Tree, MenuKeys::key(QStringLiteral("MenuText_"), chain), QStringLiteral("Last"));
    const QStringList names = paramNames(treeTag(env.store()));
    QCOMPARE(names.size(), chain + 1);
    QVERIFY(treeTag(env.store())
                .endsWith(QStringLiteral("<param name=\"config5000\" value=\"0,Last,0,u\">\r\n")));

    QStringList icons;
    MenuKeys::Cuts cuts;
    const MenuTree tree = MenuKeys::readTree(env.store(), icons, QString(), &cuts);
    QCOMPARE(tree.depth(), MenuKeys::MaxTreeDepth);
    QCOMPARE(tree.items.size(), 2);
    QCOMPARE(tree.items[1].text, QStringLiteral("Last"));
    QCOMPARE(tree.itemCount(), MenuKeys::MaxTreeDepth + 1);
    QCOMPARE(cuts.deepItems, chain - MenuKeys::MaxTreeDepth);
    QCOMPARE(cuts.surplusItems + cuts.longTexts, 0);
}

// What the page cannot keep is left out and counted: items past the limit, long texts.
void MenuKeysTest::readersCountWhatTheyLeaveOut() {
    TestEnvironment env;
    const QString longText(MenuKeys::MaxTextLength + 1, QLatin1Char('x'));
    MenuTree tree;
    tree.items = {item("Main", treeRecord(0, longText, true))};
    for (int i = 0; i < MenuKeys::MaxTreeItems + 4; ++i)
        tree.items[0].children.append(item(QStringLiteral("I%1").arg(i), treeRecord(0, QString(), false)));
    QVERIFY(MenuKeys::writeTree(env.store(), tree, {"i.gif"}));
    QStringList icons;
    MenuKeys::Cuts cuts;
    const MenuTree back = MenuKeys::readTree(env.store(), icons, QString(), &cuts);
    QCOMPARE(back.itemCount(), MenuKeys::MaxTreeItems);
    QCOMPARE(back.items[0].record->url, longText.left(MenuKeys::MaxTextLength));
    QCOMPARE(cuts.surplusItems, 5);
    QCOMPARE(cuts.longTexts, 1);

    MenuTree list;
    list.items = {item(longText), item("B")};
    QVERIFY(MenuKeys::writeMenuList(env.store(), Morph, list));
    const MenuTree listBack = MenuKeys::readMenuList(env.store(), Morph, QString(), &cuts);
    QCOMPARE(listBack.items[0].text.size(), MenuKeys::MaxTextLength);
    QCOMPARE(cuts.longTexts, 1);
    QVERIFY(!cuts.surplusItems && !cuts.deepItems);
}

// Keys are found whatever their letter case, as every key of the store; a number written
// otherwise than the program writes it (a leading zero) names no item.
void MenuKeysTest::treeKeysInAnySpelling() {
    TestEnvironment env;
    set(env.store(), Tree, {{"menutext_0", "Home"}, {"MENULEVEL_0", "0"}, {"MenuUrl_0", "home.html"},
                            {"MenuText_1", "Next"}, {"menulevel_1", "0"}, {"MenuText_01", "Never"},
                            {"MenuText_2", ""}});
    QStringList icons;
    const MenuTree tree = MenuKeys::readTree(env.store(), icons);
    QCOMPARE(tree.items.size(), 2);
    QCOMPARE(tree.items[0].text, QStringLiteral("Home"));
    QCOMPARE(tree.items[0].record->url, QStringLiteral("home.html"));
    QCOMPARE(tree.items[1].text, QStringLiteral("Next"));
}

QTEST_GUILESS_MAIN(MenuKeysTest)
#include "tst_menukeys.moc"
