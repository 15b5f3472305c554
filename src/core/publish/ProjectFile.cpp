#include "ProjectFile.h"

#include "Reporter.h"
#include "catalogue/Catalogue.h"
#include "settings/IniText.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include "io/FileCopy.h"

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

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The text of a field: up to its first zero, or false when the field has none.
bool fieldText(const char *field, int size, QString *text)
{
    const void *end = std::memchr(field, 0, size_t(size));
    if (!end)
        return false;
    const QByteArrayView bytes(field, static_cast<const char *>(end) - field);
    // ASCII, the usual text, reads the same either way.
    *text = isAscii(bytes) ? QString::fromLatin1(bytes) : ProjectFile::decodeText(bytes.toByteArray());
    return true;
}

// Puts `text` into a zero-filled field of `size` bytes: its length, or -1 when it holds a
// zero character or does not fit with its terminating zero. ASCII, by far the usual text,
// goes in without a copy.
qsizetype putText(const QString &text, char *field, qsizetype size)
{
    if (text.size() < size) {
        qsizetype i = 0;
        for (; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            if (c == 0 || c >= 0x80)
                break;
            field[i] = char(c);
        }
        if (i == text.size())
            return i;
    }
    bool ok = false;
    const QByteArray bytes = ProjectFile::encodeText(text, &ok);
    if (!ok || bytes.size() >= size)
        return -1;
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
    return bytes.size();
}

// A value record into `record` (cleared here), or false when the value cannot be saved.
bool putValueRecord(char *record, const QString &key, const QString &value)
{
    std::memset(record, 0, ProjectFile::RecordSize);
    const qsizetype name = putText(key, record, ProjectFile::NameSize);
    const qsizetype text = putText(value, record + ProjectFile::DataOffset, ProjectFile::DataSize);
    if (name <= 0 || text < 0)
        return false;
    qToLittleEndian<qint32>(ProjectFile::TextType, record + ProjectFile::TypeOffset);
    qToLittleEndian<qint32>(qint32(text + 1), record + ProjectFile::LengthOffset);
    return true;
}

// The file, handed out a few dozen records at a time: a project of thousands of values is
// never whole in memory.
class RecordPieces {
public:
    RecordPieces(const QByteArray &header, const SettingsStore::Values &values)
        : m_header(header), m_values(values),
          m_buffer(ProjectFile::PieceRecords * ProjectFile::RecordSize, Qt::Uninitialized)
    {
    }

    QByteArrayView next()
    {
        char *at = m_buffer.data();
        const char *end = at + m_buffer.size();
        if (!m_headerDone) {
            std::memcpy(at, m_header.constData(), ProjectFile::RecordSize);
            at += ProjectFile::RecordSize;
            m_headerDone = true;
        }
        for (; m_next < m_values.size() && at < end; ++m_next, at += ProjectFile::RecordSize)
            putValueRecord(at, m_values.at(m_next).first, m_values.at(m_next).second); // checked before
        return QByteArrayView(m_buffer.constData(), at - m_buffer.constData());
    }

private:
    const QByteArray &m_header;
    const SettingsStore::Values &m_values;
    QByteArray m_buffer;
    qsizetype m_next = 0;
    bool m_headerDone = false;
};

bool hasMagic(QByteArrayView bytes)
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

bool ProjectFile::prepare(const QString &appletId, Records *records) const
{
    records->header.clear();
    bool ok = false;
    const QByteArray id = encodeText(appletId, &ok);
    if (!ok || id.isEmpty() || id.size() >= DataSize)
        return false;
    records->values = m_store.values(appletId);
    if (records->values.isEmpty())
        return true; // no values, no header
    char scratch[RecordSize];
    for (const auto &[key, value] : std::as_const(records->values))
        if (!putValueRecord(scratch, key, value))
            return false;
    records->header = QByteArray(RecordSize, '\0');
    char *header = records->header.data();
    std::memcpy(header, Magic.constData(), size_t(Magic.size()));
    qToLittleEndian<qint32>(qint32(records->values.size()), header + TypeOffset);
    std::memcpy(header + DataOffset, id.constData(), size_t(id.size()));
    qToLittleEndian<qint32>(qint32(id.size()), header + LengthOffset);
    return true;
}

qint64 ProjectFile::Records::fileSize() const
{
    return header.isEmpty() ? 0 : qint64(values.size() + 1) * RecordSize;
}

int ProjectFile::save(const QString &appletId, QIODevice &out)
{
    if (!out.isWritable())
        return 0;
    Records records;
    if (!prepare(appletId, &records) || records.fileSize() > MaxFileSize)
        return 0;
    if (records.header.isEmpty())
        return 1;
    RecordPieces pieces(records.header, records.values);
    for (QByteArrayView piece = pieces.next(); !piece.isEmpty(); piece = pieces.next()) {
        qint64 written = 0;
        while (written < piece.size()) {
            const qint64 n = out.write(piece.data() + written, piece.size() - written);
            if (n <= 0)
                return 0;
            written += n;
        }
    }
    return 1;
}

int ProjectFile::save(const QString &appletId, const QString &path)
{
    Records records;
    if (!prepare(appletId, &records))
        return 0;
    // What is saved must open again: one limit for both.
    if (records.fileSize() > MaxFileSize) {
        Message tooLarge = message(Str::ProjectTooLarge, MessageIcon::Stop);
        tooLarge.text = tooLarge.text.arg(records.fileSize()).arg(MaxFileSize);
        m_reporter.report(tooLarge);
        return 0;
    }
    FileError error;
    if (records.header.isEmpty()) {
        error = FileCopy::write(path, QByteArray());
    } else {
        RecordPieces pieces(records.header, records.values);
        error = FileCopy::write(path, [&] { return pieces.next(); });
    }
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

ProjectFile::Contents::Contents() = default;
ProjectFile::Contents::Contents(Contents &&) noexcept = default;
ProjectFile::Contents &ProjectFile::Contents::operator=(Contents &&) noexcept = default;
ProjectFile::Contents::~Contents() = default;

int ProjectFile::open(const QString &path, QString *currentAppletId, bool onSelectionPage)
{
    return open(read(path), currentAppletId, onSelectionPage);
}

int ProjectFile::openData(const QByteArray &bytes, QString *currentAppletId, bool onSelectionPage)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return open(readDevice(buffer), currentAppletId, onSelectionPage);
}

int ProjectFile::open(const Contents &contents, QString *currentAppletId, bool onSelectionPage)
{
    m_fileApplet.clear();
    if (!contents.m_project)
        return finish(contents.m_unreadable ? Outcome::NotStored : Outcome::BadFormat);
    return finish(store(*contents.m_project, currentAppletId, onSelectionPage));
}

ProjectFile::Contents ProjectFile::read(const QString &path)
{
    // Only plain files: a device or a pipe could block or never end.
    const QFileInfo info(path);
    QFile file(path);
    Contents refused;
    refused.m_unreadable = !info.isFile() || !file.open(QIODevice::ReadOnly);
    if (refused.m_unreadable || info.size() > MaxFileSize)
        return refused;
    return readDevice(file);
}

namespace {

// Reads until `size` bytes are in or the input ends: the number read, or -1 on an error.
qint64 readFully(QIODevice &in, char *to, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = in.read(to + done, size - done);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

} // namespace

// A file of the current format is read a few dozen records at a time, so a large project
// never has to be whole in memory; an old-format file is small and read at once. A file
// that grows while it is read is read one piece past the limit, enough to refuse it.
ProjectFile::Contents ProjectFile::readDevice(QIODevice &in)
{
    Contents unreadable;
    unreadable.m_unreadable = true;
    Project project;
    QByteArray buffer(PieceRecords * RecordSize, Qt::Uninitialized);
    qint64 got = readFully(in, buffer.data(), RecordSize);
    if (got < 0)
        return unreadable;
    const QByteArrayView head(buffer.constData(), got);
    project.oldFormat = !hasMagic(head);
    bool parsed = false;
    if (project.oldFormat) {
        QByteArray bytes = head.toByteArray();
        while (got > 0 && bytes.size() <= MaxFileSize) {
            got = readFully(in, buffer.data(), buffer.size());
            if (got < 0)
                return unreadable;
            bytes.append(buffer.constData(), got);
        }
        parsed = bytes.size() <= MaxFileSize && parseOld(bytes, &project);
    } else {
        qsizetype count = 0;
        parsed = got == RecordSize && parseHeader(buffer.constData(), &project, &count);
        while (parsed) {
            got = readFully(in, buffer.data(), buffer.size());
            if (got < 0)
                return unreadable;
            if (got == 0)
                break;
            // Only whole records, and no more than the header counts.
            parsed = got % RecordSize == 0 && project.values.size() + got / RecordSize <= count &&
                     parseRecords(buffer.constData(), got / RecordSize, &project);
        }
        // A count that disagrees with the records means a cut or spliced file.
        parsed = parsed && project.values.size() == count;
    }
    Contents contents;
    if (parsed)
        contents.m_project = std::make_unique<Project>(std::move(project));
    return contents;
}

bool ProjectFile::parseHeader(const char *header, Project *project, qsizetype *count)
{
    if (!fieldText(header + DataOffset, DataSize, &project->appletId) || project->appletId.isEmpty())
        return false;
    *count = qFromLittleEndian<qint32>(header + TypeOffset);
    if (*count < 0 || (*count + 1) * qint64(RecordSize) > MaxFileSize)
        return false;
    project->values.reserve(*count);
    return true;
}

bool ProjectFile::parseRecords(const char *records, qsizetype count, Project *project)
{
    for (const char *record = records; record < records + count * RecordSize; record += RecordSize) {
        QString key;
        QString text;
        if (!fieldText(record, NameSize, &key) || !fieldText(record + DataOffset, DataSize, &text) ||
            !SettingsStore::isStorableKey(key))
            return false;
        project->values.append({key, text});
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
