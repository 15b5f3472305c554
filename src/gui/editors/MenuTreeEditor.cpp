#include "MenuTreeEditor.h"

#include "AppletFolderCopy.h"
#include "EditHistory.h"
#include "EventHook.h"
#include "controls/ControlPage.h"
#include "publish/ImageSize.h"
#include "services/Services.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "tag/MenuChecks.h"
#include "tag/MenuKeys.h"

#include <QKeyEvent>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QHeaderView>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QUndoStack>

Q_DECLARE_METATYPE(vexa::MenuRecord)

namespace vexa {

// What differs between the three menus on this page.
struct MenuRules {
    const char *applet;
    const char *newText;  // a new item's label
    const char *backText; // a back item's label
    bool treeMenu;        // one root, icons, no back items or targets
    bool capitals;        // letters and blanks only, shown as capitals
    bool noTextForBack;   // a back item's text is fixed
};

using namespace MenuTreeControls;

namespace {

constexpr int RecordRole = Qt::UserRole + 1;

const MenuRules Rules[] = {
    {"TREEMENU", "New item", "", true, false, false},
    {"WHEELMENU", "NEW ITEM", "BACK", false, true, false},
    {"MORPHMENU", "New item", "<---", false, false, true},
};

const MenuRules &rulesOf(const QString &appletId)
{
    for (const MenuRules &rules : Rules) {
        if (appletId == QLatin1String(rules.applet))
            return rules;
    }
    return Rules[0];
}

const QString OtherTarget = QStringLiteral("other target...");
const QString EmptyIcon = QStringLiteral("ic_empty.gif");

// The drop menu: each command and what rules it out (S the dragged item, T the target).
enum Refusal : unsigned {
    Contains = 1,     // S contains T (T is S or lies in S's branch)
    IsParent = 2,     // T is S's parent
    IsBack = 4,       // T is a back item
    JustBefore = 8,   // T is the item just before S
    IsRoot = 16,      // T is a root item
};
struct DropCommand {
    MenuTreeEditor::Command command;
    const char *caption;
    unsigned refusedWhen;
};
const DropCommand DropCommands[] = {
    {MenuTreeEditor::MoveInto, "Move Into", Contains | IsParent | IsBack},
    {MenuTreeEditor::MoveAfter, "Move After", Contains | JustBefore | IsRoot},
    {MenuTreeEditor::CopyInto, "Copy Into", Contains | IsBack},
    {MenuTreeEditor::CopyAfter, "Copy After", Contains | IsRoot},
    {MenuTreeEditor::Cancel, "Cancel", 0},
};

bool contains(const QTreeWidgetItem *branch, const QTreeWidgetItem *item)
{
    for (; item; item = item->parent()) {
        if (item == branch)
            return true;
    }
    return false;
}

QTreeWidgetItem *previousSibling(const QTreeWidgetItem *item)
{
    QTreeWidgetItem *parent = item->parent();
    QTreeWidget *tree = item->treeWidget();
    const int index = parent ? parent->indexOfChild(const_cast<QTreeWidgetItem *>(item))
                             : tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item));
    if (index <= 0)
        return nullptr;
    return parent ? parent->child(index - 1) : tree->topLevelItem(index - 1);
}

// The text rules of the menu, for the Text field and for labels edited in place alike.
void applyTextRules(QLineEdit *edit, const MenuRules &rules)
{
    edit->setMaxLength(MenuKeys::MaxTextLength);
    if (rules.treeMenu) {
        // The tree menu stores an item's fields comma-separated: a comma would split it.
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^,]*")), edit));
    } else if (rules.capitals) {
        // The wheel draws capitals only, from its own letters and the blank.
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z ]*")), edit));
        QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &typed) {
            const int cursor = edit->cursorPosition();
            edit->setText(typed.toUpper());
            edit->setCursorPosition(cursor);
        });
    }
}

MenuItem toItem(const QTreeWidgetItem *node)
{
    MenuItem item;
    item.text = node->text(0);
    item.expanded = node->isExpanded();
    const QVariant data = node->data(0, RecordRole);
    if (data.isValid())
        item.record = data.value<MenuRecord>();
    for (int i = 0; i < node->childCount(); ++i)
        item.children.append(toItem(node->child(i)));
    return item;
}

// What is stored follows what the page shows: only an item that leads to a page has a
// link and a target. A folder, a sub-menu or a back item keeps the ones it had before in
// its record (they come back when it can use them again), but they are not stored.
void dropUnusedLinks(QList<MenuItem> &items)
{
    for (MenuItem &item : items) {
        if (item.record && (item.hasChildren() || item.record->back)) {
            item.record->url.clear();
            item.record->targetEnabled = false;
        }
        dropUnusedLinks(item.children);
    }
}

void setRecord(QTreeWidgetItem *item, const MenuRecord &record)
{
    item->setData(0, RecordRole, QVariant::fromValue(record));
}

} // namespace

// Labels edited in place follow the Text field's rules, and end in the editor's rename.
class LabelDelegate : public QStyledItemDelegate {
public:
    LabelDelegate(MenuTreeEditor &editor, const MenuRules &rules, QObject *parent)
        : QStyledItemDelegate(parent), m_editor(editor), m_rules(rules)
    {
    }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        if (!m_editor.canEditText(m_editor.treeControl()->itemFromIndex(index)))
            return nullptr; // fixed, as the Text field is
        auto *edit = new QLineEdit(parent);
        applyTextRules(edit, m_rules);
        m_open = edit;
        return edit;
    }
    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        auto *tree = m_editor.treeControl();
        m_editor.rename(tree->itemFromIndex(index), static_cast<QLineEdit *>(editor)->text());
    }
    // Takes the text of a label still being edited and closes its editor.
    void commitOpenEditor()
    {
        if (QLineEdit *edit = m_open) {
            m_open = nullptr;
            emit commitData(edit);
            emit closeEditor(edit, QAbstractItemDelegate::NoHint);
        }
    }

private:
    MenuTreeEditor &m_editor;
    const MenuRules &m_rules;
    mutable QPointer<QLineEdit> m_open;
};

MenuTreeEditor::MenuTreeEditor(ControlPage &page)
    : QObject(&page), m_page(page), m_rules(rulesOf(page.appletId())), m_tree(page.control<QTreeWidget>(Tree)),
      m_undo(new QUndoStack(this))
{
    setObjectName(QStringLiteral("menuTreeEditor"));
    setUpPage();
    setUpTree();
    connectControls();
}

MenuTreeEditor::~MenuTreeEditor() = default;

MenuTreeEditor *MenuTreeEditor::of(const ControlPage &page)
{
    return page.findChild<MenuTreeEditor *>(QString(), Qt::FindDirectChildrenOnly);
}

bool MenuTreeEditor::isTreeMenu() const { return m_rules.treeMenu; }

MenuRecord MenuTreeEditor::recordOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, RecordRole).value<MenuRecord>() : MenuRecord{};
}

bool MenuTreeEditor::isRootItem(const QTreeWidgetItem *item) const
{
    return item && (recordOf(item).root || item == m_tree->topLevelItem(0));
}

QTreeWidgetItem *MenuTreeEditor::selected() const { return m_tree->currentItem(); }

// The tree menu has icons and no targets; the others have targets and back items.
void MenuTreeEditor::setUpPage()
{
    for (int id : {Back, TargetFrame, TargetMode, TargetName})
        m_page.setVisible(id, !isTreeMenu());
    for (int id : {1536, IconField, PickIcon})
        m_page.setVisible(id, isTreeMenu());
    if (isTreeMenu()) {
        // Its target frame is chosen on the link page.
        m_page.setText(1537, StringTable::text(1634));
        m_page.setText(1538, StringTable::text(1635));
    }
    if (auto *text = m_page.control<QLineEdit>(Text))
        applyTextRules(text, m_rules);
}

void MenuTreeEditor::setUpTree()
{
    // The style's pictures are decoded once for the whole program, not for every page; they
    // stay to its end (icons outliving the application would be taken apart without it).
    static const auto *pictures = [style = m_tree->style()] {
        auto *made = new std::array<QIcon, 3>;
        int picture = 0;
        for (QStyle::StandardPixmap standard : {QStyle::SP_DirClosedIcon, QStyle::SP_DirOpenIcon, QStyle::SP_FileIcon})
            (*made)[size_t(picture++)] = style->standardIcon(standard);
        return made;
    }();
    m_pictures = *pictures;
    m_labels = new LabelDelegate(*this, m_rules, m_tree);
    m_tree->setItemDelegate(m_labels);
    m_tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    // The one column is as wide as its widest row, so a deep item keeps its text and the
    // tree scrolls sideways to it.
    m_tree->header()->setStretchLastSection(false);
    m_tree->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_viewport = m_tree->viewport();
    m_viewport->installEventFilter(this);
    m_tree->installEventFilter(this);

    // Heads the drop menu with what goes where.
    m_dropMenu = new QMenu(m_tree);
    m_dropMenu->setObjectName(QStringLiteral("TreeMenu0"));
    m_dropTitle = m_dropMenu->addSection(QString());
    for (const DropCommand &entry : DropCommands) {
        QAction *action = m_dropMenu->addAction(QString::fromLatin1(entry.caption));
        const Command command = entry.command;
        connect(action, &QAction::triggered, this, [this, command] { finishDrop(command); });
        m_commands.insert(command, action);
    }
    // A menu closed without a command (Escape, a click elsewhere) ends the move. Queued: a
    // chosen command is triggered only after its menu has closed.
    connect(m_dropMenu, &QMenu::aboutToHide, this, &MenuTreeEditor::endPendingMoves, Qt::QueuedConnection);

    // The tree's own commands, on keys and in its context menu; each is enabled exactly
    // when the control it stands for is (the tree itself for the mark).
    m_itemMenu = new QMenu(m_tree);
    auto add = [this](int control, const QString &text, const QKeySequence &key, const std::function<void()> &run) {
        auto *action = new QAction(text, m_tree);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, run);
        m_tree->addAction(action);
        m_itemMenu->addAction(action);
        m_keys.insert(control, action);
    };
    add(AddToNode, QStringLiteral("Add &item to node"), QKeySequence(Qt::Key_Insert), [this] { addItemToNode(); });
    add(AddSubItem, QStringLiteral("Add &sub-item"), QKeySequence(Qt::CTRL | Qt::Key_Insert), [this] { addSubItem(); });
    add(Remove, QStringLiteral("&Remove"), QKeySequence(QKeySequence::Delete), [this] { remove(); });
    add(Text, QStringLiteral("Re&name"), QKeySequence(Qt::Key_F2), [this] {
        if (selected())
            m_tree->editItem(selected());
    });
    add(Tree, QStringLiteral("&Mark to move or copy"), QKeySequence(Qt::CTRL | Qt::Key_X), [this] { markSelected(); });
    // The keys that open a context menu, also where the platform does not turn them into one.
    auto *menuKeys = new QAction(m_tree);
    menuKeys->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    menuKeys->setShortcutContext(Qt::WidgetShortcut);
    connect(menuKeys, &QAction::triggered, this, [this] { keyboardMenu(); });
    m_tree->addAction(menuKeys);
    m_itemMenu->addSeparator();
    m_itemMenu->addActions(addHistoryActions(m_tree, m_undo, Qt::WidgetShortcut));

    m_dragPicture = new QLabel(m_tree->viewport());
    m_dragPicture->setObjectName(QStringLiteral("dragPicture"));
    m_dragPicture->setFrameStyle(QFrame::Box);
    m_dragPicture->setAutoFillBackground(true);
    m_dragPicture->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dragPicture->hide();
}

void MenuTreeEditor::connectControls()
{
    m_page.onChange(AddSubItem, [this] { addSubItem(); });
    m_page.onChange(AddToNode, [this] { addItemToNode(); });
    m_page.onChange(Remove, [this] { remove(); });
    m_page.onChange(ApplyChange, [this] { apply(); });
    m_page.onChange(PickIcon, [this] { pickIcon(); });
    m_page.onChange(AutoApply, [this] { m_page.setEnabled(ApplyChange, !m_page.isChecked(AutoApply)); });
    m_page.onChange(Back, [this] { setBack(m_page.isChecked(Back)); });
    m_page.onChange(TargetFrame, [this] { targetControls(true); });
    m_page.onChange(TargetMode, [this] { targetMode(); });

    // The selection moves: the fields go into the item it leaves, then show the new one.
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *previous) {
                if (m_rebuilding || m_page.isClosing())
                    return;
                if (previous && !m_removing && m_page.isChecked(AutoApply))
                    applyStep(previous);
                m_removing = false;
                showItem(current);
            });
    connect(m_tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        setPicture(item);
        fitColumn();
    });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) {
        setPicture(item);
        fitColumn();
    });
    connect(m_tree, &QTreeWidget::itemChanged, this, [this] { fitColumn(); });
    EventHook::install(m_viewport, QEvent::Resize, [this] { fitColumn(); });
    // Leaving a field applies it when Auto apply is on.
    for (int id : {Text, Url, TargetName, IconField, TargetMode})
        EventHook::install(m_page.control(id), QEvent::FocusOut, [this] { autoApply(); });
    // Return in a field applies it to the item, as in any editor's field, instead of
    // pressing the wizard's Next.
    for (int id : {Text, Url, TargetName})
        EventHook::installTaking(m_page.control(id), QEvent::KeyPress, [this](QEvent *event) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter)
                return false;
            apply();
            return true;
        });
    EventHook::install(m_tree, QEvent::FocusIn, [this] { autoApply(); });
}

void MenuTreeEditor::autoApply()
{
    if (m_page.isClosing())
        return; // fields lose the focus while the page is destroyed
    if (m_page.isChecked(AutoApply) && !m_removing && !m_rebuilding)
        apply();
}

// --- load and store ---

void MenuTreeEditor::load(bool useDefaults)
{
    SettingsStore &store = m_page.context().store;
    const QString section = useDefaults ? m_page.appletId() + SettingsStore::DefaultSuffix : QString();
    QStringList icons;
    MenuTree loaded;
    MenuKeys::Cuts cuts;
    if (isTreeMenu()) {
        loaded = MenuKeys::readTree(store, icons, section, &cuts);
        if (loaded.isEmpty()) {
            MenuItem main;
            main.text = QStringLiteral("Main");
            main.record = MenuRecord{};
            main.record->target = QStringLiteral("_blank");
            main.record->root = true;
            loaded.items.append(main);
        }
    } else {
        loaded = MenuKeys::readMenuList(store, m_page.appletId(), section, &cuts);
    }
    const State state{loaded, icons, loaded.isEmpty() ? QList<int>{} : QList<int>{0}};
    if (useDefaults) {
        // The default menu replaces the user's as one step that can be undone.
        record(QStringLiteral("Default values"), [this, &state] { restore(state); });
        return;
    }
    restore(state);
    m_undo->clear();
    if (cuts.any())
        reportCuts(cuts); // over the menu as shown
}

// Said when the page shows less than the store holds, before leaving the page stores it.
void MenuTreeEditor::reportCuts(const MenuKeys::Cuts &cuts)
{
    QStringList parts;
    if (cuts.deepItems)
        parts << QStringLiteral("%1 items below its %2 levels are left out").arg(cuts.deepItems).arg(MenuKeys::MaxTreeDepth);
    if (cuts.surplusItems)
        parts << QStringLiteral("%1 items after its first %2 are left out")
                     .arg(cuts.surplusItems)
                     .arg(MenuKeys::MaxTreeItems);
    if (cuts.longTexts)
        parts << QStringLiteral("%1 texts are cut to %2 characters").arg(cuts.longTexts).arg(MenuKeys::MaxTextLength);
    Message m = message(Str::MenuCut, MessageIcon::Exclamation);
    m.text = m.text.arg(parts.join(QLatin1String("; ")));
    m_page.context().services.showMessage(m);
}

// What the fields hold goes into the item, Auto apply or not: a page left with typed text
// must not lose it (a step that changes nothing is not made).
void MenuTreeEditor::store()
{
    commitLabelEdit();
    if (!m_removing && !m_rebuilding)
        apply();
    MenuTree menu = tree();
    dropUnusedLinks(menu.items);
    SettingsStore &store = m_page.context().store;
    if (isTreeMenu())
        MenuKeys::writeTree(store, menu, m_icons);
    else
        MenuKeys::writeMenuList(store, m_page.appletId(), menu);
}

bool MenuTreeEditor::check() { return passes(MenuChecks::check); }

bool MenuTreeEditor::checkStorable() { return passes(MenuChecks::checkCapacity); }

bool MenuTreeEditor::passes(MenuChecks::Result (*checks)(const MenuTree &, const QString &))
{
    commitLabelEdit();
    autoApply();
    const MenuChecks::Result result = checks(tree(), m_page.appletId());
    if (result.passed())
        return true;
    if (result.messageId == Str::InsertAtLeastOne) {
        if (QWidget *add = m_page.control(AddToNode))
            add->setFocus();
    }
    if (!result.path.isEmpty())
        select(itemAt(result.path)); // the tree menu shows the item without an icon
    Message shown = message(result.messageId, MessageIcon::Exclamation);
    for (int argument : result.arguments)
        shown.text = shown.text.arg(argument);
    m_page.context().services.showMessage(shown);
    return false;
}

void MenuTreeEditor::commitLabelEdit() { m_labels->commitOpenEditor(); }

MenuTree MenuTreeEditor::tree() const
{
    MenuTree menu;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        menu.items.append(toItem(m_tree->topLevelItem(i)));
    return menu;
}

// --- undo ---

MenuTreeEditor::State MenuTreeEditor::state() const { return State{tree(), m_icons, pathOf(selected())}; }

void MenuTreeEditor::restore(const State &state)
{
    m_icons = state.icons;
    rebuild(state.tree, state.selected);
    if (m_tree->topLevelItemCount() == 0)
        emptyTreeControls();
}

void MenuTreeEditor::record(const QString &what, const std::function<void()> &change)
{
    if (m_recording) {
        change(); // part of the step under way
        return;
    }
    m_recording = true;
    State before = state();
    change();
    State after = state();
    m_recording = false;
    if (before.tree != after.tree || before.icons != after.icons)
        m_undo->push(new EditStep<MenuTreeEditor>(*this, what, std::move(before), std::move(after)));
}

QList<int> MenuTreeEditor::pathOf(const QTreeWidgetItem *item) const
{
    QList<int> path;
    for (; item; item = item->parent()) {
        const QTreeWidgetItem *parent = item->parent();
        path.prepend(parent ? parent->indexOfChild(const_cast<QTreeWidgetItem *>(item))
                            : m_tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)));
    }
    return path;
}

QTreeWidgetItem *MenuTreeEditor::itemAt(const QList<int> &path) const
{
    QTreeWidgetItem *item = nullptr;
    for (int index : path) {
        QTreeWidgetItem *next = item ? item->child(index) : m_tree->topLevelItem(index);
        if (!next)
            break;
        item = next;
    }
    return item;
}

void MenuTreeEditor::rebuild(const MenuTree &menu, const QList<int> &selectedPath)
{
    endPendingMoves(); // they name items about to go
    m_rebuilding = true;
    m_tree->clear();
    // The items are made apart from the tree and go in all at once: one at a time, each
    // would make the view take note of it (most of the time of a big menu).
    QList<QTreeWidgetItem *> opened;
    const std::function<QTreeWidgetItem *(const MenuItem &)> make = [&](const MenuItem &item) {
        auto *node = new QTreeWidgetItem;
        node->setText(0, item.text);
        node->setFlags(node->flags() | Qt::ItemIsEditable);
        if (item.record)
            setRecord(node, *item.record);
        QList<QTreeWidgetItem *> children;
        children.reserve(item.children.size());
        for (const MenuItem &child : item.children)
            children << make(child);
        node->addChildren(children);
        node->setIcon(0, m_pictures[children.isEmpty() ? 2 : item.expanded ? 1 : 0]);
        if (item.expanded)
            opened << node;
        return node;
    };
    QList<QTreeWidgetItem *> top;
    top.reserve(menu.items.size());
    for (const MenuItem &item : menu.items)
        top << make(item);
    m_tree->addTopLevelItems(top);
    for (QTreeWidgetItem *node : std::as_const(opened))
        node->setExpanded(true);
    QTreeWidgetItem *current = itemAt(selectedPath);
    m_tree->setCurrentItem(current);
    m_rebuilding = false;
    fitColumn();
    showItem(current);
}

void MenuTreeEditor::fitColumn()
{
    if (m_rebuilding || m_page.isClosing())
        return;
    const QAbstractItemView *view = m_tree; // where the widest row's width is public
    m_tree->header()->resizeSection(0, qMax(m_tree->viewport()->width(), view->sizeHintForColumn(0)));
}

// The view scrolls to a row but not along it: a deep item's text could stay off to the right.
void MenuTreeEditor::revealText(QTreeWidgetItem *item)
{
    const QRect row = m_tree->visualItemRect(item);
    const int indent = m_tree->indentation();
    if (row.left() < 0 || row.left() > m_tree->viewport()->width() / 2) {
        QScrollBar *bar = m_tree->horizontalScrollBar();
        bar->setValue(bar->value() + row.left() - indent);
    }
}

// --- the operations ---

void MenuTreeEditor::setPicture(QTreeWidgetItem *item) const
{
    const int picture = item->childCount() == 0 ? 2 : item->isExpanded() ? 1 : 0;
    item->setIcon(0, m_pictures[picture]);
}

void MenuTreeEditor::select(QTreeWidgetItem *item)
{
    if (item)
        m_tree->setCurrentItem(item);
}

QTreeWidgetItem *MenuTreeEditor::insertItem(QTreeWidgetItem *parent)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
    item->setText(0, QString::fromLatin1(m_rules.newText));
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    setRecord(item, MenuRecord{});
    setPicture(item);
    return item;
}

void MenuTreeEditor::addSubItem()
{
    QTreeWidgetItem *parent = selected();
    if (parent && recordOf(parent).back)
        return; // a back item leads back; it opens nothing
    record(QStringLiteral("Add sub-item"), [this, parent] {
        QTreeWidgetItem *item = insertItem(parent);
        if (parent) {
            parent->setExpanded(true);
            setPicture(parent);
        }
        select(item);
        if (isTreeMenu()) {
            // Every new tree-menu item starts with the empty icon.
            m_page.setText(IconField, EmptyIcon);
            applyTo(item);
        }
    });
}

void MenuTreeEditor::addItemToNode()
{
    QTreeWidgetItem *current = selected();
    if (isTreeMenu() && isRootItem(current))
        return; // the tree menu keeps one top-level item
    record(QStringLiteral("Add item"), [this, current] {
        QTreeWidgetItem *parent = current ? current->parent() : nullptr;
        QTreeWidgetItem *item = insertItem(parent);
        if (current) {
            current->setExpanded(true);
            setPicture(current);
        }
        select(item);
        if (isTreeMenu()) {
            m_page.setText(IconField, EmptyIcon);
            applyTo(item);
        }
    });
}

void MenuTreeEditor::remove()
{
    QTreeWidgetItem *item = selected();
    if (!item)
        return;
    if (isTreeMenu() && (tree().itemCount() <= 1 || isRootItem(item))) {
        m_page.context().services.showMessage(message(Str::RootNotRemovable, MessageIcon::Exclamation));
        return;
    }
    endPendingMoves();
    record(QStringLiteral("Remove"), [this, item] {
        QTreeWidgetItem *parent = item->parent();
        m_removing = true; // the item selected next takes none of the fields
        delete item;
        m_removing = false;
        if (parent)
            setPicture(parent);
        if (m_tree->topLevelItemCount() == 0)
            emptyTreeControls();
        else if (!m_tree->currentItem())
            select(m_tree->topLevelItem(0));
        else
            showItem(selected()); // chosen while the removed item still counted as a child
    });
}

void MenuTreeEditor::emptyTreeControls()
{
    {
        const QSignalBlocker quiet(m_page.control(TargetFrame));
        m_page.setChecked(TargetFrame, false);
    }
    m_page.setText(Text, QString());
    m_page.setText(Url, QString());
    updateCommands(nullptr);
    targetControls(false);
}

void MenuTreeEditor::apply()
{
    applyStep(selected());
}

// Fields that would change nothing make no step, and no copies of the menu to compare:
// the fields are applied every time they lose the focus and at every Next.
void MenuTreeEditor::applyStep(QTreeWidgetItem *item)
{
    if (!item)
        return;
    QStringList icons = m_icons;
    const Fields fields = fieldsFor(item, icons);
    const bool hasRecord = item->data(0, RecordRole).isValid();
    if (hasRecord && fields.text == item->text(0) && fields.record == recordOf(item) && icons == m_icons)
        return;
    record(QStringLiteral("Apply"), [this, item] { applyTo(item); });
}

void MenuTreeEditor::applyTo(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const Fields fields = fieldsFor(item, m_icons);
    if (fields.text != item->text(0))
        item->setText(0, fields.text);
    setRecord(item, fields.record);
}

// A label never becomes empty: an empty text would end its run of siblings in the stored
// menu and lose the items after it.
MenuTreeEditor::Fields MenuTreeEditor::fieldsFor(const QTreeWidgetItem *item, QStringList &icons) const
{
    MenuRecord record = recordOf(item);
    QString text = m_page.text(Text);
    if (text.isEmpty() || !canEditText(item))
        text = item->text(0);
    // A field the item cannot use (a folder's link, a back item's target) keeps what it
    // holds: the page shows it empty, and it comes back when the item can use it again.
    if (isTreeMenu()) {
        record.targetEnabled = false; // its frame is chosen on the link page
    } else if (m_page.isActive(TargetFrame)) {
        record.targetEnabled = m_page.isChecked(TargetFrame);
        if (record.targetEnabled) {
            const QString mode = m_page.text(TargetMode);
            record.target = mode == OtherTarget ? m_page.text(TargetName) : mode;
        }
    }
    if (m_page.isActive(Url))
        record.url = m_page.text(Url);
    if (isTreeMenu()) {
        const QString icon = m_page.text(IconField);
        if (icon.isEmpty()) {
            record.icon = -1;
        } else {
            if (!icons.contains(icon))
                icons.append(icon);
            record.icon = int(icons.indexOf(icon));
        }
    }
    return Fields{text, record};
}

void MenuTreeEditor::showItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    m_showing = true;
    const MenuRecord record = recordOf(item);
    const bool children = item->childCount() > 0;
    m_page.setText(Text, item->text(0));
    m_page.setText(Url, children || record.back ? QString() : record.url);
    revealText(item);
    setPicture(item);
    {
        const QSignalBlocker quietFrame(m_page.control(TargetFrame));
        const QSignalBlocker quietBack(m_page.control(Back));
        m_page.setChecked(TargetFrame, !children && !record.back && !isTreeMenu() && record.targetEnabled);
        m_page.setChecked(Back, record.back);
    }
    if (auto *modes = m_page.control<QComboBox>(TargetMode)) {
        const int listed = modes->findText(record.target);
        const bool custom = !record.target.isEmpty() && (listed < 0 || record.target == OtherTarget);
        modes->setCurrentIndex(custom ? modes->findText(OtherTarget) : qMax(0, listed));
        m_page.setText(TargetName, custom ? record.target : QString());
    }
    if (isTreeMenu())
        m_page.setText(IconField, record.icon >= 0 && record.icon < m_icons.size() ? m_icons[record.icon] : QString());
    updateCommands(item);
    targetControls(false);
    m_showing = false;
}

// One place decides what may be done with the selected item (none: the tree is empty),
// for the buttons and fields and for the keys and menu commands that stand for them.
void MenuTreeEditor::updateCommands(const QTreeWidgetItem *item)
{
    const MenuRecord record = recordOf(item);
    const bool linkable = item && !record.back && item->childCount() == 0;
    const bool root = isTreeMenu() && isRootItem(item);
    const QHash<int, bool> enabled = {
        {AddToNode, !root},
        {AddSubItem, item && !record.back},
        {Remove, item && !root},
        {Text, canEditText(item)},
        {Url, linkable},
        {TargetFrame, linkable && !isTreeMenu()},
        {Tree, item != nullptr},
    };
    for (auto it = enabled.constBegin(); it != enabled.constEnd(); ++it) {
        if (it.key() != Tree)
            m_page.setEnabled(it.key(), it.value());
        if (QAction *key = m_keys.value(it.key()))
            key->setEnabled(it.value());
    }
}

void MenuTreeEditor::targetControls(bool applyAfter)
{
    const bool on = m_page.isChecked(TargetFrame);
    m_page.setEnabled(TargetMode, on);
    m_page.setEnabled(TargetName, on);
    if (on)
        targetMode();
    else
        m_page.selectComboItem(TargetMode, QStringLiteral("_blank"), nullptr);
    if (applyAfter && !m_showing)
        autoApply();
}

void MenuTreeEditor::targetMode()
{
    const bool other = m_page.text(TargetMode) == OtherTarget;
    m_page.setEnabled(TargetName, other && m_page.isChecked(TargetFrame));
    if (!other)
        m_page.setText(TargetName, QString());
}

void MenuTreeEditor::setBack(bool on)
{
    QTreeWidgetItem *item = selected();
    if (!item || isTreeMenu())
        return;
    if (on && (item->childCount() > 0 || isRootItem(item) || !item->parent())) {
        m_page.context().services.showMessage(message(Str::BackNotAllowed, MessageIcon::Exclamation));
        if (QWidget *box = m_page.control(Back))
            box->setFocus();
        const QSignalBlocker quiet(m_page.control(Back));
        m_page.setChecked(Back, false);
        return;
    }
    record(QStringLiteral("Back"), [this, item, on] {
        MenuRecord record = recordOf(item);
        record.back = on;
        if (on)
            item->setText(0, QString::fromLatin1(m_rules.backText));
        setRecord(item, record);
    });
    showItem(item);
}

bool MenuTreeEditor::canEditText(const QTreeWidgetItem *item) const
{
    return item && !(m_rules.noTextForBack && recordOf(item).back);
}

void MenuTreeEditor::rename(QTreeWidgetItem *item, const QString &text)
{
    // An empty label would end its run of siblings when stored; the old one stays.
    if (!canEditText(item) || text.isEmpty() || text == item->text(0))
        return;
    record(QStringLiteral("Rename"), [item, text] { item->setText(0, text); });
    if (item == selected())
        m_page.setText(Text, text);
}

void MenuTreeEditor::pickIcon()
{
    QTreeWidgetItem *item = selected();
    Services &services = m_page.context().services;
    const QString path = services.openFile(StringTable::text(Str::ImageFilter));
    if (path.isEmpty())
        return;
    const ImageInfo info = ImageSize::read(path, services);
    if (info.found) {
        const bool small = info.width == 16 && info.height == 16;
        const bool folder = item && item->childCount() > 0;
        // A folder's icon holds its closed and its open picture side by side.
        if (folder && !small && !(info.width == 32 && info.height == 16)) {
            services.showMessage(message(Str::FolderIconSize, MessageIcon::Exclamation));
            return;
        }
        if (!folder && !small) {
            services.showMessage(message(Str::LeafIconSize, MessageIcon::Exclamation));
            return;
        }
    }
    if (!AppletFolderCopy::intoAppletFolder(m_page, path))
        return;
    m_page.setText(IconField, AppletFolderCopy::bareName(path));
    autoApply();
}

// --- moving and copying branches ---

std::array<bool, MenuTreeEditor::CommandCount> MenuTreeEditor::enabledCommands(const QTreeWidgetItem *source,
                                                                               const QTreeWidgetItem *target)
{
    std::array<bool, CommandCount> enabled{};
    enabled[Cancel] = true;
    if (!source || !target)
        return enabled;
    unsigned facts = 0;
    if (contains(source, target))
        facts |= Contains;
    if (source->parent() == target)
        facts |= IsParent;
    if (recordOf(target).back)
        facts |= IsBack;
    if (previousSibling(source) == target)
        facts |= JustBefore;
    if (recordOf(target).root)
        facts |= IsRoot;
    for (const DropCommand &entry : DropCommands)
        enabled[entry.command] = (entry.refusedWhen & facts) == 0;
    return enabled;
}

QPersistentModelIndex MenuTreeEditor::handle(const QTreeWidgetItem *item) const
{
    return item ? QPersistentModelIndex(m_tree->indexFromItem(item)) : QPersistentModelIndex();
}

QTreeWidgetItem *MenuTreeEditor::itemOf(const QPersistentModelIndex &index) const
{
    return index.isValid() ? m_tree->itemFromIndex(index) : nullptr;
}

void MenuTreeEditor::markSelected()
{
    QTreeWidgetItem *item = selected();
    setMarked(item);
    if (item)
        m_page.context().status(QStringLiteral("\"%1\" marked: select where it goes, then press Shift+F10")
                                    .arg(item->text(0)));
}

// A marked item looks like a file cut in a file manager: greyed and slanted.
void MenuTreeEditor::setMarked(QTreeWidgetItem *item)
{
    if (QTreeWidgetItem *old = itemOf(m_marked)) {
        old->setData(0, Qt::FontRole, QVariant());
        old->setData(0, Qt::ForegroundRole, QVariant());
    }
    m_marked = handle(item);
    if (!item)
        return;
    QFont font = m_tree->font();
    font.setItalic(true);
    item->setFont(0, font);
    item->setForeground(0, m_tree->palette().brush(QPalette::Disabled, QPalette::Text));
}

void MenuTreeEditor::setHighlight(QTreeWidgetItem *item)
{
    QTreeWidgetItem *old = itemOf(m_highlighted);
    if (old == item)
        return;
    if (old)
        old->setBackground(0, QBrush());
    m_highlighted = handle(item);
    if (item) {
        QColor highlight = m_tree->palette().color(QPalette::Highlight);
        highlight.setAlpha(90);
        item->setBackground(0, highlight);
    }
}

void MenuTreeEditor::showDropMenu(QTreeWidgetItem *source, QTreeWidgetItem *target, const QPoint &position)
{
    m_source = handle(source);
    m_target = handle(target);
    setHighlight(target);
    const auto enabled = enabledCommands(source, target);
    for (int command = 0; command < CommandCount; ++command)
        m_commands.value(command)->setEnabled(enabled[command]);
    const QString what = source ? QStringLiteral("\"%1\"").arg(source->text(0)) : QString();
    const QString title = target ? QStringLiteral("%1 onto \"%2\"").arg(what, target->text(0))
                                 : QStringLiteral("%1: no item to drop on").arg(what);
    m_dropTitle->setText(title);
    // A menu is as wide as its commands; its heading would be cut.
    const int margins = 2 * (m_dropMenu->style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, m_dropMenu) +
                             m_dropMenu->style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, m_dropMenu)) +
                        m_dropMenu->fontMetrics().averageCharWidth() * 4;
    m_dropMenu->setMinimumWidth(m_dropMenu->fontMetrics().horizontalAdvance(title) + margins);
    m_dropMenu->popup(position);
}

// From the keyboard: the marked item onto the current one, or else the tree's own commands.
void MenuTreeEditor::keyboardMenu()
{
    QTreeWidgetItem *current = selected();
    const QPoint at = m_tree->viewport()->mapToGlobal(current ? m_tree->visualItemRect(current).center() : QPoint());
    QTreeWidgetItem *marked = itemOf(m_marked);
    if (marked && current)
        showDropMenu(marked, current, at);
    else
        m_itemMenu->popup(at);
}

void MenuTreeEditor::finishDrop(Command command)
{
    QTreeWidgetItem *source = itemOf(m_source);
    QTreeWidgetItem *target = itemOf(m_target);
    if (command != Cancel)
        setMarked(nullptr); // used up, not given up
    endPendingMoves();
    if (command == Cancel || !source || !target || !enabledCommands(source, target)[command])
        return;
    const bool into = command == MoveInto || command == CopyInto;
    const bool move = command == MoveInto || command == MoveAfter;
    record(move ? QStringLiteral("Move") : QStringLiteral("Copy"), [&] {
        // The branch keeps its whole labels and, when moved, its very records.
        QTreeWidgetItem *branch = move ? source : source->clone();
        if (move) {
            QTreeWidgetItem *oldParent = source->parent();
            if (oldParent)
                oldParent->removeChild(source);
            else
                m_tree->takeTopLevelItem(m_tree->indexOfTopLevelItem(source));
            if (oldParent)
                setPicture(oldParent);
        }
        if (into) {
            target->addChild(branch);
            setPicture(target);
        } else if (QTreeWidgetItem *parent = target->parent()) {
            parent->insertChild(parent->indexOfChild(target) + 1, branch);
        } else {
            m_tree->insertTopLevelItem(m_tree->indexOfTopLevelItem(target) + 1, branch);
        }
        // Re-created items come collapsed.
        const std::function<void(QTreeWidgetItem *)> collapse = [&](QTreeWidgetItem *node) {
            node->setExpanded(false);
            setPicture(node);
            for (int i = 0; i < node->childCount(); ++i)
                collapse(node->child(i));
        };
        collapse(branch);
        m_removing = true; // the move itself is no reason to apply the fields
        select(target);
        m_removing = false;
        showItem(target); // also when it was selected already: it may be a folder now
    });
    // Whatever hint the mark gave is done with.
    m_page.context().status(QStringLiteral("\"%1\" %2").arg(source->text(0), move ? QStringLiteral("moved")
                                                                                  : QStringLiteral("copied")));
}

void MenuTreeEditor::beginDrag(QTreeWidgetItem *source)
{
    m_dragging = true;
    m_itemMenuPending = false; // the press was a drag, whatever becomes of it
    m_source = handle(source);
    m_target = QPersistentModelIndex();
    m_dragPicture->setText(QStringLiteral(" %1 ").arg(source->text(0)));
    m_dragPicture->adjustSize();
    m_dragPicture->show();
    m_dragPicture->raise();
}

void MenuTreeEditor::dragOver(const QPoint &position)
{
    m_dragPicture->move(position);
    QTreeWidgetItem *item = m_tree->itemAt(position);
    setHighlight(item);
    m_target = handle(item);
    if (!item)
        return;
    // The tree scrolls one item toward the pointer.
    const bool upper = position.y() < m_tree->viewport()->height() / 2;
    if (QTreeWidgetItem *next = upper ? m_tree->itemAbove(item) : m_tree->itemBelow(item))
        m_tree->scrollToItem(next);
}

void MenuTreeEditor::endPendingMoves()
{
    if (m_dropMenu->isVisible())
        m_dropMenu->hide();
    m_dragging = false;
    m_dragPicture->hide();
    setHighlight(nullptr);
    m_pressed = m_source = m_target = QPersistentModelIndex();
    if (QTreeWidgetItem *marked = itemOf(m_marked)) {
        m_page.context().status(QStringLiteral("\"%1\" is no longer marked to move or copy").arg(marked->text(0)));
        setMarked(nullptr);
    }
}

bool MenuTreeEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Compared by address: while the tree is destroyed it and its viewport still send events.
    if (m_page.isClosing())
        return false;
    if ((watched == m_tree || watched == m_viewport) && event->type() == QEvent::ContextMenu) {
        auto *menu = static_cast<QContextMenuEvent *>(event);
        if (menu->reason() != QContextMenuEvent::Keyboard) {
            // The right button also drags: its menu waits for a release without a drag.
            m_itemMenuPending = true;
            return true;
        }
        keyboardMenu();
        return true;
    }
    if (watched == m_tree && event->type() == QEvent::KeyPress && m_dragging &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        endPendingMoves();
        return true;
    }
    if (watched != m_viewport)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_dragging)
            return true;
        m_pressPosition = mouse->position().toPoint();
        m_pressed = handle(m_tree->itemAt(m_pressPosition));
        return false;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint position = mouse->position().toPoint();
        if (m_dragging) {
            if (!m_tree->viewport()->rect().contains(position))
                endPendingMoves(); // left the tree: the drag ends as Cancel
            else
                dragOver(position);
            return true;
        }
        QTreeWidgetItem *pressed = itemOf(m_pressed);
        if (!pressed || !(mouse->buttons() & (Qt::LeftButton | Qt::RightButton)))
            return false;
        if ((position - m_pressPosition).manhattanLength() >= QApplication::startDragDistance()) {
            beginDrag(pressed);
            dragOver(position);
        }
        // Until then the pressed item stays selected: the view would select what the
        // pointer crosses.
        return true;
    }
    case QEvent::MouseButtonRelease: {
        m_pressed = QPersistentModelIndex();
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_dragging) {
            if (m_itemMenuPending && mouse->button() == Qt::RightButton)
                m_itemMenu->popup(mouse->globalPosition().toPoint());
            m_itemMenuPending = false;
            return false;
        }
        // The drag is over; the drop menu asks what to do with it.
        m_itemMenuPending = false;
        m_dragging = false;
        m_dragPicture->hide();
        showDropMenu(itemOf(m_source), itemOf(m_target), m_tree->viewport()->mapToGlobal(mouse->position().toPoint()));
        return true;
    }
    default:
        return false;
    }
}

} // namespace vexa
