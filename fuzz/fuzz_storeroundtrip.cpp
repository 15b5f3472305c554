// Whatever text the user types into a field must come back from the settings file
// exactly. The input is cut at its 0xFF bytes (never part of UTF-8) into texts that
// pair up as key, value, key, value. Each is decoded as UTF-8: broken sequences become
// U+FFFD, a leading byte order mark stays a U+FEFF of the text, zero bytes are
// characters like any other. The pairs go through one store into its file, and a
// second store that really parses that file must read every value back unchanged.
//
// A value whose first byte is 0x01 stands for the rest of it repeated 4 * (n + 1)
// times, n being its second byte, up to 16 KiB: long values without long inputs.
#include "Reporter.h"
#include "SettingsFiles.h"
#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <iterator>

namespace {

using vexa::SettingsStore;

constexpr int MaxPairs = 6;
constexpr qsizetype MaxValueSize = 16 * 1024;
// Applet-like sections, and the program's own under its short name (empty).
const char *const Sections[] = {"BLOBS", "MORPH3", ""};

struct Pair {
    QString section;
    QString key;
    QString value;
};

// QString::fromUtf8() would drop a leading U+FEFF, which a user can type or paste.
QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

QString expand(const QByteArray &text)
{
    if (text.size() < 2 || text.at(0) != '\x01')
        return decode(text);
    const QByteArray unit = text.mid(2);
    const int times = 4 * (uchar(text.at(1)) + 1);
    QByteArray bytes;
    for (int i = 0; i < times && bytes.size() + unit.size() <= MaxValueSize; ++i)
        bytes += unit;
    return decode(bytes);
}

QList<Pair> pairs(const QByteArray &input)
{
    const QList<QByteArray> texts = input.split('\xff');
    QList<Pair> result;
    for (qsizetype i = 0; i < texts.size() && result.size() < MaxPairs; i += 2) {
        const QByteArray value = i + 1 < texts.size() ? texts.at(i + 1) : QByteArray();
        result.append({QLatin1String(Sections[result.size() % std::size(Sections)]),
                       decode(texts.at(i)), expand(value)});
    }
    return result;
}

QString printable(const QString &text)
{
    QString out;
    for (const QChar c : text.left(200)) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != QLatin1Char('\\'))
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return text.size() > 200 ? out + QStringLiteral("... (%1 characters)").arg(text.size()) : out;
}

[[noreturn]] void fail(const char *what, const Pair &pair, const QString &got)
{
    std::fprintf(stderr, "store round trip: %s\n  section [%s] key \"%s\"\n  wrote \"%s\"\n  read  \"%s\"\n",
                 what, qPrintable(pair.section), qPrintable(printable(pair.key)),
                 qPrintable(printable(pair.value)), qPrintable(printable(got)));
    __builtin_trap();
}

// What the store must hold afterwards: per section, the last value of each key, the
// key's letter case not counting.
QHash<QString, Pair> expected(const QList<Pair> &written)
{
    QHash<QString, Pair> result;
    for (const Pair &pair : written) {
        if (!SettingsStore::isStorableKey(pair.key))
            continue;
        const QString id = pair.section + QLatin1Char('\n') + pair.key.toLower();
        auto it = result.find(id);
        if (it == result.end())
            result.insert(id, pair);
        else
            it->value = pair.value;
    }
    return result;
}

void checkValues(const SettingsStore &store, const QHash<QString, Pair> &values, const char *where)
{
    QHash<QString, int> keysPerSection;
    for (const Pair &pair : values) {
        const QString got = store.read(pair.section, pair.key);
        if (got != pair.value)
            fail(where, pair, got);
        ++keysPerSection[pair.section];
    }
    // Nothing beyond what was written: no key split in two, none invented.
    for (const char *section : Sections) {
        const QString name = QLatin1String(section);
        const QStringList keys = store.keys(name);
        if (keys.size() != keysPerSection.value(name))
            fail("the section holds other keys than were written",
                 {name, keys.join(QLatin1Char('|')), QString()}, QString::number(keys.size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QList<Pair> written =
        pairs(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QHash<QString, Pair> values = expected(written);
    const QString noDefaults = dir.filePath(QStringLiteral("none.ini"));
    // The file is read back under another name, one QSettings has no copy of.
    const QString path = dir.filePath(QStringLiteral("written.conf"));
    const QString reread = dir.filePath(QStringLiteral("reread.conf"));

    vexa::RecordingReporter reporter;
    {
        SettingsStore store(path, noDefaults, reporter);
        for (const Pair &pair : written) {
            if (store.write(pair.section, pair.key, pair.value) != SettingsStore::isStorableKey(pair.key))
                fail("write() disagrees with isStorableKey()", pair, QString());
        }
        checkValues(store, values, "the writing store reads back another value");
        if (!store.sync() || !reporter.messages.isEmpty())
            fail("the store file could not be written", {path, QString(), QString()}, QString());
    }
    if (!values.isEmpty() && !QFile::rename(path, reread))
        fail("the store file is missing", {path, QString(), QString()}, QString());
    {
        SettingsStore fresh(reread, noDefaults, reporter);
        checkValues(fresh, values, "a fresh store reads back another value from the file");
        for (const Pair &pair : values) {
            // The program's own section answers to both of its names.
            if (pair.section.isEmpty() &&
                fresh.read(SettingsStore::ApplicationSection, pair.key) != pair.value)
                fail("the Application section differs from the empty section", pair,
                     fresh.read(SettingsStore::ApplicationSection, pair.key));
        }
    }
    vexa::fuzz::removeSettingsFile(path);
    vexa::fuzz::removeSettingsFile(reread);
    return 0;
}
