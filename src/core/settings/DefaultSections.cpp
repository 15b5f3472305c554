#include "DefaultSections.h"

#include "IniText.h"

#include <QFile>

namespace vexa {

DefaultSections DefaultSections::load(const QString &path)
{
    DefaultSections defaults;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaults;
    for (const IniSection &parsed : IniText::parse(file.readAll())) {
        Section &section = defaults.m_sections[parsed.name];
        for (const auto &[key, value] : parsed.lines) {
            const QString lower = key.toLower();
            if (!section.values.contains(lower))
                section.keys.append(key);
            section.values.insert(lower, value);
        }
    }
    return defaults;
}

QString DefaultSections::value(const QString &section, const QString &key) const
{
    auto it = m_sections.constFind(section);
    return it == m_sections.constEnd() ? QString() : it->values.value(key.toLower());
}

bool DefaultSections::hasSection(const QString &section) const { return m_sections.contains(section); }

QStringList DefaultSections::keys(const QString &section) const { return m_sections.value(section).keys; }

} // namespace vexa
