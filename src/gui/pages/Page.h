#pragma once

#include "PageContext.h"
#include "PageTables.h"
#include "settings/SettingsStore.h"

#include <QColor>
#include <QHash>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QComboBox;

namespace vexa {

struct PageTemplate;

// One wizard page, built from its template. The same class serves every page id:
// load, store and validate walk the page's tables; the few irregular steps are small
// functions chosen by page id. Every widget carries its control id as object name
// ("c" + id).
class Page : public QWidget {
    Q_OBJECT

public:
    Page(int pageId, PageContext &context, QWidget *parent = nullptr);
    ~Page() override;

    int pageId() const { return m_pageId; }
    PageContext &context() { return m_context; }
    const QString &appletId() const { return m_context.appletId; }

    // Shows the stored values of the current applet, or its defaults.
    void load(bool useDefaults);
    // Writes what the controls show back into the store.
    void store();
    // Checks the typed values; shows one message and answers false on the first failure.
    bool validate();
    // Before the wizard goes back: false, with a message, when storing would lose a value.
    bool canGoBack();
    bool isLoading() const { return m_loading; }
    // The page is being destroyed: its controls may be gone.
    bool isClosing() const { return m_closing; }
    // The load in progress reads the applet's default section.
    bool loadsDefaults() const { return m_loadSection.endsWith(SettingsStore::DefaultSuffix); }

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

signals:
    // The applet chosen on the selection page changed (the Help menu follows it).
    void selectedAppletChanged(const QString &appletId);
    // The scroll-text or float switch changed the walk.
    void flagsChanged();

private:
    void loadBinding(const Binding &binding, const QString &value);
    void storeBinding(const Binding &binding);
    void loadCommonTail();
    void reportCutFields();
    void storeCommonTail();
    void refreshSwatches();

    int m_pageId;
    PageContext &m_context;
    QString m_loadSection;
    bool m_loading = false;
    QList<QPair<int, int>> m_cutFields; // fields whose stored value was cut on load, and its length
    bool m_closing = false;
    QHash<int, QWidget *> m_controls;
    QHash<int, QColor> m_colours;
    QHash<int, std::function<void()>> m_handlers;
};

} // namespace vexa
