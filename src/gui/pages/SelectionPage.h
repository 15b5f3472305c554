#pragma once

#include <QString>

namespace vexa {

class Page;

// The applet selection page: six categories, the applets of the checked one, the
// chosen applet's description and its sample pages.
class SelectionPage {
public:
    static void setUp(Page &page);
    static void loadCategory(Page &page, const QString &lastCategory);
    static void loadApplet(Page &page, const QString &lastApplet);
    static void storeCategory(Page &page);
    static void storeApplet(Page &page);

    // Checks the category of `appletId` and selects it; false for an id of no category.
    static bool selectApplet(Page &page, const QString &appletId);
    static QString selectedApplet(const Page &page);

private:
    static void categoryClicked(Page &page, int category);
    static void updateInfo(Page &page);
    static bool selectStartingWith(Page &page, const QString &prefix, bool fromTop);
};

} // namespace vexa
