#include "WizardFixture.h"
#include "settings/InstallData.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QWindow>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace vexa;
using vexa::test::TestEnvironment;
using vexa::test::WizardFixture;

class WizardTest : public QObject {
    Q_OBJECT

private slots:
    void startUpState()
    {
        WizardFixture f;
        f.start();
        QCOMPARE(f.window->windowHandle()->title(), QStringLiteral("Vexa Java"));
        // The desktop icon's pictures, built into the program.
        QVERIFY(f.window->windowIcon().availableSizes().contains(QSize(48, 48)));
        QCOMPARE(f.pageId(), 129);
        QVERIFY(!f.window->button(WizardWindow::PreviousButton)->isEnabled());
        QVERIFY(f.window->button(WizardWindow::DefaultsButton)->isHidden());
        QVERIFY(f.window->button(WizardWindow::PreviewButton)->isHidden());
        QVERIFY(!f.window->menuItem(WizardWindow::SaveAllFilesItem)->isEnabled());
        QVERIFY(!f.window->menuItem(WizardWindow::SaveProjectItem)->isEnabled());
        QVERIFY(f.window->button(WizardWindow::NextButton)->isDefault());
        // First start: no category, no applet, and Next stays on the selection page.
        QCOMPARE(f.window->menuItem(WizardWindow::AppletInfoItem)->text(), QStringLiteral("Applet  info"));
        QCOMPARE(f.control<QComboBox>(1002)->count(), 0);
        f.next();
        QCOMPARE(f.pageId(), 129);
    }

    void selectionPageRemembersTheChoice()
    {
        WizardFixture f;
        f.set("", "LastCateg", "4");
        f.set("", "LastApplet", "TUNNEL");
        f.start();
        QVERIFY(f.control<QRadioButton>(1434)->isChecked());
        QCOMPARE(f.page()->text(1002), QStringLiteral("TUNNEL"));
        QCOMPARE(f.page()->text(1004), StringTable::text(1659));
        QCOMPARE(f.window->menuItem(WizardWindow::AppletInfoItem)->text(), QStringLiteral("Applet TUNNEL info"));

        // The list is sorted and a category click selects its first applet.
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QTest::mouseClick(f.control<QRadioButton>(1429), Qt::LeftButton);
        QCOMPARE(f.page()->text(1002), QStringLiteral("BOOKFLIP"));
        QCOMPARE(f.control<QComboBox>(1002)->itemText(2), QStringLiteral("MOSAIC"));
        QTest::mouseClick(f.control<QRadioButton>(1436), Qt::LeftButton);
        QCOMPARE(f.page()->text(1002), QStringLiteral("CUBEMENU"));

        f.set("", "LastCateg", "2");
        f.set("", "LastApplet", "BUMP");
        f.window.reset();
        f.start();
        QCOMPARE(f.page()->text(1002), QStringLiteral("FLOZOIDS"));
    }

    void nextStoresTheChoiceAndWalksBumpAndBack()
    {
        WizardFixture f;
        f.env.makeAppletFolder("BUMP", {"bumpscr.txt"});
        f.set("", "LastCateg", "3");
        f.set("", "LastApplet", "BUMP");
        f.set("BUMP", "Width", "320");
        f.set("BUMP", "Height", "200");
        f.set("BUMP", "Textscroll", "bumpscr.txt");
        // Values every page of the walk accepts on Next.
        const QList<QPair<const char *, const char *>> valid = {
            {"ImageFile", "bump.gif"}, {"AltImageFile", "alt.gif"}, {"AngleX", "30"},
            {"AngleY", "45"},          {"LPower", "50"},            {"LMin", "1"},
            {"LMax", "200"},           {"TextVSpace", "10"},        {"Textspeed", "2"},
            {"YOffset", "20"},         {"TextSineAngle", "10"},     {"TextSineAmpl", "5"},
            {"TextSineSpeed", "2"},    {"TextJumpAmpl", "5"},       {"TextJumpSpeed", "2"},
            {"MemDelay", "10"},        {"TaskPriority", "5"},       {"MinSYNC", "10"},
            {"OverImage", "NO"},       {"OverImgX", "0"},           {"OverImgY", "0"},
            {"RegLink", "http://www.example.com/"}, {"RegNewFrame", "YES"},
            {"RegFrameName", "_blank"}};
        for (const auto &[key, value] : valid)
            f.set("BUMP", key, value);
        f.start();
        QList<int> walk{f.pageId()};
        for (int i = 0; i < 5; ++i) {
            f.next();
            walk << f.pageId();
        }
        QCOMPARE(walk, QList<int>({129, 136, 133, 135, 155, 134}));
        QCOMPARE(f.env.store().read("", "LastApplet"), QStringLiteral("BUMP"));
        QCOMPARE(f.env.store().read("", "LastCateg"), QStringLiteral("3"));
        QCOMPARE(f.window->windowHandle()->title(), QStringLiteral("BUMP - Vexa Java"));
        QCOMPARE(f.window->button(WizardWindow::NextButton)->text(), StringTable::text(Str::Publish));
        QVERIFY(f.window->button(WizardWindow::PreviousButton)->isDefault());
        QVERIFY(f.window->menuItem(WizardWindow::SaveAllFilesItem)->isEnabled());

        // Publish shows the notice and stays.
        f.next();
        QCOMPARE(f.pageId(), 134);
        QCOMPARE(f.services.notices.size(), 1);
        QCOMPARE(f.services.notices.first().title, StringTable::text(Str::Publish));
        QCOMPARE(f.services.notices.first().linkKeyword, QStringLiteral("STEP1"));

        walk = {f.pageId()};
        for (int i = 0; i < 5; ++i) {
            f.previous();
            walk << f.pageId();
        }
        QCOMPARE(walk, QList<int>({134, 155, 135, 133, 136, 129}));
        QCOMPARE(f.window->button(WizardWindow::NextButton)->text(), StringTable::text(Str::NextCaption));
        QVERIFY(!f.window->button(WizardWindow::PreviousButton)->isEnabled());
    }

    void keyboard()
    {
        WizardFixture f;
        f.env.makeAppletFolder("LENS");
        f.set("", "LastCateg", "3");
        f.set("", "LastApplet", "LENS");
        f.start();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        // Enter is Next, wherever the focus is on the page.
        f.control<QComboBox>(1002)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.pageId(), 151);
        // The captions' mnemonics are the buttons' shortcuts, none taken twice in the window.
        QCOMPARE(f.window->button(WizardWindow::PreviousButton)->shortcut(), QKeySequence("Alt+P"));
        QCOMPARE(f.window->button(WizardWindow::NextButton)->shortcut(), QKeySequence("Alt+N"));
        QMap<QString, QString> taken;
        for (QAbstractButton *button : f.window->findChildren<QAbstractButton *>()) {
            if (button->shortcut().isEmpty() || !button->isVisible())
                continue;
            const QString key = button->shortcut().toString();
            QVERIFY2(!taken.contains(key), qPrintable(key + " twice: " + taken.value(key) + ", " + button->text()));
            taken.insert(key, button->text());
        }
        f.previous();
        QCOMPARE(f.pageId(), 129);
        // Tab moves through the page in its visual order, starting at the categories.
        QTest::mouseClick(f.control<QRadioButton>(1432), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), f.control(1432));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.control(1002));
        // After Exit the chain goes round to the page, through no empty stop; a folder named
        // in the status line is a stop while it shows.
        for (const QString &folder : {QString(), f.env.path("shown")}) {
            f.window->currentPage()->context().status("Note", folder);
            f.window->button(WizardWindow::ExitButton)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            auto *label = qobject_cast<QLabel *>(QApplication::focusWidget());
            QCOMPARE(label != nullptr, !folder.isEmpty());
            if (label) QVERIFY(label->text().contains("shown"));
        }
    }

    void menuItemTextFilters()
    {
        TestEnvironment env;
        test::ScriptedServices services;
        PageContext wheel{env.store(), env.folders(), services, "WHEELMENU", WalkFlags{}};
        Page wheelPage(197, wheel);
        wheelPage.show();
        auto *text = wheelPage.control<QLineEdit>(1448);
        QTest::keyClicks(text, "Home 2, page");
        QCOMPARE(text->text(), QStringLiteral("HOME  PAGE"));
        PageContext tree{env.store(), env.folders(), services, "TREEMENU", WalkFlags{}};
        Page treePage(197, tree);
        treePage.show();
        text = treePage.control<QLineEdit>(1448);
        QTest::keyClicks(text, "Home, page");
        QCOMPARE(text->text(), QStringLiteral("Home page"));
    }

    void exitAsksFirst()
    {
        WizardFixture f;
        f.start();
        f.services.answers.enqueue(false);
        QVERIFY(!f.window->exitWizard());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.services.questions.first().id, Str::ReallyExit);
        QCOMPARE(f.services.questions.first().icon, MessageIcon::Question);
        f.services.answers.enqueue(false);
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
        QVERIFY(f.window->isVisible());
        f.services.answers.enqueue(true);
        f.window->runCommand(WizardWindow::ExitItem);
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.services.questions.size(), 3);
    }

    // A page's context menu is open when Next comes (a timer stands for a click that closes
    // the menu and goes on to Next): the page goes, menu and all.
    void nextWhileAContextMenuIsOpen()
    {
        WizardFixture f(InstallData::defaultsFile());
        f.startAt("MOSAIC", 181);
        QPointer<Page> page = f.page();
        auto *list = f.control<QListWidget>(1090);
        QTimer::singleShot(0, f.window.get(), [&f] { f.next(); });
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(10, 5));
        QTRY_VERIFY(!page);
        QVERIFY(f.pageId() != 181);
        QVERIFY(!QApplication::activePopupWidget());
    }

    // A command asked for while a dialog runs its own loop (code under it may still use the
    // page) waits until the dialog has closed.
    void commandsWaitForAnOpenDialog_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("pageAfter");
        QTest::newRow("Next") << int(WizardWindow::NextButton) << 135;
        QTest::newRow("Previous") << int(WizardWindow::PreviousButton) << 129;
        QTest::newRow("Default values") << int(WizardWindow::DefaultsButton) << 181;
    }
    void commandsWaitForAnOpenDialog()
    {
        QFETCH(int, button);
        QFETCH(int, pageAfter);
        WizardFixture f(InstallData::defaultsFile());
        f.startAt("MOSAIC", 181);
        f.page()->setText(1019, QStringLiteral("77"));
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Vexa Java"), QStringLiteral("open"), QMessageBox::Ok,
                        f.window.get());
        QString widthWhileOpen;
        QTimer::singleShot(0, &box, [&] {
            f.window->button(button)->click();
            widthWhileOpen = f.page()->text(1019);
            box.accept();
        });
        box.exec();
        QCOMPARE(widthWhileOpen, QStringLiteral("77")); // the page was left alone
        QTRY_COMPARE(f.pageId(), pageAfter);
        QTRY_VERIFY(f.page()->text(1019) != QLatin1String("77"));
    }
};

QTEST_MAIN(WizardTest)
#include "tst_wizard.moc"
