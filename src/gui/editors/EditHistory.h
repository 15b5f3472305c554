#pragma once

#include <QAction>
#include <QKeySequence>
#include <QUndoCommand>
#include <QUndoStack>
#include <QWidget>

#include <utility>

namespace vexa {

// One step of an editor's history: the editor's state before and after a change that has
// already been made when the step is recorded, so the first redo does nothing. Steps
// pushed with the same merge id (0 or more) fold into one, as consecutive keystrokes in
// one field do.
template <typename Editor> class EditStep : public QUndoCommand {
public:
    using State = typename Editor::State;
    EditStep(Editor &editor, const QString &what, State before, State after, int mergeId = -1)
        : QUndoCommand(what), m_editor(editor), m_before(std::move(before)), m_after(std::move(after)),
          m_mergeId(mergeId)
    {
    }
    void undo() override { m_editor.restore(m_before); }
    void redo() override
    {
        if (m_done)
            m_editor.restore(m_after);
        m_done = true;
    }
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand *other) override
    {
        if (other->id() != m_mergeId)
            return false;
        m_after = static_cast<const EditStep *>(other)->m_after;
        return true;
    }

private:
    Editor &m_editor;
    State m_before, m_after;
    int m_mergeId;
    bool m_done = false;
};

// Undo and redo on an editor's view, with the platform's keys and Ctrl+Y; both actions are
// returned for a context menu, which shows their keys.
inline QList<QAction *> addHistoryActions(QWidget *view, QUndoStack *stack, Qt::ShortcutContext context)
{
    QAction *undo = stack->createUndoAction(view, QStringLiteral("U&ndo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = stack->createRedoAction(view, QStringLiteral("Re&do"));
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    redo->setShortcuts(redoKeys);
    for (QAction *action : {undo, redo}) {
        action->setShortcutContext(context);
        action->setShortcutVisibleInContextMenu(true);
        view->addAction(action);
    }
    return {undo, redo};
}

} // namespace vexa
