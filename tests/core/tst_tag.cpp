#include "TestSupport.h"
#include "catalogue/Catalogue.h"
#include "tag/TagGenerator.h"
#include "tag/ValueText.h"

#include <QRegularExpression>
#include <QTest>

using namespace vexa;
using vexa::test::TestEnvironment;

namespace {

const QString kCreditA = QStringLiteral("Applet by Aldo Verri (https://www.vexajava.example/)");

QString param(const QString &name, const QString &value)
{
    return QStringLiteral("<param name=\"%1\" value=\"%2\">\r\n").arg(name, value);
}

// The tag as lines without their CR LF (the tests check the CR LF separately).
QStringList lines(const QString &tag)
{
    QStringList result = tag.split(QStringLiteral("\r\n"));
    result.removeLast(); // after the final CR LF
    return result;
}

QStringList paramNames(const QString &tag)
{
    QStringList names;
    const QString prefix = QStringLiteral("<param name=\"");
    for (const QString &line : lines(tag)) {
        if (line.startsWith(prefix))
            names << line.mid(prefix.size(), line.indexOf(QLatin1Char('"'), prefix.size()) - prefix.size());
    }
    return names;
}

QString paramValue(const QString &tag, const QString &name)
{
    const QString prefix = QStringLiteral("<param name=\"%1\" value=\"").arg(name);
    for (const QString &line : lines(tag)) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size(), line.size() - prefix.size() - 2);
    }
    return QStringLiteral("<absent>");
}

} // namespace

class TagTest : public QObject {
    Q_OBJECT

private:
    void set(TestEnvironment &env, const QString &applet, const QList<QPair<QString, QString>> &values)
    {
        for (const auto &[key, value] : values)
            env.store().write(applet, key, value);
    }
    QString tag(TestEnvironment &env, const QString &applet) { return TagGenerator(env.store()).generate(applet); }

private slots:
    void hueRotationExampleByteForByte()
    {
        TestEnvironment env;
        set(env, "HUEROT",
            {{"Width", "320"}, {"Height", "200"}, {"Res", "1"}, {"ImageFile", "pic.jpg"}, {"HueShift", "5"},
             {"Textscroll", "NO"}, {"RegLink", "NO"}, {"RegNewFrame", "NO"}});
        const QString expected = QStringLiteral("<applet archive=\"huerot.jar\" code=\"huerot.class\" width=\"320\" "
                                                "height=\"200\">\r\n") +
                                 param("credits", kCreditA) + param("res", "1") + param("image", "pic.jpg") +
                                 param("hueshift", "5") + param("overimg", "NO") + param("overimgX", "") +
                                 param("overimgY", "") + param("textscroll", "NO") + param("reglink", "NO") +
                                 param("regnewframe", "NO") + param("regframename", "") + param("statusmsg", "") +
                                 param("memdelay", "") + param("priority", "") + param("MinSYNC", "") +
                                 QStringLiteral("\r\n</applet>\r\n");
        QCOMPARE(tag(env, "HUEROT"), expected);
    }

    void everyAppletHasItsFrame()
    {
        TestEnvironment env;
        for (const AppletRecord &record : Catalogue::applets()) {
            const QString id = QString::fromLatin1(record.id);
            env.store().write(id, "NoJavaMsg", "<b>No Java</b> for " + id);
            const QString text = tag(env, id);
            QVERIFY2(text.endsWith("<b>No Java</b> for " + id + "\r\n</applet>\r\n"), qPrintable(id));
            QVERIFY(text.startsWith(QStringLiteral("<applet archive=\"%1\" code=\"%2\" width=\"")
                                        .arg(record.archive, record.classFile)));
            // Every line ends in CR LF and no bare line feed hides inside.
            QCOMPARE(text.count("\n"), text.count("\r\n"));
            QCOMPARE(paramNames(text).value(0), QStringLiteral("credits"));
            const QString credit = paramValue(text, "credits");
            QVERIFY(credit.startsWith("Applet by "));
            if (record.credit == Credit::C)
                QVERIFY(credit.contains("Vexa Team"));
            QCOMPARE(paramNames(text).contains("overimg"), id != "VEXAPAINT");
            QCOMPARE(paramNames(text).contains("priority"), id != "VEXAPAINT");
        }
    }

    void startLineSize()
    {
        TestEnvironment env;
        set(env, "FIRE", {{"Width", "999"}, {"Height", "999"}, {"FireWidth", "100"}, {"XRes", "2"},
                          {"FireHeight", " 40abc"}, {"YRes", "x"}});
        QVERIFY(tag(env, "FIRE").startsWith("<applet archive=\"fire.jar\" code=\"fire.class\" width=\"200\" "
                                             "height=\"0\">\r\n"));

        for (const QString applet : {"CUBEMENU", "WHEELMENU", "MORPHMENU", "TREEMENU"}) {
            set(env, applet, {{"Width", "300"}, {"Height", "120"}, {"FloatMode", "YES"}});
            QString text = tag(env, applet);
            QVERIFY2(text.contains(" width=\"1\" height=\"1\">\r\n"), qPrintable(applet));
            // The floating window keeps the real size.
            QCOMPARE(paramValue(text, "floatw"), QStringLiteral("300"));
            QCOMPARE(paramValue(text, "floath"), QStringLiteral("120"));
            env.store().write(applet, "FloatMode", "yes");
            QVERIFY(tag(env, applet).contains(" width=\"300\" height=\"120\">\r\n"));
        }
        // Only the menus float.
        set(env, "BLOBS", {{"Width", "64"}, {"Height", "32"}, {"FloatMode", "YES"}});
        QVERIFY(tag(env, "BLOBS").contains(" width=\"64\" height=\"32\">\r\n"));
    }

    void imageLists()
    {
        TestEnvironment env;
        set(env, "CFADE", {{"Image_1", "a.jpg"}, {"Link_1", "http://x/"}, {"StatusMsg_1", "first"},
                           {"Image_2", "b.jpg"}, {"Image_3", ""}, {"Image_4", "d.jpg"}});
        QStringList names = paramNames(tag(env, "CFADE"));
        const int res = names.indexOf("res");
        QCOMPARE(names.mid(res, 8), QStringList({"res", "image1", "link1", "statusmsg1", "image2", "link2",
                                                 "statusmsg2", "speed"}));
        QCOMPARE(paramValue(tag(env, "CFADE"), "link1"), QStringLiteral("http://x/"));
        QCOMPARE(paramValue(tag(env, "CFADE"), "link2"), QStringLiteral("NO"));
        QCOMPARE(paramValue(tag(env, "CFADE"), "statusmsg2"), QString());

        for (int n = 1; n <= 7; ++n) {
            env.store().write("CUBEMENU", QStringLiteral("Image_%1").arg(n), QStringLiteral("f%1.gif").arg(n));
            env.store().write("TMAPCUBE", QStringLiteral("Image_%1").arg(n), QStringLiteral("t%1.gif").arg(n));
        }
        QString cube = tag(env, "CUBEMENU");
        QCOMPARE(paramValue(cube, "image6"), QStringLiteral("f6.gif"));
        QCOMPARE(paramValue(cube, "image7"), QStringLiteral("<absent>"));
        QString tmap = tag(env, "TMAPCUBE");
        QCOMPARE(paramValue(tmap, "image6"), QStringLiteral("t6.gif"));
        QCOMPARE(paramValue(tmap, "image7"), QStringLiteral("<absent>"));
        QVERIFY(!paramNames(tmap).contains("link1"));
        QVERIFY(!paramNames(tmap).contains("statusmsg1"));

        set(env, "BOOKFLIP", {{"Image_1", "p.jpg"}, {"Flip_1", "OUT -> up-left"}, {"Image_2", "q.jpg"},
                              {"Flip_2", "sideways"}});
        QString book = tag(env, "BOOKFLIP");
        QCOMPARE(paramNames(book).mid(2, 8), QStringList({"image1", "link1", "statusmsg1", "flip1", "image2",
                                                          "link2", "statusmsg2", "flip2"}));
        QCOMPARE(paramValue(book, "flip1"), QStringLiteral("5"));
        QCOMPARE(paramValue(book, "flip2"), QStringLiteral("sideways"));
    }

    void listConversion_data()
    {
        QTest::addColumn<QString>("applet");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nation first") << "FLAG" << "FlagNation" << "Italy" << "nation" << "1";
        QTest::newRow("nation last") << "FLAG" << "FlagNation" << "Colombia" << "nation" << "34";
        QTest::newRow("nation apostrophe") << "FLAG" << "FlagNation" << "Peru'" << "nation" << "30";
        QTest::newRow("nation empty") << "FLAG" << "FlagNation" << "" << "nation" << "0";
        QTest::newRow("nation unknown") << "FLAG" << "FlagNation" << "Atlantis" << "nation" << "Atlantis";
        QTest::newRow("nation case") << "FLAG" << "FlagNation" << "italy" << "nation" << "italy";
        QTest::newRow("pattern") << "FLAGLOAD" << "FlagPattern" << "Triple dots dithered 2" << "pattern" << "8";
        QTest::newRow("voxel duplicate") << "VOXEL" << "NumPal" << "yellow" << "numpal" << "7";
        QTest::newRow("voxel last") << "VOXEL" << "NumPal" << "gray3" << "numpal" << "27";
        QTest::newRow("galaxy empty") << "GALAXY" << "Script" << "" << "script" << "";
        QTest::newRow("galaxy first") << "GALAXY" << "Script" << "Circular Galaxy" << "script" << "0";
        QTest::newRow("galaxy palette") << "GALAXY" << "GPalette" << "red->white" << "gpalette" << "5";
        QTest::newRow("rotation") << "ROT" << "RotMode" << "Automatic" << "rotmode" << "6";
        QTest::newRow("tunnel") << "TUNNEL" << "Movement" << "Back + anticlockwise rotation" << "movement" << "8";
        QTest::newRow("3d render") << "VEXA3D LIGHT" << "BackRender" << "Environment mapping" << "back_render"
                                   << "14";
        QTest::newRow("wheel font") << "WHEELMENU" << "Font" << "font1.class" << "font" << "1";
        QTest::newRow("tree scroll") << "TREEMENU" << "ScrollBar" << "16 pixels" << "scrollBarStyle" << "1";
    }

    void listConversion()
    {
        QFETCH(QString, applet);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, param);
        QFETCH(QString, expected);
        TestEnvironment env;
        env.store().write(applet, key, stored);
        QCOMPARE(paramValue(tag(env, applet), param), expected);
    }

    void colourAndNumberConversions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << "TextColor" << "0" << "textcolor" << "000000";
        QTest::newRow("red") << "TextColor" << "ff" << "textcolor" << "FF0000";
        QTest::newRow("mixed") << "TextColor" << "ff8040" << "textcolor" << "4080FF";
        QTest::newRow("0x and blanks") << "TextColor" << "  0x00FF00" << "textcolor" << "00FF00";
        QTest::newRow("stops at non-hex") << "TextColor" << "12zz" << "textcolor" << "120000";
        QTest::newRow("too large") << "TextColor" << "123456789abc" << "textcolor" << "FFFFFF";
        QTest::newRow("empty") << "TextColor" << "" << "textcolor" << "000000";
        QTest::newRow("div16") << "FireR" << "255" << "mmgalaxy_r" << "15";
        QTest::newRow("div16 text") << "FireR" << "abc" << "mmgalaxy_r" << "0";
        QTest::newRow("div16 negative") << "FireR" << "-32" << "mmgalaxy_r" << "4294967294";
        QTest::newRow("div16 towards zero") << "FireR" << "-17" << "mmgalaxy_r" << "4294967295";
    }

    void colourAndNumberConversions()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(QString, param);
        QFETCH(QString, expected);
        TestEnvironment env;
        env.store().write("MORPHMENU", "BackFx", "mmgalaxy");
        env.store().write("MORPHMENU", key, stored);
        QCOMPARE(paramValue(tag(env, "MORPHMENU"), param), expected);
    }

    void conditionalRows()
    {
        TestEnvironment env;
        set(env, "MORPHMENU", {{"BackFx", "mmgalaxy"}});
        QStringList names = paramNames(tag(env, "MORPHMENU"));
        QCOMPARE(names.filter("mmgalaxy_").size(), 8);
        QCOMPARE(names.filter("mmblobs_").size(), 0);
        QCOMPARE(names.indexOf("mmgalaxy_fx"), names.indexOf("back_fx") + 1);
        env.store().write("MORPHMENU", "BackFx", "mmblobs");
        names = paramNames(tag(env, "MORPHMENU"));
        QCOMPARE(names.filter("mmgalaxy_").size(), 0);
        QCOMPARE(names.filter("mmblobs_").size(), 9);
        env.store().write("MORPHMENU", "BackFx", "color");
        names = paramNames(tag(env, "MORPHMENU"));
        QCOMPARE(names.filter("mmgalaxy_").size() + names.filter("mmblobs_").size(), 0);

        set(env, "VEXA3D LIGHT", {{"Texture0", "a.gif"}, {"Texture2", "c.gif"}, {"MainType", "sheet"}});
        QString text = tag(env, "VEXA3D LIGHT");
        QVERIFY(text.startsWith("<applet archive=\"vexa3d.jar\" code=\"vexa3d.class\""));
        QCOMPARE(paramValue(text, "texture0"), QStringLiteral("a.gif"));
        QCOMPARE(paramValue(text, "texture1"), QStringLiteral("<absent>"));
        QCOMPARE(paramValue(text, "texture2"), QStringLiteral("c.gif"));
        QCOMPARE(paramValue(text, "main_type"), QStringLiteral("1"));
        QCOMPARE(paramNames(text).filter("sheet_").size(), 9);
        env.store().write("VEXA3D LIGHT", "MainType", "Sheet");
        QCOMPARE(paramNames(tag(env, "VEXA3D LIGHT")).filter("sheet_").size(), 0);
    }

    void commonBlocksPerApplet()
    {
        TestEnvironment env;
        env.store().write("TEXTSCROLLER", "Textscroll", "NO");
        QStringList names = paramNames(tag(env, "TEXTSCROLLER"));
        QVERIFY(names.contains("textscroll"));
        QVERIFY(!names.contains("texttype"));
        env.store().write("TEXTSCROLLER", "Textscroll", "txtscr.txt");
        names = paramNames(tag(env, "TEXTSCROLLER"));
        const int first = names.indexOf("textscroll");
        QCOMPARE(names.mid(first, 23).last(), QStringLiteral("TextSineAngle"));
        QCOMPARE(names.mid(first + 1, 22).size(), 22);
        QCOMPARE(names.value(first + 23), QStringLiteral("reglink"));
        // An empty switch counts as on.
        env.store().write("TEXTSCROLLER", "Textscroll", "");
        QVERIFY(paramNames(tag(env, "TEXTSCROLLER")).contains("texttype"));

        names = paramNames(tag(env, "SOLIDSCROLLER"));
        QCOMPARE(names.count("textscroll"), 1); // its own, not the common block
        QVERIFY(!names.contains("textminfont"));

        names = paramNames(tag(env, "BLUR"));
        QVERIFY(!names.contains("memdelay") && !names.contains("MinSYNC"));
        QVERIFY(names.contains("reglink") && names.contains("statusmsg") && names.contains("priority"));

        names = paramNames(tag(env, "CUBEMENU"));
        QVERIFY(names.contains("floatmode") && names.contains("floatinfront"));
        QVERIFY(!names.contains("reglink") && !names.contains("statusmsg"));
        QCOMPARE(names.mid(names.indexOf("priority"), 3), QStringList({"priority", "priorityL", "MinSYNC"}));
        QCOMPARE(paramValue(tag(env, "CUBEMENU"), "priorityL"), QStringLiteral("3"));

        QCOMPARE(paramNames(tag(env, "FIRE")).last(), QStringLiteral("fixnetscape"));
        QVERIFY(!paramNames(tag(env, "FLAG")).contains("fixnetscape"));

        set(env, "VEXAPAINT", {{"StartMessage", "Hello"}, {"NoJavaMsg", "No applets here"}});
        const QStringList paint = lines(tag(env, "VEXAPAINT"));
        QCOMPARE(paint.mid(paint.size() - 3),
                 QStringList({"<param name=\"startmsg\" value=\"Hello\">", "No applets here", "</applet>"}));
    }

    // Values go in as stored, but a double quote inside an attribute value becomes "&quot;",
    // so a browser reads every line as the attributes it is meant to be. The message for
    // browsers without Java holds markup and stays as typed.
    void valuesGoInAsStored()
    {
        TestEnvironment env;
        const QString odd = QStringLiteral("a \"quoted\" <b>, ; % \\ @x café &amp; \">");
        const QString escaped = QStringLiteral("a &quot;quoted&quot; <b>, ; % \\ @x café &amp; &quot;>");
        set(env, "BLOBS", {{"NBlobs", odd}, {"NoJavaMsg", "<a href=\"x.html\">Get Java</a>"}});
        const QString text = tag(env, "BLOBS");
        QVERIFY(text.contains(param("nblobs", escaped)));
        QVERIFY(text.endsWith("<a href=\"x.html\">Get Java</a>\r\n</applet>\r\n"));

        // Every kind of line: start line, applet rows, image lists, common blocks, menus.
        const QString click = QStringLiteral("Click \"here\"");
        const QString clickEscaped = QStringLiteral("Click &quot;here&quot;");
        set(env, "BLOBS", {{"Width", "2\"00"}, {"StatusMsg", click}, {"RegLink", "a\".html"}});
        set(env, "CFADE", {{"Image_1", "a.jpg"}, {"Link_1", "x\"y.html"}, {"StatusMsg_1", click}});
        set(env, "WHEELMENU", {{"MenuText_00", click}, {"MenuUrl_00", "u\".html"}, {"MenuLevel_00", "0"}});
        set(env, "TREEMENU", {{"Icon_0", "f.gif"}, {"MenuText_0", click}, {"MenuLevel_0", "0"},
                              {"MenuUrl_0", "index.html"}, {"MenuIcon_0", "0"}});
        const QRegularExpression startLine(
            QStringLiteral(R"(^<applet archive="[^"]*" code="[^"]*" width="[^"]*" height="[^"]*">$)"));
        const QRegularExpression paramLine(QStringLiteral(R"(^<param name="[^"]*" value="[^"]*">$)"));
        for (const char *applet : {"BLOBS", "CFADE", "WHEELMENU", "TREEMENU"}) {
            const QStringList all = lines(tag(env, applet));
            QVERIFY2(startLine.match(all.first()).hasMatch(), qPrintable(all.first()));
            for (const QString &line : all) {
                if (line.startsWith(QLatin1String("<param")))
                    QVERIFY2(paramLine.match(line).hasMatch(), qPrintable(line));
            }
        }
        const QString blobs = tag(env, "BLOBS");
        QVERIFY(blobs.contains(QStringLiteral(" width=\"2&quot;00\" ")));
        QCOMPARE(paramValue(blobs, "statusmsg"), clickEscaped);
        QCOMPARE(paramValue(tag(env, "CFADE"), "statusmsg1"), clickEscaped);
        QCOMPARE(paramValue(tag(env, "CFADE"), "link1"), QStringLiteral("x&quot;y.html"));
        QVERIFY(tag(env, "WHEELMENU").contains(clickEscaped));
        QVERIFY(tag(env, "TREEMENU").contains(QStringLiteral(",Click &quot;here&quot;,0,index.html\">")));
    }

    void integerReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "42" << 42;
        QTest::newRow("blanks and sign") << "  -7x" << -7;
        QTest::newRow("plus") << "+5" << 5;
        QTest::newRow("none") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign only") << "-" << 0;
        QTest::newRow("huge saturates") << "99999999999999999999" << 2147483647;
        QTest::newRow("huge negative") << "-99999999999999999999" << int(-2147483647 - 1);
    }

    void integerReading()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(ValueText::integer(text), value);
    }
};

QTEST_GUILESS_MAIN(TagTest)
#include "tst_tag.moc"
