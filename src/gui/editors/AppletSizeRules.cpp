#include "AppletSizeRules.h"

#include "AppletFolderCopy.h"
#include "controls/ControlPage.h"
#include "publish/ImageSize.h"
#include "services/Services.h"

#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace vexa {
namespace {

constexpr char FactorProperty[] = "resolutionFactor";
constexpr char ExtraHeightProperty[] = "extraHeight";
constexpr int Width = 1019;
constexpr int Height = 1020;
constexpr int Resolution = 1010;
constexpr int ExtraHeight = 1354;
constexpr int Picture = 1080;
constexpr int HalfReflect = 1535;
constexpr int BackColour = 1103;

// Applets whose size is not tied to a picture.
const char *const FixedSizeApplets[] = {"BLOBS", "CUBEMENU", "TMAPCUBE", "FLAG", "FLAGLOAD", "WOBBLER"};

unsigned number(const ControlPage &page, int id)
{
    bool ok = false;
    const unsigned value = page.text(id).trimmed().toUInt(&ok);
    return ok ? value : 0;
}

// A page without a Resolution list shows the picture unscaled.
unsigned shownResolution(const ControlPage &page)
{
    return std::max(1u, number(page, Resolution));
}

} // namespace

unsigned AppletSizeRules::extraHeight(const ControlPage &page)
{
    const QVariant held = page.property(ExtraHeightProperty);
    return held.isValid() ? held.toUInt() : number(page, ExtraHeight);
}

void AppletSizeRules::takeLoadedValues(ControlPage &page)
{
    if (page.control(Resolution))
        setResolutionFactor(page, shownResolution(page));
    if (page.control(ExtraHeight))
        setExtraHeight(page, number(page, ExtraHeight));
}

void AppletSizeRules::setExtraHeight(ControlPage &page, unsigned extra)
{
    page.setProperty(ExtraHeightProperty, QVariant::fromValue(extra));
}

void AppletSizeRules::connect(ControlPage &page, const ChangeRunner &run)
{
    const ChangeRunner runner =
        run ? run : [](const QString &, int, const std::function<void()> &change) { change(); };
    if (page.control(Resolution))
        page.onChange(Resolution, [&page, runner] {
            runner(QStringLiteral("Resolution"), Resolution, [&page] { rescale(page); });
        });
    auto *extra = page.control<QLineEdit>(ExtraHeight);
    if (!extra)
        return;
    // The extra height only has a colour when there is one.
    QObject::connect(extra, &QLineEdit::textChanged, &page,
                     [&page] { page.setEnabled(BackColour, number(page, ExtraHeight) != 0); });
    // Each keystroke moves Height along, so Enter on Next never stores a stale Height.
    QObject::connect(extra, &QLineEdit::textEdited, &page, [&page, runner] {
        runner(QStringLiteral("Extra height"), ExtraHeight, [&page] {
            const unsigned extraNow = number(page, ExtraHeight);
            const qint64 height = qint64(number(page, Height)) - extraHeight(page) + extraNow;
            page.setText(Height, QString::number(qMax<qint64>(0, height)));
            setExtraHeight(page, extraNow);
        });
    });
}

unsigned AppletSizeRules::resolutionFactor(const ControlPage &page)
{
    const QVariant held = page.property(FactorProperty);
    return held.isValid() ? held.toUInt() : shownResolution(page);
}

void AppletSizeRules::setResolutionFactor(ControlPage &page, unsigned factor)
{
    page.setProperty(FactorProperty, QVariant::fromValue(factor));
}

void AppletSizeRules::setPictureSize(ControlPage &page, int width, int height)
{
    page.setText(Height, QString::number(height));
    page.setText(Width, QString::number(width));
    setResolutionFactor(page, 1);
}

void AppletSizeRules::rescale(ControlPage &page)
{
    const QString applet = page.appletId();
    if (std::any_of(std::begin(FixedSizeApplets), std::end(FixedSizeApplets),
                    [&](const char *id) { return applet == QLatin1String(id); }))
        return;
    const bool bookFlip = applet == QLatin1String("BOOKFLIP");
    const unsigned r = shownResolution(page);
    const unsigned f = std::max(1u, resolutionFactor(page));
    const unsigned w = number(page, Width);
    unsigned h = number(page, Height);
    if (bookFlip) h = h > extraHeight(page) ? h - extraHeight(page) : 0;
    unsigned height = r * (h / f);
    if (bookFlip) height += number(page, ExtraHeight);
    page.setText(Width, QString::number(r * (w / f)));
    page.setText(Height, QString::number(height));
    setResolutionFactor(page, r);
    if (page.pageId() == 150) reflectionHeight(page);
}

void AppletSizeRules::reflectionHeight(ControlPage &page)
{
    const QString picture = page.text(Picture);
    if (picture.isEmpty()) return; // no picture yet: nothing to measure
    const ImageInfo info =
        ImageSize::read(AppletFolderCopy::pathInAppletFolder(page, picture), page.context().services);
    if (!info.found) return;
    const double factor = page.isChecked(HalfReflect) ? 1.5 : 2.0;
    page.setText(Height, QString::number(qint64(double(info.height) * shownResolution(page) * factor)));
}

} // namespace vexa
