#include "PageValidation.h"

#include "Page.h"
#include "PageSpecials.h"
#include "SelectionPage.h"
#include "catalogue/Catalogue.h"
#include "editors/ImageListEditor.h"
#include "editors/MenuTreeEditor.h"
#include "publish/ImageSize.h"
#include "publish/PreviewPage.h"
#include "settings/ScrollTextFiles.h"
#include "services/Services.h"
#include "settings/Folders.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"

#include <QComboBox>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace vexa {
namespace {

constexpr double Open = std::numeric_limits<double>::infinity();
constexpr int Width = 1019;
constexpr int Height = 1020;
constexpr int ImageList = 1090;
constexpr int AddImage = 1091;
constexpr int BackImage = 1105;
constexpr int NotNumeric = 1596; // "The field must be numeric and not null"

constexpr int SameControl = 0;
constexpr int NoFocus = -1;

// --- reading fields ---

// The signed integer reading of an edit field: an optional sign, then decimal digits and nothing else.
// A number beyond 32 bits is no valid integer (the applets read 32-bit numbers), but it keeps its size,
// so that a huge number never slips through a range as 0.
struct IntegerReading {
    bool digits = false; // the text has the form of an integer
    bool valid = false;  // ... and fits 32 bits
    qint64 value = 0;
};

IntegerReading readInteger(const QString &text)
{
    IntegerReading reading;
    const bool negative = text.startsWith(QLatin1Char('-'));
    int i = negative || text.startsWith(QLatin1Char('+')) ? 1 : 0;
    if (i == text.size()) return reading;
    constexpr qint64 cap = qint64(1) << 40;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9') return reading;
        value = qMin(cap, value * 10 + (c - u'0'));
    }
    reading.digits = true;
    reading.value = negative ? -value : value;
    reading.valid = reading.value >= std::numeric_limits<qint32>::min() &&
                    reading.value <= std::numeric_limits<qint32>::max();
    return reading;
}

// A number read without check: a text that is not an integer reads as 0.
qint64 numberIn(const Page &page, int id)
{
    const IntegerReading reading = readInteger(page.text(id));
    return reading.digits ? reading.value : 0;
}

// The whole text as a decimal number, or 0 when it is none. Non-finite values ("inf", "nan") would
// pass any range, so they count as no number.
double decimalValue(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

// A text reading as 0 must be written "0" or "0.0": anything else that reads as 0 is not a number.
bool decimalPasses(const QString &text, double low, double high)
{
    const double value = decimalValue(text);
    if (value == 0.0 && text != QLatin1String("0.0") && text != QLatin1String("0")) return false;
    return value >= low && value <= high;
}

// --- the rule rows ---

enum class Kind {
    Required,      // not empty
    Integer,       // signed integer reading within low..high
    Number,        // read without check (not an integer: 0), within low..high
    Decimal,       // decimal check within low..high (infinite bounds: none)
    AnyInteger,    // a valid signed integer reading
    ImagesAtLeast, // the image list holds at least `low` entries
    ImagesExactly, // the image list holds exactly `low` entries
    Custom,        // an irregular rule: `custom` checks, and refuses with its own message
};

struct Rule {
    Kind kind;
    int control = 0;
    int messageId = Str::FieldRequired;
    double low = -Open;
    double high = Open;
    int focus = SameControl;        // SameControl, NoFocus or a control id
    bool whenEnabled = false;       // applies only while the control exists and is enabled
    bool whenFilled = false;        // applies only while the field is not empty
    bool requiredFirst = false;     // an empty field gives 1164 before the rule's own check
    bool lowInMessage = false;      // the message's %1 is the lower bound
    int whenControl = 0;            // applies only while this check box is checked ...
    const char *whenText = nullptr; // ... or while this combo shows this text
    int highField = 0;              // the upper bound is the number in this field ...
    int highDivisor = 1;            // ... divided by this (integer division)
    bool (*custom)(Page &) = nullptr;

    Rule ifFilled() const
    {
        return with([](Rule &r) { r.whenFilled = true; });
    }
    Rule ifEnabled() const
    {
        return with([](Rule &r) { r.whenEnabled = true; });
    }
    Rule alsoRequired() const
    {
        return with([](Rule &r) { r.requiredFirst = true; });
    }
    Rule withLowInMessage() const
    {
        return with([](Rule &r) { r.lowInMessage = true; });
    }
    Rule focusOn(int id) const
    {
        return with([id](Rule &r) { r.focus = id; });
    }
    Rule ifChecked(int checkBox) const
    {
        return with([checkBox](Rule &r) { r.whenControl = checkBox; });
    }
    Rule ifShows(int combo, const char *text) const
    {
        return with([combo, text](Rule &r) {
            r.whenControl = combo;
            r.whenText = text;
        });
    }
    Rule upToField(int field, int divisor) const
    {
        return with([field, divisor](Rule &r) {
            r.highField = field;
            r.highDivisor = divisor;
        });
    }

private:
    template <typename Change> Rule with(Change change) const
    {
        Rule r = *this;
        change(r);
        return r;
    }
};

Rule required(int id)
{
    return Rule{Kind::Required, id};
}
Rule requiredIfEnabled(int id)
{
    return required(id).ifEnabled();
}
Rule integer(int id, double low, double high, int messageId)
{
    return Rule{Kind::Integer, id, messageId, low, high};
}
Rule number(int id, double low, double high, int messageId)
{
    return Rule{Kind::Number, id, messageId, low, high};
}
Rule decimal(int id, double low, double high, int messageId)
{
    return Rule{Kind::Decimal, id, messageId, low, high};
}
// A range the field's caption promises, refused with a message that names it.
Rule integerRange(int id, double low, double high)
{
    return integer(id, low, high, Str::ParameterRange);
}
Rule decimalRange(int id, double low, double high)
{
    return decimal(id, low, high, Str::ParameterRange);
}
Rule anyInteger(int id, int messageId)
{
    return Rule{Kind::AnyInteger, id, messageId};
}
Rule imagesAtLeast(int count, int messageId)
{
    return Rule{Kind::ImagesAtLeast, ImageList, messageId, double(count)}.focusOn(AddImage);
}
Rule imagesExactly(int count, int messageId)
{
    return Rule{Kind::ImagesExactly, ImageList, messageId, double(count)}.focusOn(AddImage);
}
Rule custom(bool (*check)(Page &))
{
    Rule r{Kind::Custom};
    r.custom = check;
    return r;
}

// --- refusing ---

void refuse(Page &page, int messageId, int focus, const QStringList &arguments)
{
    if (focus != NoFocus) {
        if (QWidget *widget = page.control(focus)) widget->setFocus();
    }
    Message shown = message(messageId, MessageIcon::Exclamation);
    for (const QString &argument : arguments)
        shown.text = shown.text.arg(argument);
    page.context().services.showMessage(shown);
}

void refuse(Page &page, int messageId, int focus, const QString &argument = QString())
{
    refuse(page, messageId, focus, argument.isNull() ? QStringList() : QStringList{argument});
}

// A bound as the caption writes it: a decimal field's bounds keep their decimal point ("0.0").
QString boundText(const Rule &rule, double bound)
{
    QString text = QString::number(bound);
    if (rule.kind == Kind::Decimal && !text.contains(QLatin1Char('.'))) text += QLatin1String(".0");
    return text;
}

// What the rule's message fills in: the lower bound, or both bounds of a promised range.
QStringList messageArguments(const Rule &rule)
{
    if (rule.messageId == Str::ParameterRange) return {boundText(rule, rule.low), boundText(rule, rule.high)};
    if (rule.lowInMessage) return {QString::number(qint64(rule.low))};
    return {};
}

int comboPosition(const Page &page, int id)
{
    const auto *combo = page.control<QComboBox>(id);
    return combo ? combo->currentIndex() : -1;
}

// --- the irregular rules ---

// 133: the zooming text grows from the smaller size to the larger one.
bool fontSizesOrdered(Page &page)
{
    if (!page.isActive(1336) || numberIn(page, 1336) < numberIn(page, 1337)) return true;
    refuse(page, Str::FontMinNotBelowMax, 1336);
    return false;
}

// 143: the fire is cut below its start.
bool fireCutNotAboveStart(Page &page)
{
    if (numberIn(page, 1123) <= numberIn(page, 1122)) return true;
    refuse(page, Str::FireCutAboveStart, 1122);
    return false;
}

// 149: a decline reading as 0 must be written "0" ("0.0" is refused here, unlike on page 180).
bool declineIsNumber(Page &page)
{
    const QString text = page.text(1171);
    if (decimalValue(text) != 0.0 || text == QLatin1String("0")) return true;
    refuse(page, Str::InvalidValue, 1171);
    return false;
}

// 149: the background picture must have the applet's size. A picture that cannot be measured has
// already been reported by the size reader and is let through.
bool backgroundFitsApplet(Page &page)
{
    if (!page.isActive(BackImage) || page.text(BackImage).isEmpty()) return true;
    PageContext &context = page.context();
    const QString path =
        context.folders.appletFolder(page.appletId()) + QLatin1Char('/') + page.text(BackImage);
    QStringList diagnostics; // the reader's developer notes have no place in the wizard
    const ImageInfo info = ImageSize::read(path, context.services, &diagnostics);
    if (!info.found || (info.width == numberIn(page, Width) && info.height == numberIn(page, Height)))
        return true;
    refuse(page, Str::BackgroundSizeWrong, NoFocus);
    return false;
}

// 151: the lens fits into the picture.
bool lensFitsImage(Page &page)
{
    const qint64 half = qMin(numberIn(page, Width), numberIn(page, Height)) / 2;
    if (numberIn(page, 1191) <= half) return true;
    refuse(page, Str::ValueAboveLimit, 1191, QString::number(half));
    return false;
}

// 180: an empty persistence leaves the applet's own; anything else must be a number.
bool persistenceIsNumber(Page &page)
{
    const QString text = page.text(1349);
    if (text.isEmpty() || decimalPasses(text, -Open, Open)) return true;
    refuse(page, Str::InvalidValue, 1349);
    return false;
}

// A render or texture choice that needs a picture: the combo at one of `positions` (bit n stands for
// position n) needs the field (page 182) or the key page 182 stored (page 183) to name a file.
struct PictureNeed {
    int combo;
    quint32 positions;
    int field;
    const char *storedKey;
    int messageId;
    int focus;
};

constexpr quint32 at(int position)
{
    return quint32(1) << position;
}
constexpr quint32 PhongRenders = at(2) | at(8) | at(13);
constexpr quint32 GaussRender = at(3);
constexpr quint32 AboveZero = ~at(0);

const PictureNeed SceneRenderNeeds[] = {
    {1385, PhongRenders, 1371, nullptr, 1609, 1377},
    {1385, GaussRender, 1372, nullptr, 1608, 1378},
};

const PictureNeed SceneTextureNeeds[] = {
    {1387, at(1), 1365, nullptr, 1606, NoFocus},
    {1387, at(2), 1369, nullptr, 1605, NoFocus},
};

const PictureNeed ObjectNeeds[] = {
    {1392, PhongRenders, 0, "PhongMap", 1601, NoFocus}, {1392, GaussRender, 0, "GPhongMap", 1604, NoFocus},
    {1408, PhongRenders, 0, "PhongMap", 1601, NoFocus}, {1408, GaussRender, 0, "GPhongMap", 1604, NoFocus},
    {1409, at(1), 0, "Texture1", 1603, NoFocus},        {1409, at(2), 0, "Texture2", 1602, NoFocus},
    {1393, at(1), 0, "Texture1", 1603, NoFocus},        {1393, at(2), 0, "Texture2", 1602, NoFocus},
    {1412, AboveZero, 0, "PhongMap", 1601, NoFocus},
};

// Page 182 stores "NO" for a cleared picture box: that names no file either.
bool storedFileSet(Page &page, const char *key)
{
    const QString value = page.context().store.read(QStringLiteral("VEXA3D LIGHT"), QLatin1String(key));
    return !value.isEmpty() && value != QLatin1String("NO");
}

template <size_t N> bool picturesPresent(Page &page, const PictureNeed (&needs)[N])
{
    for (const PictureNeed &need : needs) {
        const int position = comboPosition(page, need.combo);
        if (position < 0 || position > 31 || !(need.positions & at(position))) continue;
        const bool present =
            need.storedKey ? storedFileSet(page, need.storedKey) : !page.text(need.field).isEmpty();
        if (!present) {
            refuse(page, need.messageId, need.focus);
            return false;
        }
    }
    return true;
}

// 182: the background's render and texture choices need their pictures.
bool sceneHasPictures(Page &page)
{
    if (page.isActive(1385)) {
        if (!picturesPresent(page, SceneRenderNeeds)) return false;
        if (comboPosition(page, 1385) == 10 && page.text(1416) != QLatin1String("Objects")) {
            refuse(page, Str::MirrorNeedsObjects, 1385);
            return false;
        }
    }
    return !page.isActive(1387) || picturesPresent(page, SceneTextureNeeds);
}

// 183: the objects' choices need the pictures chosen on the scene page.
bool objectsHavePictures(Page &page)
{
    return picturesPresent(page, ObjectNeeds);
}

// 197: the menu must be one the applet can show and store.
bool menuPasses(Page &page)
{
    MenuTreeEditor *menu = MenuTreeEditor::of(page);
    return !menu || menu->check();
}

// 197, leaving backward: a menu beyond the applet's limits would be stored cut.
bool menuStorable(Page &page)
{
    MenuTreeEditor *menu = MenuTreeEditor::of(page);
    return !menu || menu->checkStorable();
}

// 129: Next needs an applet. Without one (a first start chooses nothing) the user is told
// what to do, and the categories take the focus.
bool appletChosen(Page &page)
{
    if (!SelectionPage::selectedApplet(page).isEmpty())
        return true;
    page.context().status(QStringLiteral("Choose a category, then an applet from its list, and press Next."));
    for (const CategoryRecord &category : Catalogue::categories()) {
        if (QWidget *radio = page.control(category.radioId)) {
            radio->setFocus();
            break;
        }
    }
    return false;
}

// 133, 208: the scroll-text file is written in the page's character set, which must hold
// every character of the text.
bool scrollTextFitsCharset(Page &page)
{
    PageContext &context = page.context();
    if (!page.control(1013) || ScrollTextFiles(context.folders, context.services)
                                   .fitsCharset(page.text(1013), PreviewPage::charsetFor(context.store, page.appletId())))
        return true;
    page.control(1013)->setFocus();
    return false;
}

// A new character set applies to the scroll text file too, so its text must fit the new set.
bool scrollFileFitsNewCharset(Page &page)
{
    QString text;
    PageContext &context = page.context();
    if (!PageSpecials::scrollTextToConvert(page, &text) ||
        ScrollTextFiles(context.folders, context.services).fitsCharset(text, page.text(4068)))
        return true;
    page.control(4068)->setFocus();
    return false;
}

// 206: a plausible address or none.
bool mailAddressPlausible(Page &page)
{
    const QString text = page.text(4009);
    if (text.isEmpty() || (text.contains(QLatin1Char('@')) && text.contains(QLatin1Char('.')))) return true;
    refuse(page, Str::WrongEmailAddress, 4009);
    return false;
}

// --- the tables ---

// Each page's rules, in the order they run.
const std::map<int, std::vector<Rule>> &pageRules()
{
    static const std::map<int, std::vector<Rule>> table = [] {
        const std::vector<Rule> cubeFaces = {imagesExactly(6, 1573), required(1100), required(1101),
                                             required(1102)};
        std::vector<Rule> tmapcube = {integer(1241, 1, 100, 1572), integer(1247, 1, 511, 1571),
                                      integer(1248, 1, 511, 1571)};
        tmapcube.insert(tmapcube.end(), cubeFaces.begin(), cubeFaces.end());

        return std::map<int, std::vector<Rule>>{
            {129, {custom(appletChosen)}},
            {131, {required(1066), required(1073), required(1068), required(1075), required(1074)}},
            {132, {required(1024), required(1030), required(1035)}},
            {133,
             {requiredIfEnabled(1334), required(1046), required(1021), required(1039), required(1033),
              required(1037), required(1042), required(1027), custom(fontSizesOrdered),
              custom(scrollTextFitsCharset)}},
            {135,
             {required(1057), required(1058), required(1059), required(1315).ifChecked(1326),
              requiredIfEnabled(1316), requiredIfEnabled(1317)}},
            {136,
             {required(1080), required(1086), required(1087), integer(1284, 1, 100, 1572),
              integer(1026, 1, 511, 1571), integer(1023, 1, 511, 1571), requiredIfEnabled(1081)}},
            {137, {imagesAtLeast(2, 1569), number(1093, 1, 255, 1570), required(1095)}},
            {138, {imagesAtLeast(2, 1613), number(1093, 1, 255, 1570), required(1095), required(1354)}},
            {141, cubeFaces},
            {142,
             {number(1109, 0, 500, 1574), number(1110, 1, 100, 1572), number(1111, 1, 50, 1575),
              number(1112, 0, Open, 1576).upToField(Width, 1), number(1113, 1, 19, 1577),
              number(1114, 1, 19, 1577), number(1115, 1, 19, 1577), number(1116, 1, 19, 1577)}},
            {143,
             {integer(1124, 0, 127, 1578), integer(1122, 1, 127, 1579), integer(1123, 1, 127, 1579),
              custom(fireCutNotAboveStart)}},
            {144, {integer(1136, 1, 8, 1339)}},
            {145,
             {required(1107), number(1136, 1, Open, Str::FieldRequired), integer(1136, 1, 8, 1339),
              requiredIfEnabled(BackImage)}},
            {146,
             {required(1144), required(1145), required(1146), required(1147), required(1148),
              required(1149)}},
            {147,
             {required(1157), integerRange(1157, 0, 128), required(1158), required(1159),
              integerRange(1159, 0, 4), required(1160)}},
            {148, {required(1163), integerRange(1163, 1, 1000)}},
            {149,
             {required(1166), integerRange(1166, 1, 32), required(1167), integerRange(1167, 1, 32), required(1168),
              anyInteger(1169, Str::InvalidValue), integerRange(1169, -32, 32),
              anyInteger(1170, Str::InvalidValue), integerRange(1170, -32, 32), required(1171),
              custom(declineIsNumber), decimalRange(1171, 0.1, 0.9), required(1172), integerRange(1172, 1, 256),
              requiredIfEnabled(1176), requiredIfEnabled(BackImage), custom(backgroundFitsApplet)}},
            {150,
             {required(1080), integer(1187, 0, 200, 1632), integer(1181, 1, 200, 1633),
              integer(1183, 1, 100, 1572), integer(1185, 1, 10000, 1623)}},
            {151,
             {required(1080), required(1191), custom(lensFitsImage), integer(1195, 0, 30, 1630),
              integer(1193, -40, 40, 1629)}},
            {153,
             {required(1203), required(1204), anyInteger(1205, Str::InvalidValue),
              anyInteger(1206, Str::InvalidValue), anyInteger(1207, Str::InvalidValue),
              anyInteger(1208, Str::InvalidValue)}},
            {154,
             {integer(1211, 8, 2000, 1628), integer(1212, 3, 256, 1627), integer(1213, 3, 256, 1627),
              integer(1215, 0, 255, 1626), integer(1218, 0, 255, 1626), integer(1221, 0, 255, 1626),
              integer(1216, 0, 255, 1626), integer(1219, 0, 255, 1626), integer(1222, 0, 255, 1626)}},
            {155, {requiredIfEnabled(1233), requiredIfEnabled(1249)}},
            {156,
             {required(1107), integer(1238, 0, 80, 1625).ifEnabled(), integer(1239, 0, 80, 1625).ifEnabled(),
              integer(1240, 1, 20, 1624).ifEnabled(), integer(1243, 0, 10000, 1623).ifEnabled(),
              integer(1244, 0, 10000, 1622).ifEnabled(), integer(1324, 1, 255, 1570)}},
            {157, tmapcube},
            {171,
             {required(1107), required(1252), required(1253), required(1254), required(1022),
              required(1025)}},
            {172,
             {required(1107), required(1032), required(1034), required(1036), integer(1023, 1, 127, 1579),
              integer(1026, 1, 127, 1579), required(1029), integerRange(1029, 1, 128), required(1041), required(1043), required(1045),
              required(1047), required(1049), required(1051), required(1100), required(1101),
              required(1102)}},
            {173, {required(1286), integer(1288, 50, 200, 1621), integer(1325, 0, 500, 1574)}},
            {174,
             {required(1107), integer(1293, -10000, 10000, 1619), integer(1294, 0, 250, 1620),
              integer(1295, -10000, 10000, 1619), integer(1296, -10000, 10000, 1619),
              integer(1297, -2000, 2000, 1617), integer(1298, 0, 25, 1618), integer(1299, -2000, 2000, 1617),
              integer(1300, -2000, 2000, 1617)}},
            {175,
             {required(1157), integerRange(1157, 0, 128), required(1158), required(1159), integerRange(1159, 0, 4),
              required(1160), required(1302),
              required(1328).ifChecked(1327), required(1329).ifChecked(1327), required(1330).ifChecked(1327),
              required(1331).ifChecked(1327), integer(1445, -255, 255, 1616).ifChecked(1303),
              integer(1444, -255, 255, 1616).ifChecked(1303), integer(1438, 1, 2000, 1615)}},
            {176, {integer(1304, 1, 23, 1614)}},
            {180,
             {integerRange(1348, 0, 128), custom(persistenceIsNumber), decimalRange(1349, 0.0, 126.0).ifFilled(),
              integer(1350, 1, 127, 1579), integer(1351, 1, 127, 1579)}},
            {181,
             {imagesAtLeast(2, 1613), required(1095), integer(1360, 1, Open, 1612).upToField(Width, 3),
              integer(1361, 1, Open, 1611).upToField(Height, 3), integer(1362, 8, 32, 1610),
              requiredIfEnabled(BackImage)}},
            {182,
             {required(1363), required(1364), required(1367), requiredIfEnabled(1365),
              requiredIfEnabled(1369), requiredIfEnabled(1371), requiredIfEnabled(1372),
              integer(1381, 0, 1000, 1581), integer(1382, 0, 1000, 1581), custom(sceneHasPictures)}},
            {183,
             {custom(objectsHavePictures), decimal(1100, 0, 2.0, 1600).alsoRequired().ifEnabled(),
              decimal(1101, 0, 2.0, 1600).alsoRequired().ifEnabled(),
              decimal(1102, 0, 2.0, 1600).alsoRequired().ifEnabled(),
              decimal(1399, 0, 3.14, 1599).alsoRequired().ifEnabled(), requiredIfEnabled(1394),
              requiredIfEnabled(1396), requiredIfEnabled(1397), requiredIfEnabled(1398),
              requiredIfEnabled(1400), requiredIfEnabled(1401), requiredIfEnabled(1402)}},
            {194,
             {required(BackImage).ifShows(1488, "image"), decimal(1492, -1000, 1000, 1584).alsoRequired(),
              integer(1493, 0, 20, 1583), integer(1494, 1, 100, 1572), required(1495),
              requiredIfEnabled(1498), requiredIfEnabled(1499)}},
            {195, {required(BackImage).ifShows(1505, "image"), required(1495), required(1507)}},
            {196,
             {required(1107), decimal(1456, 0.01, 500, 1597).alsoRequired(),
              decimal(1458, 0.0, 50.0, 1598).alsoRequired(), decimal(1457, 0.01, 500, 1597).alsoRequired(),
              decimal(1459, 0.01, 500, 1597).alsoRequired(), decimal(1468, 0.0, Open, 1596).alsoRequired(),
              decimal(1461, 0.0, Open, 1596).alsoRequired(), decimal(1462, 0.0, Open, 1596).alsoRequired(),
              decimal(1463, 0.0, Open, 1596).alsoRequired(), decimal(1464, 0.0, Open, 1596).alsoRequired(),
              decimal(1465, 0.0, Open, 1596).alsoRequired(), integer(1466, 0, 1000, 1581),
              integer(1467, 0, 1000, 1581), anyInteger(1476, Str::FieldRequired),
              integer(1475, 0, 1000, 1581)}},
            {197, {custom(menuPasses)}},
            {198, {requiredIfEnabled(BackImage)}},
            {201,
             {required(1518), required(1519), required(1520), required(1521), required(1522),
              required(1523)}},
            {202, {required(1080), required(1539), integer(1540, 1, 255, 1570)}},
            {206,
             {integer(Width, 580, Open, Str::ValueBelowLimit).withLowInMessage(),
              integer(Height, 150, Open, Str::ValueBelowLimit).withLowInMessage(),
              integer(4007, 1, 100, 1572), custom(mailAddressPlausible)}},
            {207,
             {requiredIfEnabled(4018), requiredIfEnabled(1334),
              integer(1046, 1, Open, Str::ValueBelowLimit).withLowInMessage(), requiredIfEnabled(1021),
              requiredIfEnabled(1042), requiredIfEnabled(1027), requiredIfEnabled(4022)}},
            {208, {required(4023), custom(scrollTextFitsCharset)}},
            {209,
             {required(BackImage), required(4038), required(4039), required(4040), required(4041),
              integer(4044, 1, 50, 1575)}},
            {210, {required(4051), required(4052), required(4053), required(4054), required(4055)}},
            {211, {required(4066), required(4067)}},
        };
    }();
    return table;
}

// Run on every page once its own rules pass: the size (a whole number of at least one
// pixel; a page's own upper bound comes first), the scroll text and the character set.
const std::vector<Rule> &commonRules()
{
    static const std::vector<Rule> rules = {
        requiredIfEnabled(Width),
        anyInteger(Width, NotNumeric).ifEnabled(),
        integer(Width, 1, Open, Str::ValueBelowLimit).withLowInMessage().ifEnabled(),
        requiredIfEnabled(Height),
        anyInteger(Height, NotNumeric).ifEnabled(),
        integer(Height, 1, Open, Str::ValueBelowLimit).withLowInMessage().ifEnabled(),
        requiredIfEnabled(1013),
        requiredIfEnabled(4068),
        custom(scrollFileFitsNewCharset)};
    return rules;
}

bool applies(const Page &page, const Rule &rule)
{
    if (rule.kind == Kind::Custom) return true;
    // A control the page does not have cannot be filled in; refusing would trap the user on the page.
    if (!page.control(rule.control) || (rule.whenEnabled && !page.isActive(rule.control))) return false;
    if (rule.whenFilled && page.text(rule.control).isEmpty()) return false;
    if (rule.whenControl == 0) return true;
    if (rule.whenText) return page.text(rule.whenControl) == QLatin1String(rule.whenText);
    return page.isChecked(rule.whenControl);
}

bool passes(const Page &page, const Rule &rule)
{
    const QString text = page.text(rule.control);
    const double high =
        rule.highField ? double(numberIn(page, rule.highField) / rule.highDivisor) : rule.high;
    switch (rule.kind) {
    case Kind::Required:
        return !text.isEmpty();
    case Kind::Integer: {
        const IntegerReading reading = readInteger(text);
        return reading.valid && double(reading.value) >= rule.low && double(reading.value) <= high;
    }
    case Kind::Number: {
        const double value = double(numberIn(page, rule.control));
        return value >= rule.low && value <= high;
    }
    case Kind::Decimal:
        return decimalPasses(text, rule.low, high);
    case Kind::AnyInteger:
        return readInteger(text).valid;
    case Kind::ImagesAtLeast:
    case Kind::ImagesExactly: {
        // An entry without a picture (a cube face left empty) shows nothing: it does not count.
        const ImageListEditor *images = ImageListEditor::of(page);
        const int count = images ? int(images->names().size()) : 0;
        if (images && images->firstEmptyEntry() >= 0) return false;
        return rule.kind == Kind::ImagesAtLeast ? count >= rule.low : count == rule.low;
    }
    case Kind::Custom:
        break;
    }
    return true;
}

// The list's refusal points at the entry without a picture, when there is one, rather than at "Add...".
int imageListFocus(Page &page, int focus)
{
    ImageListEditor *images = ImageListEditor::of(page);
    const int empty = images ? images->firstEmptyEntry() : -1;
    if (empty < 0) return focus;
    images->selectEntry(empty);
    return ImageList;
}

bool run(Page &page, const Rule &rule)
{
    if (!applies(page, rule)) return true;
    if (rule.kind == Kind::Custom) return rule.custom(page);
    int focus = rule.focus == SameControl ? rule.control : rule.focus;
    if (rule.requiredFirst && page.text(rule.control).isEmpty()) {
        refuse(page, Str::FieldRequired, focus);
        return false;
    }
    if (passes(page, rule)) return true;
    if (rule.kind == Kind::ImagesAtLeast || rule.kind == Kind::ImagesExactly)
        focus = imageListFocus(page, focus);
    refuse(page, rule.messageId, focus, messageArguments(rule));
    return false;
}

} // namespace

// What leaving a page backward checks: only what would otherwise be lost.
static const std::map<int, std::vector<Rule>> &backwardRules()
{
    static const std::map<int, std::vector<Rule>> table = {
        {197, {custom(menuStorable)}},
        {133, {custom(scrollTextFitsCharset)}},
        {208, {custom(scrollTextFitsCharset)}},
    };
    return table;
}

bool PageValidation::canGoBack(Page &page)
{
    const auto own = backwardRules().find(page.pageId());
    if (own == backwardRules().end())
        return true;
    for (const Rule &rule : own->second) {
        if (!run(page, rule)) return false;
    }
    return true;
}

bool PageValidation::validate(Page &page)
{
    const auto &table = pageRules();
    const auto own = table.find(page.pageId());
    if (own != table.end()) {
        for (const Rule &rule : own->second) {
            if (!run(page, rule)) return false;
        }
    }
    for (const Rule &rule : commonRules()) {
        if (!run(page, rule)) return false;
    }
    return true;
}

} // namespace vexa
