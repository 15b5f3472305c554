#include "ScriptedServices.h"
#include "TestSupport.h"
#include "controls/ColourSwatch.h"
#include "pages/Page.h"
#include "pages/PageTables.h"
#include "pages/PageTemplates.h"
#include "strings/StringTable.h"
#include "wizard/WizardWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace vexa;
using vexa::test::ScriptedServices;
using vexa::test::TestEnvironment;

namespace {

// The applet whose section a page edits (the common pages serve any applet).
QString appletOf(int pageId)
{
    static const QHash<int, QString> applets = {
        {131, "BLUR"},     {132, "BLOBS"},        {133, "BUMP"},         {134, "BUMP"},      {135, "FIRE"},
        {136, "BUMP"},     {137, "CFADE"},        {138, "BOOKFLIP"},     {141, "CUBEMENU"},  {142, "DEFORM"},
        {143, "FIRE"},     {144, "FLAG"},         {145, "FLAGLOAD"},     {146, "FLOZOIDS"},  {147, "FLUID"},
        {148, "HUEROT"},   {149, "IFSFRACT"},     {150, "LAKE"},         {151, "LENS"},      {152, "LIFE2D"},
        {153, "MANDEL"},   {154, "PLASMA"},       {155, "BUMP"},         {156, "ROT"},       {157, "TMAPCUBE"},
        {171, "TUNNEL"},   {172, "TUNNEL3D"},     {173, "VOXEL"},        {174, "WARP"},      {175, "WATER"},
        {176, "WORMHOLE"}, {180, "GALAXY"},       {181, "MOSAIC"},       {182, "VEXA3D LIGHT"}, {183, "VEXA3D LIGHT"},
        {194, "WHEELMENU"}, {195, "MORPHMENU"},   {196, "WOBBLER"},      {197, "TREEMENU"},  {198, "TEXTSCROLLER"},
        {199, "MORPHMENU"}, {200, "MORPHMENU"},   {201, "TREEMENU"},     {202, "VEXACAM"},   {206, "VEXAPAINT"},
        {207, "SOLIDSCROLLER"}, {208, "SOLIDSCROLLER"}, {209, "SNOW"},   {210, "FIREWORKS"}, {211, "CUBEMENU"},
    };
    return applets.value(pageId);
}

// Fills every bound control with a value of its own and returns what the store must then hold.
QHash<QString, QString> fillDistinct(Page &page)
{
    QHash<QString, QString> expected;
    int n = 0;
    for (const Binding &b : pageBindings(page.pageId())) {
        ++n;
        const QString key = QLatin1String(b.key);
        if (!page.isActive(b.control) && b.kind != BindingKind::Component && b.kind != BindingKind::HexColour)
            continue; // a disabled control is not the user's to fill
        switch (b.kind) {
        case BindingKind::Text:
        case BindingKind::TextIfSet:
            if (auto *edit = page.control<QLineEdit>(b.control); edit && edit->isReadOnly())
                break;
        {
            // A number of its own that fits the field's length limit.
            const int limit = lengthLimit(page.pageId(), b.control);
            const QString value = QString::number(100 + n).right(limit > 0 ? limit : 3);
            page.setText(b.control, value);
            expected.insert(key, value);
        }
            break;
        case BindingKind::Combo: {
            auto *combo = page.control<QComboBox>(b.control);
            if (!combo || combo->count() == 0)
                break;
            combo->setCurrentIndex(combo->count() - 1 - (n % qMax(1, combo->count())) % combo->count());
            expected.insert(key, combo->currentText());
            break;
        }
        case BindingKind::CheckYes:
        case BindingKind::CheckUnlessNo:
            if (key == QLatin1String("TextStdFont")) { // keep the Java fonts: a system font may be missing later
                page.setChecked(b.control, true);
                page.runHandler(b.control);
                expected.insert(key, "YES");
                break;
            }
            page.setChecked(b.control, n % 2);
            expected.insert(key, n % 2 ? "YES" : "NO");
            break;
        case BindingKind::CheckOne:
        case BindingKind::CheckUnlessZero:
            page.setChecked(b.control, n % 2);
            expected.insert(key, n % 2 ? "1" : "0");
            break;
        case BindingKind::RadioPair:
            page.setChecked(n % 2 ? b.control : b.second, true);
            expected.insert(key, QLatin1String(n % 2 ? b.onValue : b.offValue));
            break;
        case BindingKind::OptionalFile:
        case BindingKind::OptionalFileIfSet:
            page.setChecked(b.control, true);
            page.setEnabled(b.second, true);
            page.setText(b.second, QStringLiteral("file%1.gif").arg(n));
            expected.insert(key, QStringLiteral("file%1.gif").arg(n));
            break;
        case BindingKind::Component: {
            QColor c = page.colour(b.control);
            const int v = (n * 37) % 256;
            b.second == 0 ? c.setRed(v) : b.second == 1 ? c.setGreen(v) : c.setBlue(v);
            page.setColour(b.control, c);
            expected.insert(key, QString::number(v));
            break;
        }
        case BindingKind::HexColour: {
            const QColor c((n * 53) % 256, (n * 97) % 256, (n * 11) % 256);
            page.setColour(b.control, c);
            expected.insert(key, QString::number(c.red() | c.green() << 8 | c.blue() << 16, 16));
            break;
        }
        case BindingKind::ShowOnly:
        case BindingKind::Special:
            break;
        }
    }
    if (page.isActive(1013)) // the scroll text lives in its own file
        page.setText(1013, QStringLiteral("Scrolling text\nsecond line of page %1").arg(page.pageId()));
    return expected;
}

// What every bound control shows, for comparing two loads.
QStringList shown(Page &page)
{
    QStringList values;
    for (const Binding &b : pageBindings(page.pageId())) {
        QString value = QStringLiteral("%1=%2/%3").arg(QLatin1String(b.key), page.text(b.control)).arg(page.isChecked(b.control));
        if (b.second && b.kind != BindingKind::Component)
            value += QStringLiteral("/%1/%2").arg(page.text(b.second)).arg(page.isChecked(b.second));
        if (b.kind == BindingKind::Component || b.kind == BindingKind::HexColour)
            value += page.colour(b.control).name();
        values << value;
    }
    return values;
}

QList<int> applicablePages()
{
    QList<int> ids;
    for (const PageTemplate &t : pageTemplates()) {
        if (t.pageId != 129 && t.pageId != 134)
            ids << t.pageId;
    }
    return ids;
}

} // namespace

class PagesTest : public QObject {
    Q_OBJECT

private slots:
    void everyTemplateIsComplete()
    {
        QCOMPARE(int(pageTemplates().size()), 51);
        for (const PageTemplate &t : pageTemplates()) {
            QSet<int> ids;
            for (const ControlSpec &control : t.controls) {
                if (control.id == 0)
                    continue;
                QVERIFY2(!ids.contains(control.id), qPrintable(QStringLiteral("page %1 control %2 twice").arg(t.pageId).arg(control.id)));
                ids.insert(control.id);
            }
            // Every bound control is on its page.
            for (const Binding &b : pageBindings(t.pageId)) {
                if (b.kind == BindingKind::Component || b.kind == BindingKind::HexColour || b.kind == BindingKind::Special)
                    continue;
                QVERIFY2(ids.contains(b.control), qPrintable(QStringLiteral("page %1 lacks %2").arg(t.pageId).arg(b.control)));
                if (b.second && (b.kind == BindingKind::RadioPair || b.kind == BindingKind::OptionalFile ||
                                 b.kind == BindingKind::OptionalFileIfSet))
                    QVERIFY2(ids.contains(b.second), qPrintable(QStringLiteral("page %1 lacks %2").arg(t.pageId).arg(b.second)));
            }
            // Every combo has its items, except the lists filled at run time.
            for (const ControlSpec &control : t.controls) {
                if (control.kind == ControlKind::Combo && control.id != 1002 && control.id != 1050 && control.id != 1516)
                    QVERIFY2(!comboItems(t.pageId, control.id).isEmpty(),
                             qPrintable(QStringLiteral("page %1 combo %2 has no items").arg(t.pageId).arg(control.id)));
            }
        }
    }

    void controlsAreNamedForPeopleAndTools()
    {
        TestEnvironment env;
        ScriptedServices services;
        QStringList shared;
        for (int pageId : applicablePages()) {
            PageContext context{env.store(), env.folders(), services, appletOf(pageId), WalkFlags{}};
            Page page(pageId, context);
            const PageTemplate *t = findPageTemplate(pageId);
            for (const ControlSpec &control : t->controls) {
                if (control.id == 0 || control.kind == ControlKind::Label || control.kind == ControlKind::Spinner ||
                    control.kind == ControlKind::Frame)
                    continue;
                QWidget *widget = page.control(control.id);
                QCOMPARE(widget->objectName(), QStringLiteral("c%1").arg(control.id));
                QVERIFY2(!widget->accessibleName().isEmpty(),
                         qPrintable(QStringLiteral("page %1 control %2 has no name").arg(pageId).arg(control.id)));
                if (StringTable::contains(control.id) && !(pageId == 206 && control.id == 1105))
                    QCOMPARE(widget->toolTip(), StringTable::text(control.id));
            }
            // Screen readers tell the controls of a page apart by their names.
            QHash<QString, int> named;
            for (const ControlSpec &control : t->controls) {
                QWidget *widget = page.control(control.id);
                if (!widget || control.kind == ControlKind::Label || control.kind == ControlKind::Frame)
                    continue;
                const QString name = widget->accessibleName();
                if (named.contains(name))
                    shared << QStringLiteral("page %1: %2 and %3 both read \"%4\"")
                                  .arg(pageId)
                                  .arg(named.value(name))
                                  .arg(control.id)
                                  .arg(name);
                named.insert(name, control.id);
            }
        }
        QVERIFY2(shared.isEmpty(), qPrintable(shared.join(QLatin1Char('\n'))));
    }

    // Alt and a letter reaches one thing in the window: no control of a page shares its
    // mnemonic with another, with the wizard's buttons or with the menu bar.
    void mnemonicsAreUniqueInTheWindow()
    {
        TestEnvironment env;
        ScriptedServices services;
        WizardWindow window(env.store(), env.folders(), services);
        QHash<QKeySequence, QString> wizard;
        const auto menus = window.findChildren<QMenuBar *>();
        for (QMenuBar *bar : menus) {
            for (QAction *menu : bar->actions())
                wizard.insert(QKeySequence::mnemonic(menu->text()), QStringLiteral("menu ") + menu->text());
        }
        const auto buttons = window.findChildren<QPushButton *>();
        for (QPushButton *button : buttons) {
            if (!window.currentPage()->isAncestorOf(button))
                wizard.insert(QKeySequence::mnemonic(button->text()), QStringLiteral("button ") + button->text());
        }
        wizard.remove(QKeySequence());
        QVERIFY(wizard.contains(QKeySequence(Qt::ALT | Qt::Key_O))); // the Options menu

        QStringList clashes;
        QList<int> pages = applicablePages();
        pages << 129 << 134;
        for (int pageId : pages) {
            PageContext context{env.store(), env.folders(), services, appletOf(pageId), WalkFlags{}};
            Page page(pageId, context);
            QHash<QKeySequence, QString> taken = wizard;
            auto take = [&](const QString &text) {
                const QKeySequence key = QKeySequence::mnemonic(text);
                if (key.isEmpty())
                    return;
                if (taken.contains(key))
                    clashes << QStringLiteral("page %1: \"%2\" and %3").arg(pageId).arg(text, taken.value(key));
                taken.insert(key, QStringLiteral("\"%1\"").arg(text));
            };
            for (QAbstractButton *button : page.findChildren<QAbstractButton *>())
                take(button->text());
            for (QLabel *label : page.findChildren<QLabel *>()) {
                if (label->buddy())
                    take(label->text());
            }
            for (QGroupBox *box : page.findChildren<QGroupBox *>())
                take(box->title());
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
    }

    void everyPageStoresWhatItShowsAndShowsWhatItStored()
    {
        for (int pageId : applicablePages()) {
            TestEnvironment env;
            ScriptedServices services;
            const QString applet = appletOf(pageId);
            env.makeAppletFolder(applet);
            if (pageId == 183)
                env.store().write(applet, "Script", "Objects");
            PageContext context{env.store(), env.folders(), services, applet, WalkFlags{}};
            QHash<QString, QString> expected;
            QStringList before;
            {
                Page page(pageId, context);
                page.load(false);
                expected = fillDistinct(page);
                before = shown(page);
                page.store();
            }
            for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
                QVERIFY2(env.store().read(applet, it.key()) == it.value(),
                         qPrintable(QStringLiteral("page %1 key %2: %3 instead of %4")
                                        .arg(pageId)
                                        .arg(it.key(), env.store().read(applet, it.key()), it.value())));
            env.reopenStore();
            PageContext again{env.store(), env.folders(), services, applet, WalkFlags{}};
            Page page(pageId, again);
            page.load(false);
            QCOMPARE(shown(page), before);
            if (page.control(1013))
                QCOMPARE(page.text(1013), QStringLiteral("Scrolling text\nsecond line of page %1").arg(pageId));
        }
    }

    // At its smallest, every page still gives each visible control its minimum size, and
    // every wrapped caption the height its lines need: nothing is clipped.
    void nothingIsClippedAtTheMinimumSize()
    {
        TestEnvironment env;
        ScriptedServices services;
        QList<int> pages = applicablePages();
        pages << 129 << 134;
        QStringList clipped;
        const QString shots = qEnvironmentVariable("VEXAJAVA_SCREENSHOTS");
        for (int pageId : pages) {
            PageContext context{env.store(), env.folders(), services, appletOf(pageId), WalkFlags{}};
            Page page(pageId, context);
            page.load(false);
            page.show();
            QVERIFY(QTest::qWaitForWindowExposed(&page));
            page.resize(page.minimumSizeHint());
            page.layout()->activate();
            if (!shots.isEmpty() && QDir().mkpath(shots))
                page.grab().save(QStringLiteral("%1/page%2-smallest.png").arg(shots).arg(pageId));
            for (QWidget *control : page.findChildren<QWidget *>()) {
                if (!control->isVisibleTo(&page) || control->objectName().isEmpty() ||
                    control->size().isEmpty())
                    continue;
                const auto *label = qobject_cast<QLabel *>(control);
                const QSize least = control->minimumSizeHint();
                const int height = label && label->wordWrap() ? label->heightForWidth(control->width()) : least.height();
                if (control->width() < least.width() || control->height() < height)
                    clipped << QStringLiteral("page %1: %2 \"%3\" is %4x%5, needs %6x%7")
                                   .arg(pageId)
                                   .arg(control->objectName(), control->accessibleName())
                                   .arg(control->width()).arg(control->height())
                                   .arg(least.width()).arg(height);
            }
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
    }

    void everyPageFitsTheWindow()
    {
        TestEnvironment env;
        ScriptedServices services;
        WizardWindow window(env.store(), env.folders(), services);
        window.show();
        const QSize area = window.currentPage()->size();
        const QString shots = qEnvironmentVariable("VEXAJAVA_SCREENSHOTS");
        QList<int> pages = applicablePages();
        pages << 129 << 134;
        for (int pageId : pages) {
            PageContext context{env.store(), env.folders(), services, appletOf(pageId), WalkFlags{}};
            Page page(pageId, context);
            page.load(false);
            const QSize needed = page.minimumSizeHint();
            QVERIFY2(needed.width() <= area.width() && needed.height() <= area.height(),
                     qPrintable(QStringLiteral("page %1 needs %2x%3, the window gives %4x%5")
                                    .arg(pageId).arg(needed.width()).arg(needed.height())
                                    .arg(area.width()).arg(area.height())));
            page.resize(area);
            page.show();
            page.layout()->activate();
            if (!shots.isEmpty()) {
                QDir().mkpath(shots);
                page.grab().save(QStringLiteral("%1/page%2.png").arg(shots).arg(pageId));
            }
            // Up/down arrows stand right beside the field they step.
            const std::vector<ControlSpec> &controls = findPageTemplate(pageId)->controls;
            for (std::size_t i = 1; i < controls.size(); ++i) {
                if (controls[i].kind != ControlKind::Spinner) continue;
                const QWidget *field = page.control(controls[i - 1].id);
                const QWidget *arrows = page.control(controls[i].id);
                const int gap = arrows->mapTo(&page, QPoint(0, 0)).x() - field->mapTo(&page, QPoint(field->width(), 0)).x();
                QVERIFY2(gap >= 0 && gap <= 12, qPrintable(QStringLiteral("page %1: arrows %2 stand %3 px from their field")
                                                              .arg(pageId).arg(controls[i].id).arg(gap)));
            }
        }
        // The whole window fits a 1024 x 768 screen.
        QVERIFY(window.frameGeometry().width() <= 1024 && window.frameGeometry().height() <= 740);
    }
};

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
