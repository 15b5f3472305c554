#pragma once

// Settings files that leave nothing behind between fuzz inputs.
//
// QSettings keeps what it last read or wrote of a file in a process-wide cache, by
// file name, once the last QSettings on it is gone; a QSettings opened later on the
// same name starts from that copy, not from the file, as long as size and time stamp
// still match. So a store meant to read a file afresh must open it under a name
// never opened before in the process, or one whose cache entry was dropped. And the
// cache growing across inputs makes libFuzzer run its leak check after nearly every
// input, which costs nine tenths of the speed.
#include <QFile>
#include <QSettings>
#include <QString>

namespace vexa::fuzz {

// Deletes the file and drops QSettings' cached copy of it: a QSettings that meets
// the file missing forgets what it held, and a forgotten (empty) file leaves the
// cache when the QSettings goes.
inline void removeSettingsFile(const QString &path)
{
    QFile::remove(path);
    QSettings forget(path, QSettings::IniFormat);
}

} // namespace vexa::fuzz
