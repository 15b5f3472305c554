#pragma once

#include "PageContext.h"
#include "settings/SettingsStore.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QPair>
#include <QWidget>

#include <functional>

namespace vexa {

// What an editor needs of a page: its controls by id, their values and states, the
// colours it holds, change handlers, the store section it reads and writes, and the
// context it works in. The page builds the controls and walks its tables on top of it.
// Every widget carries its control id as object name ("c" + id).
class ControlPage : public QWidget {
    Q_OBJECT

public:
    ControlPage(int pageId, PageContext &context, QWidget *parent = nullptr);

    int pageId() const { return m_pageId; }
    PageContext &context() { return m_context; }
    const QString &appletId() const { return m_context.appletId; }

    bool isLoading() const { return m_loading; }
    // The page is being destroyed: its controls may be gone.
    bool isClosing() const { return m_closing; }

    // Controls by id; nullptr when the page has none.
    QWidget *control(int id) const { return m_controls.value(id); }
    template <typename T> T *control(int id) const { return qobject_cast<T *>(control(id)); }
    // A control that exists and is enabled (a disabled control counts as absent).
    bool isActive(int id) const;

    QString text(int id) const;
    void setText(int id, const QString &text);
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    void setEnabled(int id, bool enabled);
    void setVisible(int id, bool visible);
    // The page's own show and hide stay reachable beside the control's.
    using QWidget::setEnabled;
    using QWidget::setVisible;
    // Selects the combo item equal to `value`, else `fallback`, else the first item.
    void selectComboItem(int id, const QString &value, const char *fallback);

    // Colours held by the page, by swatch id (1017 and 1018 hold the scroll text's colours).
    QColor colour(int swatchId) const { return m_colours.value(swatchId, Qt::black); }
    void setColour(int swatchId, const QColor &colour);

    // The store section of this page: the applet's, or Application on the selection page.
    QString section() const;
    // A value of the section being loaded (the applet's, or its defaults).
    QString read(const QString &key) const;
    void write(const QString &key, const QString &value);

    // Runs the change handler of a control as a user's change would.
    void runHandler(int id);
    void setHandler(int id, std::function<void()> handler) { m_handlers.insert(id, std::move(handler)); }
    // Makes `handler` the control's change handler and ties it to the control's change of
    // state, however it comes about (mouse, keyboard, assistive tools, code): a check box
    // when it is checked or cleared, a radio button when it becomes checked, a push button
    // when pressed, a list when the user chooses an item. Changes made while the page
    // loads are ignored; the load brings dependent controls up to date itself.
    void onChange(int id, std::function<void()> handler);

protected:
    // Shows every held colour in its swatch.
    void refreshSwatches();

    const int m_pageId;
    PageContext &m_context;
    QString m_loadSection;
    SettingsStore::Values *m_shown = nullptr; // collects the writes instead, while set
    bool m_loading = false;
    bool m_closing = false;
    QList<QPair<int, int>> m_cutFields; // fields whose stored value was cut on load, and its length
    QHash<int, QWidget *> m_controls;
    QHash<int, QColor> m_colours;
    QHash<int, std::function<void()>> m_handlers;
};

} // namespace vexa
