#pragma once

#include <QString>

namespace vexa {

class SettingsStore;
class TagText;

// The menu items of the list menus as parameter lines, read from their numbered keys.
class MenuTagBlocks {
public:
    // WHEELMENU and MORPHMENU: MenuText/MenuUrl/MenuTarget/MenuLink lines, depth first.
    static void appendMenuList(const SettingsStore &store, const QString &appletId, TagText &tag);
    // TREEMENU: the icon table, then one config line per item in pre-order.
    static void appendTree(const SettingsStore &store, TagText &tag);
};

} // namespace vexa
