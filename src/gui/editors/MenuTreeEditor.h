#pragma once

#include "tag/MenuChecks.h"
#include "tag/MenuKeys.h"
#include "tag/MenuTree.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QStringList>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
class QUndoStack;

namespace vexa {

class LabelDelegate;
// The menu page's controls.
namespace MenuTreeControls {
constexpr int Tree = 1446, AutoApply = 1484, ApplyChange = 1447, Back = 1532, Text = 1448, Url = 1450;
constexpr int IconField = 1533, PickIcon = 1534, TargetFrame = 1231, TargetMode = 1250, TargetName = 1249;
constexpr int AddToNode = 1451, AddSubItem = 1453, Remove = 1452;
} // namespace MenuTreeControls

class ControlPage;
struct MenuRules;

// The menu items page of the tree, wheel and morph menus: the tree control with a record
// (link, target, back, icon) on every item, the tree menu's icon list, and the fields of
// the selected item. Whole branches move and copy by dragging with either mouse button or,
// from the keyboard, by marking an item and opening the drop menu on the target. Every
// change of the tree can be undone while the page is shown.
class MenuTreeEditor : public QObject {
    Q_OBJECT

public:
    // The drop menu's commands, in menu order.
    enum Command { MoveInto, MoveAfter, CopyInto, CopyAfter, Cancel, CommandCount };

    explicit MenuTreeEditor(ControlPage &page);
    ~MenuTreeEditor() override;

    // The editor of the menu items page; nullptr on any other page.
    static MenuTreeEditor *of(const ControlPage &page);

    // Rebuilds the tree from the applet's keys (or its defaults) and selects the first item.
    void load(bool useDefaults);
    // Writes the tree back into the applet's keys, after applying pending field edits.
    void store();
    // The checks before the page is left; shows the message and answers false on a failure.
    bool check();
    // Before the page is left backward, unchecked: false, with the checks' message, when
    // the stored form cannot hold the whole menu (it would lose items).
    bool checkStorable();
    // Ends a label edited in place by taking its text, as leaving the field would.
    void commitLabelEdit();

    // The operations: buttons, keys, the drop menu and mouse drags all come here.
    void addSubItem();
    void addItemToNode();
    void remove();
    void apply();
    void setBack(bool on);
    void pickIcon();
    void rename(QTreeWidgetItem *item, const QString &text);
    // The Text field's rule: a morph menu's back item keeps its text.
    bool canEditText(const QTreeWidgetItem *item) const;
    // Keyboard moves: the selected item becomes the one to move or copy.
    void markSelected();
    void keyboardMenu();
    // Shows the drop menu for `source` onto `target` at `position` (global).
    void showDropMenu(QTreeWidgetItem *source, QTreeWidgetItem *target, const QPoint &position);
    void finishDrop(Command command);

    // Which drop commands `source` may be dropped with onto `target`.
    static std::array<bool, CommandCount> enabledCommands(const QTreeWidgetItem *source, const QTreeWidgetItem *target);

    MenuTree tree() const;
    QStringList icons() const { return m_icons; }
    QTreeWidget *treeControl() const { return m_tree; }
    QMenu *dropMenu() const { return m_dropMenu; }
    QAction *dropCommand(Command command) const { return m_commands.value(command); }
    QTreeWidgetItem *markedItem() const { return itemOf(m_marked); }
    QUndoStack *undoStack() const { return m_undo; }
    static MenuRecord recordOf(const QTreeWidgetItem *item);

    // What one change is made of, for undo.
    struct State {
        MenuTree tree;
        QStringList icons;
        QList<int> selected;
    };
    State state() const;
    void restore(const State &state);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs `checks` on the menu after taking pending edits; shows the failure's message.
    bool passes(MenuChecks::Result (*checks)(const MenuTree &, const QString &));
    void setUpPage();
    void setUpTree();
    void fitColumn();
    void revealText(QTreeWidgetItem *item);
    void connectControls();
    void record(const QString &what, const std::function<void()> &change);
    void rebuild(const MenuTree &tree, const QList<int> &selected);
    void select(QTreeWidgetItem *item);
    void showItem(QTreeWidgetItem *item);
    void applyStep(QTreeWidgetItem *item);
    void applyTo(QTreeWidgetItem *item);
    // What the fields make of `item`: its label and its record; `icons` gains the field's
    // icon when it is new.
    struct Fields {
        QString text;
        MenuRecord record;
    };
    Fields fieldsFor(const QTreeWidgetItem *item, QStringList &icons) const;
    void autoApply();
    void targetControls(bool applyAfter);
    void targetMode();
    void setPicture(QTreeWidgetItem *item) const;
    QTreeWidgetItem *insertItem(QTreeWidgetItem *parent);
    void emptyTreeControls();
    // Every button, key and menu command that depends on the selected item.
    void updateCommands(const QTreeWidgetItem *item);
    // Drag with the mouse.
    void beginDrag(QTreeWidgetItem *source);
    void dragOver(const QPoint &position);
    void setHighlight(QTreeWidgetItem *item);
    void setMarked(QTreeWidgetItem *item);
    // Ends any drag, drop menu and keyboard mark; the status line names a mark given up.
    void endPendingMoves();
    QPersistentModelIndex handle(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *itemOf(const QPersistentModelIndex &index) const;
    bool isTreeMenu() const;
    void reportCuts(const MenuKeys::Cuts &cuts);
    bool isRootItem(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *selected() const;
    QList<int> pathOf(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *itemAt(const QList<int> &path) const;

    ControlPage &m_page;
    const MenuRules &m_rules;
    QTreeWidget *m_tree = nullptr;
    QObject *m_viewport = nullptr;
    QUndoStack *m_undo = nullptr;
    QMenu *m_dropMenu = nullptr;
    QMenu *m_itemMenu = nullptr;
    QHash<int, QAction *> m_commands;
    QHash<int, QAction *> m_keys; // the tree's own commands, by the button they stand for
    QAction *m_dropTitle = nullptr;
    LabelDelegate *m_labels = nullptr;
    QStringList m_icons;
    std::array<QIcon, 3> m_pictures; // closed folder, open folder, leaf: made once, shared by every item
    bool m_removing = false;    // the selection that follows a removal takes no fields
    bool m_rebuilding = false;  // the tree is being refilled; its signals mean nothing
    bool m_showing = false;     // the fields are being filled from an item
    bool m_recording = false;   // an undoable step is under way
    bool m_itemMenuPending = false;
    // Drag state. Items are held by persistent index: one removed meanwhile reads as none.
    QPoint m_pressPosition;
    QPersistentModelIndex m_pressed; // the item a button went down on
    QPersistentModelIndex m_source;
    QPersistentModelIndex m_target;
    QPersistentModelIndex m_highlighted;
    QPersistentModelIndex m_marked;
    bool m_dragging = false;
    QLabel *m_dragPicture = nullptr;
};

} // namespace vexa
