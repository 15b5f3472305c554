#include "ColourButtons.h"

#include "controls/ControlPage.h"
#include "services/Services.h"

#include <QAbstractButton>

namespace vexa {
namespace {

constexpr int Preview = 1065;

// Button -> the swatch id that holds its colour. The scroll text's colours (1017,
// 1018) have no swatch of their own: the preview shows them.
struct ColourButton {
    int button;
    int swatch;
};

constexpr ColourButton ColourButtonTable[] = {
    {1103, 1424}, {1153, 1425}, {1178, 1425}, {1154, 1426}, {1179, 1426}, {1200, 1427},
    {1500, 1449}, {1501, 1443}, {1502, 1442}, {1508, 1509}, {1513, 1514}, {1524, 1418},
    {1525, 1419}, {1526, 1441}, {4010, 4012}, {1017, 1017}, {1018, 1018},
};

void chooseColour(ControlPage &page, int swatch)
{
    const std::optional<QColor> chosen = page.context().services.chooseColour(page.colour(swatch));
    if (!chosen) return;
    const QColor rgb = chosen->toRgb();
    page.setColour(swatch, QColor(rgb.red(), rgb.green(), rgb.blue())); // the applets know no transparency
    if (QWidget *preview = page.control(Preview)) preview->update();
}

} // namespace

void ColourButtons::connect(ControlPage &page)
{
    for (const ColourButton &entry : ColourButtonTable) {
        auto *button = page.control<QAbstractButton>(entry.button);
        if (!button) continue;
        const int swatch = entry.swatch;
        QObject::connect(button, &QAbstractButton::clicked, &page,
                         [&page, swatch] { chooseColour(page, swatch); });
    }
}

} // namespace vexa
