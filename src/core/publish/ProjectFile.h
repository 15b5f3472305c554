#pragma once

#include "settings/ValueLimits.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

class QIODevice;

namespace vexa {

class Reporter;
class SettingsStore;

// Project files (".vxp"): the whole settings section of one applet, so that a
// configuration can be kept and brought back.
//
// The file is a header record followed by one record per value, in the order
// SettingsStore::keys() gives. Every record is 712 bytes, integers are 32-bit
// little-endian, texts zero-terminated and zero-padded:
//   0  name[128]  header: "V X P 1 4"           value: key (at most 127 bytes)
//   128 type      header: number of values      value: 1
//   132 data[512] header: applet id             value: text (at most 511 bytes)
//   644 length    header: applet id length      value: text length + 1
//   648 reserved[64], zero
// A section without values gives an empty file. Files without the header are
// read as the older INI-style format ("[APPLET]" then key=value lines).
//
// Texts are single bytes: Latin-1 (what earlier versions wrote and read) when the
// text fits and its bytes cannot be mistaken for UTF-8, UTF-8 otherwise. Reading
// takes a field as UTF-8 when it is valid UTF-8, else as Latin-1, so every text
// comes back exactly. Length limits count the bytes written.
class ProjectFile {
    struct Project; // the values a file holds, as read

public:
    static constexpr int RecordSize = 712;
    static constexpr int NameSize = 128;
    static constexpr int MaxValueLength = MaxProjectValueLength;
    static constexpr int DataSize = MaxValueLength + 1;
    static constexpr int TypeOffset = 128;
    static constexpr int DataOffset = 132;
    static constexpr int LengthOffset = 644;
    static constexpr int TextType = 1;
    // Larger files are refused unread, and never saved: some 23,000 values, far beyond any applet.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
    static const QByteArray Magic; // "V X P 1 4"
    // Records are read and written this many at a time (64 KB).
    static constexpr int PieceRecords = 92;

    ProjectFile(SettingsStore &store, Reporter &reporter);

    // Writes the section of `appletId` to `out`: 1 saved, 0 failed (a key over 127
    // or a text over 511 bytes, an empty applet id, a write error). Every record is
    // checked before the first byte is written. Reports nothing.
    int save(const QString &appletId, QIODevice &out);
    // The same into the file `path`, atomically: on 0 an earlier file is untouched
    // and no temporary file remains. A file too large to be opened again (5008) and a
    // file that cannot be written (5007, with the system's reason) are reported; callers
    // then show reportSaveFailure().
    int save(const QString &appletId, const QString &path);
    // "Problems during the saving of project" (1544, stop), for a save that gave 0.
    void reportSaveFailure();

    // Reads the project `path` into its applet's section and reports the outcome:
    //  1  stored (an old-format file also reports 1695, exclamation);
    //  0  the file cannot be read, or belongs to another applet than *currentAppletId
    //     (1543, stop); on the selection page, an applet outside the catalogue
    //     (no message; the caller reloads the page);
    // -1  not a valid project file (1694, stop).
    // The whole file is checked before anything is written, so a refused file
    // changes nothing. On the selection page the file names the applet, and
    // *currentAppletId is set to it when the result is 1.
    int open(const QString &path, QString *currentAppletId, bool onSelectionPage);
    // The same on the bytes of a file already read.
    int openData(const QByteArray &bytes, QString *currentAppletId, bool onSelectionPage);

    // A project file as read and checked, before anything of it is stored. Reading needs
    // no store, so a command can read the file while its store loads: read() may run on
    // any thread.
    class Contents {
    public:
        Contents();
        Contents(Contents &&) noexcept;
        Contents &operator=(Contents &&) noexcept;
        ~Contents();

    private:
        friend class ProjectFile;
        std::unique_ptr<Project> m_project; // none: the file was refused
        bool m_unreadable = false;          // refused as unreadable, else as no project file
    };
    static Contents read(const QString &path);
    // Stores what read() took in and reports the outcome, as open() does.
    int open(const Contents &contents, QString *currentAppletId, bool onSelectionPage);

    // Field texts in and out of the file (see above). encodeText() gives an empty
    // array with `ok` false for a text that holds a zero character.
    static QByteArray encodeText(const QString &text, bool *ok = nullptr);
    static QString decodeText(const QByteArray &bytes);

    // The section the last opened file names, accepted or not; empty when it named none.
    QString fileApplet() const { return m_fileApplet; }

private:
    enum class Outcome;

    // What a save writes: the header record (empty when the section has no value) and the
    // values, every one checked to fit its record.
    struct Records {
        QByteArray header;
        QList<QPair<QString, QString>> values;
        qint64 fileSize() const;
    };
    bool prepare(const QString &appletId, Records *records) const;
    static Contents readDevice(QIODevice &in);
    static bool parseHeader(const char *header, Project *project, qsizetype *count);
    static bool parseRecords(const char *records, qsizetype count, Project *project);
    static bool parseOld(const QByteArray &bytes, Project *project);
    Outcome store(const Project &project, QString *currentAppletId, bool onSelectionPage);
    int finish(Outcome outcome);

    SettingsStore &m_store;
    Reporter &m_reporter;
    QString m_fileApplet;
};

} // namespace vexa
