// The bundled default values: one tidy section per catalogue applet, holding the
// values its pages need to start from.

#include "TestSupport.h"
#include "catalogue/Catalogue.h"
#include "settings/DefaultSections.h"
#include "settings/IniText.h"
#include "settings/InstallData.h"
#include "tag/MenuKeys.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <functional>

using namespace vexa;
using vexa::test::TestEnvironment;

namespace {

QString sectionOf(const QString &applet)
{
    return applet + QStringLiteral("_DEF");
}

int numberOr(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

class DefaultsTest : public QObject {
    Q_OBJECT

private slots:
    void fileIsTidy()
    {
        QFile file(InstallData::defaultsFile());
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QList<IniSection> sections = IniText::parse(file.readAll());
        QSet<QString> expected;
        for (const AppletRecord &record : Catalogue::applets())
            expected.insert(sectionOf(QLatin1String(record.id)));
        QSet<QString> seen;
        for (const IniSection &section : sections) {
            QVERIFY2(expected.contains(section.name), qPrintable(section.name + " is no applet's"));
            QVERIFY2(!seen.contains(section.name), qPrintable(section.name + " twice"));
            seen.insert(section.name);
            QVERIFY2(section.malformed.isEmpty(),
                     qPrintable(section.name + ": " + section.malformed.join('|')));
            QSet<QString> keys;
            for (const auto &[key, value] : section.lines) {
                // Keys are looked up ignoring case: a second spelling would hide the first.
                QVERIFY2(!keys.contains(key.toLower()), qPrintable(section.name + ": " + key + " twice"));
                keys.insert(key.toLower());
            }
        }
        QCOMPARE(seen, expected);
    }

    void everyAppletHasItsStartValues_data()
    {
        QTest::addColumn<QString>("applet");
        for (const AppletRecord &record : Catalogue::applets())
            QTest::newRow(record.id) << QString::fromLatin1(record.id);
    }

    void everyAppletHasItsStartValues()
    {
        QFETCH(QString, applet);
        const DefaultSections defaults = DefaultSections::load(InstallData::defaultsFile());
        const QString section = sectionOf(applet);
        QVERIFY(defaults.hasSection(section));
        QVERIFY(!defaults.keys(section).isEmpty());
        auto value = [&](const char *key) { return defaults.value(section, QLatin1String(key)); };

        // The fire's size is its own size times its multiply factors.
        if (applet == QLatin1String("FIRE")) {
            QVERIFY(numberOr(value("FireWidth"), 0) * numberOr(value("XRes"), 0) > 0);
            QVERIFY(numberOr(value("FireHeight"), 0) * numberOr(value("YRes"), 0) > 0);
        } else {
            QVERIFY2(numberOr(value("Width"), 0) > 0, qPrintable(value("Width")));
            QVERIFY2(numberOr(value("Height"), 0) > 0, qPrintable(value("Height")));
        }
        if (applet == QLatin1String("VEXAPAINT")) {
            QVERIFY(numberOr(value("Width"), 0) >= 580);
            QVERIFY(numberOr(value("Height"), 0) >= 150);
        }
        if (applet == QLatin1String("WOBBLER")) {
            QCOMPARE(numberOr(value("Width"), 1) % 8, 0);
            QCOMPARE(numberOr(value("Height"), 1) % 8, 0);
        }

        const QString scrollText = Catalogue::scrollTextFile(applet);
        if (scrollText.isEmpty())
            QCOMPARE(value("Textscroll"), QStringLiteral("NO"));
        else
            QVERIFY2(value("Textscroll") == scrollText || value("Textscroll") == QLatin1String("NO"),
                     qPrintable(value("Textscroll")));
        if (applet != QLatin1String("VEXAPAINT")) // the paint applet has no expert page
            QVERIFY(!value("MemDelay").isEmpty());
        QVERIFY(!value("NoJavaMsg").isEmpty());
    }

    void imageListsHoldTheirPictures()
    {
        const DefaultSections defaults = DefaultSections::load(InstallData::defaultsFile());
        auto count = [&](const char *applet) {
            int n = 0;
            while (!defaults.value(sectionOf(QLatin1String(applet)), QStringLiteral("Image_%1").arg(n + 1))
                        .isEmpty())
                ++n;
            return n;
        };
        for (const char *slideShow : {"CFADE", "BOOKFLIP", "MOSAIC"})
            QVERIFY2(count(slideShow) >= 2, slideShow);
        QCOMPARE(count("CUBEMENU"), 6);
        QCOMPARE(count("TMAPCUBE"), 6);
    }

    // The menus are stored in the keys the menu readers follow: each gives a menu to start from.
    void menusReadBack()
    {
        TestEnvironment env(InstallData::defaultsFile());
        const SettingsStore &store = env.store();
        for (const QString &applet : {QStringLiteral("WHEELMENU"), QStringLiteral("MORPHMENU")}) {
            const MenuTree menu = MenuKeys::readMenuList(store, applet, sectionOf(applet));
            QVERIFY2(menu.itemCount() >= 2, qPrintable(applet));
            for (const MenuItem &item : menu.items)
                QVERIFY(item.record && !item.record->url.isEmpty());
        }
        // The wheel's texts obey its Text field: capitals and blanks.
        static const QRegularExpression wheelText(QRegularExpression::anchoredPattern(QStringLiteral("[A-Z ]+")));
        for (const MenuItem &item : MenuKeys::readMenuList(store, "WHEELMENU", sectionOf("WHEELMENU")).items)
            QVERIFY2(wheelText.match(item.text).hasMatch(), qPrintable(item.text));
        QStringList icons;
        const MenuTree tree = MenuKeys::readTree(store, icons, sectionOf(MenuKeys::TreeSection));
        QCOMPARE(tree.items.size(), 1);
        QVERIFY(tree.items.first().hasChildren());
        QVERIFY(!icons.isEmpty());
        // Every item shows an icon of the table; a folder has no link, as on its page.
        std::function<void(const QList<MenuItem> &)> check = [&](const QList<MenuItem> &items) {
            for (const MenuItem &item : items) {
                QVERIFY(item.record && item.record->icon >= 0 && item.record->icon < icons.size());
                QVERIFY(!item.hasChildren() || item.record->url.isEmpty());
                check(item.children);
            }
        };
        check(tree.items);
    }
};

QTEST_GUILESS_MAIN(DefaultsTest)
#include "tst_defaults.moc"
