#pragma once

#include "ScriptedServices.h"
#include "TestSupport.h"
#include "pages/Page.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>

namespace vexa::test {

// One real page of one applet over a private store and installation, with scripted
// services, driven the way a user drives it.
struct PageFixture {
    TestEnvironment env;
    ScriptedServices services;
    std::unique_ptr<PageContext> context;
    std::unique_ptr<Page> page;
    QString folder; // the applet folder
    QString picked; // where the user's own files come from
    QString status; // the status line's last text

    // `prepare` runs before the page is made (stored values it should find); `size` is the
    // page's size when it needs more room than its own.
    void open(int pageId, const QString &applet, const std::function<void()> &prepare = {}, QSize size = {})
    {
        folder = env.makeAppletFolder(applet);
        picked = env.path(QStringLiteral("picked"));
        QDir().mkpath(picked);
        context = std::make_unique<PageContext>(PageContext{env.store(), env.folders(), services, applet, {}});
        context->showStatus = [this](const QString &text, const QString &) { status = text; };
        if (prepare)
            prepare();
        page = std::make_unique<Page>(pageId, *context);
        if (size.isValid())
            page->resize(size);
        page->load(false);
        page->show();
        if (!QTest::qWaitForWindowExposed(page.get()))
            qFatal("page %d was not shown", pageId);
        services.messages.clear(); // a missing scroll text file is not what the tests look at
    }

    // A file the user will pick, answered by the next open-file dialog.
    QString pick(const QString &name, const QByteArray &bytes)
    {
        const QString path = picked + QLatin1Char('/') + name;
        TestEnvironment::writeFile(path, bytes);
        services.fileNames.enqueue(path);
        return path;
    }
    void click(int id) { QTest::mouseClick(page->control<QAbstractButton>(id), Qt::LeftButton); }
    QString text(int id) const { return page->text(id); }
    bool enabled(int id) const { return page->control(id)->isEnabled(); }
    QString stored(const QString &key) { return env.store().read(context->appletId, key); }
    QByteArray inFolder(const QString &name) const { return TestEnvironment::readFile(folder + '/' + name); }
    // Replaces a field's text by typing.
    void type(int id, const QString &text)
    {
        auto *edit = page->control<QLineEdit>(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    // Chooses a list item with the keyboard.
    void choose(int id, const QString &item)
    {
        auto *combo = page->control<QComboBox>(id);
        combo->setFocus();
        const int target = combo->findText(item);
        if (target < 0)
            qFatal("no item \"%s\" in list %d", qPrintable(item), id);
        while (combo->currentIndex() != target)
            QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    }
    // Ctrl and a key where the focus is.
    void ctrl(int key, Qt::KeyboardModifiers more = {})
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier | more);
    }
};

} // namespace vexa::test
