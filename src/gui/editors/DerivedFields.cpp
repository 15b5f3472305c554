#include "DerivedFields.h"

#include "AppletSizeRules.h"
#include "EventHook.h"
#include "controls/ControlPage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <limits>

namespace vexa {
namespace {

constexpr int Width = 1019;
constexpr int Height = 1020;

void onTextChanged(ControlPage &page, int id, const std::function<void()> &handler)
{
    page.setHandler(id, handler);
    if (auto *edit = page.control<QLineEdit>(id))
        QObject::connect(edit, &QLineEdit::textChanged, &page, handler);
}

int number(const ControlPage &page, int id)
{
    return page.text(id).trimmed().toInt();
}

// FIRE: the applet is the fire scaled by its two multiply factors.
void connectFireSize(ControlPage &page)
{
    const auto fireSize = [&page] {
        page.setText(Width, QString::number(qint64(number(page, 1118)) * number(page, 1120)));
        page.setText(Height, QString::number(qint64(number(page, 1119)) * number(page, 1121)));
    };
    for (int factor : {1120, 1121}) {
        page.setHandler(factor, fireSize);
        // Any change, the load's included: Width and Height are shown only, never stored.
        if (auto *combo = page.control<QComboBox>(factor))
            QObject::connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), &page, fireSize);
    }
    for (int field : {1118, 1119}) {
        if (auto *edit = page.control<QLineEdit>(field))
            QObject::connect(edit, &QLineEdit::textChanged, &page, fireSize);
    }
}

// WOBBLER: both sides of the applet must divide by 8; rounded to the nearest when the field is left.
void connectWobblerRounding(ControlPage &page)
{
    for (int id : {Width, Height}) {
        auto *edit = page.control<QLineEdit>(id);
        // The field also loses the focus while the page is destroyed, when it is half gone.
        EventHook::install(edit, QEvent::FocusOut, [edit, &page] {
            if (page.isClosing())
                return;
            bool ok = false;
            const int value = edit->text().trimmed().toInt(&ok);
            if (ok && DerivedFields::roundToEight(value) != value)
                edit->setText(QString::number(DerivedFields::roundToEight(value)));
        });
    }
}

// Scroll text: an amplitude of 0 switches its movement off, so its other fields go idle.
void connectAmplitudes(ControlPage &page)
{
    const auto nonZero = [&page](int id) { return page.text(id).trimmed().toDouble() != 0.0; };
    onTextChanged(page, 1033, [&page, nonZero] {
        page.setEnabled(1039, nonZero(1033));
        page.setEnabled(1037, nonZero(1033));
    });
    onTextChanged(page, 1042, [&page, nonZero] { page.setEnabled(1027, nonZero(1042)); });
}

// VEXA3D LIGHT: each background mode has its own settings.
void connectSceneBackground(ControlPage &page)
{
    const auto background = [&page] {
        const QString mode = page.text(1384);
        const bool black = mode == QLatin1String("black");
        page.setEnabled(1383, black);
        if (!black) page.setChecked(1383, false);
        const bool sphere = mode == QLatin1String("sphere");
        page.setEnabled(1385, sphere);
        page.setEnabled(1387, sphere);
        page.setEnabled(1103, mode == QLatin1String("colour"));
    };
    page.setHandler(1384, background);
    if (auto *combo = page.control<QComboBox>(1384))
        QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), &page, background);
}

// SOLIDSCROLLER: no mirror, no mirror height.
void connectMirror(ControlPage &page)
{
    const auto mirror = [&page] { page.setEnabled(4022, page.text(4021) != QLatin1String("disabled")); };
    page.setHandler(4021, mirror);
    if (auto *combo = page.control<QComboBox>(4021))
        QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), &page, mirror);
}

} // namespace

int DerivedFields::roundToEight(int value)
{
    // The nearest multiple, halves away from zero; a positive size never becomes 0.
    const qint64 v = value;
    const qint64 r = v % 8; // keeps the sign of v
    if (r == 0)
        return value;
    qint64 rounded = (v < 0 ? -1 : 1) * ((qAbs(v) + 4) / 8 * 8);
    if (rounded == 0)
        rounded = v < 0 ? -8 : 8;
    if (rounded > std::numeric_limits<int>::max() || rounded < std::numeric_limits<int>::min())
        rounded = v - r; // towards zero always fits
    return int(rounded);
}

void DerivedFields::connect(ControlPage &page)
{
    switch (page.pageId()) {
    case 133:
        connectAmplitudes(page);
        break;
    case 143:
        connectFireSize(page);
        break;
    case 150:
        page.onChange(1535, [&page] { AppletSizeRules::reflectionHeight(page); });
        break;
    case 182:
        connectSceneBackground(page);
        break;
    case 196:
        connectWobblerRounding(page);
        break;
    case 207:
        connectMirror(page);
        break;
    default:
        break;
    }
}

} // namespace vexa
