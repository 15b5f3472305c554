#include "MenuTagBlocks.h"

#include "MenuKeys.h"
#include "TagText.h"

#include <QStringList>

namespace vexa {

void MenuTagBlocks::appendMenuList(const SettingsStore &store, const QString &appletId, TagText &tag) {
    MenuKeys::walkMenuList(store, appletId, [&tag](const MenuKeys::ListEntry &entry) {
        const QString suffix = QString(entry.menu) + entry.position;
        tag.param(QStringLiteral("MenuText") + suffix, entry.text);
        if (!entry.url.isEmpty()) tag.param(QStringLiteral("MenuUrl") + suffix, entry.url);
        if (!entry.target.isEmpty()) tag.param(QStringLiteral("MenuTarget") + suffix, entry.target);
        if (!entry.link.isEmpty()) tag.param(QStringLiteral("MenuLink") + suffix, entry.link);
    });
}

void MenuTagBlocks::appendTree(const SettingsStore &store, TagText &tag) {
    MenuKeys::walkTree(store, [&](const MenuKeys::TreeEntry &entry) {
        if (entry.number == 0) {
            const QStringList icons = MenuKeys::readIcons(store);
            for (int k = 0; k < icons.size(); ++k)
                tag.param(QStringLiteral("Icon%1").arg(k), icons[k]);
        }
        const QString value = QString::number(entry.parent) + QLatin1Char(',') + entry.text +
                              QLatin1Char(',') + (entry.icon.isEmpty() ? QStringLiteral("0") : entry.icon) +
                              QLatin1Char(',') + (entry.url.isEmpty() ? QStringLiteral("u") : entry.url);
        tag.param(QStringLiteral("config%1").arg(entry.number), value);
    });
}

} // namespace vexa
