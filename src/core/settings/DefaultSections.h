#pragma once

#include <QHash>
#include <QString>

namespace vexa {

// The read-only default values of every applet ("BLOBS_DEF", ...), kept in the
// installation data as one INI-style text file. Lookups ignore the case of keys.
class DefaultSections {
public:
    DefaultSections() = default;
    // Reads `path`; a missing or unreadable file leaves every default empty.
    static DefaultSections load(const QString &path);

    QString value(const QString &section, const QString &key) const;
    bool hasSection(const QString &section) const;
    QStringList keys(const QString &section) const;

private:
    struct Section {
        QStringList keys;                 // as written, in file order
        QHash<QString, QString> values;   // lower-case key -> value
    };
    QHash<QString, Section> m_sections;
};

} // namespace vexa
