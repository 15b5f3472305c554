#pragma once

#include "controls/ControlPage.h"
#include "settings/SettingsStore.h"

namespace vexa {

struct Binding;
struct PageTemplate;

// One wizard page, built from its template. The same class serves every page id:
// load, store and validate walk the page's tables; the few irregular steps are small
// functions chosen by page id.
class Page : public ControlPage {
    Q_OBJECT

public:
    // The switches of the applet pages that change the walk: page 133 and page 211.
    static constexpr int EnableScrollText = 1014;
    static constexpr int FloatMode = 4061;

    Page(int pageId, PageContext &context, QWidget *parent = nullptr);
    ~Page() override;

    // Shows the stored values of the current applet, or its defaults.
    void load(bool useDefaults);
    // Writes what the controls show back into the store.
    void store();
    // The values the page's fields would store, without storing them or writing any file.
    SettingsStore::Values shownValues();
    // Checks the typed values; shows one message and answers false on the first failure.
    bool validate();
    // Before the wizard goes back: false, with a message, when storing would lose a value.
    bool canGoBack();
    // The load in progress reads the applet's default section.
    bool loadsDefaults() const { return m_loadSection.endsWith(SettingsStore::DefaultSuffix); }

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
};

} // namespace vexa
