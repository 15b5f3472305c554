#include "SettingsStore.h"

#include "DefaultSections.h"
#include "InstallData.h"
#include "Reporter.h"
#include "io/FileCopy.h"
#include "strings/StringIds.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vexa {

namespace {

// Whether `path` is there and something other than a regular file (links followed). One
// look at the file: other copies create and remove the lock file all the time, and two
// looks could see it there, then gone.
bool isNoRegularFile(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode);
#else
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
#endif
}

// A store file that is a pipe or a device would block or never end: such a store is
// kept in memory only.
QString unusableReason(const QString &path)
{
    return isNoRegularFile(path) ? QStringLiteral("it is not a regular file") : QString();
}

} // namespace

const QString SettingsStore::Organisation = QStringLiteral("Vexa Team");
const QString SettingsStore::Product = QStringLiteral("Vexa Java");
const QString SettingsStore::ApplicationSection = QStringLiteral("Application");
const QString SettingsStore::DefaultSuffix = QStringLiteral("_DEF");

SettingsStore::SettingsStore(Reporter &reporter) : m_defaultsFile(InstallData::defaultsFile()), m_reporter(reporter)
{
    open(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + Organisation +
         QLatin1Char('/') + Product + QStringLiteral(".conf"));
}

SettingsStore::SettingsStore(const QString &path, const QString &defaultsFile, Reporter &reporter)
    : m_defaultsFile(defaultsFile), m_reporter(reporter)
{
    open(path);
}

// Read on first use: most commands, and the program's first page, need no default value.
const DefaultSections &SettingsStore::defaults() const
{
    if (!m_defaults)
        m_defaults = std::make_unique<DefaultSections>(DefaultSections::load(m_defaultsFile));
    return *m_defaults;
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::open(const QString &path)
{
    m_path = path;
    const QString reason = unusableReason(path);
    if (!reason.isEmpty()) {
        m_memoryOnly = true;
        reportUnwritable(reason);
        return;
    }
    reload();
}

SettingsStore::FileVersion SettingsStore::versionOf(const QString &path)
{
    FileVersion version;
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return version;
    version.device = quint64(info.st_dev);
    version.inode = quint64(info.st_ino);
    version.size = quint64(info.st_size);
    version.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    version.known = true;
#else
    Q_UNUSED(path); // unknown: every sync reads the file again
#endif
    return version;
}

// Takes in the file as it is now. Every writer renames a complete new file into place,
// so what is read is one writer's whole file, never a mix. A file that is there but
// cannot be read is never written over: its values would be lost.
bool SettingsStore::reload()
{
    QFile file(m_path);
    const FileVersion version = versionOf(m_path);
    m_keyIndex.clear();
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists()) {
            m_memoryOnly = true;
            reportUnwritable(QStringLiteral("it cannot be read: %1").arg(file.errorString()));
            return false;
        }
        m_sections.clear();
        m_version = version;
        return true;
    }
    const QByteArray bytes = file.readAll();
    if (const QString why = StoreFormat::notAStore(bytes); !why.isEmpty())
        return setAside(why);
    m_sections = StoreFormat::read(bytes);
    m_version = version;
    return true;
}

// A file that does not read as settings would lose everything in it at the next write: it
// is kept under a name that says so, and the store starts from nothing.
bool SettingsStore::setAside(const QString &why)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + QStringLiteral(".unreadable-%1-%2").arg(stamp).arg(n);
    if (!QFile::rename(m_path, aside) && QFileInfo::exists(m_path)) {
        m_memoryOnly = true;
        reportUnwritable(QStringLiteral("%1, and it cannot be kept aside").arg(why));
        return false;
    }
    m_sections.clear();
    m_version = versionOf(m_path);
    Message m = message(Str::SettingsSetAside, MessageIcon::Exclamation);
    m.text = m.text.arg(fileName(), why, aside);
    m_reporter.report(m);
    return true;
}

void SettingsStore::reportUnwritable(const QString &reason)
{
    if (m_reportedUnwritable)
        return;
    m_reportedUnwritable = true;
    Message m = message(Str::SettingsNotWritable, MessageIcon::Stop);
    m.text = m.text.arg(fileName(), reason);
    m_reporter.report(m);
}

bool SettingsStore::isDefaultSection(const QString &section)
{
    return section.endsWith(DefaultSuffix);
}

bool SettingsStore::isStorableKey(const QString &key)
{
    // Slashes and backslashes were group separators in the files of earlier versions.
    return !key.isEmpty() && !key.contains(QLatin1Char('/')) && !key.contains(QLatin1Char('\\'));
}

QString SettingsStore::groupName(const QString &section) const
{
    return section.isEmpty() ? ApplicationSection : section;
}

const StoreFormat::Section *SettingsStore::section(const QString &group) const
{
    const auto it = m_sections.constFind(group);
    return it == m_sections.constEnd() ? nullptr : &*it;
}

size_t SettingsStore::FoldedKey::hash(const QString &key)
{
    size_t hash = 14695981039346656037ULL; // FNV-1a over the case-folded characters
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        const char16_t folded = u < 0x80 ? (u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u)
                                         : c.toCaseFolded().unicode();
        hash = (hash ^ folded) * 1099511628211ULL;
    }
    return hash;
}

SettingsStore::KeyIndex::KeyIndex(const StoreFormat::Section *keys)
{
    if (!keys)
        return;
    m_keys.reserve(keys->size());
    for (auto key = keys->keyBegin(); key != keys->keyEnd(); ++key)
        add(*key);
}

QString SettingsStore::KeyIndex::find(const QString &key) const
{
    const size_t hash = FoldedKey::hash(key);
    for (auto it = m_keys.constFind(hash); it != m_keys.constEnd() && it.key() == hash; ++it) {
        if (it.value().compare(key, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return QString();
}

SettingsStore::KeyIndex &SettingsStore::keyIndex(const QString &group) const
{
    auto it = m_keyIndex.find(group);
    if (it == m_keyIndex.end())
        it = m_keyIndex.insert(group, KeyIndex(section(group)));
    return *it;
}

QString SettingsStore::read(const QString &section, const QString &key) const
{
    if (isDefaultSection(section))
        return defaults().value(section, key);
    if (!isStorableKey(key))
        return QString();
    if (m_overlay && section.compare(m_overlay->m_section, Qt::CaseInsensitive) == 0) {
        for (const auto &[shownKey, value] : m_overlay->m_values) {
            if (shownKey.compare(key, Qt::CaseInsensitive) == 0)
                return value;
        }
    }
    const QString group = groupName(section);
    const StoreFormat::Section *values = this->section(group);
    if (!values)
        return QString();
    // The program's own spelling is the usual one; other spellings go through the index.
    const auto exact = values->constFind(key);
    if (exact != values->constEnd())
        return *exact;
    const QString stored = keyIndex(group).find(key);
    return stored.isEmpty() ? QString() : values->value(stored);
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    return write(section, Values{{key, value}});
}

SettingsStore::Values SettingsStore::values(const QString &section) const
{
    Values values;
    if (isDefaultSection(section)) {
        for (const QString &key : defaults().keys(section))
            values.append({key, defaults().value(section, key)});
        return values;
    }
    if (const StoreFormat::Section *stored = this->section(groupName(section))) {
        values.reserve(stored->size());
        for (auto it = stored->constBegin(); it != stored->constEnd(); ++it)
            values.append({it.key(), it.value()});
    }
    return values;
}

// The key keeps the spelling it was first written with.
StoreFormat::Section::iterator SettingsStore::put(const QString &group, const QString &key, const QString &value)
{
    StoreFormat::Section &values = m_sections[group];
    auto exact = values.find(key);
    if (exact != values.end()) {
        *exact = value;
        return exact;
    }
    KeyIndex &index = keyIndex(group); // built from what is stored before the new key goes in
    const QString stored = index.find(key);
    if (!stored.isEmpty())
        return values.insert(stored, value);
    index.add(key);
    return values.insert(key, value);
}

bool SettingsStore::write(const QString &section, const Values &values)
{
    if (isDefaultSection(section))
        return false;
    const QString group = groupName(section);
    StoreFormat::Section &stored = m_sections[group];
    auto next = stored.end();
    bool allStored = true;
    for (const auto &[key, value] : values) {
        if (!isStorableKey(key)) {
            allStored = false;
            continue;
        }
        // Values often come in the store's own order (a project saved from it): the key
        // after the one just written is tried first.
        if (next != stored.end() && next.key() == key)
            *next++ = value;
        else
            next = std::next(put(group, key, value));
    }
    remember(group, values);
    return allStored;
}

// Kept until the next sync, to be written again over what another copy wrote meanwhile; a
// store that is never written again keeps nothing. Writes that pile up unwritten (a store
// that cannot be written just now) keep only the last value of each key.
void SettingsStore::remember(const QString &group, const Values &values)
{
    if (m_memoryOnly)
        return;
    m_pending.append({group, values});
    m_pendingValues += values.size();
    if (m_pendingValues <= m_compactPendingAt)
        return;
    QHash<QString, QHash<FoldedKey, QString>> last;
    for (const auto &[written, writtenValues] : std::as_const(m_pending))
        for (const auto &[key, value] : writtenValues)
            last[written].insert(FoldedKey{key}, value);
    m_pending.clear();
    m_pendingValues = 0;
    for (auto group = last.constBegin(); group != last.constEnd(); ++group) {
        Values kept;
        for (auto value = group->constBegin(); value != group->constEnd(); ++value)
            kept.append({value.key().key, value.value()});
        m_pendingValues += kept.size();
        m_pending.append({group.key(), kept});
    }
    m_compactPendingAt = qMax(MinPendingValues, 2 * m_pendingValues);
}

bool SettingsStore::sectionExists(const QString &section) const
{
    if (isDefaultSection(section))
        return defaults().hasSection(section);
    const StoreFormat::Section *values = this->section(groupName(section));
    return values && !values->isEmpty();
}

QStringList SettingsStore::keys(const QString &section) const
{
    if (isDefaultSection(section))
        return defaults().keys(section);
    const StoreFormat::Section *values = this->section(groupName(section));
    return values ? values->keys() : QStringList();
}

bool SettingsStore::startFromDefaults(const QString &appletId)
{
    const QString defaultSection = appletId + DefaultSuffix;
    if (isDefaultSection(appletId) || sectionExists(appletId) || !defaults().hasSection(defaultSection))
        return false;
    write(appletId, values(defaultSection));
    return true;
}

void SettingsStore::resetToDefaults(const QString &appletId)
{
    const QString group = groupName(appletId);
    if (isDefaultSection(appletId) || group == ApplicationSection)
        return;
    m_sections.remove(group);
    m_keyIndex.remove(group);
    m_pending.removeIf([&](const auto &written) { return written.first == group; });
    m_pendingValues = 0;
    for (const auto &written : std::as_const(m_pending))
        m_pendingValues += written.second.size();
    m_discarded.insert(group);
    startFromDefaults(appletId);
}

QString SettingsStore::lockFileName() const { return m_path + QStringLiteral(".lock"); }

// Why the lock file cannot be used at all; waiting would not help.
QString SettingsStore::lockProblem() const
{
    if (isNoRegularFile(lockFileName()))
        return QStringLiteral("its lock file \"%1\" is not a regular file").arg(lockFileName());
    // Another copy's lock is always readable: one that is not would only look held for good.
    const QFileInfo lock(lockFileName());
    if (lock.exists() && !lock.isReadable())
        return QStringLiteral("its lock file \"%1\" cannot be read: %2").arg(lockFileName(), qt_error_string(EACCES));
    return QString();
}

// Why nothing can be written into `folder` just now: the system's own word, found by trying.
static QString whyFolderRefuses(const QString &folder)
{
#ifdef Q_OS_UNIX
    QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.vexajava-probe-XXXXXX"));
    const int out = ::mkstemp(probe.data());
    if (out < 0)
        return qt_error_string(errno);
    const char bytes[64] = {};
    const int error = ::write(out, bytes, sizeof bytes) < 0 || ::fsync(out) != 0 ? errno : 0;
    ::close(out);
    ::unlink(probe.constData());
    return error ? qt_error_string(error) : QString();
#else
    Q_UNUSED(folder);
    return QString();
#endif
}

QString SettingsStore::lockFailure(const QLockFile &lock) const
{
    qint64 pid = 0;
    QString host, application;
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        if (lock.getLockInfo(&pid, &host, &application))
            return QStringLiteral("its lock file \"%1\" is held by %2 (process %3 on host \"%4\")")
                .arg(lockFileName(), application.isEmpty() ? QStringLiteral("another program") : application)
                .arg(pid)
                .arg(host);
        return QStringLiteral("its lock file \"%1\" is held by another program").arg(lockFileName());
    case QLockFile::PermissionError:
        return QStringLiteral("its lock file \"%1\" cannot be made: %2")
            .arg(lockFileName(), qt_error_string(EACCES));
    default: {
        const QString why = whyFolderRefuses(QFileInfo(lockFileName()).absolutePath());
        return QStringLiteral("its lock file \"%1\" cannot be made%2")
            .arg(lockFileName(), why.isEmpty() ? QString() : QStringLiteral(": ") + why);
    }
    }
}

// Tried every few milliseconds: QLockFile's own wait doubles its pauses (0.1, 0.2, 0.4 s...),
// so with a few busy writers a copy could give up within seconds in which the lock was
// free many times.
bool SettingsStore::acquire(QLockFile &lock, int waitMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || waited.hasExpired(waitMs))
            return false;
        QThread::msleep(5 + QRandomGenerator::global()->bounded(10));
    }
    return true;
}

bool SettingsStore::sync()
{
    if (m_memoryOnly)
        return false; // said once
    if (m_pending.isEmpty() && m_discarded.isEmpty()) {
        // Nothing to write: take in what other copies wrote meanwhile.
        return versionOf(m_path) == m_version || reload();
    }
    return commit();
}

// Under the lock: the file as it is now, this copy's writes over it, written as a new file.
bool SettingsStore::commit()
{
    const QFileInfo file(m_path);
    if (const QString refused = FileCopy::refusedTarget(m_path); !refused.isEmpty())
        return saveFailed(refused);
    if (const QString reason = InstallData::makeFolder(file.absolutePath()); !reason.isEmpty())
        return saveFailed(QStringLiteral("its folder \"%1\" cannot be made: %2").arg(file.absolutePath(), reason));
    QLockFile lock(lockFileName());
    // Waiting longer could hang the program: it goes on, and tries again at the next sync.
    if (const QString problem = lockProblem(); !problem.isEmpty() || !acquire(lock, m_saveFailing ? RetryLockWaitMs : LockWaitMs))
        return saveFailed(problem.isEmpty() ? lockFailure(lock) : problem);
    if (!(versionOf(m_path) == m_version)) {
        if (!reload())
            return false;
        for (const QString &group : std::as_const(m_discarded)) {
            m_sections.remove(group);
            m_keyIndex.remove(group);
        }
        for (const auto &[group, values] : std::as_const(m_pending))
            for (const auto &[key, value] : values)
                if (isStorableKey(key))
                    put(group, key, value);
    }
    const FileError error = FileCopy::write(m_path, StoreFormat::write(m_sections), FileCopy::Durability::Durable);
    if (!error.ok())
        return saveFailed(error.reason);
    m_version = versionOf(m_path);
    m_pending.clear();
    m_pendingValues = 0;
    m_discarded.clear();
    saved();
    return true;
}

bool SettingsStore::saveFailed(const QString &reason)
{
    m_saveProblem = reason;
    if (!std::exchange(m_saveFailing, true)) {
        Message m = message(Str::SettingsNotSavedYet, MessageIcon::Exclamation);
        m.text = m.text.arg(fileName(), reason);
        m_reporter.report(m);
    }
    return false;
}

void SettingsStore::saved()
{
    m_saveProblem.clear();
    if (std::exchange(m_saveFailing, false)) {
        Message m = message(Str::SettingsSavedAgain, MessageIcon::Information);
        m.text = m.text.arg(fileName());
        m_reporter.report(m);
    }
}

QString SettingsStore::fileName() const { return m_path; }

} // namespace vexa
