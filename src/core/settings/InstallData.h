#pragma once

#include <QString>

#include <functional>

namespace vexa {

// Where the bundled installation data lives: the applet folders' own files, the
// default values and the help pages. Found next to the executable
// (<bin>/../share/vexajava, true in the build tree and after install), else at the
// configured install location.
class InstallData {
public:
    static QString dir();
    static QString defaultsFile();
    // The effects player for browsers, beside the installation data.
    static QString playerScript();
    static QString defaultAppletDirName() { return QStringLiteral("applets"); }
    static QString defaultHelpDirName() { return QStringLiteral("help"); }

    // "Vexa Java 1.0"
    static QString versionText() { return QStringLiteral("Vexa Java " VEXAJAVA_VERSION); }

    // Whether the program may write into `folder`. The one place that decides it, so
    // that tests (which run as root, where permissions stop nothing) can say otherwise.
    static bool isWritable(const QString &folder);
    static void setWritableCheck(std::function<bool(const QString &)> check);

    // Whether `dataDir` is the build tree's mirror of the installation data, the one copy the
    // program writes into (the developer's own); an installation is never written.
    static bool isBuildTree(const QString &dataDir);

    // Where a user keeps the applet folders when the installation's are not written into:
    // <user data location>/applets.
    static QString userAppletDirectory();
    // Copies every file of `from` (folders included) that `to` lacks; a file the user
    // has there is never replaced. Answers how many files were copied; `problem` gets
    // the first thing that failed, with the system's reason.
    static int copyMissing(const QString &from, const QString &to, QString *problem = nullptr);
    // Makes `folder` and the folders above it that are missing: empty, or why not.
    static QString makeFolder(const QString &folder);
};

} // namespace vexa
