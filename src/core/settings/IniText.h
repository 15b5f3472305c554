#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace vexa {

// A plain reader for INI-style text ("[section]" lines and "key=value" lines), used
// for old project files and for the installation's default values. Unlike
// QSettings it keeps values exactly as written: commas, quotes, semicolons and
// further "=" signs are part of the value. Only the line end and a leading UTF-8
// byte-order mark are removed.
struct IniSection {
    QString name;
    QList<QPair<QString, QString>> lines; // key, value (the text after the first "=")
    QStringList malformed;                // lines of the section without "="
};

class IniText {
public:
    static QList<IniSection> parse(const QByteArray &text);
    // Text bytes to QString: UTF-8 when valid, otherwise Latin-1 (old files).
    static QString decode(const QByteArray &bytes);
};

} // namespace vexa
