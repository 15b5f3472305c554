#include "PicturePickers.h"

#include "AppletFolderCopy.h"
#include "AppletSizeRules.h"
#include "controls/ControlPage.h"
#include "publish/ImageSize.h"
#include "services/Services.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>

#include <algorithm>
#include <vector>

namespace vexa {
namespace {

constexpr int Width = 1019;
constexpr int Height = 1020;
constexpr int MainPicture = 1080;
constexpr int AlternativePicture = 1081;
constexpr int BackgroundResolution = 1010;
constexpr int RotResolution = 1235;

enum class Pick { Main, Alternative, Effect, Background, OverImage, Texture, WheelTexture, Sound };

struct Picker {
    int button;
    std::vector<int> pages;
    Pick kind;
    int target;
    int filter;
};

const std::vector<Picker> &pickers()
{
    static const std::vector<Picker> table = {
        {1082, {136, 150, 151, 202}, Pick::Main, MainPicture, Str::ImageFilter},
        {1084, {136}, Pick::Alternative, AlternativePicture, Str::ImageFilter},
        {1117, {142, 145, 148, 156, 171, 172, 174, 175, 196}, Pick::Effect, 1107, Str::ImageFilter},
        {1117, {173}, Pick::Effect, 1332, Str::ImageFilter},
        {1106,
         {141, 145, 146, 149, 156, 157, 181, 194, 195, 198, 201, 206, 209, 210},
         Pick::Background,
         1105,
         Str::ImageFilter},
        {1314, {135}, Pick::OverImage, 1315, Str::GifFilter},
        {1366, {182}, Pick::Texture, 1365, Str::GifFilter},
        {1368, {182}, Pick::Texture, 1367, Str::GifFilter},
        {1370, {182}, Pick::Texture, 1369, Str::GifFilter},
        {1373, {182}, Pick::Texture, 1371, Str::GifFilter},
        {1374, {182}, Pick::Texture, 1372, Str::GifFilter},
        {1497, {194}, Pick::WheelTexture, 1496, Str::ImageFilter},
        {1069, {131}, Pick::Sound, 1077, Str::SoundFilter},
        {1078, {131}, Pick::Sound, 1076, Str::SoundFilter},
        {4049, {210}, Pick::Sound, 4048, Str::SoundFilter},
    };
    return table;
}

bool isOneOf(int value, std::initializer_list<int> values)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

void warn(ControlPage &page, int id, MessageIcon icon = MessageIcon::Exclamation)
{
    page.context().services.showMessage(message(id, icon));
}

ImageInfo readSize(ControlPage &page, const QString &path)
{
    return ImageSize::read(path, page.context().services);
}

// The size of a picture already in the applet folder, for comparing with a new pick.
ImageInfo readFolderPicture(ControlPage &page, const QString &name)
{
    return readSize(page, AppletFolderCopy::pathInAppletFolder(page, name));
}

// The bump picture and its alternative must match: the applet maps one onto the other.
bool matchesOther(ControlPage &page, const ImageInfo &picked, int otherField)
{
    const QString other = page.text(otherField);
    if (other.isEmpty()) return true;
    const ImageInfo info = readFolderPicture(page, other);
    if (!info.found) return false;
    if (info.width != picked.width || info.height != picked.height) {
        warn(page, Str::BumpSizesDiffer);
        return false;
    }
    return true;
}

bool takeFile(ControlPage &page, const QString &path, int target)
{
    if (!AppletFolderCopy::intoAppletFolder(page, path))
        return false; // the field keeps naming a file that is really there
    page.setText(target, AppletFolderCopy::bareName(path));
    return true;
}

void pickMain(ControlPage &page, const QString &path, int target)
{
    const ImageInfo info = readSize(page, path);
    if (!info.found || !matchesOther(page, info, AlternativePicture) || !takeFile(page, path, target)) return;
    AppletSizeRules::setPictureSize(page, info.width, info.height);
    if (page.pageId() != 151) AppletSizeRules::rescale(page); // on LAKE this ends with the reflection height
}

void pickAlternative(ControlPage &page, const QString &path, int target)
{
    const ImageInfo info = readSize(page, path);
    if (info.found && matchesOther(page, info, MainPicture)) takeFile(page, path, target);
}

void pickEffect(ControlPage &page, const QString &path, int target)
{
    const int id = page.pageId();
    const ImageInfo info = readSize(page, path);
    if (!info.found) return;
    const bool powersOfTwo = isPowerOfTwo(info.width) && isPowerOfTwo(info.height);
    if (isOneOf(id, {156, 174}) && !powersOfTwo) {
        warn(page, Str::NotPowerOfTwo);
        return;
    }
    if (id == 196 && !powersOfTwo) warn(page, Str::PowerOfTwoFaster); // slower, but the applet copes
    if (id == 173 && (info.width != 256 || info.height != 256)) {
        warn(page, Str::Not256x256);
        return;
    }
    if (!takeFile(page, path, target)) return;
    if (id == 171) {
        page.setText(1031, QString::number(info.height));
        page.setText(1028, QString::number(info.width));
    }
    if (!isOneOf(id, {156, 171, 172, 174, 196})) {
        AppletSizeRules::setPictureSize(page, info.width, info.height);
        AppletSizeRules::rescale(page);
    }
}

// The factor the applet scales its background by; the menu pages have none.
unsigned backgroundResolution(ControlPage &page)
{
    int id = BackgroundResolution;
    if (page.appletId() == QLatin1String("ROT"))
        id = RotResolution;
    else if (isOneOf(page.pageId(), {146, 194, 195, 201, 206, 210}))
        return 1;
    const unsigned r = page.text(id).trimmed().toUInt();
    return r == 0 ? 1 : r;
}

void pickBackground(ControlPage &page, const QString &path, int target)
{
    const ImageInfo info = readSize(page, path);
    if (!info.found) return;
    const QString applet = page.appletId();
    const bool takesPictureSize = applet == QLatin1String("TEXTSCROLLER") ||
                                  applet == QLatin1String("TREEMENU") || applet == QLatin1String("SNOW") ||
                                  applet == QLatin1String("IFSFRACT");
    if (!takesPictureSize && applet != QLatin1String("VEXAPAINT")) {
        const unsigned r = backgroundResolution(page);
        const int w = int(page.text(Width).trimmed().toUInt() / r);
        const int h = int(page.text(Height).trimmed().toUInt() / r);
        if (w != 0 && h != 0 && (w != info.width || h != info.height)) {
            const bool unscaled = isOneOf(page.pageId(), {146, 194, 195, 201, 206, 210});
            warn(page, unscaled ? Str::BackgroundSizeWrong : Str::BackgroundSizeWrongResolution);
            return;
        }
    }
    if (!takeFile(page, path, target)) return;
    if (takesPictureSize) {
        page.setText(Height, QString::number(info.height));
        page.setText(Width, QString::number(info.width));
    }
}

void pickTexture(ControlPage &page, const QString &path, int target)
{
    RecordingReporter reader;
    const ImageInfo info = ImageSize::read(path, reader);
    if (info.found || reader.has(Str::WrongImageFormat)) {
        // A picture of another format is no GIF either, whatever its header says.
        if (!info.found || info.extension != QLatin1String(".gif")) {
            warn(page, Str::OnlyGifTextures, MessageIcon::Stop);
            return;
        }
        if (info.width != info.height || (info.width != 64 && info.width != 128)) {
            warn(page, Str::TextureSizeWrong, MessageIcon::Stop);
            return;
        }
    }
    // A size that cannot be read is no reason to refuse; the copy reports a file it cannot read.
    takeFile(page, path, target);
}

// The wheel wraps its texture around itself: 256 x 256 only.
void pickWheelTexture(ControlPage &page, const QString &path, int target)
{
    const ImageInfo info = readSize(page, path);
    if (info.found && (info.width != 256 || info.height != 256)) {
        warn(page, Str::WheelTextureSize, MessageIcon::Stop);
        return;
    }
    takeFile(page, path, target);
}

void pick(ControlPage &page, const Picker &picker)
{
    const QString path = page.context().services.openFile(StringTable::text(picker.filter));
    if (path.isEmpty()) return;
    switch (picker.kind) {
    case Pick::Main:
        pickMain(page, path, picker.target);
        break;
    case Pick::Alternative:
        pickAlternative(page, path, picker.target);
        break;
    case Pick::Effect:
        pickEffect(page, path, picker.target);
        break;
    case Pick::Background:
        pickBackground(page, path, picker.target);
        break;
    case Pick::Texture:
        pickTexture(page, path, picker.target);
        break;
    case Pick::WheelTexture:
        pickWheelTexture(page, path, picker.target);
        break;
    case Pick::OverImage:
    case Pick::Sound:
        takeFile(page, path, picker.target);
        break;
    }
}

} // namespace

void PicturePickers::connect(ControlPage &page)
{
    for (const Picker &picker : pickers()) {
        const auto &pages = picker.pages;
        if (std::find(pages.begin(), pages.end(), page.pageId()) == pages.end()) continue;
        if (auto *button = page.control<QAbstractButton>(picker.button))
            QObject::connect(button, &QAbstractButton::clicked, &page,
                             [&page, &picker] { pick(page, picker); });
    }
}

} // namespace vexa
