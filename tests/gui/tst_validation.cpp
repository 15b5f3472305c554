#include "WizardFixture.h"
#include "editors/MenuTreeEditor.h"
#include "pages/Page.h"
#include "pages/PageTemplates.h"
#include "settings/InstallData.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include <memory>

using namespace vexa;
using vexa::test::ScriptedServices;
using vexa::test::gifHeader;
using vexa::test::TestEnvironment;

namespace {

// One page of one applet, opened over a private store and shown (focus needs a shown page).
struct OpenPage {
    TestEnvironment env;
    ScriptedServices services;
    PageContext context;
    std::unique_ptr<Page> page;

    OpenPage(int pageId, const QString &appletId, const QStringList &stored = {}, const QString &defaults = {})
        : env(defaults), context{env.store(), env.folders(), services, appletId, WalkFlags{}}
    {
        if (!defaults.isEmpty()) env.store().startFromDefaults(appletId);
        for (const QString &entry : stored)
            env.store().write(appletId, entry.section(QLatin1Char('='), 0, 0),
                              entry.section(QLatin1Char('='), 1));
        page = std::make_unique<Page>(pageId, context);
        page->load(false);
        page->show();
    }

    // "id=text" fills a field or picks a combo item by text, "#id=n" picks combo position n,
    // "+id" / "-id" checks or clears a box; boxes and combos then run their change handler.
    void apply(const QStringList &changes)
    {
        for (const QString &change : changes) {
            if (change.startsWith(QLatin1Char('+')) || change.startsWith(QLatin1Char('-'))) {
                const int id = change.mid(1).toInt();
                QVERIFY2(page->control<QAbstractButton>(id), qPrintable(change));
                page->setChecked(id, change.startsWith(QLatin1Char('+')));
                page->runHandler(id);
                continue;
            }
            const bool byPosition = change.startsWith(QLatin1Char('#'));
            const QString assignment = byPosition ? change.mid(1) : change;
            const int id = assignment.section(QLatin1Char('='), 0, 0).toInt();
            const QString value = assignment.section(QLatin1Char('='), 1);
            QVERIFY2(page->control(id), qPrintable(change));
            if (auto *combo = page->control<QComboBox>(id)) {
                if (byPosition)
                    combo->setCurrentIndex(value.toInt());
                else
                    page->setText(id, value);
                QVERIFY2(byPosition || combo->currentText() == value, qPrintable(change));
                page->runHandler(id);
            } else {
                page->setText(id, value);
            }
        }
    }

    bool validate()
    {
        services.messages.clear();
        return page->validate();
    }
};

// Fields that satisfy every rule of a page; the cases below break one thing at a time.
QStringList validFields(int pageId)
{
    switch (pageId) {
    case 133:
        return {"1013=Hello", "1333=horizontal", "1334=10", "1046=2", "1021=20",
                "1039=10",    "1033=5",          "1037=2",  "1042=5", "1027=2"};
    case 136:
        return {"1080=bump.gif", "1019=320", "1020=200", "1086=30", "1087=45",
                "1284=50",       "1026=200", "1023=1",   "-1083"};
    case 137:
        return {"1093=10", "1095=100", "1019=100", "1020=100"};
    case 138:
        return {"1093=10", "1095=100", "1354=0", "1019=100", "1020=100"};
    case 142:
        return {"1109=100", "1110=10", "1111=10", "1112=10",  "1113=5",
                "1114=5",   "1115=5",  "1116=5",  "1019=200", "1020=100"};
    case 143:
        return {"1124=10", "1122=50", "1123=40", "1019=320", "1020=200"};
    case 145:
        return {"1107=flag.gif", "1136=2", "1019=100", "1020=66", "-1152"};
    case 148:
        return {"1163=100", "1019=100", "1020=100"};
    case 149:
        return {"1166=1",  "1167=1", "1168=1", "1169=1",   "1170=-1", "1171=0.5",
                "1172=10", "-1174",  "-1152",  "1019=100", "1020=50"};
    case 151:
        return {"1080=lens.gif", "1019=200", "1020=120", "1191=60", "1195=10", "1193=0"};
    case 153:
        return {"1203=0", "1204=0", "1205=-2", "1206=1", "1207=-1", "1208=1", "1019=100", "1020=100"};
    case 156:
        return {"1107=rot.gif", "1236=Automatic", "1238=10", "1239=20", "1240=5",
                "1243=100",     "1244=100",       "1324=10", "1019=64", "1020=64"};
    case 157:
        return {"1241=50", "1247=1", "1248=200", "1100=1", "1101=1", "1102=1", "1019=128", "1020=128"};
    case 175:
        return {"1157=1", "1158=1", "1159=1",   "1160=1",   "1302=1",
                "-1327",  "-1303",  "1438=100", "1019=100", "1020=100"};
    case 180:
        return {"1019=100", "1020=100", "1348=64", "1349=", "1350=20", "1351=100"};
    case 181:
        return {"1095=100", "1019=300", "1020=90", "1360=100", "1361=30", "1362=8", "-1152"};
    case 182:
        return {"1019=320",       "1020=200",    "1363=320",       "1364=200",    "1367=tex0.gif",
                "+1375",          "1365=t1.gif", "+1376",          "1369=t2.gif", "+1377",
                "1371=phong.gif", "+1378",       "1372=gauss.gif", "+1380",       "1381=10",
                "1382=100",       "#1385=0",     "#1387=0",        "1416=Objects"};
    case 183:
        return {"1391=sheet", "1407=Toroids", "1100=1.0", "1101=0", "1102=2", "1399=1.5", "1394=1",
                "1396=1",     "1397=1",       "1398=1",   "1400=1", "1401=1", "1402=1"};
    case 194:
        return {"1019=200", "1020=200", "1488=color", "1105=",  "1492=1.5",
                "1493=5",   "1494=10",  "1495=10",    "1498=1", "1499=1"};
    case 196:
        return {"1107=w.gif", "1456=10", "1458=1", "1457=1",   "1459=100", "1468=1",
                "1461=1",     "1462=1",  "1463=1", "1464=1",   "1465=1",   "1466=1",
                "1467=1",     "1476=0",  "1475=1", "1019=100", "1020=100"};
    case 206:
        return {"1019=580", "1020=150", "4007=80", "4009="};
    case 207:
        return {"1019=300", "1020=50", "4026=horizontal", "1021=10", "1046=2", "4022=10"};
    default:
        return {};
    }
}

QString appletOf(int pageId)
{
    static const QHash<int, QString> applets = {
        {131, "BLUR"},          {132, "BLOBS"},         {133, "BUMP"},         {135, "BUMP"},
        {136, "BUMP"},          {137, "CFADE"},         {138, "BOOKFLIP"},     {141, "CUBEMENU"},
        {142, "DEFORM"},        {143, "FIRE"},          {144, "FLAG"},         {145, "FLAGLOAD"},
        {146, "FLOZOIDS"},      {147, "FLUID"},         {148, "HUEROT"},       {149, "IFSFRACT"},
        {150, "LAKE"},          {151, "LENS"},          {152, "LIFE2D"},       {153, "MANDEL"},
        {154, "PLASMA"},        {155, "BUMP"},          {156, "ROT"},          {157, "TMAPCUBE"},
        {171, "TUNNEL"},        {172, "TUNNEL3D"},      {173, "VOXEL"},        {174, "WARP"},
        {175, "WATER"},         {176, "WORMHOLE"},      {180, "GALAXY"},       {181, "MOSAIC"},
        {182, "VEXA3D LIGHT"},  {183, "VEXA3D LIGHT"},  {194, "WHEELMENU"},    {195, "MORPHMENU"},
        {196, "WOBBLER"},       {197, "WHEELMENU"},     {198, "TEXTSCROLLER"}, {199, "MORPHMENU"},
        {200, "MORPHMENU"},     {201, "TREEMENU"},      {202, "VEXACAM"},      {206, "VEXAPAINT"},
        {207, "SOLIDSCROLLER"}, {208, "SOLIDSCROLLER"}, {209, "SNOW"},         {210, "FIREWORKS"},
        {211, "WHEELMENU"},
    };
    return applets.value(pageId, QStringLiteral("BUMP"));
}

QStringList images(int count)
{
    QStringList keys;
    for (int n = 1; n <= count; ++n)
        keys << QStringLiteral("Image_%1=img%1.gif").arg(n);
    return keys;
}

// Keys stored before the page opens: image lists and what page 183 looks up.
QStringList storedFor(int pageId)
{
    switch (pageId) {
    case 137:
    case 138:
    case 181:
        return images(2);
    case 157:
        return images(6);
    case 183:
        return {"Script=Objects", "PhongMap=phong.gif", "GPhongMap=gauss.gif", "Texture1=t1.gif",
                "Texture2=t2.gif"};
    default:
        return {};
    }
}

constexpr int Unchanged = -1; // the rule leaves the focus where it was

} // namespace

class ValidationTest : public QObject {
    Q_OBJECT

private slots:
    void validValuesAreAccepted_data()
    {
        QTest::addColumn<int>("pageId");
        for (int pageId : {133, 136, 137, 148, 138, 142, 143, 145, 149, 151, 153,
                           156, 157, 175, 180, 181, 182, 183, 194, 196, 206, 207})
            QTest::addRow("%d", pageId) << pageId;
    }

    void validValuesAreAccepted()
    {
        QFETCH(int, pageId);
        OpenPage open(pageId, appletOf(pageId), storedFor(pageId));
        open.apply(validFields(pageId));
        QVERIFY2(open.validate(), qPrintable(QString::number(open.services.messageIds().value(0))));
        QVERIFY(open.services.messages.isEmpty());
    }

    // Each row breaks one rule of a page that is otherwise valid.
    void ruleRefuses_data()
    {
        QTest::addColumn<int>("pageId");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("messageId");
        QTest::addColumn<int>("focus");

        // Required, required when enabled, required while a box is checked or a combo shows a text.
        QTest::newRow("required") << 136 << QStringList{"1080="} << 1164 << 1080;
        QTest::newRow("required when enabled") << 136 << QStringList{"+1083", "1081="} << 1164 << 1081;
        QTest::newRow("required while checked") << 175 << QStringList{"+1327", "1328="} << 1164 << 1328;
        QTest::newRow("required while combo shows")
            << 194 << QStringList{"1488=image", "1105="} << 1164 << 1105;
        QTest::newRow("common Width") << 136 << QStringList{"1019="} << 1164 << 1019;
        QTest::newRow("common scroll text") << 133 << QStringList{"1013="} << 1164 << 1013;
        // Integer in a range: ends, signs and text that is not an integer.
        QTest::newRow("integer below") << 136 << QStringList{"1284=0"} << 1572 << 1284;
        QTest::newRow("integer above") << 136 << QStringList{"1284=101"} << 1572 << 1284;
        QTest::newRow("integer with letters") << 136 << QStringList{"1284=12a"} << 1572 << 1284;
        QTest::newRow("integer with blank") << 136 << QStringList{"1284= 50"} << 1572 << 1284;
        QTest::newRow("integer sign only") << 136 << QStringList{"1284=-"} << 1572 << 1284;
        QTest::newRow("integer decimal") << 136 << QStringList{"1026=1.5"} << 1571 << 1026;
        QTest::newRow("integer beyond 32 bits") << 153 << QStringList{"1205=2147483648"} << 1582 << 1205;
        QTest::newRow("integer empty") << 136 << QStringList{"1023="} << 1571 << 1023;
        QTest::newRow("integer negative range") << 151 << QStringList{"+1192", "1193=-41"} << 1629 << 1193;
        QTest::newRow("integer when enabled")
            << 156 << QStringList{"1236=Zoom only", "1238=81"} << 1625 << 1238;
        QTest::newRow("integer while checked")
            << 175 << QStringList{"+1303", "1445=-256", "1444=0"} << 1616 << 1445;
        // Numbers read without check: not an integer reads as 0, only the range decides.
        QTest::newRow("number 12a reads 0") << 142 << QStringList{"1110=12a"} << 1572 << 1110;
        QTest::newRow("number above") << 137 << QStringList{"1093=256"} << 1570 << 1093;
        QTest::newRow("number up to Width") << 142 << QStringList{"1112=201"} << 1576 << 1112;
        QTest::newRow("wind speed above 0") << 145 << QStringList{"1136=0"} << 1164 << 1136;
        QTest::newRow("tiles up to Width/3") << 181 << QStringList{"1360=101"} << 1612 << 1360;
        QTest::newRow("tiles up to Height/3") << 181 << QStringList{"1361=31"} << 1611 << 1361;
        QTest::newRow("tiles at least 1") << 181 << QStringList{"1360=0"} << 1612 << 1360;
        // Must be an integer.
        QTest::newRow("any integer") << 153 << QStringList{"1205=1.5"} << 1582 << 1205;
        QTest::newRow("any integer empty") << 149 << QStringList{"1169="} << 1582 << 1169;
        QTest::newRow("variation start") << 196 << QStringList{"1476=x"} << 1164 << 1476;
        // Decimals: bounds, required first, and texts that are no number.
        QTest::newRow("decimal below") << 196 << QStringList{"1456=.009"} << 1597 << 1456;
        QTest::newRow("decimal zero below") << 196 << QStringList{"1456=0"} << 1597 << 1456;
        QTest::newRow("decimal above") << 196 << QStringList{"1458=50.5"} << 1598 << 1458;
        QTest::newRow("decimal letters") << 196 << QStringList{"1459=abc"} << 1597 << 1459;
        QTest::newRow("decimal tail") << 196 << QStringList{"1468=2.5x"} << 1596 << 1468;
        QTest::newRow("decimal negative") << 196 << QStringList{"1461=-1"} << 1596 << 1461;
        QTest::newRow("decimal infinite") << 196 << QStringList{"1462=inf"} << 1596 << 1462;
        QTest::newRow("decimal nan") << 196 << QStringList{"1463=nan"} << 1596 << 1463;
        QTest::newRow("decimal required") << 196 << QStringList{"1465="} << 1164 << 1465;
        QTest::newRow("decimal signed range") << 194 << QStringList{"1492=-1001"} << 1584 << 1492;
        QTest::newRow("decimal when enabled") << 183 << QStringList{"1100=2.5"} << 1600 << 1100;
        QTest::newRow("decimal 3.14") << 183 << QStringList{"1399=3.15"} << 1599 << 1399;
        // Image counts: the focus goes to "Add...".
        QTest::newRow("one image") << 137 << QStringList{"images:1"} << 1569 << 1091;
        QTest::newRow("one book page") << 138 << QStringList{"images:1"} << 1613 << 1091;
        QTest::newRow("one mosaic image") << 181 << QStringList{"images:1"} << 1613 << 1091;
        QTest::newRow("five cube faces") << 157 << QStringList{"images:5"} << 1573 << 1091;
        // Irregular rules.
        QTest::newRow("fire cut above start") << 143 << QStringList{"1122=50", "1123=60"} << 1580 << 1122;
        QTest::newRow("fire light") << 143 << QStringList{"1124=128"} << 1578 << 1124;
        QTest::newRow("zoom font sizes equal")
            << 133 << QStringList{"1333=zooming", "1336=24", "1337=24"} << 1568 << 1336;
        QTest::newRow("zoom font sizes reversed")
            << 133 << QStringList{"1333=zooming", "1336=48", "1337=24"} << 1568 << 1336;
        QTest::newRow("decline 0.0") << 149 << QStringList{"1171=0.0"} << 1582 << 1171;
        QTest::newRow("decline letters") << 149 << QStringList{"1171=x"} << 1582 << 1171;
        QTest::newRow("persistence letters") << 180 << QStringList{"1349=abc"} << 1582 << 1349;
        QTest::newRow("persistence 00") << 180 << QStringList{"1349=00"} << 1582 << 1349;
        QTest::newRow("lens wider") << 151 << QStringList{"1191=61"} << 1631 << 1191;
        QTest::newRow("lens zoom") << 151 << QStringList{"1195=31"} << 1630 << 1195;
        QTest::newRow("paint width") << 206 << QStringList{"1019=579"} << 4015 << 1019;
        QTest::newRow("paint height") << 206 << QStringList{"1020=149"} << 4015 << 1020;
        QTest::newRow("paint width letters") << 206 << QStringList{"1019=600px"} << 4015 << 1019;
        QTest::newRow("mail without dot") << 206 << QStringList{"4009=me@example"} << 4036 << 4009;
        QTest::newRow("mail without at") << 206 << QStringList{"4009=me.example.com"} << 4036 << 4009;
        QTest::newRow("scroller speed") << 207 << QStringList{"1046=0"} << 4015 << 1046;
        QTest::newRow("phong render") << 182 << QStringList{"-1377", "#1385=2"} << 1609 << 1377;
        QTest::newRow("metal render") << 182 << QStringList{"-1377", "#1385=13"} << 1609 << 1377;
        QTest::newRow("gauss render") << 182 << QStringList{"-1378", "#1385=3"} << 1608 << 1378;
        QTest::newRow("mirror needs objects")
            << 182 << QStringList{"#1385=10", "1416=Labyrinth"} << 1607 << 1385;
        QTest::newRow("texture 1") << 182 << QStringList{"-1375", "#1387=1"} << 1606 << Unchanged;
        QTest::newRow("texture 2") << 182 << QStringList{"-1376", "#1387=2"} << 1605 << Unchanged;
        // The applet's size, on every page that has it: a whole number of at least one pixel.
        QTest::newRow("width letters") << 180 << QStringList{"1019=abc"} << 1596 << 1019;
        QTest::newRow("height zero") << 180 << QStringList{"1020=0"} << 4015 << 1020;
        QTest::newRow("negative width") << 196 << QStringList{"1019=-16"} << 4015 << 1019;
    }

    void ruleRefuses()
    {
        QFETCH(int, pageId);
        QFETCH(QStringList, changes);
        QFETCH(int, messageId);
        QFETCH(int, focus);

        // "images:n" stores an image list of n entries instead of the valid one.
        QStringList stored = storedFor(pageId);
        for (const QString &change : changes) {
            if (change.startsWith("images:")) stored = images(change.mid(7).toInt());
        }
        changes.removeIf([](const QString &change) { return change.startsWith("images:"); });
        OpenPage open(pageId, appletOf(pageId), stored);
        open.apply(validFields(pageId) + changes);
        QWidget *before = open.page->focusWidget();

        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{messageId});
        QCOMPARE(open.services.messages.first().icon, MessageIcon::Exclamation);
        if (focus == Unchanged)
            QCOMPARE(open.page->focusWidget(), before);
        else
            QCOMPARE(open.page->focusWidget(), open.page->control(focus));
    }

    // The other side of the edges above: values just inside the rule pass.
    void edgeAccepted_data()
    {
        QTest::addColumn<int>("pageId");
        QTest::addColumn<QStringList>("changes");

        QTest::newRow("integer upper end") << 136 << QStringList{"1284=100", "1026=511"};
        QTest::newRow("integer with plus") << 136 << QStringList{"1284=+50"};
        QTest::newRow("integer negative end") << 151 << QStringList{"+1192", "1193=-40"};
        QTest::newRow("fire cut equals start") << 143 << QStringList{"1122=50", "1123=50"};
        QTest::newRow("lens half") << 151 << QStringList{"1191=60"};
        QTest::newRow("lens 12a reads 0") << 151 << QStringList{"1191=12a"};
        QTest::newRow("number 12a reads 0") << 142 << QStringList{"1109=12a"};
        QTest::newRow("number up to Width") << 142 << QStringList{"1112=200"};
        QTest::newRow("tiles at the limits") << 181 << QStringList{"1360=100", "1361=30"};
        QTest::newRow("paint size limits") << 206 << QStringList{"1019=580", "1020=150"};
        QTest::newRow("mail") << 206 << QStringList{"4009=me@example.com"};
        QTest::newRow("decline 0.1") << 149 << QStringList{"1171=0.1"};
        QTest::newRow("decline 0.9") << 149 << QStringList{"1171=0.9"};
        QTest::newRow("persistence empty") << 180 << QStringList{"1349="};
        QTest::newRow("persistence 0") << 180 << QStringList{"1349=0"};
        QTest::newRow("persistence 0.0") << 180 << QStringList{"1349=0.0"};
        QTest::newRow("persistence 2.5") << 180 << QStringList{"1349=2.5"};
        QTest::newRow("decimal zero lower end") << 196 << QStringList{"1458=0", "1468=0.0", "1456=0.01"};
        QTest::newRow("decimal upper end") << 196 << QStringList{"1458=50.0", "1459=500"};
        QTest::newRow("variation start negative") << 196 << QStringList{"1476=-5"};
        QTest::newRow("disabled field skipped")
            << 156 << QStringList{"1236=Rotate only", "1238=abc", "1244=x"};
        QTest::newRow("unchecked box skips") << 175 << QStringList{"-1303", "1445=-999", "-1327", "1328="};
        QTest::newRow("combo not image") << 194 << QStringList{"1488=blur", "1105="};
        QTest::newRow("zoom font sizes disabled")
            << 133 << QStringList{"1333=horizontal", "1336=48", "1337=24"};
        QTest::newRow("zoom font sizes ordered") << 133 << QStringList{"1333=zooming", "1336=8", "1337=172"};
        QTest::newRow("alternative image off") << 136 << QStringList{"-1083", "1081="};
        QTest::newRow("mirror with objects") << 182 << QStringList{"#1385=10", "1416=Objects"};
        QTest::newRow("phong render with map") << 182 << QStringList{"#1385=8"};
    }

    void edgeAccepted()
    {
        QFETCH(int, pageId);
        QFETCH(QStringList, changes);
        OpenPage open(pageId, appletOf(pageId), storedFor(pageId));
        open.apply(validFields(pageId) + changes);
        QVERIFY2(open.validate(), qPrintable(QString::number(open.services.messageIds().value(0))));
    }

    void formattedMessagesCarryTheirLimit_data()
    {
        QTest::addColumn<int>("pageId");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QString>("text");
        QTest::newRow("lens") << 151 << QStringList{"1191=61"} << "Error ! Value can't be grater than 60";
        QTest::newRow("lens odd size") << 151 << QStringList{"1020=121", "1019=125", "1191=61"}
                                       << "Error ! Value can't be grater than 60";
        QTest::newRow("paint width") << 206 << QStringList{"1019=579"}
                                     << "Error ! Value can't be smaller than 580";
        QTest::newRow("paint height")
            << 206 << QStringList{"1020=1"} << "Error ! Value can't be smaller than 150";
        QTest::newRow("scroller") << 207 << QStringList{"1046=-3"} << "Error ! Value can't be smaller than 1";
    }

    void formattedMessagesCarryTheirLimit()
    {
        QFETCH(int, pageId);
        QFETCH(QStringList, changes);
        QFETCH(QString, text);
        OpenPage open(pageId, appletOf(pageId), storedFor(pageId));
        open.apply(validFields(pageId) + changes);
        QVERIFY(!open.validate());
        QCOMPARE(open.services.messages.size(), 1);
        QCOMPARE(open.services.messages.first().text, text);
    }

    // Page 183 looks at what page 182 stored; "NO" (a cleared box) names no file either.
    void objectsNeedStoredPictures_data()
    {
        QTest::addColumn<QString>("missingKey");
        QTest::addColumn<QString>("storedValue");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<int>("messageId");

        QTest::newRow("main phong") << "PhongMap"
                                    << "" << QStringList{"#1392=2", "#1412=0"} << 1601;
        QTest::newRow("main phong NO") << "PhongMap"
                                       << "NO" << QStringList{"#1392=8", "#1412=0"} << 1601;
        QTest::newRow("main gauss") << "GPhongMap"
                                    << "" << QStringList{"#1392=3"} << 1604;
        QTest::newRow("child phong") << "PhongMap"
                                     << "" << QStringList{"#1392=0", "#1408=13", "#1412=0"} << 1601;
        QTest::newRow("child gauss") << "GPhongMap"
                                     << "" << QStringList{"#1408=3"} << 1604;
        QTest::newRow("child texture 1") << "Texture1"
                                         << "" << QStringList{"#1409=1"} << 1603;
        QTest::newRow("child texture 2") << "Texture2"
                                         << "NO" << QStringList{"#1409=2"} << 1602;
        QTest::newRow("main texture 1") << "Texture1"
                                        << "" << QStringList{"#1409=0", "#1393=1"} << 1603;
        QTest::newRow("main texture 2") << "Texture2"
                                        << "" << QStringList{"#1409=0", "#1393=2"} << 1602;
        QTest::newRow("light balls") << "PhongMap"
                                     << "" << QStringList{"#1392=0", "#1408=0", "#1412=1"} << 1601;
    }

    void objectsNeedStoredPictures()
    {
        QFETCH(QString, missingKey);
        QFETCH(QString, storedValue);
        QFETCH(QStringList, changes);
        QFETCH(int, messageId);
        QStringList stored = storedFor(183);
        stored.replaceInStrings(QRegularExpression("^" + missingKey + "=.*"), missingKey + "=" + storedValue);
        OpenPage open(183, "VEXA3D LIGHT", stored);
        open.apply(validFields(183) + changes);
        open.page->control(1100)->setFocus();
        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{messageId});
        QCOMPARE(open.page->focusWidget(), open.page->control(1100)); // no focus change

        // With the picture stored the same choices pass.
        open.env.store().write("VEXA3D LIGHT", missingKey, "picture.gif");
        QVERIFY(open.validate());
    }

    void menuNeedsOneItem()
    {
        OpenPage open(197, "WHEELMENU");
        QVERIFY(MenuTreeEditor::of(*open.page)->tree().isEmpty());
        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{Str::InsertAtLeastOne});
        QCOMPARE(open.page->focusWidget(), open.page->control(1451));

        QTest::mouseClick(open.page->control<QAbstractButton>(1451), Qt::LeftButton);
        QCOMPARE(MenuTreeEditor::of(*open.page)->tree().items.size(), 1);
        QVERIFY(open.validate());
    }

    // Page 149: a background picture of the wrong size is refused without moving the focus; one
    // that cannot be measured has been reported by the size reader and passes.
    void backgroundMustFitTheApplet()
    {
        OpenPage open(149, "IFSFRACT");
        const QString folder = open.env.makeAppletFolder("IFSFRACT");
        TestEnvironment::writeFile(folder + "/fits.gif", gifHeader(100, 50));
        TestEnvironment::writeFile(folder + "/wide.gif", gifHeader(101, 50));
        TestEnvironment::writeFile(folder + "/broken.gif", "not a picture");
        open.apply(validFields(149) + QStringList{"+1152", "1105=wide.gif"});
        open.page->control(1166)->setFocus();

        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{Str::BackgroundSizeWrong});
        QCOMPARE(open.page->focusWidget(), open.page->control(1166));

        open.apply({"1105=fits.gif"});
        QVERIFY(open.validate());
        QVERIFY(open.services.messages.isEmpty());

        open.apply({"1105=broken.gif"});
        QVERIFY(open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{Str::WrongImageFormat});

        open.apply({"1105="});
        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{Str::FieldRequired});
        QCOMPARE(open.page->focusWidget(), open.page->control(1105));

        open.apply({"-1152"}); // no background: nothing to measure
        QVERIFY(open.validate());
    }

    // The rules run in order and stop at the first failure; the common rules only after the page's own.
    void firstFailureWins()
    {
        OpenPage open(136, "BUMP");
        open.apply(validFields(136) + QStringList{"1019=", "1284=0", "1026=0"});
        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{1572});
        open.apply({"1284=1"});
        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{1571});
        open.apply({"1026=1"});
        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{Str::FieldRequired});
        QCOMPARE(open.page->focusWidget(), open.page->control(1019));
    }

    // On a shown, active window the refused field really holds the keyboard focus.
    void focusMovesInTheActiveWindow()
    {
        OpenPage open(143, "FIRE");
        open.apply(validFields(143) + QStringList{"1122=50", "1123=60"});
        open.page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(open.page.get()));
        open.page->control(1124)->setFocus();
        QVERIFY(!open.validate());
        QCOMPARE(open.services.messageIds(), QList<int>{Str::FireCutAboveStart});
        QTRY_COMPARE(QApplication::focusWidget(), open.page->control(1122));
    }

    // Every page, opened over an empty store: validation never crashes, shows exactly one warning
    // when it refuses and none when it accepts, and changes no control and no stored value.
    void everyPageRefusesCleanly_data()
    {
        QTest::addColumn<int>("pageId");
        for (const PageTemplate &pageTemplate : pageTemplates()) {
            if (pageTemplate.pageId != 129 && pageTemplate.pageId != 134)
                QTest::addRow("%d", pageTemplate.pageId) << pageTemplate.pageId;
        }
    }

    void everyPageRefusesCleanly()
    {
        QFETCH(int, pageId);
        OpenPage open(pageId, appletOf(pageId));
        auto snapshot = [&open] {
            QStringList state;
            for (auto *edit : open.page->findChildren<QLineEdit *>())
                state << edit->objectName() + "=" + edit->text();
            for (auto *area : open.page->findChildren<QPlainTextEdit *>())
                state << area->objectName() + "=" + area->toPlainText();
            for (auto *combo : open.page->findChildren<QComboBox *>())
                state << combo->objectName() + "#" + QString::number(combo->currentIndex());
            for (const QString &key : open.env.store().keys(open.context.appletId))
                state << key + ":" + open.env.store().read(open.context.appletId, key);
            return state;
        };
        const QStringList before = snapshot();
        const bool accepted = open.validate();
        QCOMPARE(snapshot(), before);
        QCOMPARE(open.services.messages.size(), accepted ? 0 : 1);
        if (!accepted) QCOMPARE(open.services.messages.first().icon, MessageIcon::Exclamation);
    }

    // A field whose caption promises a range, "(1..255)" or "(0.0 .. 126.0)", refuses a value just
    // outside it on every page that shows the field, and puts the focus on it.
    void promisedRangesAreChecked_data()
    {
        QTest::addColumn<int>("pageId");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("outside");
        static const QRegularExpression range(QStringLiteral(R"(\((-?\d+(?:\.\d+)?) ?\.{2,3} ?(-?\d+(?:\.\d+)?))"));
        for (const PageTemplate &pageTemplate : pageTemplates()) {
            for (const ControlSpec &control : pageTemplate.controls) {
                const QRegularExpressionMatch match = range.match(StringTable::text(control.id));
                if (control.kind != ControlKind::Edit || !match.hasMatch()) continue;
                const bool decimal = match.captured(2).contains('.');
                const double step = decimal ? 0.5 : 1;
                for (const double value : {match.captured(1).toDouble() - step, match.captured(2).toDouble() + step})
                    QTest::addRow("%d/%d/%g", pageTemplate.pageId, control.id, value)
                        << pageTemplate.pageId << control.id << QString::number(value);
            }
        }
    }

    void promisedRangesAreChecked()
    {
        QFETCH(int, pageId);
        QFETCH(int, field);
        QFETCH(QString, outside);
        OpenPage open(pageId, appletOf(pageId), storedFor(pageId), InstallData::defaultsFile());
        if (!open.page->isActive(field)) QSKIP("the field is not offered here");
        QVERIFY2(open.validate(), qPrintable(open.services.messages.value(0).text));
        open.apply({QStringLiteral("%1=%2").arg(field).arg(outside)});
        QVERIFY(!open.validate());
        QCOMPARE(open.page->focusWidget(), open.page->control(field));
    }

    // In the wizard: Next on a refused page stays there and stores nothing.
    void nextStaysOnARefusedPage()
    {
        test::WizardFixture f;
        f.set("", "LastCateg", "6");
        f.set("", "LastApplet", "FIRE");
        f.set("FIRE", "FireCutStart", "50");
        f.set("FIRE", "FireCutValue", "40");
        f.set("FIRE", "DLight", "10");
        f.start();
        f.next();
        QCOMPARE(f.pageId(), 143);
        f.page()->setText(1123, "60");
        f.next();
        QCOMPARE(f.pageId(), 143);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::FireCutAboveStart});
        QCOMPARE(f.env.store().read("FIRE", "FireCutValue"), QStringLiteral("40"));
    }
};

QTEST_MAIN(ValidationTest)
#include "tst_validation.moc"
