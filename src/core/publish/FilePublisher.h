#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

namespace vexa {

class Folders;
class Reporter;
class SettingsStore;

// One file that publishing copies next to the page.
struct PublishFile {
    QString name;                     // file name in its source folder
    QString key;                      // the setting that names it; empty for the program's own files
    QString value;                    // that setting's text, for the message when it is refused
    bool fromAppletDirectory = false; // the button image; all others lie in the applet folder
    bool fromProgram = false;         // the effects player, beside the installation data
};

// "Copy all files to...": writes the applet's page to a chosen HTML file and copies
// everything the applet needs beside it.
class FilePublisher {
public:
    // The support class file every applet folder holds and every applet needs.
    static QString supportClassFile() { return QStringLiteral("vexalib.class"); }

    FilePublisher(const SettingsStore &store, const Folders &folders, Reporter &reporter);

    // Writes the preview page for copying, copies it to `htmlPath` and then copies the
    // files of plannedFiles() into the folder of `htmlPath`. Stops at the first failure
    // with message 1690 (after the message naming the cause). Nothing is written when
    // a file to copy is missing or the moving picture cannot be made.
    bool copyAllFiles(const QString &appletId, const QString &htmlPath);

    // Publishing also records the applet as a moving picture that browsers without Java
    // show in its place; `waiting` is called while the applet runs for it.
    void setMovingPicture(bool on, std::function<void()> waiting = {})
    {
        m_movingPicture = on;
        m_waiting = std::move(waiting);
    }

    // The page also plays Vexa Java's own effect in browsers without Java: the player is
    // copied beside it, and the applet's missing code is then only named, not a reason to stop.
    void setEffects(bool on) { m_effects = on; }
    // What records the moving picture (page, seconds, frames a second, picture, waiting);
    // the Java viewer unless the program gives its own choice of engine.
    using Recorder = std::function<QString(const QString &, int, int, QByteArray *, const std::function<void()> &)>;
    void setRecorder(Recorder recorder) { m_recorder = std::move(recorder); }

    // Copies `name` from one folder to the other, replacing the target. Source and
    // target being the same path (ignoring case) is a success with nothing done. A
    // failure reports the file and the system's reason (message 5002).
    bool copyFile(const QString &sourceFolder, const QString &destinationFolder, const QString &name);

    // What copyAllFiles copies after the page, in order: the button image, the applet's
    // own files, then the common files. Numbered frames stop after the first one that
    // does not exist, where copying would stop anyway.
    QList<PublishFile> plannedFiles(const QString &appletId) const;

    // The planned files that are not where they are copied from, the applet's own code
    // first: a page needs all of them to show its applet.
    QStringList missingFiles(const QString &appletId) const;

    // How many files the last copyAllFiles (or copyFile) wrote into the destination, the
    // page included, and how many it found there already up to date.
    int copiedCount() const { return m_copied; }
    int upToDateCount() const { return m_upToDate; }
    // "12 files copied, 988 up to date" (the up-to-date part only when there are some).
    QString countsText() const;

    // A name that stays inside its folder: not empty, no folder part, no drive.
    static bool isBareFileName(const QString &name);

private:
    bool copyContents(const QString &source, const QString &target);
    bool copyFiles(const QList<QPair<QString, QString>> &files, const QString &destinationFolder);
    bool namesAreSafe(const QList<PublishFile> &files);
    void refuseUnsafe(const PublishFile &file);
    void reportMissing(const QString &folder, const QString &name);
    static bool isAppletCode(const QString &name);
    bool fail();

    const SettingsStore &m_store;
    const Folders &m_folders;
    Reporter &m_reporter;
    QStringList m_appletCode; // the applet's classes and archives, for the advice when one is missing
    int m_copied = 0;
    int m_upToDate = 0;
    bool m_movingPicture = false;
    bool m_effects = false;
    Recorder m_recorder;
    std::function<void()> m_waiting;
};

} // namespace vexa
