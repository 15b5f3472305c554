#include "SettingsStore.h"

#include "DefaultSections.h"
#include "InstallData.h"
#include "Reporter.h"
#include "strings/StringIds.h"

#include <QFileInfo>
#include <QSettings>

namespace vexa {

const QString SettingsStore::Organisation = QStringLiteral("Vexa Team");
const QString SettingsStore::Product = QStringLiteral("Vexa Java");
const QString SettingsStore::ApplicationSection = QStringLiteral("Application");
const QString SettingsStore::DefaultSuffix = QStringLiteral("_DEF");

SettingsStore::SettingsStore(Reporter &reporter)
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, Organisation, Product)),
      m_defaults(std::make_unique<DefaultSections>(DefaultSections::load(InstallData::defaultsFile()))),
      m_reporter(reporter)
{
}

SettingsStore::SettingsStore(const QString &path, const QString &defaultsFile, Reporter &reporter)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat)),
      m_defaults(std::make_unique<DefaultSections>(DefaultSections::load(defaultsFile))), m_reporter(reporter)
{
}

SettingsStore::~SettingsStore() = default;

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
    const QVariant value = m_settings->value(group + QLatin1Char('/') + stored);
    // A hand-edited value with bare commas comes back as a list.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

bool SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    if (isDefaultSection(section) || !isStorableKey(key))
        return false;
    const QString group = groupName(section);
    QString stored = actualKey(group, key);
    if (stored.isEmpty()) {
        stored = key;
        m_keyIndex[group].insert(key.toLower(), key);
    }
    m_settings->setValue(group + QLatin1Char('/') + stored, value);
    return true;
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
    for (const QString &key : m_defaults->keys(defaults))
        write(appletId, key, m_defaults->value(defaults, key));
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
    if (m_settings->status() != QSettings::AccessError)
        return true;
    if (!m_reportedUnwritable) {
        m_reportedUnwritable = true;
        const QFileInfo file(fileName());
        const QString reason = file.exists() && !file.isWritable()
                                   ? QStringLiteral("the file is read-only")
                                   : QStringLiteral("its folder cannot be written");
        Message m = message(Str::SettingsNotWritable, MessageIcon::Stop);
        m.text = m.text.arg(fileName(), reason);
        m_reporter.report(m);
    }
    return false;
}

QString SettingsStore::fileName() const { return m_settings->fileName(); }

} // namespace vexa
