#include "Presets.h"

#include "controls/ControlPage.h"

#include <QAbstractButton>

#include <array>
#include <functional>

namespace vexa {
namespace {

// Page 135: "Memory delay", "Task priority", "MinSYNC" and "Fix for Netscape 3.x".
struct ExpertPreset {
    int button;
    const char *memoryDelay;
    const char *taskPriority;
    const char *minSync;
    bool fixNetscape;
};

constexpr ExpertPreset ExpertPresets[] = {
    {1062, "15", "1", "30", true},    // "Optimize for compatibility"
    {1063, "1000", "6", "2", false},  // "Optimize for speed"
    {1064, "1000", "3", "10", false}, // "Standard settings"
};

// Page 196: the fourteen fields each wobbler preset writes, in this order.
constexpr std::array<int, 14> WobblerFields = {1456, 1457, 1459, 1458, 1468, 1461, 1462,
                                               1463, 1464, 1465, 1466, 1467, 1476, 1475};

struct WobblerPreset {
    int button;
    std::array<const char *, 14> values;
};

// clang-format off
constexpr WobblerPreset WobblerPresets[] = {
    {1469, {"3.0", "5.0", "20.0", "0.1", "400.0", "8.0", "40.0", "30.0", "50.0", "40.0", "200", "200", "0", "10"}},
    {1470, {"5.0", "5.0", "5.0", "0.0", "400.0", "102.0", "120.0", "140.0", "0.4", "10.0", "0", "0", "0", "200"}},
    {1471, {"80.0", "80.0", "80.0", "0.0", "40.0", "0.0", "10.0", "100000", "10.0", "10.0", "200", "200", "0", "100"}},
    {1472, {"12.0", "12.0", "12.0", "0.0", "220.0", "0.0", "1000.0", "1000.0", "10.0", "10.0", "200", "200", "0", "30"}},
    {1473, {"10.0", "2.0", "20.0", "0.3", "380.0", "0.0", "10.0", "10.0", "10.0", "10.0", "0", "200", "0", "10"}},
    {1474, {"6.0", "2.0", "22.0", "0.4", "4000.0", "16.0", "5.8", "20.0", "1.4", "100.0", "140", "140", "0", "10"}},
};
// clang-format on

void onClick(ControlPage &page, int id, std::function<void()> action)
{
    if (auto *button = page.control<QAbstractButton>(id))
        QObject::connect(button, &QAbstractButton::clicked, &page, std::move(action));
}

} // namespace

void Presets::connect(ControlPage &page)
{
    if (page.pageId() == 135) {
        for (const ExpertPreset &preset : ExpertPresets) {
            onClick(page, preset.button, [&page, &preset] {
                // A field the applet's tag does not carry keeps its value.
                const std::pair<int, const char *> fields[] = {
                    {1057, preset.memoryDelay}, {1058, preset.taskPriority}, {1059, preset.minSync}};
                for (const auto &[id, value] : fields) {
                    if (page.isActive(id))
                        page.setText(id, QLatin1String(value));
                }
                if (page.isActive(1060))
                    page.setChecked(1060, preset.fixNetscape);
            });
        }
    }
    if (page.pageId() == 196) {
        for (const WobblerPreset &preset : WobblerPresets) {
            onClick(page, preset.button, [&page, &preset] {
                for (std::size_t i = 0; i < WobblerFields.size(); ++i)
                    page.setText(WobblerFields[i], QLatin1String(preset.values[i]));
            });
        }
    }
}

} // namespace vexa
