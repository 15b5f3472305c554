#include "FrameSequence.h"

#include "AppletFolderCopy.h"
#include "Reporter.h"
#include "controls/ControlPage.h"
#include "publish/ImageSize.h"
#include "services/Services.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace vexa {
namespace {

constexpr int Frames = 1066;
constexpr int Browse = 1067;
constexpr int FrameCount = 1068;
constexpr int PingPong = 1070;
constexpr int Cyclic = 1071;
constexpr int DoubleSize = 1072;
constexpr int Format = 1079;
constexpr int Width = 1019;
constexpr int Height = 1020;
// What only a ping-pong replay uses: the pauses at both ends and their sounds.
constexpr int PingPongControls[] = {1074, 1075, 1076, 1077, 1078, 1069};

constexpr int ExtensionLength = 4; // ".jpg", ".gif"

// "frame12.jpg" -> {"frame", "12", ".jpg"}; the number may be empty.
struct Name {
    QString base, number, extension;
};

Name split(const QString &fileName)
{
    Name name;
    name.extension = fileName.right(ExtensionLength);
    const QString stem = fileName.left(fileName.size() - ExtensionLength);
    qsizetype digits = stem.size();
    while (digits > 0 && stem.at(digits - 1).isDigit() && stem.at(digits - 1).unicode() < 0x80)
        --digits;
    name.base = stem.left(digits);
    name.number = stem.mid(digits);
    return name;
}

void setSize(ControlPage &page, qint64 width, qint64 height)
{
    page.setText(Width, QString::number(width));
    page.setText(Height, QString::number(height));
}

Message refusal(int id, const QStringList &arguments)
{
    Message refused = message(id, MessageIcon::Exclamation);
    for (const QString &argument : arguments)
        refused.text = refused.text.arg(argument);
    return refused;
}

// "64 × 48 JPEG", as the picture list's thumbnail says it
QString describe(const ImageInfo &info)
{
    const QString type =
        info.extension == QLatin1String(".jpg") ? QStringLiteral("JPEG") : QStringLiteral("GIF");
    return QStringLiteral("%1 × %2 %3").arg(info.width).arg(info.height).arg(type);
}

// The applet plays frames of one size: each frame must be a picture of frame 1's size and type.
// The refusal names the first frame that is not; none when all are.
std::optional<Message> oddFrame(const QStringList &ordered)
{
    ImageInfo first;
    for (const QString &path : ordered) {
        SilentReporter reader; // its message would not name the file
        const ImageInfo info = ImageSize::read(path, reader);
        const QString name = QFileInfo(path).fileName();
        if (!info.found)
            return refusal(Str::FrameNotAPicture, {name});
        if (path == ordered.first())
            first = info;
        else if (info.width != first.width || info.height != first.height ||
                 info.extension != first.extension)
            return refusal(Str::FramesDiffer,
                           {name, describe(info), QFileInfo(ordered.first()).fileName(), describe(first)});
    }
    return std::nullopt;
}

void pick(ControlPage &page)
{
    Services &services = page.context().services;
    const QStringList paths = services.openFiles(StringTable::text(Str::ImageFilter));
    if (paths.isEmpty())
        return;
    const FrameSequence::Parsed sequence = FrameSequence::parse(paths);
    if (!sequence.ok) {
        Message refused = message(sequence.messageId, MessageIcon::Exclamation);
        if (sequence.messageId == Str::FrameNumberMissing) {
            // The program's own advice, and the file it is about.
            refused.text +=
                QStringLiteral("\n\n") + StringTable::text(Str::FrameNameNotNumbered).arg(sequence.culprit);
        } else if (!sequence.culprit.isEmpty()) {
            // The advice names the whole sequence picked: frame 1 up to the highest number.
            const QString first = sequence.base + QLatin1Char('1') + sequence.extension;
            const QString last = sequence.base + QString::number(sequence.highest) + sequence.extension;
            refused.text = refused.text.arg(sequence.culprit, first, last);
        }
        services.showMessage(refused);
        return;
    }
    if (const std::optional<Message> odd = oddFrame(sequence.ordered)) {
        services.showMessage(*odd);
        return;
    }
    for (const QString &path : sequence.ordered) {
        if (!AppletFolderCopy::intoAppletFolder(page, path))
            return;
    }
    const ImageInfo last = ImageSize::read(sequence.ordered.last(), services);
    if (!last.found)
        return;
    page.setText(Frames, sequence.base);
    page.setText(FrameCount, QString::number(sequence.ordered.size()));
    const int factor = page.isChecked(DoubleSize) ? 2 : 1;
    setSize(page, qint64(last.width) * factor, qint64(last.height) * factor);
    // The applet asks for base + number + this text: the files' own extension finds them.
    page.setText(Format, sequence.extension);
}

} // namespace

FrameSequence::Parsed FrameSequence::parse(const QStringList &paths)
{
    Parsed result;
    QList<std::pair<qint64, QString>> numbered;
    for (const QString &path : paths) {
        const QString fileName = QFileInfo(path).fileName();
        const Name name = split(fileName);
        if (fileName.size() <= ExtensionLength || name.number.isEmpty()) {
            result.messageId = Str::FrameNumberMissing;
            result.culprit = fileName;
            return result;
        }
        numbered.append({name.number.left(9).toLongLong(), path});
    }
    if (paths.size() < 2) {
        result.messageId = Str::SelectSeveralFrames;
        return result;
    }
    // Dialogs return a multiple selection in no promised order: frame 1 first, frame 10 after 9.
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    const Name first = split(QFileInfo(numbered.first().second).fileName());
    result.base = first.base;
    result.extension = first.extension;
    for (const auto &[number, path] : numbered) {
        const Name name = split(QFileInfo(path).fileName());
        if (name.base == first.base && name.extension == first.extension)
            result.highest = std::max(result.highest, number);
    }
    for (int k = 1; k <= numbered.size(); ++k) {
        const QString path = numbered[k - 1].second;
        const Name name = split(QFileInfo(path).fileName());
        const QString expected = first.base + QString::number(k) + first.extension;
        if (name.base != first.base || name.extension != first.extension || name.number.startsWith(QLatin1Char('0'))) {
            result.messageId = Str::FrameSequenceForeign;
            result.culprit = QFileInfo(path).fileName();
            return result;
        }
        if (name.number != QString::number(k)) {
            // The number k is not there: either missing, or taken twice.
            result.messageId = numbered[k - 1].first > k ? Str::FrameSequenceGap : Str::FrameSequenceForeign;
            result.culprit = numbered[k - 1].first > k ? expected : QFileInfo(path).fileName();
            return result;
        }
        result.ordered << path;
    }
    result.ok = true;
    return result;
}

void FrameSequence::connect(ControlPage &page)
{
    if (page.pageId() != 131)
        return;
    page.onChange(Browse, [&page] { pick(page); });
    page.onChange(DoubleSize, [&page] {
        const qint64 width = page.text(Width).trimmed().toUInt();
        const qint64 height = page.text(Height).trimmed().toUInt();
        if (page.isChecked(DoubleSize))
            setSize(page, width * 2, height * 2);
        else
            setSize(page, width / 2, height / 2);
    });
    const auto replay = [&page] {
        for (int id : PingPongControls)
            page.setEnabled(id, page.isChecked(PingPong));
    };
    page.onChange(PingPong, replay);
    page.onChange(Cyclic, replay);
}

} // namespace vexa
