#pragma once

#include <QString>

namespace vexa {

// Copying one file safely, shared by publishing and by the pages' pickers.
class FileCopy {
public:
    // The same file under two paths: equal ignoring letter case, or one file reached by
    // two names (a link, a folder reached twice). Copying it onto itself could lose it.
    static bool samePath(const QString &a, const QString &b);
    // Copies `source` over `target` through a temporary file renamed into place, so a
    // failed copy leaves the old target as it was. Only plain files are copied: a pipe
    // or a device would never end. Returns "" on success, else the system's reason.
    static QString copy(const QString &source, const QString &target);
};

} // namespace vexa
