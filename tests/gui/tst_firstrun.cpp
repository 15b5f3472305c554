// A new user's first steps through the real window: every applet opens on its starting
// values and walks to the code page with Next alone, choosing works whichever way a
// control is changed, screen readers hear what the controls say now, and the window
// tells what publishing and project commands did.

#include "WizardFixture.h"
#include "strings/StringIds.h"
#include "pages/SelectionPage.h"
#include "catalogue/Catalogue.h"
#include "settings/InstallData.h"
#include "strings/StringTable.h"
#include "wizard/InfoDialog.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

using namespace vexa;
using vexa::test::ScriptedServices;
using vexa::test::TestEnvironment;
using vexa::test::WizardFixture;
using vexa::test::messagesText;

namespace {

constexpr int AppletList = 1002;
constexpr int CodeBox = 1055;

// The bundled applet folders, as an installation ships them, in the fixture's install folder.
void installBundledApplets(TestEnvironment &env)
{
    const QString from = InstallData::dir() + QStringLiteral("/applets");
    const QString to = env.installDir() + QStringLiteral("/applets");
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        QVERIFY(QFile::copy(source, target));
    }
}

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

QString accessibleDescription(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Description) : QString();
}

// Colours are stored by the pages in their own hexadecimal form ("ff" for "0000FF").
bool sameValue(const QString &stored, const QString &initial)
{
    if (stored == initial)
        return true;
    bool storedIsNumber = false, initialIsNumber = false;
    const uint a = stored.toUInt(&storedIsNumber, 16), b = initial.toUInt(&initialIsNumber, 16);
    return storedIsNumber && initialIsNumber && a == b;
}

} // namespace

class FirstRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vexa::test::quietSizeHintNotes(); }

private:
    // The selection page opens on `applet`, as if it had been chosen in an earlier run.
    static void remember(WizardFixture &f, const QString &applet)
    {
        f.set("", "LastCateg", QString::number(Catalogue::category(applet)));
        f.set("", "LastApplet", applet);
    }

private slots:

    void everyAppletWalksOnItsStartingValues_data()
    {
        QTest::addColumn<QString>("applet");
        for (const AppletRecord &record : Catalogue::applets())
            QTest::newRow(record.id) << QString::fromLatin1(record.id);
    }

    // Fresh store, shipped installation: choose, then Next only.
    void everyAppletWalksOnItsStartingValues()
    {
        QFETCH(QString, applet);
        WizardFixture f(InstallData::defaultsFile());
        installBundledApplets(f.env);
        f.start();
        const int category = Catalogue::category(applet);
        for (const CategoryRecord &record : Catalogue::categories()) {
            if (record.number == category)
                f.control<QRadioButton>(record.radioId)->setChecked(true);
        }
        auto *list = f.control<QComboBox>(AppletList);
        list->setCurrentIndex(list->findText(applet));
        QCOMPARE(f.page()->text(AppletList), applet);

        QList<int> walk;
        for (int steps = 0; f.pageId() != 134 && steps < 12; ++steps) {
            walk << f.pageId();
            f.next();
            QVERIFY2(f.services.messages.isEmpty(),
                     qPrintable(QStringLiteral("after page %1: %2").arg(walk.last()).arg(messagesText(f.services))));
        }
        QCOMPARE(f.pageId(), 134);
        QVERIFY(f.services.questions.isEmpty());

        // Every starting value is in the applet's own section now.
        const QString defaults = applet + SettingsStore::DefaultSuffix;
        for (const QString &key : f.env.store().keys(defaults)) {
            const QString stored = f.env.store().read(applet, key);
            const QString initial = f.env.store().read(defaults, key);
            QVERIFY2(sameValue(stored, initial),
                     qPrintable(QStringLiteral("%1: \"%2\", starts as \"%3\"").arg(key, stored, initial)));
        }
        // The preview page names pictures that are there.
        const QString folder = f.env.folders().appletFolder(applet);
        QVERIFY(QFile::exists(folder + QStringLiteral("/preview.html")));
    }

    // The sample pages: a link to each one that is installed, the folder of each that is
    // not; an applet's own preview says where its missing page belongs.
    void samplePagesLeadWhereTheFilesAre()
    {
        WizardFixture f;
        f.env.makeAppletFolder("BLOBS", {"blobs.html"});
        remember(f, "BLOBS");
        f.start();
        QTest::mouseClick(f.control<QAbstractButton>(1165), Qt::LeftButton);
        const QString index = f.env.folders().appletDirectory() + "/samples.html";
        QCOMPARE(f.services.opened, QStringList{index});
        const QString text = QString::fromUtf8(TestEnvironment::readFile(index));
        QVERIFY(text.contains("<li><a href=\"blobs/blobs.html\">BLOBS</a></li>"));
        QVERIFY(text.contains("<li>BUMP: not installed, its files are not in <code>" + f.env.folders().appletFolder("BUMP")));
        QVERIFY(text.contains("39 of the 40 applets are not installed"));

        QTest::mouseClick(f.control<QAbstractButton>(1003), Qt::LeftButton);
        QCOMPARE(f.services.opened.last(), f.env.folders().appletFolder("BLOBS") + "/blobs.html");
        f.page()->setChecked(Catalogue::categoryRadioId(Catalogue::category("BUMP")), true);
        auto *list = f.control<QComboBox>(AppletList);
        list->setCurrentIndex(list->findText("BUMP"));
        QTest::mouseClick(f.control<QAbstractButton>(1003), Qt::LeftButton);
        QCOMPARE(f.services.opened.size(), 2);
        QCOMPARE(f.services.messageIds(), QList<int>{Str::SamplePageMissing});
        QVERIFY(f.services.messages.first().text.contains("\"vexabump.html\" is not in \"" + f.env.folders().appletFolder("BUMP")));
    }

    // A section the user has written keeps its values when the applet is chosen again.
    void writtenSectionsAreLeftAlone()
    {
        WizardFixture f(InstallData::defaultsFile());
        f.set("BLOBS", "NBlobs", "4");
        remember(f, "BLOBS");
        f.start();
        f.next();
        QCOMPARE(f.pageId(), 132);
        QCOMPARE(f.page()->text(1009), QStringLiteral("4"));
        QCOMPARE(f.env.store().read("BLOBS", "Res"), QString());
    }

    // The category fills the applet list however its button is checked.
    void categoryFollowsEveryWayOfChecking()
    {
        WizardFixture f;
        f.start();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        auto *list = f.control<QComboBox>(AppletList);
        auto *tunnels = f.control<QRadioButton>(1434);
        tunnels->setChecked(true);
        QCOMPARE(list->count(), Catalogue::appletList(4).size());
        QCOMPARE(f.page()->text(1004).isEmpty(), false);

        // Keyboard: arrows move through the set and check as they go; Space checks too.
        tunnels->setFocus();
        QTest::keyClick(tunnels, Qt::Key_Down);
        auto *checked = qobject_cast<QRadioButton *>(QApplication::focusWidget());
        QVERIFY(checked && checked != tunnels && checked->isChecked());
        const int category = [&] {
            for (const CategoryRecord &record : Catalogue::categories())
                if (f.control(record.radioId) == checked) return record.number;
            return 0;
        }();
        QVERIFY(category != 0);
        QCOMPARE(list->count(), Catalogue::appletList(category).size());
        QCOMPARE(list->itemText(0), [&] {
            QStringList applets = Catalogue::appletList(category);
            std::sort(applets.begin(), applets.end(),
                      [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
            return applets.first();
        }());

        // Assistive tools: the accessibility action of the button.
        auto *menus = f.control<QRadioButton>(1436);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(menus);
        QVERIFY(accessible && accessible->actionInterface());
        const QStringList actions = accessible->actionInterface()->actionNames();
        const QString action = actions.contains(QAccessibleActionInterface::toggleAction())
                                   ? QAccessibleActionInterface::toggleAction()
                                   : QAccessibleActionInterface::pressAction();
        accessible->actionInterface()->doAction(action);
        QVERIFY(menus->isChecked());
        QCOMPARE(f.page()->text(AppletList), QStringLiteral("CUBEMENU"));
    }

    // Without an applet Next stays on the selection page, where there is no way back.
    void previousStaysOffWithoutAnApplet()
    {
        WizardFixture f;
        f.start();
        f.next();
        QCOMPARE(f.pageId(), 129);
        QVERIFY(!f.window->button(WizardWindow::PreviousButton)->isEnabled());
        QVERIFY(f.window->button(WizardWindow::NextButton)->isDefault());
    }

    void screenReadersHearTheCurrentCaptions()
    {
        WizardFixture f(InstallData::defaultsFile());
        installBundledApplets(f.env);
        remember(f, "VEXA3D LIGHT");
        f.start();
        QPushButton *next = f.window->button(WizardWindow::NextButton);
        QCOMPARE(accessibleName(next), QStringLiteral("Next >"));
        f.next();
        QCOMPARE(f.pageId(), 182);
        // Three texture fields share a tooltip; each says which texture it holds.
        const QString texture0 = accessibleName(f.control(1367));
        const QString texture1 = accessibleName(f.control(1365));
        const QString texture2 = accessibleName(f.control(1369));
        QVERIFY2(texture1.contains(QStringLiteral("Texture 1")), qPrintable(texture1));
        QVERIFY2(texture2.contains(QStringLiteral("Texture 2")), qPrintable(texture2));
        QVERIFY(texture0 != texture1 && texture0 != texture2);

        for (int steps = 0; f.pageId() != 134 && steps < 8; ++steps)
            f.next();
        QCOMPARE(f.pageId(), 134);
        QCOMPARE(next->text(), StringTable::text(1639));
        QCOMPARE(accessibleName(next), QStringLiteral("Publish"));
        QCOMPARE(accessibleName(f.control(CodeBox)), QStringLiteral("HTML code"));
        QVERIFY(!accessibleDescription(f.control(CodeBox)).isEmpty());
        f.previous();
        QCOMPARE(accessibleName(next), QStringLiteral("Next >"));
    }

    // Fields that only show values look like it, and can still be selected and copied.
    void readOnlyFieldsLookReadOnly()
    {
        WizardFixture f(InstallData::defaultsFile());
        installBundledApplets(f.env);
        remember(f, "HUEROT");
        f.start();
        f.next();
        QCOMPARE(f.pageId(), 148);
        for (int id : {1019, 1020}) {
            auto *field = f.control<QLineEdit>(id);
            QVERIFY(field->isReadOnly());
            QCOMPARE(field->palette().color(QPalette::Base), field->palette().color(QPalette::Window));
            field->selectAll();
            QCOMPARE(field->selectedText(), field->text());
            const QString shown = field->text();
            QTest::keyClicks(field, "12");
            QCOMPARE(field->text(), shown);
        }
        // A field to type into keeps the look of one.
        auto *speed = f.control<QLineEdit>(1163);
        QVERIFY(!speed->isReadOnly());
        QVERIFY(speed->palette().color(QPalette::Base) != speed->palette().color(QPalette::Window));
    }

    void infoDialogClosesWithEnterAfterItsLink()
    {
        ScriptedServices services;
        TestEnvironment env;
        InfoDialog dialog(InfoNotice{"Publish", "Message", "For more details, read instructions.", "STEP1"},
                          services, env.folders());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *link = dialog.findChild<QLabel *>(QStringLiteral("c1233"));
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        QCOMPARE(services.textDocuments.size() + services.opened.size(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(services.textDocuments.size() + services.opened.size(), 1);
    }

    // The status line tells what copying, the preview and projects did.
    void statusLineTellsWhatHappened()
    {
        WizardFixture f(InstallData::defaultsFile());
        installBundledApplets(f.env);
        // The applet's own files come with the applets; here a stand-in of each.
        f.env.makeAppletFolder("BUMP", {"vexabump.class", "vexa.class", "vexalib.class", "vexabump.jar"});
        remember(f, "BUMP");
        f.start();
        QLabel *status = f.window->statusLine();
        QVERIFY(status->text().isEmpty());
        f.next();
        f.click(WizardWindow::PreviewButton);
        QCOMPARE(status->text(), QStringLiteral("Preview page written"));
        // Without the applet's code the page shows only its message: the line says why.
        const QString jar = f.env.folders().appletFolder("BUMP") + "/vexabump.jar";
        QVERIFY(QFile::rename(jar, jar + ".away"));
        // Where Vexa Java has its own effect, the browser plays that instead.
        if (QFileInfo::exists(InstallData::playerScript())) {
            f.click(WizardWindow::PreviewButton);
            QCOMPARE(status->text(), QStringLiteral("Preview page written: the browser plays Vexa Java's own effect"));
            f.window->menuItem(WizardWindow::EffectsInPreviewItem)->trigger();
        }
        f.click(WizardWindow::PreviewButton);
        QVERIFY2(status->text().startsWith("Preview page written, but without \"vexabump.jar\" the applet cannot show"),
                 qPrintable(status->text()));
        QVERIFY(f.window->statusFolder()->text().contains("bump"));
        QVERIFY(QFile::rename(jar + ".away", jar));

        const QString project = f.env.path("bump.vxp");
        f.services.fileNames.enqueue(project);
        f.window->menuItem(WizardWindow::SaveProjectItem)->trigger();
        QCOMPARE(status->text(), QStringLiteral("Project saved"));
        f.services.fileNames.enqueue(project);
        f.window->menuItem(WizardWindow::OpenProjectItem)->trigger();
        QCOMPARE(status->text(), QStringLiteral("Project opened"));

        for (int steps = 0; f.pageId() != 134 && steps < 8; ++steps)
            f.next();
        const QString site = f.env.path("my site");
        QDir().mkpath(site);
        f.services.fileNames.enqueue(site + "/index.html");
        QTest::mouseClick(f.control<QAbstractButton>(1056), Qt::LeftButton);
        QVERIFY2(f.services.messages.isEmpty(), qPrintable(messagesText(f.services)));
        const int copied = int(QDir(site).entryList(QDir::Files).size());
        QVERIFY(copied >= 6);
        QCOMPARE(status->text(), QStringLiteral("%1 files copied to").arg(copied));
        QLabel *folder = f.window->statusFolder();
        QVERIFY(folder->text().contains(QDir::toNativeSeparators(site).toHtmlEscaped()));

        // The folder opens from the line, by mouse as by keyboard.
        const int textMiddle = folder->contentsRect().left() +
                               folder->fontMetrics().horizontalAdvance(QDir::toNativeSeparators(site)) / 2;
        QTest::mouseClick(folder, Qt::LeftButton, {}, QPoint(textMiddle, folder->height() / 2));
        QCOMPARE(f.services.openedFolders, QStringList{site});
        folder->setFocus(Qt::TabFocusReason); // tabbed to: onto its link
        QTest::keyClick(folder, Qt::Key_Return);
        QCOMPARE(f.services.openedFolders, (QStringList{site, site}));
        // A note lasts while its page does, and only so long.
        QVERIFY(f.window->findChild<QTimer *>("statusTimeout")->isActive());
        f.previous();
        QVERIFY(status->text().isEmpty() && folder->text().isEmpty());

        // A failed open leaves no earlier news standing.
        f.services.fileNames.enqueue(project);
        f.window->menuItem(WizardWindow::OpenProjectItem)->trigger();
        QCOMPARE(status->text(), QStringLiteral("Project opened"));
        TestEnvironment::writeFile(project, "");
        f.services.fileNames.enqueue(project);
        f.window->menuItem(WizardWindow::OpenProjectItem)->trigger();
        QCOMPARE(f.services.messageIds(), QList<int>{Str::ProjectOpenBadFormat});
        QVERIFY(status->text().isEmpty());
    }

    // Next with no applet chosen (a first start) says what to do.
    void nextWithoutAnAppletSaysWhatToDo()
    {
        WizardFixture f;
        f.start();
        QVERIFY(SelectionPage::selectedApplet(*f.page()).isEmpty());
        f.next();
        QCOMPARE(f.pageId(), 129);
        QCOMPARE(f.window->statusLine()->text(),
                 QStringLiteral("Choose a category, then an applet from its list, and press Next."));
    }
};

QTEST_MAIN(FirstRunTest)
#include "tst_firstrun.moc"
