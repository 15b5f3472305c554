#include "PageHandlers.h"

#include "CharacterSets.h"
#include "Page.h"
#include "editors/EditorHandlers.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "tag/CommonTagBlocks.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>

#include <initializer_list>
#include <vector>

namespace vexa {
namespace {

// A check box that enables (or, inverted, disables) other controls while checked.
struct Dependency {
    std::vector<int> pages;
    int checkBox;
    std::vector<int> dependents;
    bool disablesWhileChecked = false;
    std::vector<int> emptiedWhenCleared = {};
    const char *clearedValue = "";
};

const std::vector<Dependency> &dependencies()
{
    static const std::vector<Dependency> table = {
        {{133}, 1016, {1018}},
        {{135}, 1326, {1314, 1315, 1316, 1317}, false, {1315}},
        {{136}, 1083, {1081, 1084}, false, {1081}},
        {{145, 146, 149, 181, 198}, 1152, {1105, 1106}, false, {1105}},
        {{147, 175}, 1155, {1157, 1158, 1159, 1160, 1162}, true},
        {{149}, 1174, {1176}},
        {{151}, 1192, {1193, 1194}},
        {{156}, 1323, {1105, 1106, 1103}, true},
        {{157}, 1246, {1241, 1247, 1248}},
        {{172}, 1261, {1041, 1043, 1045, 1047, 1049, 1051}},
        {{175}, 1301, {1302}},
        {{175}, 1303, {1444, 1445}},
        {{175}, 1327, {1328, 1329, 1330, 1331}, false, {1328, 1329, 1330, 1331}, "0"},
        {{180}, 1345, {1346}, true},
        {{182}, 1375, {1365, 1366}, false, {1365}},
        {{182}, 1376, {1369, 1370}, false, {1369}},
        {{182}, 1377, {1371, 1373}, false, {1371}},
        {{182}, 1378, {1372, 1374}, false, {1372}},
        {{182}, 1380, {1381, 1382}},
        {{196}, 1483, {1469, 1470, 1471, 1472, 1473, 1474}},
        // The wheel is textured or shaded: each radio switches its own settings on, the other's off.
        {{194}, 1490, {1496, 1497, 1498, 1499}},
        {{194}, 1490, {1500, 1501, 1502}, true},
        {{194}, 1489, {1500, 1501, 1502}},
        {{194}, 1489, {1496, 1497, 1498, 1499}, true},
    };
    return table;
}

// A list whose choice decides which controls are enabled: per item text, the enabled ones.
struct ChoiceRule {
    int page;
    int combo;
    std::vector<int> controls;
    std::vector<std::pair<const char *, std::vector<int>>> enabledByChoice;
};

const std::vector<ChoiceRule> &choiceRules()
{
    static const std::vector<ChoiceRule> table = {
        {156, 1236, {1237, 1238, 1239, 1240, 1242, 1245, 1324, 1243, 1244},
         {{"Zoom and rotate", {1237, 1238, 1239, 1240}},
          {"Rotate only", {1237}},
          {"Zoom only", {1238, 1239, 1240}},
          {"Distort only", {1237, 1242, 1245, 1324}},
          {"Zoom and distort", {1237, 1238, 1239, 1240, 1242, 1245, 1324}},
          {"Automatic", {1237, 1238, 1239, 1240, 1242, 1245, 1324, 1243, 1244}}}},
        {133, 1333, {1021, 1033, 1042, 1336, 1337, 1334},
         {{"horizontal", {1021, 1033, 1042}},
          {"vertical", {1334}},
          {"zooming", {1336, 1337}},
          {"invzooming", {1336, 1337}}}},
        {207, 4026, {4016, 4018, 4017, 4020, 1042, 1027, 1334, 1021},
         {{"waving", {4016, 4018, 4017, 4020, 1021}},
          {"jumping", {1042, 1027, 1021}},
          {"vertical", {1334}},
          {"horizontal", {1021}}}},
        {183, 1391, {1394, 1396, 1397, 1398, 1399, 1400, 1401, 1402, 1403},
         {{"sheet", {1394, 1396, 1397, 1398, 1399, 1400, 1401, 1402, 1403}},
          {"sphere", {}},
          {"cone", {}}}},
        {194, 1488, {1103, 1105, 1106},
         {{"color", {1103}}, {"blur", {}}, {"image", {1105, 1106}}}},
        {195, 1505, {1103, 1105, 1106},
         {{"color", {1103}}, {"image", {1105, 1106}}, {"mmgalaxy", {}}, {"mmblobs", {}}}},
        {183, 1407, {1408, 1409},
         {{"Off", {}}, {"Toroids", {1408, 1409}}, {"Stretching spheres", {1408, 1409}}, {"Cones", {1408, 1409}}}},
    };
    return table;
}

bool onPage(const std::vector<int> &pages, int pageId)
{
    return std::find(pages.begin(), pages.end(), pageId) != pages.end();
}

void applyDependency(Page &page, const Dependency &rule)
{
    const bool checked = page.isChecked(rule.checkBox);
    const bool enabled = rule.disablesWhileChecked ? !checked : checked;
    for (int id : rule.dependents)
        page.setEnabled(id, enabled);
    if (!checked) {
        for (int id : rule.emptiedWhenCleared)
            page.setText(id, QString::fromUtf8(rule.clearedValue));
    }
}

void applyChoice(Page &page, const ChoiceRule &rule)
{
    const QString choice = page.text(rule.combo);
    for (const auto &[text, enabled] : rule.enabledByChoice) {
        if (choice != QLatin1String(text))
            continue;
        for (int id : rule.controls)
            page.setEnabled(id, std::find(enabled.begin(), enabled.end(), id) != enabled.end());
        return; // any other text changes nothing
    }
}

void connectFlags(Page &page)
{
    page.onChange(1014, [&page] {
        page.context().flags.scrollText = page.isChecked(1014);
        if (page.pageId() == 210) { // "Show over text" only makes sense over a scroll text
            page.setEnabled(4057, page.isChecked(1014));
            if (!page.isChecked(1014))
                page.setChecked(4057, false);
        }
        emit page.flagsChanged();
    });
    page.onChange(4061, [&page] {
        page.context().flags.floatWindow = page.isChecked(4061);
        emit page.flagsChanged();
    });
    page.onChange(1505, [&page] {
        if (auto *combo = page.control<QComboBox>(1505))
            page.context().flags.morphPlugIn = combo->currentIndex() - 2;
    });
}

void connectCharacterSet(Page &page)
{
    page.onChange(4069, [&page] {
        const QString value = CharacterSets::valueOf(page.text(4069));
        if (!value.isEmpty())
            page.setText(4068, value);
        page.setEnabled(4068, value.isEmpty());
    });
}

// The link page: the address and the target follow "Enable link" and "..in new target frame".
void connectLink(Page &page)
{
    if (page.pageId() != 155)
        return;
    page.onChange(1232, [&page] {
        const bool linked = page.isChecked(1232);
        if (!CommonTagBlocks::isOwnLinkApplet(page.appletId())) {
            for (int id : {1233, 1231, 1250, 1249})
                page.setEnabled(id, linked);
            if (!linked) {
                page.setChecked(1231, false);
                page.setText(1233, QString());
            }
        }
        page.runHandler(1231);
    });
    // Target controls: the mode and the custom name follow "..in new target frame".
    page.onChange(1231, [&page] {
        const bool newFrame = page.isChecked(1231);
        page.setEnabled(1250, newFrame);
        page.setEnabled(1249, newFrame);
        if (newFrame)
            page.runHandler(1250);
        else
            page.selectComboItem(1250, QStringLiteral("_blank"), nullptr);
    });
    // Target mode: a custom name for "other target...", else the mode's description.
    page.onChange(1250, [&page] {
        static const QHash<QString, QString> descriptions = {
            {"_blank", "Load in a new blank unnamed browser window"},
            {"_self", "Load into the same window the applet occupies"},
            {"_parent", "Load into the immediate FRAMESET parent"},
            {"_top", "Load into the top body of the window"},
        };
        const QString mode = page.text(1250);
        const bool other = mode == StringTable::text(Str::OtherTarget);
        page.setEnabled(1249, other && page.isChecked(1231));
        if (!other)
            page.setText(1249, QString());
        page.setText(1311, other ? QStringLiteral("Specify name:") : descriptions.value(mode));
    });
}

} // namespace

void PageHandlers::refresh(Page &page)
{
    for (const Dependency &rule : dependencies()) {
        if (onPage(rule.pages, page.pageId()) && page.control(rule.checkBox) && rule.emptiedWhenCleared.empty())
            applyDependency(page, rule);
    }
    for (const ChoiceRule &rule : choiceRules()) {
        if (rule.page == page.pageId() && page.control(rule.combo))
            applyChoice(page, rule);
    }
}

void PageHandlers::connect(Page &page)
{
    for (const Dependency &rule : dependencies()) {
        if (onPage(rule.pages, page.pageId()) && page.control(rule.checkBox))
            page.onChange(rule.checkBox, [&page, &rule] { applyDependency(page, rule); });
    }
    for (const ChoiceRule &rule : choiceRules()) {
        if (rule.page == page.pageId() && page.control(rule.combo))
            page.onChange(rule.combo, [&page, &rule] { applyChoice(page, rule); });
    }
    connectFlags(page);
    connectCharacterSet(page);
    connectLink(page);
    EditorHandlers::connect(page);
}

} // namespace vexa
