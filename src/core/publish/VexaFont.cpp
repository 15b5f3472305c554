#include "VexaFont.h"

#include "settings/IniText.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <climits>
#include <optional>

namespace vexa {

namespace {

enum Line { Identification, Width, Height, VerticalSpacing, Characters, Comment1, Comment2, LineCount };
constexpr int RequiredLines = Characters + 1;
// Enough for the seven lines at their longest with CR LF; nothing beyond is read.
constexpr qint64 ReadLimit = qint64(LineCount) * (VexaFont::MaxLineLength + 2);

// The first lines of `device` without their LF or CR LF; nullopt on a read error or
// when one of them is longer than MaxLineLength.
std::optional<QList<QByteArray>> readLines(QIODevice &device)
{
    QByteArray bytes;
    while (bytes.size() < ReadLimit) {
        const qsizetype old = bytes.size();
        bytes.resize(ReadLimit);
        const qint64 got = device.read(bytes.data() + old, ReadLimit - old);
        bytes.resize(old + qMax<qint64>(got, 0));
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
    }
    const bool cut = bytes.size() >= ReadLimit;

    QList<QByteArray> lines;
    qsizetype pos = 0;
    while (lines.size() < LineCount && pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        qsizetype next = end + 1;
        if (end < 0) {
            if (cut)
                return std::nullopt; // the line runs past everything read
            end = next = bytes.size();
        }
        QByteArray line = bytes.mid(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > VexaFont::MaxLineLength)
            return std::nullopt;
        lines.append(line);
        pos = next;
    }
    return lines;
}

// A leading decimal number as the old files were read: blanks, a sign, digits,
// anything after them ignored; no digits reads as 0. Nullopt when it overflows.
std::optional<int> leadingNumber(const QByteArray &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == ' ' || text.at(i) == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '-' || text.at(i) == '+'))
        negative = text.at(i++) == '-';
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= '0' && text.at(i) <= '9'; ++i) {
        value = value * 10 + (text.at(i) - '0');
        if (value > INT_MAX)
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

} // namespace

FontProperties VexaFont::read(const QString &path)
{
    QFile file(path);
    // A pipe would block on open; only plain files are fonts.
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return FontProperties();
    return read(file);
}

FontProperties VexaFont::read(QIODevice &device)
{
    if (!device.isReadable())
        return FontProperties();
    const std::optional<QList<QByteArray>> lines = readLines(device);
    if (!lines || lines->size() < RequiredLines)
        return FontProperties();

    const std::optional<int> width = leadingNumber(lines->at(Width));
    const std::optional<int> height = leadingNumber(lines->at(Height));
    const std::optional<int> spacing = leadingNumber(lines->at(VerticalSpacing));
    // A glyph of no (or negative) size cannot be drawn.
    if (!width || !height || !spacing || *width <= 0 || *height <= 0)
        return FontProperties();

    FontProperties font;
    font.valid = true;
    font.width = *width;
    font.height = *height;
    font.verticalSpacing = *spacing;
    font.characters = IniText::decode(lines->at(Characters));
    font.comment = IniText::decode(lines->value(Comment1)) + QStringLiteral("\r\n") +
                   IniText::decode(lines->value(Comment2));
    return font;
}

FontProperties VexaFont::read(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer);
}

} // namespace vexa
