#pragma once

#include <QString>

namespace vexa {

// Where the bundled installation data lives: the applet folders' own files, the
// default values and the help pages. Found next to the executable
// (<bin>/../share/vexajava, true in the build tree and after install), else at the
// configured install location.
class InstallData {
public:
    static QString dir();
    static QString defaultsFile();
    static QString defaultAppletDirName() { return QStringLiteral("applets"); }
    static QString defaultHelpDirName() { return QStringLiteral("help"); }
};

} // namespace vexa
