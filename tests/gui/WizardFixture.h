#pragma once

#include "ScriptedServices.h"
#include "TestSupport.h"
#include "catalogue/Catalogue.h"
#include "wizard/WizardWindow.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace vexa::test {

// The real wizard window over a private store and installation, with scripted services.
struct WizardFixture {
    WizardFixture() = default;
    // `defaultsFile`: the default sections to use instead of the small fixture set
    // (InstallData::defaultsFile() for the bundled ones).
    explicit WizardFixture(const QString &defaultsFile) : env(defaultsFile) {}

    TestEnvironment env;
    ScriptedServices services;
    std::unique_ptr<WizardWindow> window;

    void start(const QString &projectPath = QString())
    {
        env.store().sync();
        window = std::make_unique<WizardWindow>(env.store(), env.folders(), services, projectPath);
        window->show();
        // Keys reach shortcuts and mnemonics only in the active window.
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("the wizard window did not become active");
    }
    // Next until the page is reached; a page that refuses stops the test.
    void walkTo(int pageId)
    {
        while (this->pageId() != pageId) {
            const int before = this->pageId();
            next();
            if (this->pageId() == before)
                qFatal("the walk stopped on page %d: %s", before,
                       qPrintable(services.messages.isEmpty() ? QString() : services.messages.last().text));
        }
    }
    // Starts with `applet` chosen last time and walks to `pageId`.
    void startAt(const QString &applet, int pageId)
    {
        set(QString(), QStringLiteral("LastCateg"), QString::number(Catalogue::category(applet)));
        set(QString(), QStringLiteral("LastApplet"), applet);
        start();
        walkTo(pageId);
    }
    Page *page() const { return window->currentPage(); }
    int pageId() const { return window->currentPageId(); }
    void click(int buttonId) { QTest::mouseClick(window->button(buttonId), Qt::LeftButton); }
    void next() { click(WizardWindow::NextButton); }
    void previous() { click(WizardWindow::PreviousButton); }
    template <typename T = QWidget> T *control(int id) const { return page()->control<T>(id); }
    void set(const QString &section, const QString &key, const QString &value) { env.store().write(section, key, value); }
};

// The messages shown so far, for a failing check's explanation.
inline QString messagesText(const ScriptedServices &services)
{
    QStringList texts;
    for (const Message &m : services.messages)
        texts << QStringLiteral("%1 \"%2\"").arg(m.id).arg(m.text);
    return texts.join(QStringLiteral(", "));
}

// The offscreen platform warns about size hints for every window a walk shows; a test
// installs this in initTestCase() to keep its log readable.
inline void quietSizeHintNotes()
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (!text.contains(QLatin1String("propagateSizeHints")))
            previous(type, context, text);
    });
}

} // namespace vexa::test
