// The checks a menu passes before its page is left, at the edges of what each applet shows.

#include "strings/StringIds.h"
#include "tag/MenuChecks.h"

#include <QTest>

using namespace vexa;

Q_DECLARE_METATYPE(vexa::MenuTree)

namespace {

MenuItem item(const QString &text, QList<MenuItem> children = {}, bool back = false, int icon = 0)
{
    MenuItem made;
    made.text = text;
    made.children = std::move(children);
    made.record = MenuRecord{};
    made.record->back = back;
    made.record->icon = icon;
    return made;
}

QList<MenuItem> items(int count, const QString &stem = QStringLiteral("Item"))
{
    QList<MenuItem> list;
    for (int i = 0; i < count; ++i)
        list.append(item(stem + QString::number(i)));
    return list;
}

// `menus` items at the top level, the first `withSubMenus` of them opening a sub-menu with a back item.
MenuTree withSubMenus(int topLevel, int withSubMenus)
{
    MenuTree tree;
    tree.items = items(topLevel);
    for (int i = 0; i < withSubMenus; ++i)
        tree.items[i].children = {item("Sub"), item("Back", {}, true)};
    return tree;
}

// A tree menu of one chain of items, `levels` deep.
MenuTree chain(int levels)
{
    MenuTree tree;
    tree.items = {item("L0")};
    MenuItem *last = &tree.items.first();
    for (int level = 1; level < levels; ++level) {
        last->children = {item(QStringLiteral("L%1").arg(level))};
        last = &last->children.first();
    }
    return tree;
}

MenuTree flatTree(int count)
{
    MenuTree tree;
    tree.items = {item("Main", items(count - 1))};
    return tree;
}

} // namespace

class MenuChecksTest : public QObject {
    Q_OBJECT

private slots:
    void limits_data()
    {
        QTest::addColumn<QString>("applet");
        QTest::addColumn<MenuTree>("tree");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("message");
        QTest::newRow("wheel 8 items") << "WHEELMENU" << withSubMenus(8, 0) << 1 << 0;
        QTest::newRow("wheel 9 items") << "WHEELMENU" << withSubMenus(9, 0) << -3 << 1587;
        QTest::newRow("wheel 7 sub-menus") << "WHEELMENU" << withSubMenus(8, 7) << 1 << 0;
        QTest::newRow("wheel 8 sub-menus") << "WHEELMENU" << withSubMenus(8, 8) << -1 << 1591;
        QTest::newRow("morph 20 items") << "MORPHMENU" << withSubMenus(20, 0) << 1 << 0;
        QTest::newRow("morph 21 items") << "MORPHMENU" << withSubMenus(21, 0) << -3 << 1586;
        QTest::newRow("morph 19 sub-menus") << "MORPHMENU" << withSubMenus(20, 19) << 1 << 0;
        QTest::newRow("morph 20 sub-menus") << "MORPHMENU" << withSubMenus(20, 20) << -1 << 1590;

        MenuTree noBack;
        noBack.items = {item("Home"), item("More", {item("A"), item("B")})};
        QTest::newRow("morph sub-menu without back") << "MORPHMENU" << noBack << -4 << 1585;
        QTest::newRow("wheel sub-menu without back") << "WHEELMENU" << noBack << 1 << 0;
        MenuTree backed = noBack;
        backed.items[1].children[1].record->back = true;
        QTest::newRow("morph sub-menu with back") << "MORPHMENU" << backed << 1 << 0;
        MenuTree twoBacks = backed;
        twoBacks.items[1].children[0].record->back = true;
        QTest::newRow("morph two backs") << "MORPHMENU" << twoBacks << -2 << 1588;
        QTest::newRow("wheel two backs") << "WHEELMENU" << twoBacks << -2 << 1589;
        MenuTree recordless = backed;
        recordless.items[1].children[0].record.reset();
        QTest::newRow("wheel item without record") << "WHEELMENU" << recordless << 0 << 1592;
        QTest::newRow("empty") << "MORPHMENU" << MenuTree{} << 0 << 1595;

        MenuTree tree;
        tree.items = {item("Main", {item("A"), item("B", {item("B1"), item("B2", {}, false, -1)})})};
        QTest::newRow("tree item without icon") << "TREEMENU" << tree << -1 << 1593;
        MenuTree iconed = tree;
        iconed.items[0].children[1].children[1].record->icon = 1;
        QTest::newRow("tree with icons") << "TREEMENU" << iconed << 1 << 0;
        iconed.items[0].children[0].record.reset();
        QTest::newRow("tree item without record") << "TREEMENU" << iconed << 0 << 1594;
        QTest::newRow("empty tree") << "TREEMENU" << MenuTree{} << 0 << 1595;
        QTest::newRow("tree 100 levels") << "TREEMENU" << chain(100) << 1 << 0;
        QTest::newRow("tree 101 levels") << "TREEMENU" << chain(101) << -5 << Str::MenuTooDeep;
        QTest::newRow("tree 3000 items") << "TREEMENU" << flatTree(3000) << 1 << 0;
        QTest::newRow("tree 3001 items") << "TREEMENU" << flatTree(3001) << -3 << Str::MenuTooManyItems;
    }

    void limits()
    {
        QFETCH(QString, applet);
        QFETCH(MenuTree, tree);
        QFETCH(int, code);
        QFETCH(int, message);
        const MenuChecks::Result result = MenuChecks::check(tree, applet);
        QCOMPARE(result.code, code);
        QCOMPARE(result.messageId, message);
        if (message == Str::MenuTooDeep) // the first item one level too deep is shown
            QCOMPARE(result.path, QList<int>(101, 0));
        if (message == Str::MenuTooManyItems)
            QCOMPARE(result.arguments, (QList<int>{3001, 3000}));
    }

    // Going back checks only what the stored form cannot hold: the counts.
    void capacity_data() { limits_data(); }
    void capacity()
    {
        QFETCH(QString, applet);
        QFETCH(MenuTree, tree);
        QFETCH(int, code);
        QFETCH(int, message);
        const bool overLimit = code == -3 || code == -5 || (code == -1 && applet != QLatin1String("TREEMENU"));
        const MenuChecks::Result result = MenuChecks::checkCapacity(tree, applet);
        QCOMPARE(result.code, overLimit ? code : 1);
        QCOMPARE(result.messageId, overLimit ? message : 0);
    }

    // The tree menu names the item to show the user.
    void treeMenuPointsAtTheItem()
    {
        MenuTree tree;
        tree.items = {item("Main", {item("A"), item("B", {item("B1"), item("B2", {}, false, -1)})})};
        QCOMPARE(MenuChecks::check(tree, "TREEMENU").path, (QList<int>{0, 1, 1}));
        // The wheel and morph checks point at nothing.
        QVERIFY(MenuChecks::check(withSubMenus(9, 0), "WHEELMENU").path.isEmpty());
    }
};

QTEST_MAIN(MenuChecksTest)
#include "tst_menuchecks.moc"
