// Walks every applet through the real wizard window with the bundled default values:
// on each page "&Default values", the flag controls as the case wants, Next; then
// Previous back to the selection page. Every page must accept its defaults, the
// walk must follow the page flow, and every page must show on the way back what
// it showed on the way there.

#include "WizardFixture.h"
#include "wizard/PageFlow.h"
#include "catalogue/Catalogue.h"
#include "controls/ColourSwatch.h"
#include "settings/InstallData.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using namespace vexa;
using vexa::test::WizardFixture;
using vexa::test::messagesText;

namespace {

constexpr int BackFx = 1505;

// Own pages of each applet in walk order (the morph menu's plug-in page is added by the case).
const QHash<QString, QList<int>> &ownPages()
{
    static const QHash<QString, QList<int>> pages = {
        {"BLUR", {131}},           {"BLOBS", {132}},
        {"BUMP", {136}},           {"CFADE", {137}},
        {"BOOKFLIP", {138}},       {"CUBEMENU", {141}},
        {"DEFORM", {142}},         {"FIRE", {143}},
        {"FLAG", {144}},           {"FLAGLOAD", {145}},
        {"FLOZOIDS", {146}},       {"FLUID", {147}},
        {"HUEROT", {148}},         {"IFSFRACT", {149}},
        {"LAKE", {150}},           {"LENS", {151}},
        {"LIFE2D", {152}},         {"MANDEL", {153}},
        {"PLASMA", {154}},         {"ROT", {156}},
        {"TMAPCUBE", {157}},       {"TUNNEL", {171}},
        {"TUNNEL3D", {172}},       {"VOXEL", {173}},
        {"WARP", {174}},           {"WATER", {175}},
        {"WORMHOLE", {176}},       {"GALAXY", {180}},
        {"MOSAIC", {181}},         {"VEXA3D LIGHT", {182, 183}},
        {"WHEELMENU", {197, 194}}, {"TREEMENU", {197, 201}},
        {"MORPHMENU", {197, 195}}, {"WOBBLER", {196}},
        {"TEXTSCROLLER", {198}},   {"VEXACAM", {202}},
        {"VEXAPAINT", {206}},      {"SOLIDSCROLLER", {207, 208}},
        {"SNOW", {209}},           {"FIREWORKS", {210}},
    };
    return pages;
}

// Applets whose walk passes the scroll text page while the scroll text is on.
const QStringList ScrollTextApplets = {
    "BLOBS",    "BUMP",    "DEFORM",   "FIRE",      "FLAG",         "FLAGLOAD", "FLOZOIDS",
    "FLUID",    "HUEROT",  "IFSFRACT", "LAKE",      "LIFE2D",       "PLASMA",   "ROT",
    "TMAPCUBE", "TUNNEL",  "TUNNEL3D", "VOXEL",     "WARP",         "WATER",    "WORMHOLE",
    "GALAXY",   "WOBBLER", "SNOW",     "FIREWORKS", "VEXA3D LIGHT", "CUBEMENU", "TEXTSCROLLER"};
const QStringList MenuApplets = {"CUBEMENU", "WHEELMENU", "MORPHMENU", "TREEMENU"};

QList<int> expectedWalk(const QString &applet, bool scroll, bool floatOn, const QString &plugIn)
{
    QList<int> walk{PageFlow::SelectionPage};
    walk += ownPages().value(applet);
    if (plugIn == QLatin1String("mmgalaxy"))
        walk << 199;
    else if (plugIn == QLatin1String("mmblobs"))
        walk << 200;
    if (floatOn && MenuApplets.contains(applet)) walk << PageFlow::FloatPage;
    // The text scroller's own page always turns the scroll text on.
    if (ScrollTextApplets.contains(applet) && (scroll || applet == QLatin1String("TEXTSCROLLER")))
        walk << PageFlow::ScrollTextPage;
    if (applet != QLatin1String("VEXAPAINT")) walk << PageFlow::ExpertPage;
    walk << PageFlow::LinkPage << PageFlow::CodePage;
    return walk;
}

// What a page shows: every control's value and whether it can be used, and the colours it holds.
QStringList snapshot(const Page &page)
{
    QStringList shown;
    const auto widgets = page.findChildren<QWidget *>(QRegularExpression(QStringLiteral("^c\\d+$")));
    for (QWidget *widget : widgets) {
        QString value;
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            value = edit->text();
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            value = combo->currentText() + QLatin1Char('/') + QString::number(combo->count());
        else if (auto *area = qobject_cast<QPlainTextEdit *>(widget))
            value = area->toPlainText();
        else if (auto *list = qobject_cast<QListWidget *>(widget))
            for (int row = 0; row < list->count(); ++row)
                value += list->item(row)->text() + QLatin1Char('|');
        else if (auto *tree = qobject_cast<QTreeWidget *>(widget))
            for (QTreeWidgetItemIterator it(tree); *it; ++it)
                value += (*it)->text(0) + QLatin1Char('|');
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            value = button->isCheckable() ? QString::number(button->isChecked()) : QString();
        else if (qobject_cast<ColourSwatch *>(widget))
            value = page.colour(widget->objectName().mid(1).toInt()).name();
        else
            continue;
        shown << QStringLiteral("%1=%2%3").arg(
            widget->objectName(), value, widget->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
    }
    shown.sort();
    return shown;
}

void click(Page &page, int id)
{
    auto *button = page.control<QAbstractButton>(id);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// The applet's folder with its scroll text and every file its defaults name, and the
// selection remembered on page 129. The applet's own section starts empty: every value
// the walk stores comes from "&Default values".
void prepare(WizardFixture &f, const QString &applet)
{
    SettingsStore &store = f.env.store();
    const QString defaults = applet + SettingsStore::DefaultSuffix;
    QVERIFY2(store.sectionExists(defaults), qPrintable(defaults));
    static const QRegularExpression fileName(QStringLiteral("^[\\w-]+\\.(gif|jpg|vxf)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    QStringList files;
    if (!Catalogue::scrollTextFile(applet).isEmpty()) files << Catalogue::scrollTextFile(applet);
    for (const QString &key : store.keys(defaults)) {
        const QString value = store.read(defaults, key);
        if (fileName.match(value).hasMatch() && !files.contains(value)) files << value;
    }
    const QString folder = f.env.makeAppletFolder(applet, files);
    // A scroll text as the installation ships it: lines ending in a line break.
    if (!Catalogue::scrollTextFile(applet).isEmpty())
        vexa::test::TestEnvironment::writeFile(folder + QLatin1Char('/') + Catalogue::scrollTextFile(applet),
                                               "Welcome to Vexa Java!\r\n");
    f.set(QString(), QStringLiteral("LastCateg"), QString::number(Catalogue::category(applet)));
    f.set(QString(), QStringLiteral("LastApplet"), applet);
}

// Sets the controls that decide the walk as the case wants, by clicking them like a user.
void setFlags(Page &page, bool scroll, bool floatOn, const QString &plugIn)
{
    if (page.isActive(Page::EnableScrollText) && page.isChecked(Page::EnableScrollText) != scroll)
        click(page, Page::EnableScrollText);
    if (page.isActive(Page::FloatMode) && page.isChecked(Page::FloatMode) != floatOn) click(page, Page::FloatMode);
    if (page.isActive(Page::EnableScrollText)) QCOMPARE(page.isChecked(Page::EnableScrollText), scroll);
    if (page.isActive(Page::FloatMode)) QCOMPARE(page.isChecked(Page::FloatMode), floatOn);
    if (auto *combo = page.control<QComboBox>(BackFx)) {
        const int index = combo->findText(plugIn.isEmpty() ? QStringLiteral("color") : plugIn);
        QVERIFY(index >= 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
}

} // namespace

class WalkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vexa::test::quietSizeHintNotes(); }

    void everyAppletWalksOnItsDefaults_data()
    {
        QTest::addColumn<QString>("applet");
        QTest::addColumn<bool>("scroll");
        QTest::addColumn<bool>("floatOn");
        QTest::addColumn<QString>("plugIn");
        QStringList covered;
        for (const AppletRecord &record : Catalogue::applets()) {
            const QString applet = QLatin1String(record.id);
            covered << applet;
            const bool scrollSwitch =
                ScrollTextApplets.contains(applet) && applet != QLatin1String("TEXTSCROLLER");
            const QList<bool> scrolls = scrollSwitch ? QList<bool>{true, false} : QList<bool>{true};
            const QList<bool> floats =
                MenuApplets.contains(applet) ? QList<bool>{false, true} : QList<bool>{false};
            const QStringList plugIns = applet == QLatin1String("MORPHMENU")
                                            ? QStringList{"color", "mmgalaxy", "mmblobs"}
                                            : QStringList{QString()};
            for (bool scroll : scrolls)
                for (bool floatOn : floats)
                    for (const QString &plugIn : plugIns) {
                        const QString name = QStringLiteral("%1 scroll=%2 float=%3 %4")
                                                 .arg(applet)
                                                 .arg(scroll)
                                                 .arg(floatOn)
                                                 .arg(plugIn);
                        QTest::newRow(qPrintable(name.trimmed())) << applet << scroll << floatOn << plugIn;
                    }
        }
        QCOMPARE(covered.size(), 40);
    }

    void everyAppletWalksOnItsDefaults()
    {
        QFETCH(QString, applet);
        QFETCH(bool, scroll);
        QFETCH(bool, floatOn);
        QFETCH(QString, plugIn);

        WizardFixture f(InstallData::defaultsFile());
        prepare(f, applet);
        if (QTest::currentTestFailed()) return;
        f.start();
        QCOMPARE(f.page()->text(1002), applet);

        // Forward: each page on its default values.
        QList<int> forward{PageFlow::SelectionPage};
        QHash<int, QStringList> shownGoingOn;
        f.next();
        for (int steps = 0; f.pageId() != PageFlow::CodePage && steps < 12; ++steps) {
            const int id = f.pageId();
            forward << id;
            QVERIFY2(f.window->button(WizardWindow::DefaultsButton)->isVisible(),
                     qPrintable(QString::number(id)));
            f.click(WizardWindow::DefaultsButton);
            setFlags(*f.page(), scroll, floatOn, plugIn);
            if (QTest::currentTestFailed()) return;
            shownGoingOn.insert(id, snapshot(*f.page()));
            f.next();
            QVERIFY2(f.services.messages.isEmpty(),
                     qPrintable(QStringLiteral("page %1: %2").arg(id).arg(messagesText(f.services))));
            QVERIFY2(f.pageId() != id, qPrintable(QStringLiteral("page %1 refused its defaults").arg(id)));
        }
        forward << f.pageId();
        QCOMPARE(forward, expectedWalk(applet, scroll, floatOn, plugIn));
        // The tag is made of the stored defaults.
        const QString tag = f.page()->text(1055);
        QVERIFY2(tag.contains(QStringLiteral("archive=\"%1\"").arg(Catalogue::archive(applet))),
                 qPrintable(tag));
        const QString width = f.env.store().read(applet, QStringLiteral("Width"));
        if (applet != QLatin1String("FIRE") && !(floatOn && MenuApplets.contains(applet)))
            QVERIFY2(!width.isEmpty() && tag.contains(QStringLiteral("width=\"%1\"").arg(width)),
                     qPrintable(tag));

        // Back: the same pages in reverse, each showing what it showed before.
        QList<int> backward{PageFlow::CodePage};
        for (int steps = 0; f.pageId() != PageFlow::SelectionPage && steps < 12; ++steps) {
            f.previous();
            const int id = f.pageId();
            backward << id;
            if (shownGoingOn.contains(id)) QCOMPARE(snapshot(*f.page()), shownGoingOn.value(id));
        }
        QList<int> reversed(forward.rbegin(), forward.rend());
        QCOMPARE(backward, reversed);
        QVERIFY2(f.services.messages.isEmpty(), qPrintable(messagesText(f.services)));
        QVERIFY(f.services.questions.isEmpty());
    }

    // The walk flags belong to the applet: a float window chosen for a menu never puts the
    // menu's float page into the next applet's walk.
    void anotherAppletsPagesNeverShow()
    {
        WizardFixture f(InstallData::defaultsFile());
        prepare(f, "BUMP");
        prepare(f, "WHEELMENU");
        f.start();
        f.walkTo(194);
        setFlags(*f.page(), true, true, QString());
        while (f.pageId() != PageFlow::SelectionPage) f.previous();
        for (const CategoryRecord &category : Catalogue::categories())
            if (category.number == Catalogue::category("BUMP")) click(*f.page(), category.radioId);
        auto *applets = f.control<QComboBox>(1002);
        applets->setCurrentIndex(applets->findText("BUMP"));
        QList<int> walk;
        for (f.next(); f.pageId() != PageFlow::CodePage; f.next()) walk << f.pageId();
        while (f.pageId() != PageFlow::SelectionPage) walk << (f.previous(), f.pageId());
        QCOMPARE(walk, (QList<int>{136, 133, 135, 155, 155, 135, 133, 136, 129}));
    }
};

QTEST_MAIN(WalkTest)
#include "tst_walk.moc"
