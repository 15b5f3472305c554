#include "Addresses.h"
#include "PageFixture.h"
#include "TestSupport.h"
#include "editors/InstalledFonts.h"
#include "editors/ScrollTextControls.h"
#include "editors/ScrollTextPreview.h"
#include "pages/Page.h"
#include "publish/ProjectFile.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <QTest>

#include <memory>

using namespace vexa;
using vexa::test::PageFixture;
using vexa::test::ScriptedServices;
using vexa::test::TestEnvironment;

namespace {

// A page of the scroll text and its fonts.
struct TextPageFixture : PageFixture {
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = env.path("picked/" + name);
        TestEnvironment::writeFile(path, bytes);
        return path;
    }
    QStringList fonts(int id) const
    {
        QStringList items;
        auto *combo = page->control<QComboBox>(id);
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }
};

// What the font database reports: one family from two foundries, one from its only
// foundry, plain names, and an empty name that ends the list.
const QStringList ReportedFonts = {"C059 [UKWN]", "Nimbus Sans [URW ]", "C059 [urw]", "DejaVu Sans",
                                   "Cantarell", "Nimbus Sans [UKWN]", "", "Never Listed"};

QStringList systemFonts() { return {"C059", "Nimbus Sans", "DejaVu Sans", "Cantarell"}; }

bool hasColour(const QImage &image, const QColor &colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) return true;
        }
    }
    return false;
}

const QStringList JavaFonts = {"Courier", "Dialog", "TimesRoman", "Helvetica"};

} // namespace

class HandlersTextTest : public QObject {
    Q_OBJECT

private slots:
    // The scroll text must fit the page's character set: typed "€" on a Latin-1 page is
    // refused by name when the page is left, backwards too (the text would be lost).
    void scrollTextOutsideTheCharsetIsRefused()
    {
        TextPageFixture f;
        f.open(133, "BUMP");
        auto *area = f.page->control<QPlainTextEdit>(1013);
        area->setFocus();
        QTest::keyClicks(area, QStringLiteral("10 "));
        QTest::sendKeyEvent(QTest::Click, area, Qt::Key_unknown, QStringLiteral("€"), Qt::NoModifier);
        QCOMPARE(area->toPlainText(), QStringLiteral("10 €"));
        QVERIFY(!f.page->canGoBack());
        QCOMPARE(f.services.messageIds(), QList<int>{Str::ScrollTextOutsideCharset});
    }

    // Another character set carries the scroll text file along: the file is written again in
    // the new set, or the page is refused, naming the letter the set lacks.
    void characterSetCarriesTheScrollText_data()
    {
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("utf-8") << "utf-8" << QByteArray("Caf\xc3\xa9\r\n");
        QTest::newRow("lacks the letter") << "windows-1251" << QByteArray("Caf\xe9\r\n");
    }

    void characterSetCarriesTheScrollText()
    {
        QFETCH(QString, charset);
        QFETCH(QByteArray, file);
        TextPageFixture f;
        f.open(198, "TEXTSCROLLER", [&f] {
            f.env.store().write("TEXTSCROLLER", "CharSet", "iso-8859-1");
            f.env.store().write("TEXTSCROLLER", "BackImage", "NO");
            TestEnvironment::writeFile(f.folder + "/txtscr.txt", "Caf\xe9\r\n");
        });
        f.type(1019, "300");
        f.type(1020, "40");
        f.choose(4069, "Other...");
        f.type(4068, charset);
        const bool accepted = f.page->validate();
        QCOMPARE(accepted, file.startsWith("Caf\xc3"));
        if (accepted) f.page->store();
        QCOMPARE(f.inFolder("txtscr.txt"), file);
        QCOMPARE(f.services.messageIds(), accepted ? QList<int>{} : QList<int>{Str::ScrollTextOutsideCharset});
    }

    // A stored value longer than its field takes (edited outside the program) is said when
    // the page opens; the code page shows a tag with such a line unwrapped, at once.
    void overlongStoredValuesAreSaid()
    {
        TextPageFixture f;
        const QString huge(1000000, QLatin1Char('x'));
        f.env.store().write("BLOBS", "NoJavaMsg", huge);
        f.context = std::make_unique<PageContext>(PageContext{f.env.store(), f.env.folders(), f.services, "BLOBS", {}});
        f.page = std::make_unique<Page>(135, *f.context);
        f.page->load(false);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::StoredValueCut});
        QVERIFY(f.services.messages.first().text.contains("(511 of 1000000 characters kept)"));
        QCOMPARE(f.page->text(1143), huge.left(ProjectFile::MaxValueLength));

        Page code(134, *f.context);
        code.load(false);
        QCOMPARE(code.control<QPlainTextEdit>(1055)->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(code.text(1055).contains(huge));
        f.page->store();
        Page again(134, *f.context);
        again.load(false);
        QCOMPARE(again.control<QPlainTextEdit>(1055)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    }

    // A paste takes text only, and nothing when the clipboard holds nothing or data in no
    // format (no program owns it): the scroll text, a single-line field, the code page.
    void pasteTakesTextOnly_data()
    {
        QTest::addColumn<int>("pageId");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("holds");
        QTest::addColumn<QString>("expected");
        // Figures, as the single-line field takes nothing else.
        for (const auto &[page, field, pasted] : {std::tuple{133, 1013, "1234"}, std::tuple{133, 1021, "1234"},
                                                  std::tuple{134, 1055, "12"}}) {
            const QString name = QStringLiteral("page %1, field %2, ").arg(page).arg(field);
            QTest::newRow(qPrintable(name + "nothing")) << page << field << "nothing" << "12";
            QTest::newRow(qPrintable(name + "no owner")) << page << field << "no owner" << "12";
            QTest::newRow(qPrintable(name + "a picture")) << page << field << "picture" << "12";
            QTest::newRow(qPrintable(name + "text")) << page << field << "text" << pasted;
        }
    }
    void pasteTakesTextOnly()
    {
        QFETCH(int, pageId);
        QFETCH(int, field);
        QFETCH(QString, holds);
        QFETCH(QString, expected);
        TextPageFixture f;
        f.open(pageId, "BUMP");
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (holds == QLatin1String("nothing"))
            clipboard->clear();
        else if (holds == QLatin1String("no owner"))
            clipboard->setMimeData(new QMimeData); // data in no format, as X11 gives then
        else if (holds == QLatin1String("picture"))
            clipboard->setImage(QImage(4, 4, QImage::Format_RGB32));
        else
            clipboard->setText(QStringLiteral("34"));
        f.page->setText(field, QStringLiteral("12"));
        QWidget *widget = f.page->control(field);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_End);
        QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.page->text(field), expected);
    }

    void textFromFile()
    {
        TextPageFixture f;
        f.open(133, "BUMP");
        f.pick("two.txt", "first line\r\nsecond line\r\n");
        f.click(1015);
        QCOMPARE(f.services.filters.last(), StringTable::text(1680));
        const QStringList lines = f.page->text(1013).split('\n');
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines[0].trimmed(), QStringLiteral("first line"));
        QCOMPARE(lines[1].trimmed(), QStringLiteral("second line"));
        QCOMPARE(ScrollTextPreview::previewText("first line\r\nsecond line"),
                 QStringLiteral("first line  second line"));

        // Old files in Latin-1; a file that cannot be read leaves the text.
        f.pick("old.txt", "caf\xe9");
        f.click(1015);
        QCOMPARE(f.page->text(1013), QStringLiteral("caf\u00e9"));
        QDir().mkpath(f.env.path("picked/folder.txt"));
        f.services.fileNames.enqueue(f.env.path("picked/folder.txt"));
        f.click(1015);
        f.services.fileNames.enqueue(f.env.path("picked/missing.txt"));
        f.click(1015);
        QCOMPARE(f.services.messageIds(), QList<int>({1685, 1685}));
        QCOMPARE(f.services.messages.first().icon, MessageIcon::Exclamation);
        QCOMPARE(f.page->text(1013), QStringLiteral("caf\u00e9"));

        // The solid scroller's text page has the same button.
        TextPageFixture solid;
        solid.open(208, "SOLIDSCROLLER");
        solid.pick("s.txt", QByteArray("text\0ignored", 12));
        solid.click(1015);
        QCOMPARE(solid.page->text(1013), QStringLiteral("text"));

        QString text;
        const QString huge = f.env.path("huge.txt");
        TestEnvironment::writeFile(huge, QByteArray(200000, 'x'));
        QVERIFY(ScrollTextControls::readTextFile(huge, &text));
        QCOMPARE(text.size(), 32766);
    }

    void previewDrawsTextAndShadow()
    {
        TextPageFixture f;
        f.open(133, "BUMP");
        auto *frame = f.page->control(1065);
        frame->resize(300, 80);
        f.page->setText(1013, "MMMM\r\nMM");
        f.page->setColour(1017, QColor(255, 0, 0));
        f.page->setColour(1018, QColor(0, 0, 255));
        f.page->setChecked(1053, true);
        QCOMPARE(ScrollTextPreview::previewFont(*f.page).weight(), QFont::Bold);
        QCOMPARE(ScrollTextPreview::previewFont(*f.page).pixelSize(), f.page->text(1054).toInt());

        f.page->setChecked(1016, true);
        QImage shot = frame->grab().toImage();
        QVERIFY(hasColour(shot, QColor(255, 0, 0)));
        QVERIFY(hasColour(shot, QColor(0, 0, 255)));
        f.page->setChecked(1016, false);
        shot = frame->grab().toImage();
        QVERIFY(hasColour(shot, QColor(255, 0, 0)));
        QVERIFY(!hasColour(shot, QColor(0, 0, 255)));
        // The colour buttons change what the preview draws.
        f.services.colours.enqueue(QColor(0, 160, 0));
        f.click(1017);
        QCOMPARE(f.page->colour(1017), QColor(0, 160, 0));
        QVERIFY(hasColour(frame->grab().toImage(), QColor(0, 160, 0)));
        // Light text stands on black, dark text on white.
        f.page->setColour(1017, QColor(255, 255, 255));
        frame->update();
        QVERIFY(hasColour(frame->grab().toImage(), QColor(0, 0, 0)));
    }

    void standardFonts()
    {
        InstalledFonts::setSource([] { return ReportedFonts; });
        TextPageFixture f;
        f.env.store().write("BUMP", "TextStdFont", "YES");
        f.open(133, "BUMP");
        QCOMPARE(f.fonts(1050), JavaFonts);
        QCOMPARE(f.page->text(1050), QStringLiteral("Courier"));

        f.page->control<QComboBox>(1050)->setCurrentText("Helvetica");
        f.services.answers.enqueue(false); // declined: still standard, the choice kept
        f.click(1340);
        QCOMPARE(f.services.questions.size(), 1);
        QCOMPARE(f.services.questions[0].id, 1558);
        QVERIFY(f.page->isChecked(1340));
        QCOMPARE(f.fonts(1050), JavaFonts);
        QCOMPARE(f.page->text(1050), QStringLiteral("Helvetica"));

        // The keyboard's Space acts like the mouse.
        f.services.answers.enqueue(true);
        f.page->control(1340)->setFocus();
        QTest::keyClick(f.page->control(1340), Qt::Key_Space);
        QVERIFY(!f.page->isChecked(1340));
        QCOMPARE(f.fonts(1050), systemFonts());
        QCOMPARE(f.page->text(1050), QStringLiteral("C059"));
        // The plain family is what the tag names.
        f.page->store();
        QCOMPARE(f.env.store().read("BUMP", "TextFont"), QStringLiteral("C059"));
        f.click(1340);
        QCOMPARE(f.fonts(1050), JavaFonts);
        QCOMPARE(f.services.questions.size(), 2);

        // Loading a page that uses the system's fonts asks nothing.
        TextPageFixture menu;
        menu.env.store().write("MORPHMENU", "TextStdFont", "NO");
        menu.open(195, "MORPHMENU");
        QVERIFY(menu.services.questions.isEmpty());
        QCOMPARE(menu.fonts(1516), systemFonts());
        InstalledFonts::setSource([] { return QFontDatabase::families(); });
    }

    void browseVexaFont()
    {
        TextPageFixture f;
        f.open(208, "SOLIDSCROLLER");
        f.write("my.font.gif", "glyphs"); // only "my.gif" belongs to "my.font.vxf"
        f.pick("my.font.vxf", "MyFont\n8\n16\n0\nABC\n");
        f.click(4024);
        QCOMPARE(f.services.filters.last(), StringTable::text(4033));
        QCOMPARE(f.services.messageIds(), QList<int>({5002, 1311}));
        QVERIFY(f.services.messages[0].text.contains("my.gif"));
        QVERIFY(!QFile::exists(f.folder + "/my.font.vxf"));
        QVERIFY(f.page->text(4023).isEmpty());

        f.services.messages.clear();
        f.write("my.gif", "glyphs");
        f.pick("my.font.vxf", "MyFont\n8\n16\n0\nABC\n"); // five lines, spacing 0
        f.click(4024);
        QVERIFY(f.services.messages.isEmpty());
        QCOMPARE(f.page->text(4023), QStringLiteral("my.font.vxf"));
        QCOMPARE(TestEnvironment::readFile(f.folder + "/my.gif"), QByteArray("glyphs"));
        QVERIFY(QFile::exists(f.folder + "/my.font.vxf"));
        QCOMPARE(
            QStringList({f.page->text(4027), f.page->text(4028), f.page->text(4029), f.page->text(4030)}),
            QStringList({"8", "16", "0", "ABC"}));
        QVERIFY(f.page->text(4031).trimmed().isEmpty());

        // Width 0: refused, the current font and its properties stay.
        f.write("bad.gif", "glyphs");
        f.pick("bad.vxf", "Bad\n0\n16\n0\nABC\n");
        f.click(4024);
        QCOMPARE(f.services.messageIds(), QList<int>({4034}));
        QCOMPARE(f.services.messages[0].icon, MessageIcon::Stop);
        QCOMPARE(f.page->text(4023), QStringLiteral("my.font.vxf"));
        QCOMPARE(f.page->text(4027), QStringLiteral("8"));
        QVERIFY(!QFile::exists(f.folder + "/bad.vxf"));

        f.click(4037);
        QCOMPARE(f.services.opened, QStringList({Addresses::fontCollection()}));
        f.services.browserStarts = false;
        f.click(4037);
        QCOMPARE(f.services.messageIds(), QList<int>({4034, 1542}));
    }

    // A font the page names but the applet folder lacks is said, not shown as blank properties.
    void missingVexaFontIsSaid()
    {
        TextPageFixture f;
        f.open(208, "SOLIDSCROLLER", [&f] { f.env.store().write("SOLIDSCROLLER", "FontIndex", "gone.vxf"); });
        QVERIFY2(f.status.contains("\"gone.vxf\" is not in the applet folder"), qPrintable(f.status));
        QVERIFY(f.page->text(4027).isEmpty());
    }
};

QTEST_MAIN(HandlersTextTest)
#include "tst_handlers_text.moc"
