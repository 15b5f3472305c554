#include "Spinners.h"

#include "controls/ControlPage.h"
#include "controls/UpDown.h"

namespace vexa {
namespace {

struct Spinner {
    int page;
    int spinner;
    int edit;
    int step;
    int minimum; // a step down is taken while the result is at least this
    int maximum; // a step up is taken while the result is at most this
    bool followedByFireSize;
};

constexpr Spinner SpinnerTable[] = {
    {135, 1061, 1059, 4, 0, 999, false},    // "MinSYNC"
    {143, 1132, 1118, 1, 1, 1024, true},    // fire width
    {143, 1133, 1119, 1, 1, 1024, true},    // fire height
    {143, 1131, 1124, 4, 0, 127, false},    // "Def. light"
    {150, 1182, 1181, 5, 1, 200, false},    // "Wave speed"
    {150, 1184, 1183, 5, 1, 100, false},    // "Perspective"
    {150, 1186, 1185, 50, 1, 10000, false}, // "Farwaving"
    {150, 1188, 1187, 5, 0, 200, false},    // "Var. speed"
};

void stepField(ControlPage &page, const Spinner &spinner, int delta)
{
    const int value = page.text(spinner.edit).trimmed().toInt(); // an unreadable value counts as 0
    const int next = Spinners::step(value, delta, spinner.minimum, spinner.maximum);
    if (next == value) return;
    page.setText(spinner.edit, QString::number(next));
    if (spinner.followedByFireSize) page.runHandler(1120);
}

} // namespace

int Spinners::step(int value, int delta, int minimum, int maximum)
{
    const qint64 next = qint64(value) + delta;
    // Each arrow checks only the bound it moves towards, so a value already out of
    // bounds can still be stepped back in.
    if (delta > 0 && next > maximum) return value;
    if (delta < 0 && next < minimum) return value;
    return int(next);
}

void Spinners::connect(ControlPage &page)
{
    for (const Spinner &spinner : SpinnerTable) {
        if (spinner.page != page.pageId()) continue;
        auto *arrows = page.control<UpDown>(spinner.spinner);
        if (!arrows) continue;
        QObject::connect(arrows, &UpDown::up, &page,
                         [&page, &spinner] { stepField(page, spinner, spinner.step); });
        QObject::connect(arrows, &UpDown::down, &page,
                         [&page, &spinner] { stepField(page, spinner, -spinner.step); });
    }
}

} // namespace vexa
