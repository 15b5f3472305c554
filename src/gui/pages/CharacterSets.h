#pragma once

#include <QString>

namespace vexa {

// The character sets a page can choose for its preview page: display name and charset name.
class CharacterSets {
public:
    static QString other() { return QStringLiteral("Other..."); }
    // The charset of a display name, or "" for "Other..." and unknown names.
    static QString valueOf(const QString &name);
    // The display name of a charset (exact comparison), or "" when the table has none.
    static QString nameOf(const QString &value);
};

} // namespace vexa
