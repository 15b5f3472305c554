#include "SettingsStore.h"

#include "DefaultSections.h"
#include "InstallData.h"
#include "Reporter.h"
#include "strings/StringIds.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "StoreFormat.h"
#include "publish/FileCopy.h"

namespace vexa {

namespace {

// A hand-edited value with bare commas comes back as a list.
QString valueText(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

// A store file that is a pipe or a device would block or never end: such a store is
// kept in memory only, in a file of its own that nobody reads.
QString unusableReason(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return QStringLiteral("it is not a regular file");
    return QString();
}

} // namespace

const QString SettingsStore::Organisation = QStringLiteral("Vexa Team");
const QString SettingsStore::Product = QStringLiteral("Vexa Java");
const QString SettingsStore::ApplicationSection = QStringLiteral("Application");
const QString SettingsStore::DefaultSuffix = QStringLiteral("_DEF");

SettingsStore::SettingsStore(Reporter &reporter)
    : m_defaults(std::make_unique<DefaultSections>(DefaultSections::load(InstallData::defaultsFile()))),
      m_reporter(reporter)
{
#ifdef Q_OS_WIN
    m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, Organisation, Product);
#else
    // Where the native store keeps its file here: checked before anything reads it.
    open(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + Organisation +
             QLatin1Char('/') + Product + QStringLiteral(".conf"));
#endif
}

SettingsStore::SettingsStore(const QString &path, const QString &defaultsFile, Reporter &reporter)
    : m_defaults(std::make_unique<DefaultSections>(DefaultSections::load(defaultsFile))), m_reporter(reporter)
{
    open(path);
}

void SettingsStore::open(const QString &path)
{
    const QString reason = unusableReason(path);
    if (reason.isEmpty()) {
        m_settings = std::make_unique<QSettings>(path, StoreFormat::format());
        return;
    }
    m_scratch = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<QSettings>(m_scratch->filePath(QStringLiteral("store.conf")), StoreFormat::format());
    m_storePath = path;
    reportUnwritable(reason);
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

SettingsStore::~SettingsStore()
{
    m_settings.reset(); // its last write goes into the scratch folder while that still exists
}

bool SettingsStore::isDefaultSection(const QString &section)
{
    return section.endsWith(DefaultSuffix);
}

bool SettingsStore::isStorableKey(const QString &key)
{
    // QSettings reads slashes and backslashes as group separators.
    return !key.isEmpty() && !key.contains(QLatin1Char('/')) && !key.contains(QLatin1Char('\\'));
}

QString SettingsStore::groupName(const QString &section) const
{
    return section.isEmpty() ? ApplicationSection : section;
}

const QHash<QString, QString> &SettingsStore::keyIndex(const QString &group) const
{
    auto it = m_keyIndex.find(group);
    if (it == m_keyIndex.end()) {
        QHash<QString, QString> index;
        m_settings->beginGroup(group);
        for (const QString &key : m_settings->childKeys())
            index.insert(key.toLower(), key);
        m_settings->endGroup();
        it = m_keyIndex.insert(group, index);
    }
    return *it;
}

QString SettingsStore::actualKey(const QString &group, const QString &key) const
{
    return keyIndex(group).value(key.toLower());
}

QString SettingsStore::read(const QString &section, const QString &key) const
{
    if (isDefaultSection(section))
        return m_defaults->value(section, key);
    if (!isStorableKey(key))
        return QString();
    const QString group = groupName(section);
    const QString stored = actualKey(group, key);
    if (stored.isEmpty())
        return QString();
    return valueText(m_settings->value(group + QLatin1Char('/') + stored));
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    return write(section, Values{{key, value}});
}

SettingsStore::Values SettingsStore::values(const QString &section) const
{
    Values values;
    if (isDefaultSection(section)) {
        for (const QString &key : m_defaults->keys(section))
            values.append({key, m_defaults->value(section, key)});
        return values;
    }
    m_settings->beginGroup(groupName(section));
    const QStringList keys = m_settings->childKeys();
    values.reserve(keys.size());
    for (const QString &key : keys)
        values.append({key, valueText(m_settings->value(key))});
    m_settings->endGroup();
    return values;
}

bool SettingsStore::write(const QString &section, const Values &values)
{
    if (isDefaultSection(section))
        return false;
    const QString group = groupName(section);
    keyIndex(group); // built from what is stored before the new keys go in
    QHash<QString, QString> &index = m_keyIndex[group];
    bool allStored = true;
    m_settings->beginGroup(group);
    for (const auto &[key, value] : values) {
        if (!isStorableKey(key)) {
            allStored = false;
            continue;
        }
        // The key keeps the spelling it was first written with.
        const QString lower = key.toLower();
        auto stored = index.find(lower);
        if (stored == index.end())
            stored = index.insert(lower, key);
        m_settings->setValue(*stored, value);
    }
    m_settings->endGroup();
    return allStored;
}

bool SettingsStore::sectionExists(const QString &section) const
{
    if (isDefaultSection(section))
        return m_defaults->hasSection(section);
    return !keyIndex(groupName(section)).isEmpty();
}

QStringList SettingsStore::keys(const QString &section) const
{
    if (isDefaultSection(section))
        return m_defaults->keys(section);
    m_settings->beginGroup(groupName(section));
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    return keys;
}

bool SettingsStore::startFromDefaults(const QString &appletId)
{
    const QString defaults = appletId + DefaultSuffix;
    if (isDefaultSection(appletId) || sectionExists(appletId) || !m_defaults->hasSection(defaults))
        return false;
    write(appletId, values(defaults));
    return true;
}

void SettingsStore::resetToDefaults(const QString &appletId)
{
    if (isDefaultSection(appletId) || groupName(appletId) == ApplicationSection)
        return;
    m_settings->remove(groupName(appletId));
    m_keyIndex.remove(groupName(appletId));
    startFromDefaults(appletId);
}

bool SettingsStore::sync()
{
    m_settings->sync();
    // Another copy of the program may have written meanwhile; rebuild the indexes.
    m_keyIndex.clear();
    if (m_scratch)
        return false; // kept in memory only; said so once
    if (m_settings->status() != QSettings::AccessError)
        return true;
    if (!m_reportedUnwritable)
        reportUnwritable(writeFailureReason());
    return false;
}

// The store does not say why it could not write; a file of the same size written beside
// it meets the same obstacle and tells the system's reason (a full disk, a size limit).
QString SettingsStore::writeFailureReason() const
{
    const QFileInfo file(fileName());
    if (file.exists() && !file.isWritable())
        return QStringLiteral("the file is read-only");
    if (!StoreFormat::lastWriteError().isEmpty())
        return StoreFormat::lastWriteError();
    const QString probe = file.absolutePath() + QStringLiteral("/.") + file.fileName() + QStringLiteral(".probe");
    const FileError error =
        FileCopy::write(probe, QByteArray(qMax<qint64>(file.size(), 4096), ' '), FileCopy::Durability::Replaceable);
    QFile::remove(probe);
    return error.ok() ? QStringLiteral("its folder cannot be written") : error.reason;
}

QString SettingsStore::fileName() const { return m_storePath.isEmpty() ? m_settings->fileName() : m_storePath; }

} // namespace vexa
