#include "SelectionPage.h"

#include "Page.h"
#include "catalogue/Catalogue.h"
#include "publish/SamplePages.h"
#include "services/Services.h"
#include "settings/SettingsStore.h"
#include "settings/Folders.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

namespace vexa {
namespace {

constexpr int AppletList = 1002;
constexpr int Description = 1004;
constexpr int AppletPreview = 1003;
constexpr int PreviewAll = 1165;

// The applet list keeps its items sorted alphabetically, ignoring case.
void fillSorted(QComboBox *combo, QStringList applets)
{
    std::sort(applets.begin(), applets.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    combo->clear();
    combo->addItems(applets);
}

void showPage(Page &page, const QString &path)
{
    if (!path.isEmpty())
        page.context().services.showInBrowser(path);
}

} // namespace

void SelectionPage::setUp(Page &page)
{
    if (auto *description = page.control<QLabel>(Description)) {
        // Every applet's description fits whole, however narrow the page: a layout knows
        // nothing of the lines a wrapped text needs, and would cut them.
        constexpr int Narrowest = 420;
        QLabel probe;
        probe.setWordWrap(true);
        probe.setFont(description->font());
        int height = 0;
        for (const AppletRecord &applet : Catalogue::applets()) {
            probe.setText(StringTable::text(applet.description));
            height = qMax(height, probe.heightForWidth(Narrowest));
        }
        description->setMinimumSize(Narrowest, height);
    }
    for (const CategoryRecord &category : Catalogue::categories()) {
        const int number = category.number;
        page.onChange(category.radioId, [&page, number] { categoryClicked(page, number); });
    }
    if (auto *combo = page.control<QComboBox>(AppletList)) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents); // each category brings its own names
        QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), &page, [&page] { updateInfo(page); });
    }
    if (auto *button = page.control<QAbstractButton>(AppletPreview))
        QObject::connect(button, &QAbstractButton::clicked, &page, [&page] {
            PageContext &context = page.context();
            showPage(page, SamplePages(context.folders, context.services).page(selectedApplet(page)));
        });
    if (auto *button = page.control<QAbstractButton>(PreviewAll))
        QObject::connect(button, &QAbstractButton::clicked, &page, [&page] {
            PageContext &context = page.context();
            showPage(page, SamplePages(context.folders, context.services).writeIndex());
        });
}

QString SelectionPage::selectedApplet(const Page &page) { return page.text(AppletList); }

void SelectionPage::categoryClicked(Page &page, int category)
{
    for (const CategoryRecord &record : Catalogue::categories()) {
        const QSignalBlocker quiet(page.control(record.radioId)); // the list is filled once, here
        page.setChecked(record.radioId, record.number == category);
    }
    if (auto *combo = page.control<QComboBox>(AppletList)) {
        fillSorted(combo, Catalogue::appletList(category));
        combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
    }
    updateInfo(page);
}

void SelectionPage::updateInfo(Page &page)
{
    page.setEnabled(AppletPreview, true);
    const QString applet = selectedApplet(page);
    const int description = Catalogue::description(applet);
    page.setText(Description, description ? StringTable::text(description) : QString());
    emit page.selectedAppletChanged(applet);
}

bool SelectionPage::selectStartingWith(Page &page, const QString &prefix, bool fromTop)
{
    auto *combo = page.control<QComboBox>(AppletList);
    if (!combo || combo->count() == 0)
        return false;
    // The list's own search: from the item after the first, wrapping round, or from the top.
    const int count = combo->count();
    for (int step = 0; step < count; ++step) {
        const int index = fromTop ? step : (step + 1) % count;
        if (combo->itemText(index).startsWith(prefix, Qt::CaseInsensitive)) {
            combo->setCurrentIndex(index);
            return true;
        }
    }
    return false;
}

void SelectionPage::loadCategory(Page &page, const QString &lastCategory)
{
    bool ok = false;
    const int category = lastCategory.toInt(&ok);
    if (ok && lastCategory.size() == 1 && category >= 1 && category <= 6) {
        categoryClicked(page, category);
        return;
    }
    for (const CategoryRecord &record : Catalogue::categories())
        page.setChecked(record.radioId, false);
    if (auto *combo = page.control<QComboBox>(AppletList))
        combo->clear();
}

void SelectionPage::loadApplet(Page &page, const QString &lastApplet)
{
    if (!selectStartingWith(page, lastApplet, false))
        selectStartingWith(page, QStringLiteral("BUMP"), false);
    updateInfo(page);
}

void SelectionPage::storeApplet(Page &page)
{
    const QString applet = selectedApplet(page);
    page.write(QStringLiteral("LastApplet"), applet);
    page.context().appletId = applet;
    // The walk flags belong to the applet: its own pages set them again as they load, so
    // a float page or plug-in page chosen for another applet never joins this walk.
    page.context().flags = WalkFlags{};
    // An applet chosen for the first time opens with the values it starts with.
    page.context().store.startFromDefaults(applet);
}

void SelectionPage::storeCategory(Page &page)
{
    QString category;
    for (const CategoryRecord &record : Catalogue::categories()) {
        if (page.isChecked(record.radioId)) {
            category = QString::number(record.number);
            break;
        }
    }
    page.write(QStringLiteral("LastCateg"), category);
}

bool SelectionPage::selectApplet(Page &page, const QString &appletId)
{
    const int category = Catalogue::category(appletId);
    if (category == 0)
        return false;
    categoryClicked(page, category);
    selectStartingWith(page, appletId, true);
    updateInfo(page);
    return true;
}

} // namespace vexa
