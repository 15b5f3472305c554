// The picture lists of the slideshow, book flip, mosaic and cube pages, and the
// animator's frame sequence, driven through the real pages as a user drives them.

#include "ScriptedServices.h"
#include "TestSupport.h"
#include "PageFixture.h"
#include "WizardFixture.h"
#include "editors/ImageListEditor.h"
#include "editors/PictureThumbnail.h"
#include "pages/Page.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "tag/TagGenerator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QUndoStack>
#include <QUrl>

#include <memory>

using namespace vexa;
using vexa::test::PageFixture;
using vexa::test::ScriptedServices;
using vexa::test::TestEnvironment;

namespace {

using namespace ImageListControls;

// A real JPEG of the given size, so both the size reader and the thumbnail can read it.
QByteArray jpeg(int width, int height, const QColor &colour = QColor(40, 90, 160))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).fillRect(0, 0, width / 2, height / 2, Qt::yellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// One image-list page of one applet over a private store and installation.
struct ListFixture : PageFixture {
    void open(int pageId, const QString &applet, const QHash<QString, QString> &stored = {})
    {
        PageFixture::open(pageId, applet, [&] {
            for (auto it = stored.constBegin(); it != stored.constEnd(); ++it)
                env.store().write(applet, it.key(), it.value());
        });
    }
    // Pictures in the applet folder already, as earlier picks left them.
    void inFolder(const QStringList &names, int width, int height)
    {
        for (const QString &name : names)
            TestEnvironment::writeFile(folder + QLatin1Char('/') + name, jpeg(width, height));
    }
    // Files the user will pick, answered by the next open-files dialog.
    QStringList pick(const QStringList &names, int width, int height)
    {
        QStringList paths;
        for (const QString &name : names) {
            paths << picked + QLatin1Char('/') + name;
            TestEnvironment::writeFile(paths.last(), jpeg(width, height));
        }
        services.fileLists.enqueue(paths);
        return paths;
    }
    ImageListEditor &editor() const { return *ImageListEditor::of(*page); }
    QListWidget *list() const { return page->control<QListWidget>(List); }
    QStringList names() const { return editor().names(); }
    void select(int row)
    {
        QListWidget *l = list();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key(key), modifiers);
    }
    QStringList sizes() const { return {text(Width), text(Height), text(Resolution)}; }
};

// Holds the thumbnail's decodes back until the test lets them go.
struct DecodeGate {
    QSemaphore entered, open;
    DecodeGate()
    {
        QThreadPool *pool = QThreadPool::globalInstance();
        pool->setMaxThreadCount(qMax(2, pool->maxThreadCount())); // two decodes wait at once
        PictureThumbnail::setDecodeHook([this](const QString &) {
            entered.release();
            open.acquire();
        });
    }
    ~DecodeGate()
    {
        PictureThumbnail::setDecodeHook({});
        open.release(100);
        QThreadPool::globalInstance()->waitForDone();
    }
    // A decode has begun and waits.
    bool waiting() { return entered.tryAcquire(1, 10000); }
};

} // namespace

class ImageListTest : public QObject {
    Q_OBJECT

private slots:
    // One file is appended; several replace the list, still measured against the old first entry.
    void addAppendsOneAndReplacesWithSeveral()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Image_1", "a.jpg"}, {"Image_2", "b.jpg"}, {"Image_3", "c.jpg"}, {"Res", "1"}});
        f.inFolder({"a.jpg", "b.jpg", "c.jpg"}, 100, 80);
        QCOMPARE(f.names(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QVERIFY(!f.enabled(Link) && !f.enabled(Remove));

        f.pick({"d.jpg"}, 100, 80);
        f.click(Add);
        QCOMPARE(f.services.filters.last(), StringTable::text(Str::ImageFilter));
        QCOMPARE(f.names(), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
        QCOMPARE(f.list()->currentRow(), 3);
        QVERIFY(f.enabled(Remove) && f.enabled(Link));
        QVERIFY(QFile::exists(f.folder + "/d.jpg"));
        QCOMPARE(f.text(Width), QStringLiteral("100"));
        QCOMPARE(f.text(Height), QStringLiteral("80"));

        f.pick({"x.jpg", "y.jpg"}, 100, 80);
        f.click(Add);
        QCOMPARE(f.names(), (QStringList{"x.jpg", "y.jpg"}));
        // A different size than the old first entry is refused even though the list is replaced.
        f.pick({"p.jpg", "q.jpg"}, 64, 64);
        f.click(Add);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::ImageSizesDiffer});
        QCOMPARE(f.services.messages.last().icon, MessageIcon::Exclamation);
        QCOMPARE(f.names(), (QStringList{"x.jpg", "y.jpg"}));
        QVERIFY(f.services.messages.size() == 1);
    }

    // A refusal in the middle keeps what was appended and leaves the size alone.
    void sizeMismatchMidAddKeepsWhatWasTaken()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Width", "320"}, {"Height", "200"}, {"Res", "2"}});
        QStringList paths = f.pick({"one.jpg", "two.jpg"}, 100, 80);
        paths << f.picked + "/big.jpg" << f.picked + "/three.jpg";
        TestEnvironment::writeFile(paths[2], jpeg(120, 80));
        TestEnvironment::writeFile(paths[3], jpeg(100, 80));
        f.services.fileLists.last() = paths;
        f.click(Add);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::ImageSizesDiffer});
        QCOMPARE(f.names(), (QStringList{"one.jpg", "two.jpg"}));
        QCOMPARE(f.text(Width), QStringLiteral("320"));
        QCOMPARE(f.text(Height), QStringLiteral("200"));
        QVERIFY(!QFile::exists(f.folder + "/three.jpg"));

        // A file that is no picture in a multiple selection leaves the list as it was, and
        // the reader's reason names it.
        f.services.messages.clear();
        paths = f.pick({"four.jpg", "five.jpg"}, 100, 80);
        TestEnvironment::writeFile(paths[1], "not a picture");
        f.click(Add);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::WrongImageFormat});
        QVERIFY(f.services.messages.first().text.startsWith("\"five.jpg\": "));
        QCOMPARE(f.names(), (QStringList{"one.jpg", "two.jpg"}));
        QCOMPARE(f.text(Width), QStringLiteral("320"));
        QVERIFY(!QFile::exists(f.folder + "/four.jpg"));

        // The first picked file unreadable: nothing is known, the size stays as shown.
        f.services.messages.clear();
        f.page->setText(Width, "77");
        paths = f.pick({"six.jpg"}, 50, 40);
        TestEnvironment::writeFile(paths[0], "junk");
        f.click(Add);
        QCOMPARE(f.names(), (QStringList{"one.jpg", "two.jpg"}));
        QCOMPARE(f.text(Width), QStringLiteral("77"));
    }

    void cubeFacesAreSixOfOneOfTwoSizes()
    {
        ListFixture f;
        QHash<QString, QString> faces;
        for (int n = 1; n <= 6; ++n)
            faces.insert(QStringLiteral("Image_%1").arg(n), n == 4 ? QString() : QStringLiteral("f%1.jpg").arg(n));
        f.open(141, "CUBEMENU", faces);
        f.inFolder({"f1.jpg", "f2.jpg", "f3.jpg", "f5.jpg", "f6.jpg"}, 128, 128);
        // The cube keeps its six faces, the empty one shown as such; Add fills it.
        QCOMPARE(f.names().size(), 6);
        QCOMPARE(f.list()->item(3)->text(), QStringLiteral("(no picture)"));
        QVERIFY(f.enabled(Add));
        f.pick({"e.jpg"}, 128, 128);
        f.click(Add);
        QCOMPARE(f.names(), (QStringList{"f1.jpg", "f2.jpg", "f3.jpg", "e.jpg", "f5.jpg", "f6.jpg"}));
        QCOMPARE(f.list()->currentRow(), 3);
        QVERIFY(!f.enabled(Add));
        // A file dropped on a full cube would be a seventh face.
        f.pick({"g.jpg"}, 128, 128);
        f.services.fileLists.clear();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(f.picked + "/g.jpg")});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.list()->viewport(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.list()->viewport(), &drop);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::MaxSixImages});
        QCOMPARE(f.names().size(), 6);

        f.select(3);
        f.click(Remove);
        QVERIFY(f.enabled(Add));
        f.services.messages.clear();
        f.pick({"wrong.jpg"}, 100, 100);
        f.click(Add);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::CubeImageSize});
        // Seven at once: six are taken, the seventh refused.
        f.services.messages.clear();
        f.pick({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "6.jpg", "7.jpg"}, 128, 128);
        f.click(Add);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::MaxSixImages});
        QCOMPARE(f.names(), (QStringList{"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "6.jpg"}));
        QVERIFY(!f.enabled(Add));
    }

    void removalKeepsAPlaceSelected()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Image_1", "a.jpg"}, {"Image_2", "b.jpg"}, {"Image_3", "c.jpg"},
                               {"Link_1", "a.html"}, {"StatusMsg_1", "A"}});
        f.select(1);
        f.click(Remove);
        QCOMPARE(f.names(), (QStringList{"a.jpg", "c.jpg"}));
        QCOMPARE(f.list()->currentRow(), 1);
        f.click(Remove); // the last: the new last is selected
        QCOMPARE(f.list()->currentRow(), 0);
        QCOMPARE(f.text(Link), QStringLiteral("a.html"));
        f.click(Remove);
        QVERIFY(f.names().isEmpty());
        QVERIFY(!f.enabled(Link) && !f.enabled(Status) && !f.enabled(Remove) && !f.enabled(MoveUp));
        QCOMPARE(f.text(Link), QString());
        QVERIFY(f.editor().link("a.jpg").isEmpty());
    }

    // Entries of one file share its link, message and flip mode.
    void attributesBelongToTheFileName()
    {
        ListFixture f;
        f.open(138, "BOOKFLIP", {{"Image_1", "p.jpg"}, {"Image_2", "q.jpg"}, {"Image_3", "p.jpg"},
                                  {"Flip_2", "OUT -> up-left"}, {"ExtraH", "0"}});
        f.select(0);
        // First selection of a picture without a flip mode records the first mode.
        QCOMPARE(f.text(Flip), QStringLiteral("IN -> up-right"));
        QCOMPARE(f.editor().flipMode("p.jpg"), QStringLiteral("IN -> up-right"));
        f.type(Link, "page.html");
        f.type(Status, "Turn the page");
        f.choose(Flip, "OUT -> down-left");
        f.select(1);
        QCOMPARE(f.text(Flip), QStringLiteral("OUT -> up-left"));
        QCOMPARE(f.text(Link), QString());
        f.select(2);
        QCOMPARE(f.text(Link), QStringLiteral("page.html"));
        QCOMPARE(f.text(Status), QStringLiteral("Turn the page"));
        QCOMPARE(f.text(Flip), QStringLiteral("OUT -> down-left"));

        // What was typed is kept even when the page is stored straight from the field.
        f.type(Link, "other.html");
        f.page->store();
        QCOMPARE(f.stored("Link_1"), QStringLiteral("other.html"));
        QCOMPARE(f.stored("Link_3"), QStringLiteral("other.html"));
        QCOMPARE(f.stored("Link_2"), QString());
        QCOMPARE(f.stored("Flip_1"), QStringLiteral("OUT -> down-left"));
        QCOMPARE(f.stored("Flip_2"), QStringLiteral("OUT -> up-left"));
        QCOMPARE(f.stored("Image_4"), QString());
        QCOMPARE(f.stored("StatusMsg_3"), QStringLiteral("Turn the page"));
        const QString tag = TagGenerator(f.env.store()).generate("BOOKFLIP");
        QVERIFY2(tag.contains("<param name=\"link3\" value=\"other.html\">"), qPrintable(tag));
        QVERIFY(tag.contains("<param name=\"image2\" value=\"q.jpg\">"));
    }

    void resolutionAndExtraHeightRescale()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Res", "1"}});
        f.pick({"a.jpg"}, 100, 80);
        f.click(Add);
        f.choose(Resolution, "3");
        QCOMPARE(f.text(Width), QStringLiteral("300"));
        QCOMPARE(f.text(Height), QStringLiteral("240"));
        f.choose(Resolution, "2");
        QCOMPARE(f.text(Width), QStringLiteral("200"));
        QCOMPARE(f.text(Height), QStringLiteral("160"));

        // A loaded page starts from its stored Resolution, not from 1.
        ListFixture g;
        g.open(137, "CFADE", {{"Res", "2"}, {"Width", "200"}, {"Height", "160"}});
        g.choose(Resolution, "4");
        QCOMPARE(g.text(Width), QStringLiteral("400"));
        QCOMPARE(g.text(Height), QStringLiteral("320"));

        // Every page with a Resolution list rescales, but the six whose size is their own.
        ListFixture bump;
        bump.open(136, "BUMP", {{"Res", "1"}, {"Width", "320"}, {"Height", "200"}});
        bump.choose(Resolution, "2");
        QCOMPARE(bump.text(Width), QStringLiteral("640"));
        QCOMPARE(bump.text(Height), QStringLiteral("400"));
        ListFixture cube;
        cube.open(141, "CUBEMENU", {{"Res", "1"}, {"Width", "200"}, {"Height", "200"}});
        cube.choose(Resolution, "3");
        QCOMPARE(cube.text(Width), QStringLiteral("200"));

        ListFixture book;
        book.open(138, "BOOKFLIP", {{"Res", "1"}, {"ExtraH", "20"}});
        book.pick({"a.jpg", "b.jpg"}, 100, 80);
        book.click(Add);
        QCOMPARE(book.text(Height), QStringLiteral("100"));
        // Pictures added together each get the first flip mode, the one never selected too.
        QCOMPARE(book.editor().flipMode("a.jpg"), QStringLiteral("IN -> up-right"));
        QCOMPARE(book.editor().flipMode("b.jpg"), QStringLiteral("IN -> up-right"));
        QVERIFY(book.enabled(BackColour));
        book.type(ExtraHeight, "30");
        QCOMPARE(book.text(Height), QStringLiteral("110"));
        book.choose(Resolution, "2");
        QCOMPARE(book.text(Width), QStringLiteral("200"));
        QCOMPARE(book.text(Height), QStringLiteral("190"));
        book.type(ExtraHeight, "0");
        QVERIFY(!book.enabled(BackColour));
        QCOMPARE(book.text(Height), QStringLiteral("160"));
    }

    void mosaicFramesThePicture()
    {
        QCOMPARE(ImageListEditor::mosaicFrame(314, 191, 20, 20), QSize(320, 199));
        QCOMPARE(ImageListEditor::mosaicFrame(100, 80, 0, 0), ImageListEditor::mosaicFrame(100, 80, 1, 1));
        // Tiles wider than the picture leave no room for margins; nothing breaks.
        QCOMPARE(ImageListEditor::mosaicFrame(100, 80, 1000000, 1000000).isValid(), true);
        QCOMPARE(ImageListEditor::mosaicFrame(0, 0, 20, 20), QSize(0, 0));

        ListFixture f;
        f.open(181, "MOSAIC", {{"Res", "1"}, {"TilesWidth", "20"}, {"TilesHeight", "20"}});
        f.pick({"m1.jpg", "m2.jpg"}, 314, 191);
        f.click(Add);
        QCOMPARE(f.text(Width), QStringLiteral("320"));
        QCOMPARE(f.text(Height), QStringLiteral("199"));
        f.type(TileWidth, "8");
        const QSize frame = ImageListEditor::mosaicFrame(314, 191, 8, 20);
        QCOMPARE(f.text(Width), QString::number(frame.width()));
        QCOMPARE(f.text(Height), QString::number(frame.height()));
        // The size stays the frame times the resolution, whichever is changed last.
        f.choose(Resolution, "2");
        QCOMPARE(f.text(Width), QString::number(2 * frame.width()));
        f.type(TileWidth, "20");
        QCOMPARE(f.text(Width), QStringLiteral("640"));
        QCOMPARE(f.text(Height), QStringLiteral("398"));
    }

    void keyboardUndoAndDrops()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Image_1", "a.jpg"}, {"Image_2", "b.jpg"}, {"Image_3", "c.jpg"}});
        f.inFolder({"a.jpg", "b.jpg", "c.jpg"}, 60, 40);
        f.select(0);
        f.key(Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(f.names(), (QStringList{"b.jpg", "a.jpg", "c.jpg"}));
        QCOMPARE(f.list()->currentRow(), 1);
        f.click(MoveDown);
        QCOMPARE(f.names(), (QStringList{"b.jpg", "c.jpg", "a.jpg"}));
        QVERIFY(!f.enabled(MoveDown) && f.enabled(MoveUp));
        f.key(Qt::Key_Up, Qt::ControlModifier);
        f.click(MoveUp);
        QCOMPARE(f.names(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QVERIFY(!f.enabled(MoveUp));
        f.list()->setFocus();
        f.key(Qt::Key_Delete);
        QCOMPARE(f.names(), (QStringList{"b.jpg", "c.jpg"}));

        // Every step undoes and redoes, the selection with it.
        f.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.names(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QCOMPARE(f.list()->currentRow(), 0);
        for (int step = 0; step < 4; ++step)
            f.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.names(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QVERIFY(!f.editor().undoStack()->canUndo());
        f.key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.names(), (QStringList{"b.jpg", "a.jpg", "c.jpg"}));

        // Files dropped from a file manager are checked and copied as picked ones are.
        const QStringList dropped = f.pick({"d.jpg"}, 60, 40);
        f.services.fileLists.clear();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dropped.first())});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.list()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(f.list()->viewport(), &drop);
        QCOMPARE(f.names().last(), QStringLiteral("d.jpg"));
        QVERIFY(QFile::exists(f.folder + "/d.jpg"));
        QCOMPARE(f.text(Width), QStringLiteral("60"));
        f.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!f.names().contains("d.jpg"));
        QCOMPARE(f.text(Width), f.stored("Width"));
    }

    // An undo step holds every value its change moved, so undoing never leaves a size that
    // contradicts the Resolution shown, and what was typed since an earlier step survives.
    void undoTakesBackAResolutionWithItsSize()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Res", "2"}, {"Width", "100"}, {"Height", "50"}});
        f.pick({"a.jpg"}, 320, 240);
        f.click(Add);
        QCOMPARE(f.sizes(), (QStringList{"640", "480", "2"}));
        f.type(Link, "a.html");
        f.choose(Resolution, "3");
        QCOMPARE(f.sizes(), (QStringList{"960", "720", "3"}));

        f.ctrl(Qt::Key_Z); // from the Resolution list, where the focus is
        QCOMPARE(f.sizes(), (QStringList{"640", "480", "2"}));
        QCOMPARE(f.text(Link), QStringLiteral("a.html"));
        f.ctrl(Qt::Key_Z);
        QCOMPARE(f.text(Link), QString());
        QCOMPARE(f.names(), QStringList{"a.jpg"});
        f.ctrl(Qt::Key_Z);
        QVERIFY(f.names().isEmpty());
        QCOMPARE(f.sizes(), (QStringList{"100", "50", "2"}));
        for (int step = 0; step < 3; ++step)
            f.ctrl(Qt::Key_Y);
        QCOMPARE(f.sizes(), (QStringList{"960", "720", "3"}));
        QCOMPARE(f.text(Link), QStringLiteral("a.html"));
        f.page->store();
        QCOMPARE((QStringList{f.stored("Width"), f.stored("Height"), f.stored("Res"), f.stored("Link_1")}),
                 (QStringList{"960", "720", "3", "a.html"}));
    }

    // Typing in a field the size follows is one step, undone with what followed from it.
    void sizeFieldEditIsOneStep_data()
    {
        QTest::addColumn<int>("pageId");
        QTest::addColumn<QString>("applet");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::newRow("extra height") << 138 << "BOOKFLIP" << ExtraHeight << "35";
        QTest::newRow("tile width") << 181 << "MOSAIC" << TileWidth << "8";
        QTest::newRow("tile height") << 181 << "MOSAIC" << TileHeight << "9";
    }
    void sizeFieldEditIsOneStep()
    {
        QFETCH(int, pageId);
        QFETCH(QString, applet);
        QFETCH(int, field);
        QFETCH(QString, typed);
        ListFixture f;
        f.open(pageId, applet, {{"Res", "1"}, {"ExtraH", "20"}, {"TilesWidth", "20"}, {"TilesHeight", "20"}});
        f.pick({"a.jpg", "b.jpg"}, 314, 191);
        f.click(Add);
        const QStringList before = f.sizes() << f.text(field);
        f.type(field, typed);
        const QStringList after = f.sizes() << f.text(field);
        QVERIFY(after != before);
        f.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.sizes() << f.text(field), before);
        QCOMPARE(f.names().size(), 2);
        f.key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.sizes() << f.text(field), after);
    }

    // The picture is decoded away from the window: selecting is done before the decode, and a
    // decode that ends after the selection moved on, or after the page is gone, shows nothing.
    void thumbnailDecodesAwayFromTheWindow()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Image_1", "a.jpg"}, {"Image_2", "b.jpg"}, {"Image_3", "c.jpg"}});
        f.inFolder({"a.jpg", "c.jpg"}, 400, 300);
        f.inFolder({"b.jpg"}, 200, 100);
        PictureThumbnail *thumbnail = f.editor().thumbnail();
        QSignalSpy shown(thumbnail, &PictureThumbnail::pictureShown);
        {
            DecodeGate gate;
            f.select(0);
            QVERIFY(gate.waiting());
            QCOMPARE(f.list()->currentRow(), 0);
            QVERIFY(f.enabled(Link) && thumbnail->isDecoding() && !thumbnail->hasPicture());
            f.select(1);
            QVERIFY(gate.waiting());
            gate.open.release(2);
            QTRY_COMPARE(shown.size(), 1);
            QVERIFY(QThreadPool::globalInstance()->waitForDone(10000));
            QCoreApplication::processEvents();
            QCOMPARE(shown.size(), 1); // a.jpg's decode came too late
            QCOMPARE(shown.first().first().toString(), f.folder + "/b.jpg");
            QCOMPARE(thumbnail->caption(), QStringLiteral("200 × 100 JPEG"));

            // Decoded once, a picture shows at once.
            f.select(0);
            QVERIFY(thumbnail->hasPicture() && !thumbnail->isDecoding());

            f.select(2);
            QVERIFY(gate.waiting());
            f.page.reset();
            gate.open.release();
            QVERIFY(QThreadPool::globalInstance()->waitForDone(10000));
        }
        QCoreApplication::processEvents(); // c.jpg's result has no thumbnail to go to
        QCOMPARE(shown.size(), 2);
    }

    // A stored empty face would leave the cube with fewer faces than its tag needs.
    void emptyCubeFaceIsRefusedOnLeaving()
    {
        ListFixture f;
        QHash<QString, QString> faces;
        for (int n = 1; n <= 6; ++n)
            faces.insert(QStringLiteral("Image_%1").arg(n),
                         n == 3 ? QString() : QStringLiteral("f%1.jpg").arg(n));
        f.open(141, "CUBEMENU", faces);
        f.select(0);
        QVERIFY(!f.page->validate());
        QCOMPARE(f.services.messageIds(), QList<int>{1573});
        QCOMPARE(f.list()->currentRow(), 2);
    }

    // A face removed on the cube menu's page stays removed however the page is left.
    void removedCubeFaceLeavesNothingBehind()
    {
        vexa::test::WizardFixture f;
        for (int n = 1; n <= 6; ++n) {
            f.set("CUBEMENU", QStringLiteral("Image_%1").arg(n), QStringLiteral("f%1.jpg").arg(n));
            f.set("CUBEMENU", QStringLiteral("Link_%1").arg(n), QStringLiteral("p%1.html").arg(n));
        }
        f.startAt("CUBEMENU", 141);
        auto *list = f.control<QListWidget>(List);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(5)).center());
        QTest::mouseClick(f.control<QAbstractButton>(Remove), Qt::LeftButton);
        f.previous();
        QCOMPARE(f.pageId(), 129);
        QCOMPARE(f.env.store().read("CUBEMENU", "Image_6"), QString());
        QCOMPARE(f.env.store().read("CUBEMENU", "Link_6"), QString());
        f.next();
        QCOMPARE(ImageListEditor::of(*f.page())->names(),
                 (QStringList{"f1.jpg", "f2.jpg", "f3.jpg", "f4.jpg", "f5.jpg", QString()}));
    }

    // A name the applet folder holds with other content is replaced only when the user says so.
    void sameNameWithOtherContentIsAskedAbout()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Image_1", "a.jpg"}});
        f.inFolder({"a.jpg"}, 100, 80);
        const QByteArray original = TestEnvironment::readFile(f.folder + "/a.jpg");
        f.pick({"a.jpg"}, 100, 80); // the same bytes: used as it is
        f.click(Add);
        QVERIFY(f.services.questions.isEmpty());
        QCOMPARE(f.names(), (QStringList{"a.jpg", "a.jpg"}));

        const QString other = f.picked + "/a.jpg";
        TestEnvironment::writeFile(other, jpeg(100, 80, Qt::red));
        for (const bool replace : {false, true}) {
            f.services.fileLists.enqueue({other});
            f.services.answers.enqueue(replace);
            f.click(Add);
        }
        QCOMPARE(f.services.questions.size(), 2);
        QCOMPARE(f.services.questions.first().id, Str::PictureNameTaken);
        QCOMPARE(f.services.questions.first().icon, MessageIcon::Question);
        QVERIFY(f.services.questions.first().text.contains("\"a.jpg\""));
        QCOMPARE(f.names(), (QStringList{"a.jpg", "a.jpg", "a.jpg"})); // No added nothing
        QVERIFY(original != TestEnvironment::readFile(other));
        QCOMPARE(TestEnvironment::readFile(f.folder + "/a.jpg"), TestEnvironment::readFile(other));

        // Undo brings the folder's old picture back with the list, redo the new one.
        f.list()->setFocus();
        f.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.names(), (QStringList{"a.jpg", "a.jpg"}));
        QCOMPARE(TestEnvironment::readFile(f.folder + "/a.jpg"), original);
        f.key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(TestEnvironment::readFile(f.folder + "/a.jpg"), TestEnvironment::readFile(other));
    }

    // "Default values" replaces the list and its sizes as one step that undo takes back.
    void defaultValuesCanBeUndone()
    {
        vexa::test::WizardFixture f;
        f.set("CFADE", "Image_1", "a.jpg");
        f.set("CFADE", "Image_2", "b.jpg");
        f.set("CFADE", "Image_3", "c.jpg");
        f.set("CFADE", "Width", "77");
        f.startAt("CFADE", 137);
        auto *list = f.control<QListWidget>(List);
        f.click(WizardWindow::DefaultsButton);
        const QStringList defaults = ImageListEditor::of(*f.page())->names();
        QVERIFY(defaults != (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ImageListEditor::of(*f.page())->names(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QCOMPARE(f.page()->text(Width), QStringLiteral("77"));
        QTest::keyClick(list, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(ImageListEditor::of(*f.page())->names(), defaults);
    }

    // A refused Add says why and leaves the list and its selection where they were; when the
    // list's first picture is the reason, the message names it and it is selected.
    void refusedAddSaysWhy_data()
    {
        QTest::addColumn<QStringList>("inFolder");
        QTest::addColumn<int>("pickedSide");
        QTest::addColumn<int>("message");
        QTest::addColumn<QString>("named");
        QTest::addColumn<int>("selected");
        QTest::newRow("other size") << QStringList{"a.jpg", "b.jpg", "c.jpg"} << 64
                                    << int(Str::ImageSizesDiffer) << "" << 1;
        QTest::newRow("first missing") << QStringList{"b.jpg", "c.jpg"} << 100
                                       << int(Str::FirstPictureUnreadable) << "\"a.jpg\"" << 0;
    }
    void refusedAddSaysWhy()
    {
        QFETCH(QStringList, inFolder);
        QFETCH(int, pickedSide);
        QFETCH(int, message);
        QFETCH(QString, named);
        QFETCH(int, selected);
        ListFixture f;
        f.open(137, "CFADE", {{"Image_1", "a.jpg"}, {"Image_2", "b.jpg"}, {"Image_3", "c.jpg"}});
        f.inFolder(inFolder, 100, 100);
        f.select(1);
        f.pick({"d.jpg"}, pickedSide, pickedSide);
        f.click(Add);
        QCOMPARE(f.services.messageIds(), QList<int>{message});
        QVERIFY(f.services.messages.first().text.contains(named));
        QCOMPARE(f.names(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QCOMPARE(f.list()->currentRow(), selected);
    }

    // The context menu offers each command with a mnemonic and the key that does it.
    void contextMenuShowsWorkingKeys()
    {
        ListFixture f;
        const QString longName = QString(60, QLatin1Char('n')) + ".jpg";
        f.open(137, "CFADE", {{"Image_1", "a.jpg"}, {"Image_2", "b.jpg"}, {"Image_3", longName}});
        QCOMPARE(f.list()->item(2)->toolTip(), longName);
        f.select(1);
        QSet<QKeySequence> mnemonics;
        for (QAction *action : f.list()->actions()) {
            if (action->isSeparator())
                continue;
            const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
            QVERIFY2(!mnemonic.isEmpty() && !mnemonics.contains(mnemonic), qPrintable(action->text()));
            mnemonics.insert(mnemonic);
            QVERIFY(action->isShortcutVisibleInContextMenu());
            QSignalSpy triggered(action, &QAction::triggered);
            f.list()->setFocus();
            QTest::keySequence(f.list(), action->shortcut());
            QVERIFY2(triggered.size() == 1, qPrintable(action->text() + " " + action->shortcut().toString()));
        }
    }

    void thumbnailShowsTheSelectedPicture()
    {
        ListFixture f;
        f.open(137, "CFADE", {{"Image_1", "a.jpg"}, {"Image_2", "gone.jpg"}, {"Image_3", "bad.jpg"}});
        f.inFolder({"a.jpg"}, 400, 300);
        TestEnvironment::writeFile(f.folder + "/bad.jpg", "not a picture");
        PictureThumbnail *thumbnail = f.editor().thumbnail();
        QVERIFY(!thumbnail->hasPicture());
        f.select(0);
        QTRY_VERIFY(thumbnail->hasPicture());
        QCOMPARE(thumbnail->caption(), QStringLiteral("400 × 300 JPEG"));
        QCOMPARE(thumbnail->fileName(), QStringLiteral("a.jpg"));
        f.select(1);
        QVERIFY(!thumbnail->hasPicture());
        QVERIFY(!thumbnail->caption().isEmpty());
        f.select(2);
        QTRY_VERIFY(!thumbnail->isDecoding());
        QVERIFY(!thumbnail->hasPicture());
        QVERIFY(!thumbnail->caption().isEmpty());
    }

    void frameSequence()
    {
        ListFixture f;
        f.open(131, "BLUR", {{"DoubleSize", "NO"}, {"PingPong", "YES"}});
        QStringList names;
        for (int k = 1; k <= 12; ++k)
            names << QStringLiteral("frame%1.jpg").arg(k);
        QStringList paths = f.pick(names, 64, 48);
        // The dialog's order is no promise: shuffled, the highest number still names the base.
        std::shuffle(paths.begin(), paths.end(), *QRandomGenerator::global());
        f.services.fileLists.last() = paths;
        f.click(1067);
        QVERIFY2(f.services.messages.isEmpty(), qPrintable(f.services.messages.value(0).text));
        QCOMPARE(f.text(1066), QStringLiteral("frame"));
        QCOMPARE(f.text(1068), QStringLiteral("12"));
        QCOMPARE(f.text(1079), QStringLiteral(".jpg"));
        QCOMPARE(f.text(Width), QStringLiteral("64"));
        QVERIFY(QFile::exists(f.folder + "/frame12.jpg"));

        // Double size doubles and halves.
        f.click(1072);
        QCOMPARE(f.text(Width), QStringLiteral("128"));
        QCOMPARE(f.text(Height), QStringLiteral("96"));
        f.page->control<QAbstractButton>(1072)->setFocus();
        QTest::keyClick(f.page->control(1072), Qt::Key_Space);
        QCOMPARE(f.text(Width), QStringLiteral("64"));

        // Cyclic replay has no pauses or sounds at its ends.
        f.click(1071);
        QVERIFY(!f.enabled(1074) && !f.enabled(1076) && !f.enabled(1078));
        f.click(1070);
        QVERIFY(f.enabled(1074) && f.enabled(1076) && f.enabled(1078));

        struct Case {
            QStringList names;
            int message;
            QString named;
            QByteArray lastFile = {}; // what the last file holds instead of a 64 x 48 JPEG
        };
        const QList<Case> refused = {
            {{"shot1.jpg", "shot2.jpg", "shot4.jpg"}, Str::FrameSequenceGap, "shot3.jpg"},
            {{"shot1.jpg", "shot2.jpg", "shot5.jpg"}, Str::FrameSequenceGap, "shot1.jpg to shot5.jpg"},
            {{"shot1.jpg", "shot2.jpg", "other3.jpg"}, Str::FrameSequenceForeign, "other3.jpg"},
            {{"shot1.jpg", "shot2.gif"}, Str::FrameSequenceForeign, "shot2.gif"},
            {{"shot01.jpg", "shot02.jpg"}, Str::FrameSequenceForeign, "shot01.jpg"},
            {{"shot1.jpg"}, Str::SelectSeveralFrames, ""},
            {{"shot1.jpg", "shot.jpg"}, Str::FrameNumberMissing, "\"shot.jpg\""},
            {{"shot1.jpg", "shot2.jpg"}, Str::FramesDiffer, "\"shot2.jpg\" is 32 × 24 JPEG", jpeg(32, 24)},
            {{"shot1.jpg", "shot2.jpg"}, Str::FramesDiffer, "\"shot2.jpg\" is 64 × 48 GIF",
             test::gifHeader(64, 48)},
            {{"shot1.jpg", "shot2.jpg"}, Str::FrameNotAPicture, "\"shot2.jpg\"", "no picture"},
        };
        for (const Case &c : refused) {
            f.services.messages.clear();
            const QStringList paths = f.pick(c.names, 64, 48);
            if (!c.lastFile.isEmpty())
                TestEnvironment::writeFile(paths.last(), c.lastFile);
            f.click(1067);
            QCOMPARE(f.services.messageIds(), QList<int>{c.message});
            QVERIFY2(f.services.messages.first().text.contains(c.named), qPrintable(f.services.messages.first().text + " / " + c.named + QString::number(f.services.messages.first().id)));
            QCOMPARE(f.text(1066), QStringLiteral("frame")); // nothing changed
            QVERIFY(!QFile::exists(f.folder + "/shot1.jpg"));
        }
        f.page->store();
        QCOMPARE(f.stored("ImgsValue"), QStringLiteral("frame"));
        QCOMPARE(f.stored("NumImages"), QStringLiteral("12"));
    }
};

QTEST_MAIN(ImageListTest)
#include "tst_imagelist.moc"
