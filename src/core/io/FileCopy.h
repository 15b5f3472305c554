#pragma once

#include "Message.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>

namespace vexa {

// What went wrong with a file operation: the file it happened to and the system's reason.
// An empty reason means success.
struct FileError {
    QString path;
    QString reason;
    bool ok() const { return reason.isEmpty(); }
};

// Every file the program writes goes through here: projects, preview and published pages,
// copies into folders, scroll texts. A file is written beside its target and renamed over
// it, so a failure leaves the old file as it was; a target that exists but is no regular
// file (a pipe, a device, a link to one), or that is write-protected, is never replaced.
// The file written beside the target is named ".<target>.vxtmp-<process>-<random>"; one
// that an interrupted writer left is removed when its folder is next written. The reason of a failure is the
// system's own, kept from the call that failed.
class FileCopy {
public:
    // Whether the data is on disk before the rename: for what the user could not make
    // again (projects, settings). Copies of files that stay where they came from are not.
    enum class Durability { Durable, Replaceable };

    // One file reached by two names (the same path, a link, a folder reached twice),
    // decided by the file's identity, not by names that differ only in case (another
    // file where case matters); copying a file onto itself could lose it.
    static bool samePath(const QString &a, const QString &b);
    // Copies `source` over `target`; only a regular file is copied. The copy keeps the
    // source's modification time.
    static FileError copy(const QString &source, const QString &target,
                          Durability durability = Durability::Replaceable);
    // The same, unless `target` is already a regular file of the source's size and
    // modification time (the quick check rsync makes): then nothing is written and
    // `upToDate` is set.
    static FileError update(const QString &source, const QString &target, bool *upToDate);
    // update() for many files, several at a time (one per processor): copying is bound by
    // the system's work for each file, which spreads over processors. The results are in
    // the order of `copies` (source, target); every file is tried.
    struct Update {
        FileError error;
        bool upToDate = false;
    };
    static QList<Update> updateAll(const QList<QPair<QString, QString>> &copies);
    // Writes `bytes` as `target`.
    static FileError write(const QString &target, const QByteArray &bytes,
                           Durability durability = Durability::Durable);
    // Writes the pieces `next` hands out, until it hands out an empty one, as `target`:
    // a large file made piece by piece never has to be whole in memory.
    using Pieces = std::function<QByteArrayView()>;
    static FileError write(const QString &target, const Pieces &next, Durability durability = Durability::Durable);
    // Why `target` must not be written over ("" when it may): it exists and, links
    // followed, is no regular file, or it is write-protected.
    static QString refusedTarget(const QString &target);

    // The message for a failure: "Cannot copy" naming `source` when reading it failed,
    // else "Cannot write" naming the file that could not be written.
    static Message describe(const FileError &error, const QString &source = QString());

private:
    static FileError copyUnlessCurrent(const QString &source, const QString &target, Durability durability,
                                       bool skipCurrent, bool *upToDate);
};

} // namespace vexa
