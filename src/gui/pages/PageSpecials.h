#pragma once

#include <QString>

namespace vexa {

class Page;
struct Binding;

// The steps of load, store and set-up that differ from page to page, chosen by
// page id. Everything regular is done by the page's tables.
class PageSpecials {
public:
    // One-time preparation after the page's widgets exist, before the first load.
    static void setUp(Page &page);
    // A key the tables mark as special. False ends the page's load (or store) there.
    static bool loadKey(Page &page, const Binding &binding, const QString &value);
    static bool storeKey(Page &page, const Binding &binding);
    // After the page's keys, before the common tail.
    static void afterLoad(Page &page);
    static void afterStore(Page &page);
    static void loadCharacterSet(Page &page, const QString &charset);
    // The applet's scroll text when the page chooses a character set other than the one its
    // file is written in: the file follows the new set when the page is stored.
    static bool scrollTextToConvert(Page &page, QString *text);
    static void convertScrollText(Page &page);
};

} // namespace vexa
