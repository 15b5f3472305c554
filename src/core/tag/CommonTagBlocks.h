#pragma once

#include <QString>

namespace vexa {

class SettingsStore;
class TagText;

// The blocks every tag receives after the applet's own block: floating window,
// menu items, over-image, scroll text, link and tuning, the message line and the
// end line. Which applet gets which block is fixed by its id. `beforeMessage`, when
// given, is one more line just before the message line.
class CommonTagBlocks {
public:
    static void append(const SettingsStore &store, const QString &appletId, TagText &tag,
                       const QString &beforeMessage = QString());

    static bool isMenuApplet(const QString &appletId);
    static bool isOwnLinkApplet(const QString &appletId);
    // Whether the applet's tag carries the value stored under `key` (one of the link,
    // tuning and over-image keys): its page lets the user choose it only then.
    static bool carriesKey(const QString &appletId, const QString &key);
};

} // namespace vexa
