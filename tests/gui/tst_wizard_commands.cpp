#include "Addresses.h"
#include "WizardFixture.h"
#include "settings/InstallData.h"
#include "wizard/AboutDialog.h"
#include "publish/ProjectFile.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "editors/MenuTreeEditor.h"
#include "wizard/BrowserDialog.h"
#include "wizard/InfoDialog.h"
#include "catalogue/Catalogue.h"
#include "tag/TagGenerator.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QWindow>
#include <QPlainTextEdit>

using namespace vexa;
using vexa::test::ScriptedServices;
using vexa::test::TestEnvironment;
using vexa::test::WizardFixture;

namespace {

// A BLOBS section that passes its pages' checks, saved as a project file.
QString blobsProject(WizardFixture &f, const QString &nblobs)
{
    for (const auto &[key, value] : QList<QPair<QString, QString>>{
             {"Width", "200"}, {"Height", "150"}, {"NBlobs", nblobs}, {"BVal1", "210"}, {"BVal2", "35600"},
             {"BVal3", "35600"}, {"Res", "2"}, {"Textscroll", "NO"}})
        f.set("BLOBS", key, value);
    const QString file = f.env.path("blobs.vxp");
    RecordingReporter reporter;
    if (ProjectFile(f.env.store(), reporter).save("BLOBS", file) != 1)
        qFatal("cannot save the project");
    return file;
}

} // namespace

class WizardCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void projectOpenedOnTheSelectionPageMovesToTheApplet()
    {
        WizardFixture f;
        f.env.makeAppletFolder("BLOBS");
        const QString file = blobsProject(f, "7");
        f.set("BLOBS", "NBlobs", "3");
        f.set("", "LastCateg", "3");
        f.set("", "LastApplet", "BUMP");
        f.start();
        f.services.fileNames.enqueue(file);
        f.window->runCommand(WizardWindow::OpenProjectItem);
        QCOMPARE(f.pageId(), 132);
        QCOMPARE(f.window->context().appletId, QStringLiteral("BLOBS"));
        QCOMPARE(f.page()->text(1009), QStringLiteral("7"));
        QCOMPARE(f.env.store().read("", "LastApplet"), QStringLiteral("BLOBS"));
        QCOMPARE(f.env.store().read("", "LastCateg"), QStringLiteral("6"));
        QVERIFY(f.services.messages.isEmpty());
    }

    void projectOpenedOnAnotherPageReloadsIt()
    {
        WizardFixture f;
        f.env.makeAppletFolder("BLOBS");
        const QString file = blobsProject(f, "5");
        f.startAt("BLOBS", 132);
        f.page()->selectComboItem(1009, "2", nullptr); // unsaved edit, replaced by the project
        f.services.fileNames.enqueue(file);
        QCOMPARE(f.window->openProject(), 1);
        QCOMPARE(f.pageId(), 132);
        QCOMPARE(f.page()->text(1009), QStringLiteral("5"));

        // A project of another applet is refused and changes nothing.
        f.set("BUMP", "Width", "1");
        RecordingReporter reporter;
        QVERIFY(ProjectFile(f.env.store(), reporter).save("BUMP", f.env.path("bump.vxp")) == 1);
        f.page()->selectComboItem(1009, "4", nullptr);
        QCOMPARE(f.window->openProject(f.env.path("bump.vxp")), 0);
        QCOMPARE(f.services.messageIds(), QList<int>({Str::ProjectOpenWrongApplet}));
        QCOMPARE(f.page()->text(1009), QStringLiteral("4"));
        // Cancelling the dialog does nothing.
        QCOMPARE(f.window->openProject(), -1);
    }

    // The project named on the command line opens once the window shows: what it says
    // appears over the window, never before it.
    void commandLineProjectOpensAtStartUp()
    {
        WizardFixture f;
        f.env.makeAppletFolder("BLOBS");
        const QString file = blobsProject(f, "8");
        f.set("BLOBS", "NBlobs", "2");
        f.start(file);
        QTRY_COMPARE(f.pageId(), 132);
        QCOMPARE(f.page()->text(1009), QStringLiteral("8"));

        TestEnvironment::writeFile(f.env.path("broken.vxp"), "not a project");
        WizardWindow window(f.env.store(), f.env.folders(), f.services, f.env.path("broken.vxp"));
        QCoreApplication::processEvents();
        QVERIFY(f.services.messages.isEmpty());
        window.show();
        QTRY_COMPARE(f.services.messageIds().size(), 1);
    }

    // Values the store could not save are not lost with the program: at exit the user may
    // try again, then keep the applet's values in a project.
    void unsavedValuesAreOfferedAtExit()
    {
        WizardFixture f;
        f.env.makeAppletFolder("BLOBS");
        blobsProject(f, "4");
        f.startAt("BLOBS", 132);
        const QString lock = f.env.store().lockFileName();
        TestEnvironment::writeFile(lock, "4242\nvexajava-cli\nelsewhere.example\n"); // held elsewhere
        f.set("BLOBS", "MemDelay", "321"); // a value of a later page
        QVERIFY(!f.env.store().sync());
        const QString file = f.env.path("kept.vxp");
        f.services.fileNames.enqueue(file);
        f.services.answers << true << true << false << true; // exit; try again; no more; the project
        f.services.messages.clear();
        f.window->runCommand(WizardWindow::ExitItem);
        QCOMPARE(f.services.questions.size(), 4);
        QCOMPARE(f.services.questions.at(1).id, Str::SettingsUnsavedAtExit);
        QCOMPARE(f.services.questions.at(3).id, Str::SaveProjectAtExit);
        QVERIFY(!f.window->isVisible());
        QFile::remove(lock);
        RecordingReporter reporter;
        SettingsStore other(f.env.path("other.conf"), QString(), reporter);
        QString applet;
        QCOMPARE(ProjectFile(other, reporter).open(file, &applet, true), 1);
        QCOMPARE(other.read("BLOBS", "MemDelay"), QStringLiteral("321"));
    }

    void saveProjectWritesTheStoredPage()
    {
        WizardFixture f;
        f.env.makeAppletFolder("BLOBS");
        blobsProject(f, "4");
        f.startAt("BLOBS", 132);
        QVERIFY(f.window->menuItem(WizardWindow::SaveProjectItem)->isEnabled());
        f.page()->selectComboItem(1009, "6", nullptr);
        const QString file = f.env.path("saved.vxp");
        f.services.fileNames.enqueue(file);
        f.window->runCommand(WizardWindow::SaveProjectItem);
        QVERIFY(f.services.messages.isEmpty());
        QCOMPARE(f.env.store().read("BLOBS", "NBlobs"), QStringLiteral("6"));
        QCOMPARE(QFile(file).size() % 712, 0);

        // A page that refuses its values saves nothing and says so.
        f.page()->setText(1024, QString());
        f.services.fileNames.enqueue(f.env.path("refused.vxp"));
        f.window->runCommand(WizardWindow::SaveProjectItem);
        QCOMPARE(f.services.messageIds(), QList<int>({Str::FieldRequired, Str::ProjectSaveFailed}));
        QVERIFY(!QFile::exists(f.env.path("refused.vxp")));
    }

    void previewClipboardAndPublishing()
    {
        WizardFixture f;
        const QString folder =
            f.env.makeAppletFolder("BLOBS", {"blob.class", "blobs.class", "vexa.class", "vexalib.class", "blobs.jar",
                                             "blobscr.txt"});
        TestEnvironment::writeFile(f.env.installDir() + "/applets/qzbut1.gif", "GIF89a");
        blobsProject(f, "5");
        f.startAt("BLOBS", 132);

        f.click(WizardWindow::PreviewButton);
        QCOMPARE(f.services.opened, QStringList({folder + "/preview.html"}));
        QVERIFY(TestEnvironment::readFile(folder + "/preview.html").contains("code=\"blobs.class\""));
        f.services.browserStarts = false;
        f.click(WizardWindow::PreviewButton);
        QCOMPARE(f.services.messageIds(), QList<int>({Str::CreateProcessFailed}));
        f.services.browserStarts = true;
        f.services.messages.clear();

        for (const auto &[key, value] : QList<QPair<QString, QString>>{
                 {"MemDelay", "200"}, {"TaskPriority", "3"}, {"MinSYNC", "20"}, {"OverImage", "NO"},
                 {"RegLink", "NO"}, {"RegNewFrame", "NO"}})
            f.set("BLOBS", key, value);
        f.walkTo(134);
        const QString tag = f.page()->text(1055);
        QVERIFY(tag.startsWith("<applet archive=\"blobs.jar\""));
        // The code box shows the tag line by line (the box keeps plain line feeds).
        QCOMPARE(tag, TagGenerator(f.env.store()).generate("BLOBS").replace("\r\n", "\n"));
        QTest::mouseClick(f.control<QPushButton>(1312), Qt::LeftButton);
        QCOMPARE(f.services.clipboard, tag);
        QCOMPARE(f.window->statusLine()->text(), QStringLiteral("HTML code copied to the clipboard"));

        // The command line prints the same tag from the same store.
        f.env.store().sync();
        const QString config = f.env.path("xdg");
        QDir().mkpath(config + "/Vexa Team");
        QVERIFY(QFile::copy(f.env.storeFile(), config + "/Vexa Team/Vexa Java.conf"));
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config);
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(VEXAJAVA_CLI_PATH), {"tag", "BLOBS"});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()).replace("\r\n", "\n"), tag);

        const QString site = f.env.path("site");
        QDir().mkpath(site);
        f.services.fileNames.enqueue(site + "/index.html");
        QTest::mouseClick(f.control<QPushButton>(1056), Qt::LeftButton);
        QVERIFY(f.services.messages.isEmpty());
        for (const char *name : {"index.html", "qzbut1.gif", "blobs.class", "blob.class", "blobs.jar", "blobscr.txt"})
            QVERIFY2(QFile::exists(site + "/" + name), name);
        QVERIFY(TestEnvironment::readFile(site + "/index.html").contains("src=\"qzbut1.gif\""));
        QVERIFY(f.control(4004)->isHidden()); // a Windows desktop's feature

        // The menu's "Save all files to..." is the same operation; cancelled, it does nothing.
        f.window->runCommand(WizardWindow::SaveAllFilesItem);
        QVERIFY(f.services.messages.isEmpty());
    }

    void defaultValuesButton()
    {
        WizardFixture f;
        f.env.makeAppletFolder("BLOBS");
        blobsProject(f, "8");
        f.startAt("BLOBS", 132);
        f.click(WizardWindow::DefaultsButton);
        QCOMPARE(f.page()->text(1009), QStringLiteral("5")); // the fixture's BLOBS_DEF
        QCOMPARE(f.env.store().read("BLOBS", "NBlobs"), QStringLiteral("8")); // nothing stored yet
        QCOMPARE(f.page()->text(1024), QString());
    }

    void helpMenu()
    {
        WizardFixture f;
        f.set("", "LastCateg", "3");
        f.set("", "LastApplet", "LENS");
        f.start();
        f.window->runCommand(WizardWindow::AppletInfoItem);
        QCOMPARE(f.services.opened.last(), f.env.installDir() + "/help/lens.html");
        f.window->runCommand(WizardWindow::InstructionsItem);
        QCOMPARE(f.services.opened.last(), f.env.installDir() + "/help/helproot.html");
        f.window->runCommand(WizardWindow::FaqItem);
        QCOMPARE(f.services.opened.last(), f.env.installDir() + "/help/generalfaq.html");
        f.window->runCommand(WizardWindow::ScrollTextHelpItem);
        f.window->runCommand(WizardWindow::CopyrightItem);
        QCOMPARE(f.services.textDocuments, QStringList({f.env.installDir() + "/applets/scrtext.txt",
                                                        f.env.installDir() + "/applets/copyright.txt"}));
        f.window->runCommand(WizardWindow::HomePageItem);
        QCOMPARE(f.services.opened.last(), Addresses::homePage());
        // A browser that fails is said, with the command and the page.
        f.services.browserStarts = false;
        f.window->runCommand(WizardWindow::InstructionsItem);
        f.window->runCommand(WizardWindow::HomePageItem);
        QCOMPARE(f.services.messageIds(), QList<int>({Str::CreateProcessFailed, Str::CreateProcessFailed}));
        QVERIFY(f.services.messages.first().text.endsWith(
            QStringLiteral("\"browser\" ended with status 2 for \"%1\"").arg(f.env.installDir() + "/help/helproot.html")));
        f.window->runCommand(WizardWindow::AboutItem);
        QCOMPARE(f.services.aboutShown, 1);
        // The About box names the version the programs and the package carry.
        QStringList texts;
        const AboutDialog about(f.window.get());
        for (const QLabel *label : about.findChildren<QLabel *>())
            texts << label->text();
        QVERIFY(texts.contains(InstallData::versionText()));
    }

    // The desktop's keys open and save projects; the title names the project while its
    // applet is current.
    void projectKeysAndTitle()
    {
        WizardFixture f(InstallData::defaultsFile());
        f.startAt("BLOBS", 132);
        QCOMPARE(f.window->menuItem(WizardWindow::SaveProjectItem)->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(f.window->menuItem(WizardWindow::ExitItem)->shortcut(), QKeySequence(QKeySequence::Quit));
        const auto title = [&f] { return f.window->windowHandle()->title(); };
        QCOMPARE(title(), QStringLiteral("BLOBS - Vexa Java"));
        const QString project = f.env.path("my blobs.vxp");
        f.services.fileNames.enqueue(project);
        QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(project));
        QCOMPARE(title(), QStringLiteral("my blobs.vxp - Vexa Java"));
        // An edit marks the project changed; taken back and stored, the mark goes again.
        auto *field = f.control<QLineEdit>(1024);
        const QString before = field->text();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, "1");
        QCOMPARE(title(), QStringLiteral("my blobs.vxp* - Vexa Java"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), before);
        f.next();
        QCOMPARE(title(), QStringLiteral("my blobs.vxp - Vexa Java"));
        f.previous();
        f.services.fileNames.enqueue(project);
        QTest::keyClick(f.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.window->statusLine()->text(), QStringLiteral("Project opened"));
        f.previous();
        QCOMPARE(title(), QStringLiteral("my blobs.vxp - Vexa Java"));
        auto *list = f.control<QComboBox>(1002);
        f.page()->setChecked(Catalogue::categoryRadioId(Catalogue::category("LENS")), true);
        list->setFocus();
        QTest::keyClicks(list, "LENS");
        QCOMPARE(list->currentText(), QStringLiteral("LENS"));
        QCOMPARE(title(), QStringLiteral("LENS - Vexa Java"));
        f.next();
        QCOMPARE(title(), QStringLiteral("LENS - Vexa Java"));
    }

    // File dialogs: ".jpeg" pictures too, and a folder kept per kind of file.
    void fileDialogFilters()
    {
        QCOMPARE(Services::qtFilter(StringTable::text(Str::ImageFilter)),
                 QStringLiteral("Image file (*.jpg *.jpeg *.gif);;All files (*.*)"));
        QCOMPARE(Services::folderKey(StringTable::text(Str::ProjectFilter)), QStringLiteral("FolderVxp"));
        QCOMPARE(Services::folderKey(StringTable::text(Str::ImageFilter)), QStringLiteral("FolderJpg"));
    }

    void changeBrowser()
    {
        WizardFixture f;
        f.set("", "Browser", "Default browser");
        f.start();
        f.services.browserChoices.enqueue("/usr/bin/firefox");
        f.window->runCommand(WizardWindow::ChangeBrowserItem);
        QCOMPARE(f.services.browserDialogs, QStringList({"Default browser"}));
        QCOMPARE(f.env.store().read("", "Browser"), QStringLiteral("/usr/bin/firefox"));
        f.window->runCommand(WizardWindow::ChangeBrowserItem); // cancelled
        QCOMPARE(f.services.browserDialogs.last(), QStringLiteral("/usr/bin/firefox"));
        QCOMPARE(f.env.store().read("", "Browser"), QStringLiteral("/usr/bin/firefox"));
    }

    void browserDialog()
    {
        ScriptedServices services;
        BrowserDialog dialog("Default browser", services);
        auto *check = dialog.findChild<QCheckBox *>("c1141");
        auto *edit = dialog.findChild<QLineEdit *>("c1098");
        auto *find = dialog.findChild<QPushButton *>("c1099");
        QVERIFY(check->isChecked());
        QVERIFY(!find->isEnabled());
        QCOMPARE(edit->maxLength(), 255);
        // Never chosen: previews go to the system's browser, and the dialog says so.
        BrowserDialog fresh("", services);
        QVERIFY(fresh.findChild<QCheckBox *>("c1141")->isChecked());
        QCOMPARE(fresh.browser(), QStringLiteral("Default browser"));
        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(edit->text(), QString());
        QVERIFY(find->isEnabled());
        dialog.accept(); // empty: refused
        QCOMPARE(services.messageIds(), QList<int>({Str::BrowserMissing}));
        QVERIFY(dialog.result() != QDialog::Accepted);
        services.fileNames.enqueue("/opt/browser/run");
        QTest::mouseClick(find, Qt::LeftButton);
        QCOMPARE(dialog.browser(), QStringLiteral("/opt/browser/run"));
        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(dialog.browser(), QStringLiteral("Default browser"));
        // The keyboard switches it as the mouse does.
        QTest::keyClick(check, Qt::Key_Space);
        QVERIFY(!check->isChecked());
        QCOMPARE(edit->text(), QString());
        QVERIFY(find->isEnabled());
    }

    void menuPageTakesTheDefaultMenu()
    {
        QTemporaryDir dir;
        const QString defaults = dir.filePath("defaults.ini");
        TestEnvironment::writeFile(defaults, "[WHEELMENU_DEF]\nMenuText_00=Home\nMenuUrl_00=index.html\n"
                                             "MenuText_01=News\nMenuText_02=\n");
        TestEnvironment env(defaults);
        ScriptedServices services;
        PageContext context{env.store(), env.folders(), services, "WHEELMENU", WalkFlags{}};
        Page page(197, context);
        page.load(false);
        QVERIFY(MenuTreeEditor::of(page)->tree().isEmpty());
        QVERIFY(!page.validate()); // no item yet
        page.load(true);
        const MenuTree menu = MenuTreeEditor::of(page)->tree();
        QCOMPARE(menu.items.size(), 2);
        QCOMPARE(menu.items.first().record->url, QStringLiteral("index.html"));
        page.store();
        QCOMPARE(env.store().read("WHEELMENU", "MenuText_01"), QStringLiteral("News"));
    }

    void infoDialogLink()
    {
        TestEnvironment env;
        ScriptedServices services;
        InfoDialog publish({"Publish", StringTable::text(Str::PublishNotice), "For more details", "STEP1"}, services,
                           env.folders());
        QCOMPARE(publish.windowTitle(), QStringLiteral("Publish"));
        publish.activateLink();
        QCOMPARE(services.opened, QStringList({env.installDir() + "/help/helproot.html"}));
        InfoDialog custom({"Custom 3D objects ?", "m", "l", "VEXA3D LIGHT"}, services, env.folders());
        custom.activateLink();
        QCOMPARE(services.opened.last(), Addresses::product3d());
        InfoDialog other({"", "m", "l", "NOTHING"}, services, env.folders());
        QCOMPARE(other.windowTitle(), QStringLiteral("Info"));
        other.activateLink();
        QCOMPARE(services.opened.size(), 2);
    }
};

QTEST_MAIN(WizardCommandsTest)
#include "tst_wizard_commands.moc"
