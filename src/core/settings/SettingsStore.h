#pragma once

#include "StoreFormat.h"

#include <QHash>
#include <QMultiHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

namespace vexa {

class Reporter;
class DefaultSections;

// The per-user store: section -> key -> text. One section per applet, `Application`
// for program-wide values (the empty section name means the same), and read-only
// default sections (applet id + "_DEF") that come with the installation data.
//
// Key lookups ignore letter case, as the program's keys always did; the key keeps
// the spelling it was first written with. Writes are kept in memory until sync().
//
// Several copies of the program (the wizard, command-line runs) may share the file: each
// sync merges this copy's writes into what is on disk, under a lock file, so every key
// ends with the value of its last writer and no writer loses another's keys.
class SettingsStore {
public:
    static const QString Organisation; // "Vexa Team"
    static const QString Product;      // "Vexa Java"
    static const QString ApplicationSection;
    static const QString DefaultSuffix; // "_DEF"

    // The user's own store in the platform's native location, with the default
    // sections of the bundled installation data.
    explicit SettingsStore(Reporter &reporter);
    // A store kept in the file `path`, with the default sections read from `defaultsFile`.
    SettingsStore(const QString &path, const QString &defaultsFile, Reporter &reporter);
    ~SettingsStore();

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // The stored text, or the empty text when the key was never written.
    QString read(const QString &section, const QString &key) const;
    // Replaces the value, creating section and key. Refuses (false) default sections
    // and key names the store cannot hold (empty, or with a slash or backslash).
    bool write(const QString &section, const QString &key, const QString &value);

    using Values = QList<QPair<QString, QString>>; // key, text
    // Every value of a section, in the order of keys().
    Values values(const QString &section) const;
    // Writes the values as write() does, one after the other, in one pass over the
    // section. Keys the store cannot hold are skipped; false when there was one.
    bool write(const QString &section, const Values &values);

    // A section exists once any value has been written into it.
    bool sectionExists(const QString &section) const;
    // The keys of a section, each once, in a stable order while nothing is written.
    QStringList keys(const QString &section) const;

    // An applet whose section was never written starts from its default section: every
    // default value is copied into its own section. A section that exists is left as it is.
    // True when the values were copied.
    bool startFromDefaults(const QString &appletId);
    // Discards the applet's own section and starts it over from its defaults.
    void resetToDefaults(const QString &appletId);

    // Commits the writes to disk, merged into what other copies wrote meanwhile, and
    // takes in their values. A store that cannot be written (its lock held too long, a full
    // disk) keeps the writes and tries again at the next sync: the failure is reported once,
    // and so is the first sync that saves again. A store that cannot be read is never
    // written: reported once, its values live in memory only. False when nothing was saved.
    bool sync();
    // Writes that no sync has saved yet, and why the last sync could not save them.
    bool hasUnsavedChanges() const { return !m_pending.isEmpty() || !m_discarded.isEmpty(); }
    QString saveProblem() const { return m_saveProblem; }

    QString fileName() const;
    // The store's file could not be read (or is no file): its values live in memory only.
    bool isInMemoryOnly() const { return m_memoryOnly; }
    QString lockFileName() const;
    // How long a sync waits for another copy's lock before it gives up.
    static constexpr int LockWaitMs = 3000;
    // How long a sync waits once the lock was missed: every store of the program tries again.
    static constexpr int RetryLockWaitMs = 300;
    static bool isDefaultSection(const QString &section);
    static bool isStorableKey(const QString &key);

    // While one lives, reads of `section` see `values` over the stored ones: what a page
    // shows before it is stored (the live preview draws it). Nothing is written.
    class Overlay {
    public:
        Overlay(SettingsStore &store, const QString &section, const Values &values)
            : m_store(store), m_section(section), m_values(values)
        {
            m_store.m_overlay = this;
        }
        ~Overlay() { m_store.m_overlay = nullptr; }
        Overlay(const Overlay &) = delete;
        Overlay &operator=(const Overlay &) = delete;

    private:
        friend class SettingsStore;
        SettingsStore &m_store;
        QString m_section;
        Values m_values;
    };

private:
    const Overlay *m_overlay = nullptr;
    // What identifies one version of the store file: every writer replaces the file by a
    // new one, so a new version is a new file, even of the same size and time.
    struct FileVersion {
        quint64 device = 0, inode = 0, size = 0;
        qint64 modified = 0; // nanoseconds
        bool known = false;
        bool operator==(const FileVersion &o) const
        {
            return known && o.known && device == o.device && inode == o.inode && size == o.size &&
                   modified == o.modified;
        }
    };
    static FileVersion versionOf(const QString &path);

    void open(const QString &path);
    bool reload();
    bool commit();
    QString lockProblem() const;
    QString lockFailure(const QLockFile &lock) const;
    static bool acquire(QLockFile &lock, int waitMs);
    void reportUnwritable(const QString &reason);
    bool saveFailed(const QString &reason);
    bool setAside(const QString &why);
    void saved();
    StoreFormat::Section::iterator put(const QString &group, const QString &key, const QString &value);
    void remember(const QString &group, const Values &values);
    QString groupName(const QString &section) const;
    const StoreFormat::Section *section(const QString &group) const;
    // A key that hashes and compares ignoring case; no lowered copy of it is made.
    struct FoldedKey {
        QString key;
        static size_t hash(const QString &key);
        bool operator==(const FoldedKey &other) const { return key.compare(other.key, Qt::CaseInsensitive) == 0; }
        friend size_t qHash(const FoldedKey &folded, size_t salt = 0) { return hash(folded.key) ^ salt; }
    };
    // Finds keys by any spelling: a key's hash ignoring case leads to the stored spellings
    // that share it (usually one), compared ignoring case.
    class KeyIndex {
    public:
        explicit KeyIndex(const StoreFormat::Section *keys);
        // The stored spelling of `key`, or empty.
        QString find(const QString &key) const;
        void add(const QString &key) { m_keys.insert(FoldedKey::hash(key), key); }

    private:
        QMultiHash<size_t, QString> m_keys;
    };
    KeyIndex &keyIndex(const QString &group) const;

    const DefaultSections &defaults() const;

    QString m_defaultsFile;
    mutable std::unique_ptr<DefaultSections> m_defaults;
    Reporter &m_reporter;
    QString m_path;
    StoreFormat::Sections m_sections;
    FileVersion m_version; // of the file m_sections was last read from or written as
    // Not written since the last sync: every write by section, in order, and whole sections
    // discarded (before the writes made after that).
    QList<QPair<QString, Values>> m_pending;
    qsizetype m_pendingValues = 0;
    static constexpr qsizetype MinPendingValues = 65536;
    qsizetype m_compactPendingAt = MinPendingValues;
    QSet<QString> m_discarded;
    // A store file that cannot be used at all, or not written: the values stay in memory.
    bool m_memoryOnly = false;
    bool m_reportedUnwritable = false;
    bool m_saveFailing = false;
    QString m_saveProblem;
    // Per group, built on first use of the group.
    mutable QHash<QString, KeyIndex> m_keyIndex;
};

} // namespace vexa
