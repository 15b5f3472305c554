#include "PageFixture.h"
#include "TestSupport.h"
#include "editors/AppletFolderCopy.h"
#include "editors/DerivedFields.h"
#include "editors/EffectView.h"
#include "editors/Spinners.h"
#include "controls/ColourSwatch.h"
#include "pages/Page.h"
#include "controls/UpDown.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace vexa;
using vexa::test::PageFixture;
using vexa::test::ScriptedServices;
using vexa::test::gifHeader;
using vexa::test::TestEnvironment;

namespace {

void arrow(Page &page, int spinner, Qt::ArrowType direction)
{
    for (auto *button : page.control<UpDown>(spinner)->findChildren<QToolButton *>()) {
        if (button->arrowType() == direction) QTest::mouseClick(button, Qt::LeftButton);
    }
}

} // namespace

class HandlersTest : public QObject {
    Q_OBJECT

private slots:
    void copyIntoAppletFolder()
    {
        TestEnvironment env;
        RecordingReporter reporter;
        const QString folder = env.makeAppletFolder("BUMP", {"pic.gif"});
        const QString source = env.path("elsewhere/pic.gif");
        TestEnvironment::writeFile(source, "new picture");

        QVERIFY(AppletFolderCopy::copy(source, env.folders(), "BUMP", reporter));
        QCOMPARE(TestEnvironment::readFile(folder + "/pic.gif"), QByteArray("new picture"));
        // The same file, also reached through a link, is not copied onto itself.
        QVERIFY(AppletFolderCopy::copy(folder + "/pic.gif", env.folders(), "BUMP", reporter));
        QVERIFY(QFile::link(folder, env.path("linked")));
        QVERIFY(AppletFolderCopy::copy(env.path("linked/pic.gif"), env.folders(), "BUMP", reporter));
        QCOMPARE(TestEnvironment::readFile(folder + "/pic.gif"), QByteArray("new picture"));
        QVERIFY(reporter.messages.isEmpty());

        // A source that cannot be read: the message names it, the old file survives.
        QDir().mkpath(env.path("broken/pic.gif"));
        QVERIFY(!AppletFolderCopy::copy(env.path("broken/pic.gif"), env.folders(), "BUMP", reporter));
        QVERIFY(!AppletFolderCopy::copy(env.path("missing/pic.gif"), env.folders(), "BUMP", reporter));
        QCOMPARE(reporter.ids(), QList<int>({5002, 1311, 5002, 1311}));
        QVERIFY(reporter.messages[0].text.contains(QDir::toNativeSeparators(env.path("broken/pic.gif"))));
        QVERIFY(reporter.messages[2].text.contains("missing"));
        QCOMPARE(reporter.messages[1].icon, MessageIcon::Stop);
        QCOMPARE(TestEnvironment::readFile(folder + "/pic.gif"), QByteArray("new picture"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList({"pic.gif"}));
    }

    void mainAndAlternativeBumpPictures()
    {
        PageFixture f;
        f.env.store().write("BUMP", "Res", "2");
        f.open(136, "BUMP");
        f.pick("face.gif", gifHeader(100, 80));
        f.click(1082);
        QCOMPARE(f.services.filters.last(), StringTable::text(1681));
        QCOMPARE(f.text(1080), QStringLiteral("face.gif"));
        QCOMPARE(f.text(1019), QStringLiteral("200"));
        QCOMPARE(f.text(1020), QStringLiteral("160"));
        QCOMPARE(f.inFolder("face.gif"), gifHeader(100, 80));

        // The alternative must match the main picture, and the main picture the alternative.
        f.page->setChecked(1083, false);
        f.click(1083);
        f.pick("other.gif", gifHeader(64, 64));
        f.click(1084);
        QCOMPARE(f.services.messageIds(), QList<int>({1548}));
        QVERIFY(f.text(1081).isEmpty());
        f.pick("bump.gif", gifHeader(100, 80));
        f.click(1084);
        QCOMPARE(f.text(1081), QStringLiteral("bump.gif"));
        f.pick("small.gif", gifHeader(50, 40));
        f.click(1082);
        QCOMPARE(f.services.messageIds(), QList<int>({1548, 1548}));
        QCOMPARE(f.text(1080), QStringLiteral("face.gif"));
        QCOMPARE(f.text(1019), QStringLiteral("200"));

        // An unreadable picture, or one that cannot be copied, changes nothing.
        QDir().mkpath(f.picked + "/dir.gif");
        f.services.fileNames.enqueue(f.picked + "/dir.gif");
        f.click(1082);
        QDir().mkpath(f.folder + "/busy.gif"); // the copy cannot replace a folder
        f.pick("busy.gif", gifHeader(100, 80));
        f.click(1082);
        QCOMPARE(f.services.messageIds(), QList<int>({1548, 1548, 1688, 5007, 1311}));
        QCOMPARE(f.text(1080), QStringLiteral("face.gif"));
        QCOMPARE(f.text(1019), QStringLiteral("200"));

        // Cancel does nothing.
        f.click(1082);
        QCOMPARE(f.text(1080), QStringLiteral("face.gif"));
    }

    void lakeReflectionHeight()
    {
        PageFixture f;
        f.env.store().write("LAKE", "Res", "1");
        f.open(150, "LAKE");
        f.pick("lake.gif", gifHeader(100, 80));
        f.click(1082);
        QCOMPARE(f.text(1019), QStringLiteral("100"));
        QCOMPARE(f.text(1020), QStringLiteral("160"));
        f.click(1535);
        QCOMPARE(f.text(1020), QStringLiteral("120"));
        f.choose(1010, "3");
        f.page->runHandler(1535);
        QCOMPARE(f.text(1020), QStringLiteral("360"));
    }

    void effectPictureRules()
    {
        {
            PageFixture f; // ROT: powers of two only
            f.open(156, "ROT");
            f.pick("odd.gif", gifHeader(100, 64));
            f.click(1117);
            QCOMPARE(f.services.messageIds(), QList<int>({1555}));
            QVERIFY(f.text(1107).isEmpty());
            f.pick("even.gif", gifHeader(128, 64));
            f.click(1117);
            QCOMPARE(f.text(1107), QStringLiteral("even.gif"));
        }
        {
            PageFixture f; // WOBBLER: only slower, so taken; its size is its own
            f.open(196, "WOBBLER");
            f.page->setText(1019, "320");
            f.pick("odd.gif", gifHeader(100, 64));
            f.click(1117);
            QCOMPARE(f.services.messageIds(), QList<int>({1556}));
            QCOMPARE(f.services.messages.first().icon, MessageIcon::Exclamation);
            QCOMPARE(f.text(1107), QStringLiteral("odd.gif"));
            QCOMPARE(f.text(1019), QStringLiteral("320"));
        }
        {
            PageFixture f; // VOXEL: 256x256 into its landscape field
            f.open(173, "VOXEL");
            f.pick("small.gif", gifHeader(128, 128));
            f.click(1117);
            QCOMPARE(f.services.messageIds(), QList<int>({1557}));
            f.pick("land.gif", gifHeader(256, 256));
            f.click(1117);
            QCOMPARE(f.text(1332), QStringLiteral("land.gif"));
        }
        {
            PageFixture f; // TUNNEL: the texture size fields
            f.open(171, "TUNNEL");
            f.pick("wall.gif", gifHeader(64, 32));
            f.click(1117);
            QCOMPARE(f.text(1028), QStringLiteral("64"));
            QCOMPARE(f.text(1031), QStringLiteral("32"));
            QCOMPARE(f.text(1107), QStringLiteral("wall.gif"));
        }
    }

    void backgroundPictureSize()
    {
        PageFixture f;
        f.env.store().write("CUBEMENU", "Res", "2");
        f.open(141, "CUBEMENU");
        f.page->setText(1019, "200");
        f.page->setText(1020, "200");
        f.pick("back.gif", gifHeader(100, 100));
        f.click(1106);
        QVERIFY(f.services.messages.isEmpty());
        QCOMPARE(f.text(1105), QStringLiteral("back.gif"));
        f.pick("wide.gif", gifHeader(200, 100));
        f.click(1106);
        QCOMPARE(f.services.messageIds(), QList<int>({1554}));
        QCOMPARE(f.text(1105), QStringLiteral("back.gif"));

        PageFixture wheel; // the menu pages ignore the resolution
        wheel.open(194, "WHEELMENU");
        wheel.page->setText(1019, "200");
        wheel.page->setText(1020, "200");
        wheel.pick("back.gif", gifHeader(100, 100));
        wheel.click(1106);
        QCOMPARE(wheel.services.messageIds(), QList<int>({1553}));
        QVERIFY(wheel.text(1105).isEmpty());
        QVERIFY(!QFile::exists(wheel.folder + "/back.gif"));

        PageFixture snow; // SNOW takes the picture's size
        snow.open(209, "SNOW");
        snow.pick("sky.gif", gifHeader(320, 200));
        snow.click(1106);
        QCOMPARE(snow.text(1019), QStringLiteral("320"));
        QCOMPARE(snow.text(1020), QStringLiteral("200"));
    }

    void texturesAndSounds()
    {
        PageFixture f;
        f.open(182, "VEXA3D LIGHT");
        f.pick("flat.gif", gifHeader(64, 32));
        f.click(1368);
        QCOMPARE(f.services.filters.last(), StringTable::text(1682));
        f.pick("photo.png", QByteArray("\x89PNG\r\n\x1a\n0000000000000000"));
        f.click(1368);
        f.pick("photo.jpg", QByteArray::fromHex("FFD8FFC0000B080080008003012200"));
        f.click(1368);
        QCOMPARE(f.services.messageIds(), QList<int>({1560, 1559, 1559}));
        QCOMPARE(f.services.messages.first().icon, MessageIcon::Stop);
        QVERIFY(f.text(1367).isEmpty());
        f.pick("tex.gif", gifHeader(128, 128));
        f.click(1368);
        QCOMPARE(f.text(1367), QStringLiteral("tex.gif"));
        f.click(1375); // "Texture 1" enables its own "..."
        f.pick("tex1.gif", gifHeader(64, 64));
        f.click(1366);
        QCOMPARE(f.text(1365), QStringLiteral("tex1.gif"));

        PageFixture fireworks;
        fireworks.open(210, "FIREWORKS");
        fireworks.pick("bang.au", "sound");
        fireworks.click(4049);
        QCOMPARE(fireworks.services.filters.last(), StringTable::text(4059));
        QCOMPARE(fireworks.text(4048), QStringLiteral("bang.au"));
        QCOMPARE(fireworks.inFolder("bang.au"), QByteArray("sound"));
    }

    void colourButtonsSetSwatchAndStore()
    {
        PageFixture f;
        f.env.store().write("CUBEMENU", "BackColorR", "1");
        f.open(141, "CUBEMENU");
        f.services.colours.enqueue(QColor(10, 20, 30));
        f.click(1103);
        QCOMPARE(f.services.colourRequests.first(), QColor(1, 0, 0));
        QCOMPARE(f.page->control<ColourSwatch>(1424)->colour(), QColor(10, 20, 30));
        f.click(1103); // cancelled: the colour stays
        QCOMPARE(f.page->colour(1424), QColor(10, 20, 30));
        f.page->store();
        QCOMPARE(f.env.store().read("CUBEMENU", "BackColorG"), QStringLiteral("20"));
        QCOMPARE(f.env.store().read("CUBEMENU", "BackColorB"), QStringLiteral("30"));

        PageFixture wheel; // one RGB value, red in the low byte; a shaded wheel has colours
        wheel.env.store().write("WHEELMENU", "Mode", "gouraud");
        wheel.open(194, "WHEELMENU");
        wheel.services.colours.enqueue(QColor(0x12, 0x34, 0x56));
        wheel.click(1500);
        wheel.page->store();
        QCOMPARE(wheel.env.store().read("WHEELMENU", "WheelColor"), QStringLiteral("563412"));
    }

    // Fields named by a bare number are named with their group; labels the page fills in
    // later are read by their text.
    void screenReaderNames()
    {
        PageFixture wobbler;
        wobbler.open(196, "WOBBLER");
        QStringList speeds;
        for (int id : {1462, 1463, 1464, 1465})
            speeds << wobbler.page->control(id)->accessibleName();
        QCOMPARE(speeds, (QStringList{"Speeds 1", "Speeds 2", "Speeds 3", "Speeds 4"}));
        PageFixture tree;
        tree.open(197, "TREEMENU");
        QVERIFY(tree.page->control(1537)->accessibleName() != QStringLiteral("Target"));
        QVERIFY(tree.page->control(1538)->accessibleName() != QStringLiteral("Target"));
    }

    // The live preview draws the fields as they are: a colour intensity set to 0 leaves
    // that colour out of the running fire without waiting for Next.
    void livePreviewFollowsTheFields()
    {
        PageFixture f;
        f.open(143, "FIRE", [&f] {
            for (const auto &[key, value] : {std::pair{"Width", "160"}, {"Height", "100"}, {"FireWidth", "80"},
                                             {"FireHeight", "50"}, {"XRes", "2"}, {"YRes", "2"}, {"PalG", "3"}})
                f.env.store().write("FIRE", key, value);
        });
        auto *preview = f.page->findChild<EffectView *>();
        QVERIFY(preview);
        const auto greenShows = [preview] {
            const QImage picture = preview->picture();
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x)
                    if (qGreen(picture.pixel(x, y)) > 0) return true;
            return false;
        };
        QTRY_VERIFY(greenShows());
        f.choose(1129, "0");
        QTRY_VERIFY(!greenShows() && preview->frameNumber() > 0);
        QVERIFY(f.stored("PalG") == "3"); // nothing was stored
    }

    void presets()
    {
        // The Netscape fix is the applet's to choose where its tag carries it, and a preset
        // never changes it where the box is greyed out.
        PageFixture f;
        f.open(135, "GALAXY");
        QVERIFY(f.page->isActive(1060));
        f.click(1062);
        QCOMPARE(f.text(1057), QStringLiteral("15"));
        QVERIFY(f.page->isChecked(1060));
        f.click(1063);
        f.click(1064);
        QCOMPARE(QStringList({f.text(1057), f.text(1058), f.text(1059)}), QStringList({"1000", "3", "10"}));
        QVERIFY(!f.page->isChecked(1060));
        PageFixture bump;
        bump.open(135, "BUMP");
        QVERIFY(!bump.page->isActive(1060));
        const bool before = bump.page->isChecked(1060);
        bump.click(1062);
        QCOMPARE(bump.page->isChecked(1060), before);
        // BLUR's tag has no memory delay and no minimum sync: their fields are greyed out too.
        PageFixture blur;
        blur.open(135, "BLUR");
        QVERIFY(!blur.page->isActive(1057) && blur.page->isActive(1058) && !blur.page->isActive(1059));
        const QString delay = blur.text(1057);
        blur.click(1063);
        QCOMPARE(blur.text(1057), delay);
        QCOMPARE(blur.text(1058), QStringLiteral("6"));

        PageFixture w;
        w.open(196, "WOBBLER");
        w.click(1483);
        w.click(1471); // "stars"
        QCOMPARE(QStringList({w.text(1456), w.text(1463), w.text(1466), w.text(1475)}),
                 QStringList({"80.0", "100000", "200", "100"}));
        w.click(1474); // "metal"
        QCOMPARE(QStringList({w.text(1468), w.text(1462), w.text(1476)}),
                 QStringList({"4000.0", "5.8", "0"}));
    }

    void spinnersStayInBounds()
    {
        PageFixture f;
        f.open(135, "BUMP");
        f.page->setText(1059, "998");
        arrow(*f.page, 1061, Qt::UpArrow);
        QCOMPARE(f.text(1059), QStringLiteral("998"));
        f.page->setText(1059, "995");
        arrow(*f.page, 1061, Qt::UpArrow);
        QCOMPARE(f.text(1059), QStringLiteral("999"));
        f.page->setText(1059, "3");
        arrow(*f.page, 1061, Qt::DownArrow);
        QCOMPARE(f.text(1059), QStringLiteral("3"));
        f.page->setText(1059, "4");
        arrow(*f.page, 1061, Qt::DownArrow);
        QCOMPARE(f.text(1059), QStringLiteral("0"));

        QCOMPARE(Spinners::step(5, -5, 1, 200), 5); // "Wave speed" must stay above 0
        QCOMPARE(Spinners::step(10000, 50, 1, 10000), 10000);
        QCOMPARE(Spinners::step(2000, -4, 0, 999), 1996); // the down arrow brings it back in
    }

    void fireSizeFollowsFactorsAndSpinners()
    {
        PageFixture f;
        f.open(143, "FIRE");
        f.page->setText(1118, "80");
        f.page->setText(1119, "50");
        f.choose(1120, "2");
        f.choose(1121, "3");
        QCOMPARE(f.text(1019), QStringLiteral("160"));
        QCOMPARE(f.text(1020), QStringLiteral("150"));
        arrow(*f.page, 1132, Qt::UpArrow);
        QCOMPARE(f.text(1118), QStringLiteral("81"));
        QCOMPARE(f.text(1019), QStringLiteral("162"));
        f.page->setText(1119, "1");
        arrow(*f.page, 1133, Qt::DownArrow);
        QCOMPARE(f.text(1119), QStringLiteral("1"));
        QCOMPARE(f.text(1020), QStringLiteral("3"));
    }

    void wobblerSizeRoundsWhenLeft()
    {
        PageFixture f;
        f.open(196, "WOBBLER");
        auto *width = f.page->control<QLineEdit>(1019);
        auto *height = f.page->control<QLineEdit>(1020);
        QVERIFY(QTest::qWaitForWindowActive(f.page.get()));
        const QList<QPair<QString, QString>> cases = {
            {"13", "16"}, {"12", "16"}, {"11", "8"}, {"15", "16"}, {"16", "16"}, {"3", "8"}, {"x", "x"}};
        for (const auto &[typed, shown] : cases) {
            width->setFocus();
            width->setText(typed);
            height->setFocus();
            QCOMPARE(f.text(1019), shown);
        }
        height->setText("-12");
        width->setFocus();
        QCOMPARE(f.text(1020), QStringLiteral("-16"));
        QCOMPARE(DerivedFields::roundToEight(2147483647), 2147483640);
    }

    void dependentControls()
    {
        PageFixture text;
        text.open(133, "BUMP");
        text.page->setText(1033, "0");
        QVERIFY(!text.page->control(1039)->isEnabled() && !text.page->control(1037)->isEnabled());
        text.page->setText(1033, "5");
        QVERIFY(text.page->control(1039)->isEnabled() && text.page->control(1037)->isEnabled());
        text.page->setText(1042, "0");
        QVERIFY(!text.page->control(1027)->isEnabled());

        PageFixture scene;
        scene.open(182, "VEXA3D LIGHT");
        scene.choose(1384, "black");
        scene.page->setChecked(1383, true);
        scene.choose(1384, "colour");
        QVERIFY(scene.page->isActive(1103));
        QVERIFY(!scene.page->isActive(1383) && !scene.page->isChecked(1383));
        QVERIFY(!scene.page->isActive(1385) && !scene.page->isActive(1387));
        scene.choose(1384, "sphere");
        QVERIFY(!scene.page->isActive(1103) && scene.page->isActive(1387));
        scene.click(1417);
        QCOMPARE(scene.services.notices.size(), 1);
        QCOMPARE(scene.services.notices[0].title, StringTable::text(1642));
        QCOMPARE(scene.services.notices[0].message, StringTable::text(1640));
        QCOMPARE(scene.services.notices[0].linkText, StringTable::text(1641));
        QCOMPARE(scene.services.notices[0].linkKeyword, QStringLiteral("VEXA3D LIGHT"));

        PageFixture solid;
        solid.open(207, "SOLIDSCROLLER");
        solid.choose(4021, "disabled");
        QVERIFY(!solid.page->isActive(4022));
        solid.choose(4021, "perspective");
        QVERIFY(solid.page->isActive(4022));

        PageFixture menu; // the character set list
        menu.open(195, "MORPHMENU");
        menu.page->setText(4068, "koi8-r");
        menu.choose(4069, "Other...");
        QVERIFY(menu.page->isActive(4068));
        QCOMPARE(menu.text(4068), QStringLiteral("koi8-r"));
        menu.choose(4069, "Greek (ISO)");
        QCOMPARE(menu.text(4068), QStringLiteral("iso-8859-7"));
        QVERIFY(!menu.page->isActive(4068));

        PageFixture water;
        water.open(175, "WATER");
        water.page->setChecked(1327, false);
        water.click(1327);
        water.page->setText(1330, "12");
        water.click(1327);
        for (int id : {1328, 1329, 1330, 1331})
            QCOMPARE(water.text(id), QStringLiteral("0"));
    }
};

QTEST_MAIN(HandlersTest)
#include "tst_handlers.moc"
