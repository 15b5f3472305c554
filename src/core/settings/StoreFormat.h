#pragma once

#include <QByteArray>
#include <QMap>
#include <QSettings>
#include <QString>

namespace vexa {

// The text of the settings file: INI sections and key=value lines, every value a plain
// text that comes back exactly as it was written (U+FEFF, lone surrogates, control
// characters, a leading "@" included). Files written by earlier versions, in the
// INI syntax of QSettings, read as they did; their "@Variant(...)" and similar forms
// are taken as the text they are, never decoded.
class StoreFormat {
public:
    // The format to open the settings file with.
    static QSettings::Format format();

    // "Group/Key" -> value, as QSettings hands it over.
    static QByteArray write(const QSettings::SettingsMap &map);
    static QSettings::SettingsMap read(const QByteArray &text);

    // Why the last write failed (the system's reason); empty when it did not.
    static QString lastWriteError();
};

} // namespace vexa
