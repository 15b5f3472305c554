#include "Effect.h"
#include "catalogue/Catalogue.h"
#include "tag/AppletBlocks.h"
#include "strings/StringTable.h"

#include <QSet>
#include <QTest>

using namespace vexa;

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    // Each of Vexa Java's own effects reads every parameter of its applet's block, under the
    // class name the catalogue gives the applet.
    void everyEffectReadsItsWholeBlock()
    {
        for (const vexa::effects::EffectInfo &info : vexa::effects::registry()) {
            QCOMPARE(Catalogue::classFile(info.appletId), QString(info.className));
            QSet<QString> read;
            for (const vexa::effects::ParamRow &row : info.params) read.insert(QString(row.name).toLower());
            for (const AppletBlock &block : appletBlocks()) {
                if (QLatin1String(block.appletId) != QLatin1String(info.appletId)) continue;
                for (const TagRow &row : block.rows)
                    if (row.param) QVERIFY2(read.contains(QString(row.param).toLower()), qPrintable(QString(info.appletId) + " " + row.param));
            }
        }
    }

    void everyAppletOnceInOneCategory()
    {
        QCOMPARE(int(Catalogue::applets().size()), 40);
        QSet<QString> ids;
        for (const AppletRecord &record : Catalogue::applets()) {
            ids.insert(QLatin1String(record.id));
            QVERIFY2(Catalogue::appletList(record.category).contains(QLatin1String(record.id)), record.id);
            QVERIFY2(!StringTable::text(record.description).isEmpty(), record.id);
            QCOMPARE(Catalogue::categoryRadioId(record.category),
                     Catalogue::categories()[std::size_t(record.category - 1)].radioId);
        }
        QCOMPARE(ids.size(), 40);
        int listed = 0;
        for (const CategoryRecord &category : Catalogue::categories())
            listed += category.applets.size();
        QCOMPARE(listed, 40);
        QCOMPARE(Catalogue::applets().front().id, "BLOBS");
        QCOMPARE(Catalogue::applets().back().id, "FIREWORKS");
    }

    void irregularNames()
    {
        QCOMPARE(Catalogue::folderName("MANDEL"), QStringLiteral("mandel2"));
        QCOMPARE(Catalogue::classFile("MANDEL"), QStringLiteral("mandel.class"));
        QCOMPARE(Catalogue::archive("MANDEL"), QStringLiteral("mandel.jar"));
        QCOMPARE(Catalogue::samplePage("ROT"), QStringLiteral("rota.html"));
        QCOMPARE(Catalogue::helpPage("ROT"), QStringLiteral("rot.html"));
        QCOMPARE(Catalogue::samplePage("FIREWORKS"), QStringLiteral("firewks.html"));
        QCOMPARE(Catalogue::helpPage("FIREWORKS"), QStringLiteral("fireworks.html"));
        QCOMPARE(Catalogue::scrollTextFile("SOLIDSCROLLER"), QStringLiteral("solidscr1.txt"));
        QCOMPARE(Catalogue::folderName("VEXA3D LIGHT"), QStringLiteral("vexa3d"));
        QCOMPARE(Catalogue::category("VEXA3D LIGHT"), 4);
        for (const char *id : {"LENS", "BLUR", "CFADE", "MANDEL", "BOOKFLIP", "MOSAIC", "WHEELMENU", "MORPHMENU",
                               "TREEMENU", "VEXACAM", "VEXAPAINT"})
            QVERIFY2(Catalogue::scrollTextFile(QLatin1String(id)).isEmpty(), id);
    }

    void lookupsCompareExactly()
    {
        QVERIFY(!Catalogue::contains("blobs"));
        QVERIFY(!Catalogue::contains("VEXA3D"));
        QCOMPARE(Catalogue::folderName("NOSUCH"), QStringLiteral("NOSUCH"));
        QCOMPARE(Catalogue::samplePage("NOSUCH"), QStringLiteral("NOSUCH"));
        QCOMPARE(Catalogue::scrollTextFile("NOSUCH"), QString());
        QCOMPARE(Catalogue::archive("NOSUCH"), QString());
        QCOMPARE(Catalogue::appletList(7), QStringList());
        QCOMPARE(Catalogue::appletList(1), QStringList({"BOOKFLIP", "MOSAIC", "CFADE"}));
    }

    void descriptionTexts()
    {
        QCOMPARE(StringTable::text(Catalogue::description("FLAG")).right(1), QStringLiteral("\n"));
        QVERIFY(StringTable::text(Catalogue::description("SOLIDSCROLLER"))
                    .contains("fonts.\nThe text can jump"));
        QVERIFY(StringTable::text(Catalogue::description("WOBBLER")).contains("any size. Due to"));
        QVERIFY(StringTable::text(Catalogue::description("WARP")).contains("a \"breathing image\" effect"));
        QCOMPARE(StringTable::text(1164), QStringLiteral("\"Error ! Field can't be null\""));
        QCOMPARE(StringTable::text(99999), QString());
    }
};

QTEST_APPLESS_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
