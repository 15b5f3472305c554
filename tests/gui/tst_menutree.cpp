// The menu items page of the tree, wheel and morph menus, driven through the real page:
// mouse drags and the drop menu, the keyboard, Auto apply, back items, icons, undo, and
// the menu settings pages.

#include "ScriptedServices.h"
#include "TestSupport.h"
#include "PageFixture.h"
#include "WizardFixture.h"
#include "editors/MenuTreeEditor.h"
#include "settings/InstallData.h"
#include "pages/Page.h"
#include "strings/StringIds.h"
#include "tag/MenuKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QScrollBar>
#include <QTreeWidget>
#include <QUndoStack>

#include <memory>

using namespace vexa;
using vexa::test::PageFixture;
using vexa::test::ScriptedServices;
using vexa::test::gifHeader;
using vexa::test::TestEnvironment;
using vexa::test::WizardFixture;

Q_DECLARE_METATYPE(vexa::MenuTree)

namespace {

using namespace MenuTreeControls;

MenuItem node(const QString &text, const QString &url = QString(), QList<MenuItem> children = {}, int icon = 0)
{
    MenuItem item;
    item.text = text;
    item.children = std::move(children);
    item.record = MenuRecord{};
    item.record->url = url;
    item.record->icon = icon;
    return item;
}

struct MenuFixture : PageFixture {
    using PageFixture::choose;
    void open(const QString &applet, const MenuTree &menu, bool autoApply = true, int pageId = 197)
    {
        PageFixture::open(
            pageId, applet,
            [&] {
                if (applet == QLatin1String("TREEMENU"))
                    MenuKeys::writeTree(env.store(), menu, {"folder.gif", "page.gif"});
                else if (!menu.isEmpty())
                    MenuKeys::writeMenuList(env.store(), applet, menu);
                env.store().write(applet, "AutoApply", autoApply ? "YES" : "NO");
            },
            QSize(900, 600));
    }
    MenuTreeEditor &editor() const { return *MenuTreeEditor::of(*page); }
    QTreeWidget *tree() const { return page->control<QTreeWidget>(Tree); }
    QTreeWidgetItem *item(const QString &text) const
    {
        const auto found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    QPoint at(QTreeWidgetItem *item) const
    {
        if (!item)
            qFatal("no such item in the tree");
        tree()->scrollToItem(item);
        return tree()->visualItemRect(item).center();
    }
    void select(const QString &text) { QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at(item(text))); }
    // Drags `from` onto `to` with a mouse button; the drop menu opens on release.
    void drag(const QString &from, const QString &to, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget *viewport = tree()->viewport();
        const QPoint start = at(item(from));
        const QPoint end = at(item(to));
        QTest::mousePress(viewport, button, {}, start);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(viewport, start + (end - start) * step / 4);
        QTest::mouseRelease(viewport, button, {}, end);
    }
    // Chooses a command of the open drop menu with the keyboard.
    void choose(const QString &command)
    {
        QMenu *menu = editor().dropMenu();
        QVERIFY(menu->isVisible());
        for (int steps = 0; steps < 8 && (!menu->activeAction() || menu->activeAction()->text() != command); ++steps)
            QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(menu->activeAction()->text(), command);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    QStringList labels(QTreeWidgetItem *parent = nullptr) const
    {
        QStringList texts;
        const int count = parent ? parent->childCount() : tree()->topLevelItemCount();
        for (int i = 0; i < count; ++i)
            texts << (parent ? parent->child(i) : tree()->topLevelItem(i))->text(0);
        return texts;
    }
};

// A folder with five children, each with its own link, and a long label.
MenuTree fiveChildren()
{
    QList<MenuItem> children;
    for (int i = 1; i <= 5; ++i)
        children.append(node(QStringLiteral("Child %1").arg(i), QStringLiteral("c%1.html").arg(i)));
    MenuTree tree;
    tree.items = {node("Home", "index.html"), node("Folder", QString(), children),
                  node(QString(60, QLatin1Char('L')), "long.html"), node("Last", "last.html")};
    return tree;
}

// The wheel's default menu: four links.
MenuTree fourLinks()
{
    MenuTree tree;
    for (const char *text : {"HOME", "PRODUCTS", "SUPPORT", "CONTACT"})
        tree.items.append(node(text, QString::fromLatin1(text).toLower() + ".html"));
    tree.items[0].record->targetEnabled = true;
    tree.items[0].record->target = QStringLiteral("_self");
    return tree;
}

// `count` items at the top level, the first `opening` of them with one item below.
MenuTree topLevel(int count, int opening)
{
    MenuTree tree;
    for (int i = 0; i < count; ++i)
        tree.items.append(node(QStringLiteral("ITEM %1").arg(QChar(QLatin1Char('A' + i))), "x.html"));
    for (int i = 0; i < opening; ++i)
        tree.items[i].children = {node("SUB", "s.html")};
    return tree;
}

} // namespace

class MenuTreeTest : public QObject {
    Q_OBJECT

private slots:
    void dropMenuEnabling_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QList<bool>>("enabled"); // Move Into, Move After, Copy Into, Copy After, Cancel
        QTest::newRow("onto itself") << "Folder" << "Folder" << QList<bool>{false, false, false, false, true};
        QTest::newRow("into its own branch") << "Folder" << "Child 2" << QList<bool>{false, false, false, false, true};
        QTest::newRow("onto its parent") << "Child 2" << "Folder" << QList<bool>{false, true, true, true, true};
        QTest::newRow("after the one before it") << "Child 2" << "Child 1" << QList<bool>{true, false, true, true, true};
        QTest::newRow("onto a back item") << "Home" << "Back" << QList<bool>{false, true, false, true, true};
        QTest::newRow("anywhere else") << "Last" << "Child 3" << QList<bool>{true, true, true, true, true};
        QTest::newRow("no target") << "Last" << "" << QList<bool>{false, false, false, false, true};
    }
    void dropMenuEnabling()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(QList<bool>, enabled);
        MenuFixture f;
        MenuTree menu = fiveChildren();
        MenuItem back = node("Back");
        back.record->back = true;
        menu.items[1].children.append(back);
        f.open("MORPHMENU", menu);
        const auto result = MenuTreeEditor::enabledCommands(f.item(source), target.isEmpty() ? nullptr : f.item(target));
        QCOMPARE(QList<bool>(result.begin(), result.end()), enabled);
    }

    // A root of the tree menu takes nothing after it: it must stay the only top-level item.
    void treeMenuRootTakesNothingAfterIt()
    {
        MenuFixture f;
        MenuTree menu;
        menu.items = {node("Main", QString(), {node("A", "a.html"), node("B", "b.html")})};
        f.open("TREEMENU", menu);
        const auto result = MenuTreeEditor::enabledCommands(f.item("B"), f.item("Main"));
        QCOMPARE(QList<bool>(result.begin(), result.end()), (QList<bool>{false, false, true, false, true}));
    }

    void moveAndCopyABranchByMouse()
    {
        MenuFixture f;
        f.open("MORPHMENU", fiveChildren());
        f.drag("Folder", "Last");
        f.choose("Move After");
        const QString longLabel(60, QLatin1Char('L'));
        QCOMPARE(f.labels(), (QStringList{"Home", longLabel, "Last", "Folder"}));
        QTreeWidgetItem *folder = f.item("Folder");
        QCOMPARE(f.labels(folder), (QStringList{"Child 1", "Child 2", "Child 3", "Child 4", "Child 5"}));
        QVERIFY(!folder->isExpanded());
        QCOMPARE(MenuTreeEditor::recordOf(folder->child(3)).url, QStringLiteral("c4.html"));
        QCOMPARE(f.tree()->currentItem(), f.item("Last")); // the target is selected

        // The right button drags too; a copy gets its own records, and the long label stays whole.
        f.drag(longLabel, "Child 2", Qt::RightButton);
        f.choose("Copy Into");
        QCOMPARE(f.labels(), (QStringList{"Home", longLabel, "Last", "Folder"}));
        QTreeWidgetItem *copy = f.item("Child 2")->child(0);
        QCOMPARE(copy->text(0), longLabel);
        QCOMPARE(MenuTreeEditor::recordOf(copy).url, QStringLiteral("long.html"));

        // Moving the pointer off the tree ends a drag as Cancel.
        QWidget *viewport = f.tree()->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, f.at(f.item("Home")));
        QTest::mouseMove(viewport, f.at(f.item("Last")));
        QTest::mouseMove(viewport, QPoint(-40, -40));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(-40, -40));
        QVERIFY(!f.editor().dropMenu()->isVisible());
        QCOMPARE(f.labels(), (QStringList{"Home", longLabel, "Last", "Folder"}));

        // Undo brings the branches back; redo repeats.
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!f.item("Child 2")->childCount());
        QTest::keyClick(f.tree(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.labels(), (QStringList{"Home", "Folder", longLabel, "Last"}));
        QTest::keyClick(f.tree(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.labels(), (QStringList{"Home", longLabel, "Last", "Folder"}));
    }

    // The same move from the keyboard: mark, go to the target, open the drop menu.
    void moveByKeyboard()
    {
        MenuFixture f;
        f.open("MORPHMENU", fiveChildren());
        f.select("Child 5");
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(f.tree(), Qt::Key_Up);
        QTest::keyClick(f.tree(), Qt::Key_Up);
        QCOMPARE(f.tree()->currentItem()->text(0), QStringLiteral("Child 3"));
        QTest::keyClick(f.tree(), Qt::Key_F10, Qt::ShiftModifier);
        // The same enabling as for a drag: Child 3 is no parent of Child 5.
        QVERIFY(f.editor().dropCommand(MenuTreeEditor::MoveInto)->isEnabled());
        f.choose("Move After");
        QCOMPARE(f.labels(f.item("Folder")), (QStringList{"Child 1", "Child 2", "Child 3", "Child 5", "Child 4"}));
        QCOMPARE(f.status, QStringLiteral("\"Child 5\" moved"));
        QTest::keyClick(f.tree(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.labels(f.item("Folder")), (QStringList{"Child 1", "Child 2", "Child 3", "Child 4", "Child 5"}));
        // Into the item selected: it is a folder now, and its fields say so.
        f.select("Child 5");
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_X, Qt::ControlModifier);
        f.select("Child 3");
        QVERIFY(f.page->control(Url)->isEnabled());
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_F10, Qt::ShiftModifier);
        f.choose("Move Into");
        QCOMPARE(f.labels(f.item("Child 3")), QStringList{"Child 5"});
        QVERIFY(!f.page->control(Url)->isEnabled());
        QTest::keyClick(f.tree(), Qt::Key_Z, Qt::ControlModifier);
        // Delete removes.
        f.select("Child 4");
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_Delete);
        QVERIFY(!f.item("Child 4"));
    }

    // F2 edits a label in place, under the Text field's rules; an empty label is not taken.
    void labelsEditedInPlace()
    {
        MenuFixture f;
        MenuTree menu;
        menu.items = {node("Main", QString(), {node("Page", "p.html", {}, 1)}, 0)};
        menu.items[0].record->root = true;
        f.open("TREEMENU", menu);
        auto rename = [&](const QString &typed) {
            f.select("Page");
            f.tree()->setFocus();
            QTest::keyClick(f.tree(), Qt::Key_F2);
            auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            QVERIFY(edit);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
        };
        rename("News, today");
        QTRY_VERIFY(f.item("News today")); // the view commits the edit a moment later
        QCOMPARE(f.page->text(Text), QStringLiteral("News today"));
        f.tree()->setCurrentItem(f.item("Main"));
        f.tree()->setCurrentItem(f.item("News today"));
        QTest::keyClick(f.tree(), Qt::Key_F2);
        auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::qWait(20);
        QVERIFY(f.item("News today"));
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.item("Page"));
    }

    void autoApplyAndTheRemovalMark()
    {
        MenuFixture f;
        f.open("WHEELMENU", fiveChildren());
        QVERIFY(!f.page->control(ApplyChange)->isEnabled());
        f.select("Home");
        f.type(Url, "start.html");
        f.select("Last");
        QCOMPARE(MenuTreeEditor::recordOf(f.item("Home")).url, QStringLiteral("start.html"));
        QCOMPARE(f.page->text(Url), QStringLiteral("last.html"));
        // A removal passes no fields on to the item selected after it.
        f.type(Url, "typed.html");
        f.click(Remove);
        QVERIFY(!f.item("Last"));
        QTreeWidgetItem *next = f.tree()->currentItem();
        QVERIFY(next);
        QVERIFY(MenuTreeEditor::recordOf(next).url != QStringLiteral("typed.html"));

        // Without Auto apply the fields wait for "Apply change".
        QTest::mouseClick(f.page->control<QAbstractButton>(AutoApply), Qt::LeftButton);
        QVERIFY(f.page->control(ApplyChange)->isEnabled());
        f.select("Home");
        f.type(Text, "welcome9");
        QCOMPARE(f.page->text(Text), QStringLiteral("WELCOME")); // capitals, letters only
        f.select(QString(60, QLatin1Char('L')));
        QVERIFY(f.item("Home"));
        f.select("Home");
        f.type(Text, "welcome");
        f.click(ApplyChange);
        QVERIFY(f.item("WELCOME"));
        // An empty text keeps the label: the stored menu would end at an empty one.
        f.type(Text, "");
        f.click(ApplyChange);
        QVERIFY(f.item("WELCOME"));
        // Leaving the page (its store) takes what was typed and not applied.
        f.type(Url, "kept.html");
        f.page->store();
        QCOMPARE(MenuTreeEditor::recordOf(f.item("WELCOME")).url, QStringLiteral("kept.html"));
    }

    void backItemsAndMenuChecks()
    {
        MenuFixture f;
        MenuTree menu;
        menu.items = {node("Home", "index.html"), node("More", QString(), {node("A", "a.html"), node("B", "b.html")})};
        f.open("MORPHMENU", menu);
        QVERIFY(!f.page->validate());
        QCOMPARE(f.services.messageIds(), QList<int>{Str::MenuNoBackItem});
        QCOMPARE(f.tree()->currentItem()->text(0), QStringLiteral("Home")); // not moved

        // Back is refused on a top-level item and on one with children.
        f.services.messages.clear();
        for (const char *refused : {"Home", "More"}) {
            f.select(refused);
            QTest::mouseClick(f.page->control<QAbstractButton>(Back), Qt::LeftButton);
            QVERIFY(!f.page->isChecked(Back));
        }
        QCOMPARE(f.services.messageIds(), (QList<int>{Str::BackNotAllowed, Str::BackNotAllowed}));
        f.select("B");
        QTest::mouseClick(f.page->control<QAbstractButton>(Back), Qt::LeftButton);
        QVERIFY(f.item("<---"));
        QVERIFY(!f.page->control(Text)->isEnabled() && !f.page->control(Url)->isEnabled());
        QVERIFY(!f.page->control(AddSubItem)->isEnabled());
        f.services.messages.clear();
        QVERIFY(f.page->validate());
        f.select("A");
        QTest::mouseClick(f.page->control<QAbstractButton>(Back), Qt::LeftButton);
        QVERIFY(!f.page->validate());
        QCOMPARE(f.services.messageIds(), QList<int>{1588});
    }

    void treeMenuIconsAndRoot()
    {
        MenuFixture f;
        MenuTree menu;
        menu.items = {node("Main", QString(), {node("Page", "p.html", {}, 1)}, 0)};
        menu.items[0].record->root = true;
        f.open("TREEMENU", menu);
        QCOMPARE(f.tree()->currentItem()->text(0), QStringLiteral("Main"));
        QVERIFY(!f.page->control(Remove)->isEnabled());
        f.page->control(Remove)->setEnabled(true); // even when asked, the root stays
        f.click(Remove);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::RootNotRemovable});

        // A new item starts with the empty icon, and refers to it.
        f.services.messages.clear();
        f.select("Page");
        f.click(AddToNode);
        QCOMPARE(f.tree()->currentItem()->text(0), QStringLiteral("New item"));
        QCOMPARE(f.page->text(IconField), QStringLiteral("ic_empty.gif"));
        QCOMPARE(f.editor().icons().value(MenuTreeEditor::recordOf(f.tree()->currentItem()).icon),
                 QStringLiteral("ic_empty.gif"));
        // A comma would split the item in the tag: the field refuses it.
        f.type(Text, "A, B");
        QCOMPARE(f.page->text(Text), QStringLiteral("A B"));

        // Icons: 16x16 for a page, 16x16 or 32x16 for a folder.
        const QString wide = f.env.path("wide.gif");
        TestEnvironment::writeFile(wide, gifHeader(32, 16));
        f.services.fileNames.enqueue(wide);
        f.click(PickIcon);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::LeafIconSize});
        f.select("Main");
        f.services.fileNames.enqueue(wide);
        f.click(PickIcon);
        QCOMPARE(f.page->text(IconField), QStringLiteral("wide.gif"));
        QVERIFY(QFile::exists(f.folder + "/wide.gif"));
        QCOMPARE(f.editor().icons().last(), QStringLiteral("wide.gif"));
        TestEnvironment::writeFile(wide, gifHeader(20, 20));
        f.services.fileNames.enqueue(wide);
        f.click(PickIcon);
        QCOMPARE(f.services.messageIds(), (QList<int>{Str::LeafIconSize, Str::FolderIconSize}));

        // An item without an icon is shown when the page refuses it.
        f.select("Page");
        f.type(IconField, "");
        f.select("Main");
        f.services.messages.clear();
        QVERIFY(!f.page->validate());
        QCOMPARE(f.services.messageIds(), QList<int>{Str::MenuItemWithoutIcon});
        QCOMPARE(f.tree()->currentItem()->text(0), QStringLiteral("Page"));
    }

    void targets()
    {
        MenuFixture f;
        f.open("WHEELMENU", fiveChildren());
        f.select("Home");
        QVERIFY(!f.page->control(TargetMode)->isEnabled());
        QTest::mouseClick(f.page->control<QAbstractButton>(TargetFrame), Qt::LeftButton);
        auto *modes = f.page->control<QComboBox>(TargetMode);
        QVERIFY(modes->isEnabled());
        modes->setFocus();
        while (modes->currentText() != QLatin1String("other target..."))
            QTest::keyClick(modes, Qt::Key_Down);
        QVERIFY(f.page->control(TargetName)->isEnabled());
        f.type(TargetName, "frame2");
        f.select("Last");
        QCOMPARE(MenuTreeEditor::recordOf(f.item("Home")).target, QStringLiteral("frame2"));
        f.select("Home");
        QCOMPARE(modes->currentText(), QStringLiteral("other target..."));
        QCOMPARE(f.page->text(TargetName), QStringLiteral("frame2"));
        modes->setFocus();
        while (modes->currentText() != QLatin1String("_top"))
            QTest::keyClick(modes, Qt::Key_Up);
        QVERIFY(!f.page->control(TargetName)->isEnabled());
        QCOMPARE(f.page->text(TargetName), QString());
    }

    // What the editor builds is what the store holds and reads back.
    void storedMenuReadsBackTheSame()
    {
        MenuFixture f;
        f.open("WHEELMENU", MenuTree{});
        f.click(AddToNode);
        f.type(Text, "home");
        f.type(Url, "index.html");
        f.click(AddToNode);
        f.click(AddSubItem);
        f.type(Url, "deep.html");
        f.click(AddToNode);
        QTest::mouseClick(f.page->control<QAbstractButton>(Back), Qt::LeftButton);
        f.page->store();
        const MenuTree stored = MenuKeys::readMenuList(f.env.store(), "WHEELMENU");
        MenuTree shown = f.editor().tree();
        QCOMPARE(stored.items.size(), 2);
        QCOMPARE(stored.items[0].text, QStringLiteral("HOME"));
        QCOMPARE(stored.items[1].children.size(), 2);
        QCOMPARE(stored.items[1].children[0].record->url, QStringLiteral("deep.html"));
        QVERIFY(stored.items[1].children[1].record->back);
        QCOMPARE(stored.items[1].children[1].text, QStringLiteral("BACK"));
        for (MenuItem *item : {&shown.items[0], &shown.items[1]})
            item->expanded = false;
        QCOMPARE(stored.itemCount(), shown.itemCount());
    }

    // A move that is not finished leaves nothing behind that names an item: a drop menu
    // closed with Escape, a drag interrupted by Delete, a drag that leaves the tree.
    void unfinishedMovesEndCompletely()
    {
        MenuFixture f;
        f.open("WHEELMENU", fourLinks());
        QWidget *viewport = f.tree()->viewport();
        QMenu *menu = f.editor().dropMenu();
        auto *picture = f.tree()->findChild<QLabel *>("dragPicture");
        f.drag("PRODUCTS", "CONTACT", Qt::RightButton);
        QVERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        QCOMPARE(f.tree()->currentItem(), f.item("PRODUCTS"));
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_Delete);
        f.select("HOME");
        QVERIFY(!menu->isVisible()); // the click selects, and nothing is dropped
        QVERIFY(!picture->isVisible());
        QCOMPARE(f.labels(), (QStringList{"HOME", "SUPPORT", "CONTACT"}));
        QCOMPARE(f.item("CONTACT")->background(0).style(), Qt::NoBrush);

        // Delete with the button still down ends the drag with the removal.
        QTest::mousePress(viewport, Qt::LeftButton, {}, f.at(f.item("SUPPORT")));
        QTest::mouseMove(viewport, f.at(f.item("CONTACT")));
        QVERIFY(picture->isVisible());
        QTest::keyClick(f.tree(), Qt::Key_Delete);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, f.at(f.item("CONTACT")));
        QVERIFY(!menu->isVisible() && !picture->isVisible());
        QCOMPARE(f.labels(), (QStringList{"HOME", "CONTACT"}));

        // Leaving the tree takes the drop highlight along.
        QTest::mousePress(viewport, Qt::LeftButton, {}, f.at(f.item("HOME")));
        QTest::mouseMove(viewport, f.at(f.item("CONTACT")));
        QVERIFY(f.item("CONTACT")->background(0).style() != Qt::NoBrush);
        QTest::mouseMove(viewport, QPoint(-40, -40));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(-40, -40));
        QCOMPARE(f.item("CONTACT")->background(0).style(), Qt::NoBrush);

        // A right-button drag that ends as Cancel opens no item menu, and the pressed item
        // stays selected with its fields (the platform asks for the item menu on the press).
        QTest::mousePress(viewport, Qt::RightButton, {}, f.at(f.item("CONTACT")));
        QContextMenuEvent press(QContextMenuEvent::Mouse, f.at(f.item("CONTACT")), viewport->mapToGlobal(f.at(f.item("CONTACT"))));
        QApplication::sendEvent(viewport, &press);
        QTest::mouseMove(viewport, f.at(f.item("HOME")));
        QTest::mouseMove(viewport, QPoint(-40, -40));
        QTest::mouseRelease(viewport, Qt::RightButton, {}, QPoint(-40, -40));
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        QCOMPARE(f.tree()->selectedItems(), QList<QTreeWidgetItem *>{f.item("CONTACT")});
        QCOMPARE(f.text(Text), QStringLiteral("CONTACT"));
    }

    // A deep item keeps its whole text: the tree scrolls sideways and shows the selected one.
    void deepItemsStayReadable()
    {
        MenuItem deepest = node("Deepest page", "deep.html");
        for (int level = 0; level < 30; ++level) {
            deepest = node(QStringLiteral("Level %1").arg(level), QString(), {deepest});
            deepest.expanded = true;
        }
        MenuTree menu;
        menu.items = {deepest};
        MenuFixture f;
        f.open("TREEMENU", menu);
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_End);
        QCOMPARE(f.text(Text), QStringLiteral("Deepest page"));
        QVERIFY(f.tree()->horizontalScrollBar()->maximum() > 0);
        const QRect row = f.tree()->visualItemRect(f.item("Deepest page"));
        QVERIFY(row.left() >= 0 && row.right() < f.tree()->viewport()->width());
        QVERIFY(row.width() >= f.tree()->fontMetrics().horizontalAdvance("Deepest page"));
    }

    // The pointer crossing into the next row before a drag starts selects nothing else.
    void pressedItemStaysSelected()
    {
        MenuFixture f;
        f.open("WHEELMENU", fourLinks());
        QWidget *viewport = f.tree()->viewport();
        const QRect row = f.tree()->visualItemRect(f.item("PRODUCTS"));
        const QPoint start(row.center().x(), row.bottom() - 1);
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        QTest::mouseMove(viewport, start + QPoint(0, 4));
        QCOMPARE(f.tree()->currentItem(), f.item("PRODUCTS"));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, start + QPoint(0, 4));
        QTest::keyClick(f.tree(), Qt::Key_Delete);
        QCOMPARE(f.labels(), (QStringList{"HOME", "SUPPORT", "CONTACT"}));
    }

    // Keys and menu commands may do exactly what their buttons and fields may.
    void keysFollowTheirButtons()
    {
        MenuFixture tree;
        MenuTree menu;
        menu.items = {node("Main", QString(), {node("Page", "p.html", {}, 1)}, 0)};
        menu.items[0].record->root = true;
        tree.open("TREEMENU", menu);
        tree.tree()->setFocus();
        for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Insert})
            QTest::keyClick(tree.tree(), key);
        QVERIFY(tree.services.messages.isEmpty());
        QCOMPARE(tree.editor().tree().itemCount(), 2);

        // A morph menu's back item keeps its text, in the field and in place.
        MenuFixture morph;
        MenuItem back = node("<---");
        back.record->back = true;
        menu.items = {node("Home", "index.html"), node("More", QString(), {node("A", "a.html"), back})};
        morph.open("MORPHMENU", menu);
        morph.select("<---");
        QVERIFY(!morph.page->control(Text)->isEnabled());
        morph.tree()->setFocus();
        QTest::keyClick(morph.tree(), Qt::Key_F2);
        QTest::mouseDClick(morph.tree()->viewport(), Qt::LeftButton, {}, morph.at(morph.item("<---")));
        QVERIFY(!qobject_cast<QLineEdit *>(QApplication::focusWidget()));
        QVERIFY(!morph.tree()->viewport()->findChild<QLineEdit *>());
    }

    // What is stored follows what the page shows: a sub-menu, a folder or a back item
    // has no link, and selecting items changes no target.
    void storedLinksFollowThePage()
    {
        MenuFixture wheel;
        wheel.open("WHEELMENU", fourLinks());
        wheel.select("HOME");
        wheel.click(AddSubItem);
        wheel.select("HOME");
        wheel.select("NEW ITEM");
        wheel.page->store();
        QCOMPARE(wheel.env.store().read("WHEELMENU", "MenuUrl_00"), QString());
        QCOMPARE(wheel.env.store().read("WHEELMENU", "MenuTarget_00"), QString());
        wheel.click(Remove);
        wheel.select("HOME");
        QCOMPARE(wheel.page->text(Url), QStringLiteral("home.html"));
        QVERIFY(wheel.page->isChecked(TargetFrame));
        QCOMPARE(wheel.page->text(TargetMode), QStringLiteral("_self"));

        MenuFixture morph;
        MenuTree menu;
        menu.items = {node("Home", "index.html"), node("More", QString(), {node("A", "a.html"), node("B", "b.html")})};
        morph.open("MORPHMENU", menu);
        morph.select("B");
        QTest::mouseClick(morph.page->control<QAbstractButton>(Back), Qt::LeftButton);
        morph.page->store();
        QCOMPARE(morph.env.store().read("MORPHMENU", "MenuUrl_11"), QString());
        QCOMPARE(morph.env.store().read("MORPHMENU", "MenuUrl_10"), QStringLiteral("a.html"));

        MenuFixture tree;
        menu.items = {node("Main", QString(), {node("Page", "p.html", {}, 1)}, 0)};
        menu.items[0].record->root = true;
        tree.open("TREEMENU", menu);
        tree.select("Page");
        tree.click(AddSubItem);
        tree.page->store();
        QCOMPARE(tree.env.store().read("TREEMENU", "MenuText_1"), QStringLiteral("Page"));
        QCOMPARE(tree.env.store().read("TREEMENU", "MenuUrl_1"), QString());
    }

    // A marked item shows as marked, the drop menu names what goes where, and an undo that
    // gives the mark up says so.
    void keyboardMarkIsShown()
    {
        MenuFixture f;
        f.open("WHEELMENU", fourLinks());
        f.select("HOME");
        f.click(Remove);
        f.select("PRODUCTS");
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_X, Qt::ControlModifier);
        QVERIFY(f.item("PRODUCTS")->font(0).italic());
        QVERIFY(f.status.contains("PRODUCTS"));
        QTest::keyClick(f.tree(), Qt::Key_Down);
        QTest::keyClick(f.tree(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(f.editor().dropMenu()->actions().first()->text(), QStringLiteral("\"PRODUCTS\" onto \"SUPPORT\""));
        QTest::keyClick(f.editor().dropMenu(), Qt::Key_Escape);
        QTRY_VERIFY(!f.editor().markedItem());
        QVERIFY(!f.item("PRODUCTS")->font(0).italic());

        QApplication::setActiveWindow(f.page.get()); // the offscreen platform leaves it with the menu
        f.tree()->setFocus();
        QTest::keyClick(f.tree(), Qt::Key_X, Qt::ControlModifier);
        QVERIFY(f.editor().markedItem());
        QTest::keyClick(f.tree(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(f.item("HOME"));
        QVERIFY(!f.editor().markedItem());
        QCOMPARE(f.status, QStringLiteral("\"SUPPORT\" is no longer marked to move or copy"));
    }

    // Return in the item's Text field applies the field; the page stays.
    void returnInAFieldAppliesIt()
    {
        WizardFixture f(InstallData::defaultsFile());
        f.startAt("WHEELMENU", 197);
        auto *tree = f.control<QTreeWidget>(Tree);
        tree->setCurrentItem(tree->topLevelItem(1));
        auto *text = f.control<QLineEdit>(Text);
        text->setFocus();
        text->selectAll();
        QTest::keyClicks(text, "offers");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(f.pageId(), 197);
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("OFFERS"));
    }

    // Leaving the page by any way takes a label still being edited in place.
    void leavingThePageTakesALabelBeingEdited_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Alt+N") << int(Qt::Key_N);
        QTest::newRow("Alt+P") << int(Qt::Key_P);
    }
    void leavingThePageTakesALabelBeingEdited()
    {
        QFETCH(int, key);
        WizardFixture f(InstallData::defaultsFile());
        f.startAt("WHEELMENU", 197);
        auto *tree = f.control<QTreeWidget>(Tree);
        tree->setFocus();
        tree->setCurrentItem(tree->topLevelItem(1));
        QTest::keyClick(tree, Qt::Key_F2);
        auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, "offers");
        QTest::keyClick(edit, Qt::Key(key), Qt::AltModifier);
        QTRY_VERIFY(f.pageId() != 197);
        QCOMPARE(f.env.store().read("WHEELMENU", "MenuText_01"), QStringLiteral("OFFERS"));
    }

    // Going back with a menu the stored form cannot hold whole stays, with the checks' message.
    void previousKeepsMenusBeyondTheLimits_data()
    {
        QTest::addColumn<QString>("applet");
        QTest::addColumn<MenuTree>("menu");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("message");
        QTest::newRow("wheel, ninth item") << "WHEELMENU" << topLevel(8, 0) << AddToNode << 1587;
        QTest::newRow("wheel, ninth menu") << "WHEELMENU" << topLevel(8, 7) << AddSubItem << 1591;
        QTest::newRow("morph, 21st menu") << "MORPHMENU" << topLevel(20, 19) << AddSubItem << 1590;
    }
    void previousKeepsMenusBeyondTheLimits()
    {
        QFETCH(QString, applet);
        QFETCH(MenuTree, menu);
        QFETCH(int, button);
        QFETCH(int, message);
        WizardFixture f;
        MenuKeys::writeMenuList(f.env.store(), applet, menu);
        const MenuTree stored = MenuKeys::readMenuList(f.env.store(), applet);
        f.startAt(applet, 197);
        auto *tree = f.control<QTreeWidget>(Tree);
        tree->setCurrentItem(tree->topLevelItem(tree->topLevelItemCount() - 1));
        QTest::mouseClick(f.control<QAbstractButton>(button), Qt::LeftButton);
        const MenuTree built = MenuTreeEditor::of(*f.page())->tree();
        f.previous();
        QCOMPARE(f.pageId(), 197);
        QCOMPARE(f.services.messageIds(), QList<int>{message});
        QCOMPARE(MenuTreeEditor::of(*f.page())->tree(), built);
        QCOMPARE(MenuKeys::readMenuList(f.env.store(), applet), stored); // nothing stored cut
        // Within the limits again, Previous goes back.
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
        f.previous();
        QCOMPARE(f.pageId(), 129);
    }

    // A stored tree deeper than the page keeps is said on arrival; one built too deep is
    // refused on leaving, its first item too deep shown.
    void treeBeyondItsLevelsIsSaid()
    {
        WizardFixture f;
        MenuTree chain;
        chain.items = {node("L0")};
        MenuItem *last = &chain.items.first();
        for (int level = 1; level < MenuKeys::MaxTreeDepth + 5; ++level) {
            last->children = {node(QStringLiteral("L%1").arg(level))};
            last = &last->children.first();
        }
        MenuKeys::writeTree(f.env.store(), chain, {"folder.gif"});
        f.startAt("TREEMENU", 197);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::MenuCut});
        QVERIFY(f.services.messages.first().text.contains("5 items below its 100 levels are left out"));
        f.services.messages.clear();

        auto *tree = f.control<QTreeWidget>(Tree);
        tree->setCurrentItem(tree->findItems("L99", Qt::MatchExactly | Qt::MatchRecursive).value(0));
        QTest::mouseClick(f.control<QAbstractButton>(AddSubItem), Qt::LeftButton);
        f.previous();
        QCOMPARE(f.pageId(), 197);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::MenuTooDeep});
        QCOMPARE(tree->currentItem()->parent()->text(0), QStringLiteral("L99"));
        QTest::mouseClick(f.control<QAbstractButton>(Remove), Qt::LeftButton);
        f.previous();
        QCOMPARE(f.pageId(), 129);
        QStringList icons;
        QCOMPARE(MenuKeys::readTree(f.env.store(), icons).depth(), MenuKeys::MaxTreeDepth);
    }

    // "Default values" replaces the menu as one step that can be undone.
    void defaultValuesCanBeUndone()
    {
        WizardFixture f(InstallData::defaultsFile());
        f.startAt("WHEELMENU", 197);
        auto *tree = f.control<QTreeWidget>(Tree);
        tree->setCurrentItem(tree->topLevelItem(0));
        QTest::mouseClick(f.control<QAbstractButton>(Remove), Qt::LeftButton);
        const MenuTree mine = MenuTreeEditor::of(*f.page())->tree();
        f.click(WizardWindow::DefaultsButton);
        QCOMPARE(tree->topLevelItemCount(), 4);
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(MenuTreeEditor::of(*f.page())->tree(), mine);
        QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(tree->topLevelItemCount(), 4);
    }

    void wheelAndMorphSettingsPages()
    {
        MenuFixture wheel;
        wheel.env.store().write("WHEELMENU", "BackType", "blur");
        wheel.env.store().write("WHEELMENU", "Mode", "texture");
        wheel.open("WHEELMENU", MenuTree{}, true, 194);
        for (int id : {1103, 1105, 1106, 1500, 1501, 1502})
            QVERIFY2(!wheel.page->control(id)->isEnabled(), qPrintable(QString::number(id)));
        QVERIFY(wheel.page->control(1496)->isEnabled());
        QTest::mouseClick(wheel.page->control<QAbstractButton>(1489), Qt::LeftButton); // Gouraud
        QVERIFY(wheel.page->control(1500)->isEnabled() && !wheel.page->control(1496)->isEnabled());
        auto *backMode = wheel.page->control<QComboBox>(1488);
        backMode->setFocus();
        QTest::keyClick(backMode, Qt::Key_Down); // "image"
        QVERIFY(wheel.page->control(1105)->isEnabled() && !wheel.page->control(1103)->isEnabled());
        // The texture must be 256 x 256.
        QTest::mouseClick(wheel.page->control<QAbstractButton>(1490), Qt::LeftButton);
        const QString small = wheel.env.path("small.gif");
        TestEnvironment::writeFile(small, gifHeader(128, 128));
        wheel.services.fileNames.enqueue(small);
        QTest::mouseClick(wheel.page->control<QAbstractButton>(1497), Qt::LeftButton);
        QCOMPARE(wheel.services.messageIds(), QList<int>{Str::WheelTextureSize});
        QCOMPARE(wheel.services.messages.first().icon, MessageIcon::Stop);
        const QString right = wheel.env.path("wood.gif");
        TestEnvironment::writeFile(right, gifHeader(256, 256));
        wheel.services.fileNames.enqueue(right);
        QTest::mouseClick(wheel.page->control<QAbstractButton>(1497), Qt::LeftButton);
        QCOMPARE(wheel.page->text(1496), QStringLiteral("wood.gif"));

        MenuFixture morph;
        morph.env.store().write("MORPHMENU", "BackFx", "mmgalaxy");
        morph.open("MORPHMENU", MenuTree{}, true, 195);
        for (int id : {1103, 1105, 1106})
            QVERIFY(!morph.page->control(id)->isEnabled());
        auto *fx = morph.page->control<QComboBox>(1505);
        fx->setFocus();
        while (fx->currentText() != QLatin1String("color"))
            QTest::keyClick(fx, Qt::Key_Up);
        QVERIFY(morph.page->control(1103)->isEnabled() && !morph.page->control(1105)->isEnabled());
        QCOMPARE(morph.context->flags.morphPlugIn, -2);
    }
};

QTEST_MAIN(MenuTreeTest)
#include "tst_menutree.moc"
