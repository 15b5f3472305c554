#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace vexa {

// The text of the settings file: INI sections and key=value lines, every value a plain
// text that comes back exactly as it was written (U+FEFF, lone surrogates, control
// characters, a leading "@" included). Files written by earlier versions, in the
// INI syntax of QSettings, read as they did; their "@Variant(...)" and similar forms
// are taken as the text they are, never decoded. A line that is no UTF-8 (a file edited
// in a Latin-1 editor, or written by an older tool) is read as Latin-1, so its letters
// survive the next write.
class StoreFormat {
public:
    using Section = QMap<QString, QString>; // key -> value
    using Sections = QMap<QString, Section>; // section -> keys; "" is the file's [General]

    static QByteArray write(const Sections &sections);
    static Sections read(const QByteArray &text);
    // Why `bytes` are no settings file at all (a file in UTF-16 as some editors save it,
    // a binary file): empty when they are one. A stray line in a settings file is no reason.
    static QString notAStore(const QByteArray &bytes);
};

} // namespace vexa
