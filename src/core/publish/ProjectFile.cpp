#include "ProjectFile.h"

#include "Reporter.h"
#include "catalogue/Catalogue.h"
#include "settings/IniText.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include "FileCopy.h"

#include <QSaveFile>
#include <QStringDecoder>
#include <QtEndian>

#include <cstring>

namespace vexa {

namespace {

// The old format was read through fixed platform buffers; a section list or a
// section that did not fit was refused, and still is.
constexpr qint64 SectionListBuffer = 256;
constexpr qint64 SectionBuffer = 32767;

bool fitsPlatformBuffer(qint64 used, qint64 buffer)
{
    // The platform reports "buffer size - 2" when the text was cut.
    return used < buffer - 2;
}

QString decodeUtf8(const QByteArray &bytes, bool *valid)
{
    // A text of our own may begin with U+FEFF; keep it rather than take it for a mark.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                  QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    *valid = !utf8.hasError();
    return text;
}

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The zero-terminated text at the start of a field, or false when the field has no zero.
bool fieldText(const char *field, int size, QByteArray *text)
{
    const void *end = std::memchr(field, 0, size_t(size));
    if (!end)
        return false;
    *text = QByteArray(field, static_cast<const char *>(end) - field);
    return true;
}

void appendRecord(QByteArray *file, const QByteArray &name, qint32 type, const QByteArray &data,
                  qint32 length)
{
    const qsizetype at = file->size();
    file->append(ProjectFile::RecordSize, '\0');
    char *record = file->data() + at;
    std::memcpy(record, name.constData(), size_t(name.size()));
    qToLittleEndian<qint32>(type, record + ProjectFile::TypeOffset);
    std::memcpy(record + ProjectFile::DataOffset, data.constData(), size_t(data.size()));
    qToLittleEndian<qint32>(length, record + ProjectFile::LengthOffset);
}

bool hasMagic(const QByteArray &bytes)
{
    // Earlier versions compared a zero-cleared record, so a file that ends right
    // after the magic text still counts as a (broken) project of this format.
    const QByteArray &magic = ProjectFile::Magic;
    return bytes.startsWith(magic) && (bytes.size() == magic.size() || bytes.at(magic.size()) == '\0');
}

} // namespace

const QByteArray ProjectFile::Magic = QByteArrayLiteral("V X P 1 4");

enum class ProjectFile::Outcome { Stored, StoredOldFormat, WrongApplet, NotStored, UnknownApplet, BadFormat };

struct ProjectFile::Project {
    QString appletId;
    QList<QPair<QString, QString>> values; // key, text, in file order
    bool oldFormat = false;
};

ProjectFile::ProjectFile(SettingsStore &store, Reporter &reporter) : m_store(store), m_reporter(reporter) {}

QString ProjectFile::decodeText(const QByteArray &bytes)
{
    bool valid = false;
    const QString text = decodeUtf8(bytes, &valid);
    return valid ? text : QString::fromLatin1(bytes);
}

QByteArray ProjectFile::encodeText(const QString &text, bool *ok)
{
    QByteArray bytes;
    bool exact = true;
    bool fitsLatin1 = true;
    for (QChar c : text)
        fitsLatin1 = fitsLatin1 && c.unicode() <= 0xFF;
    if (fitsLatin1) {
        // Read back as Latin-1 or, when they happen to read as UTF-8 ("Ã©"), written as
        // UTF-8: either way the text comes back as it is.
        bytes = text.toLatin1();
        bool readsAsUtf8 = false;
        if (!isAscii(bytes))
            decodeUtf8(bytes, &readsAsUtf8);
        if (readsAsUtf8)
            bytes = text.toUtf8();
    } else {
        bytes = text.toUtf8();
        exact = decodeText(bytes) == text; // lone surrogates have no exact encoding
    }
    // Fields end at the first zero byte.
    exact = exact && !bytes.contains('\0');
    if (ok)
        *ok = exact;
    return exact ? bytes : QByteArray();
}

bool ProjectFile::buildFile(const QString &appletId, QByteArray *bytes) const
{
    bytes->clear();
    bool ok = false;
    const QByteArray id = encodeText(appletId, &ok);
    if (!ok || id.isEmpty() || id.size() >= DataSize)
        return false;
    const SettingsStore::Values values = m_store.values(appletId);
    if (values.isEmpty())
        return true; // no values, no header
    bytes->reserve((values.size() + 1) * RecordSize);
    appendRecord(bytes, Magic, qint32(values.size()), id, qint32(id.size()));
    for (const auto &[key, value] : values) {
        bool keyOk = false;
        bool textOk = false;
        const QByteArray name = encodeText(key, &keyOk);
        const QByteArray text = encodeText(value, &textOk);
        if (!keyOk || !textOk || name.isEmpty() || name.size() >= NameSize || text.size() >= DataSize) {
            bytes->clear();
            return false;
        }
        appendRecord(bytes, name, TextType, text, qint32(text.size() + 1));
    }
    return true;
}

int ProjectFile::save(const QString &appletId, QIODevice &out)
{
    if (!out.isWritable())
        return 0;
    QByteArray bytes;
    if (!buildFile(appletId, &bytes) || bytes.size() > MaxFileSize)
        return 0;
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = out.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return 0;
        written += n;
    }
    return 1;
}

int ProjectFile::save(const QString &appletId, const QString &path)
{
    QByteArray bytes;
    if (!buildFile(appletId, &bytes))
        return 0;
    // What is saved must open again: one limit for both.
    if (bytes.size() > MaxFileSize) {
        Message tooLarge = message(Str::ProjectTooLarge, MessageIcon::Stop);
        tooLarge.text = tooLarge.text.arg(bytes.size()).arg(MaxFileSize);
        m_reporter.report(tooLarge);
        return 0;
    }
    const FileError error = FileCopy::write(path, bytes);
    if (!error.ok()) {
        m_reporter.report(FileCopy::describe(error));
        return 0;
    }
    return 1;
}

void ProjectFile::reportSaveFailure()
{
    m_reporter.report(message(Str::ProjectSaveFailed, MessageIcon::Stop));
}

int ProjectFile::open(const QString &path, QString *currentAppletId, bool onSelectionPage)
{
    // Only plain files: a device or a pipe could block or never end.
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return finish(Outcome::NotStored);
    if (info.size() > MaxFileSize)
        return finish(Outcome::BadFormat);
    QByteArray bytes;
    bytes.reserve(info.size()); // one buffer, unless the file grows while it is read
    while (bytes.size() <= MaxFileSize) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (file.error() != QFileDevice::NoError)
        return finish(Outcome::NotStored);
    return openData(bytes, currentAppletId, onSelectionPage);
}

int ProjectFile::openData(const QByteArray &bytes, QString *currentAppletId, bool onSelectionPage)
{
    m_fileApplet.clear();
    if (bytes.size() > MaxFileSize)
        return finish(Outcome::BadFormat);
    Project project;
    project.oldFormat = !hasMagic(bytes);
    const bool parsed = project.oldFormat ? parseOld(bytes, &project) : parseCurrent(bytes, &project);
    if (!parsed)
        return finish(Outcome::BadFormat);
    return finish(store(project, currentAppletId, onSelectionPage));
}

bool ProjectFile::parseCurrent(const QByteArray &bytes, Project *project)
{
    if (bytes.isEmpty() || bytes.size() % RecordSize != 0)
        return false;
    const qsizetype values = bytes.size() / RecordSize - 1;
    const char *header = bytes.constData();
    QByteArray id;
    if (!fieldText(header + DataOffset, DataSize, &id) || id.isEmpty())
        return false;
    // A count that disagrees with the records means a cut or spliced file.
    if (qFromLittleEndian<qint32>(header + TypeOffset) != values)
        return false;
    project->appletId = decodeText(id);
    for (qsizetype i = 1; i <= values; ++i) {
        const char *record = header + i * RecordSize;
        QByteArray name;
        QByteArray text;
        if (!fieldText(record, NameSize, &name) || !fieldText(record + DataOffset, DataSize, &text))
            return false;
        const QString key = decodeText(name);
        if (!SettingsStore::isStorableKey(key))
            return false;
        project->values.append({key, decodeText(text)});
    }
    return true;
}

bool ProjectFile::parseOld(const QByteArray &bytes, Project *project)
{
    const QList<IniSection> sections = IniText::parse(bytes);
    if (sections.isEmpty())
        return false;
    qint64 listSize = 0;
    for (const IniSection &section : sections)
        listSize += encodeText(section.name).size() + 1;
    const IniSection &first = sections.first();
    if (!fitsPlatformBuffer(listSize, SectionListBuffer) || first.name.isEmpty())
        return false;
    if (!first.malformed.isEmpty())
        return false; // a line without "="
    qint64 sectionSize = 0;
    for (const auto &line : first.lines) {
        bool keyOk = false;
        bool textOk = false;
        const QByteArray name = encodeText(line.first, &keyOk);
        const QByteArray text = encodeText(line.second, &textOk);
        // Whatever is taken in must fit a record again when the project is resaved.
        if (!keyOk || !textOk || !SettingsStore::isStorableKey(line.first) || name.size() >= NameSize ||
            text.size() >= DataSize)
            return false;
        sectionSize += name.size() + 1 + text.size() + 1;
    }
    if (!fitsPlatformBuffer(sectionSize, SectionBuffer))
        return false;
    project->appletId = first.name;
    project->values = first.lines;
    return true;
}

ProjectFile::Outcome ProjectFile::store(const Project &project, QString *currentAppletId,
                                        bool onSelectionPage)
{
    const QString &id = project.appletId;
    m_fileApplet = id;
    if (onSelectionPage) {
        if (!Catalogue::contains(id))
            return Outcome::UnknownApplet;
    } else if (!currentAppletId || id != *currentAppletId) {
        return Outcome::WrongApplet;
    }
    if (SettingsStore::isDefaultSection(id))
        return Outcome::WrongApplet;
    // An applet never used before gets its defaults first, as when it is chosen in the
    // wizard, so a project of only some keys still makes a complete tag.
    m_store.startFromDefaults(id);
    // Everything was checked above, so these writes cannot stop halfway.
    const bool stored = m_store.write(id, project.values);
    m_store.sync();
    if (!stored)
        return project.oldFormat ? Outcome::BadFormat : Outcome::NotStored;
    if (onSelectionPage && currentAppletId)
        *currentAppletId = id;
    return project.oldFormat ? Outcome::StoredOldFormat : Outcome::Stored;
}

int ProjectFile::finish(Outcome outcome)
{
    struct Row {
        Outcome outcome;
        int result;
        int messageId; // 0: no message
        MessageIcon icon;
    };
    static constexpr Row Rows[] = {
        {Outcome::Stored, 1, 0, MessageIcon::Stop},
        {Outcome::StoredOldFormat, 1, Str::ProjectOldFormat, MessageIcon::Exclamation},
        {Outcome::WrongApplet, 0, Str::ProjectOpenWrongApplet, MessageIcon::Stop},
        {Outcome::NotStored, 0, Str::ProjectOpenWrongApplet, MessageIcon::Stop},
        {Outcome::UnknownApplet, 0, 0, MessageIcon::Stop},
        {Outcome::BadFormat, -1, Str::ProjectOpenBadFormat, MessageIcon::Stop},
    };
    for (const Row &row : Rows) {
        if (row.outcome != outcome)
            continue;
        if (!row.messageId)
            return row.result;
        Message shown = message(row.messageId, row.icon);
        // A project of another applet says which one it is for.
        if (outcome == Outcome::WrongApplet && !m_fileApplet.isEmpty())
            shown.text += QStringLiteral(": this project is for the applet \"%1\".").arg(m_fileApplet);
        m_reporter.report(shown);
        return row.result;
    }
    return 0;
}

} // namespace vexa
