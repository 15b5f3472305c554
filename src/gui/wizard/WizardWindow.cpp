#include "WizardWindow.h"

#include "Addresses.h"
#include "AppletRunner.h"
#include "HelpTopics.h"
#include "PageFlow.h"
#include "pages/PublishActions.h"
#include "WizardIcon.h"
#include "pages/Page.h"
#include "pages/SelectionPage.h"
#include "publish/PreviewPage.h"
#include "publish/ProjectFile.h"
#include "services/Services.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUndoStack>
#include <QThread>
#include <QTimer>

#include <functional>
#include <QCloseEvent>
#include <QShowEvent>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QStatusBar>
#include <QUrl>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa {

WizardWindow::WizardWindow(SettingsStore &store, Folders &folders, Services &services, const QString &projectPath,
                           QWidget *parent)
    : QDialog(parent), m_context{store, folders, services, QString(), WalkFlags{}}, m_projectPath(projectPath)
{
    setWindowTitle(SettingsStore::Product);
    setWindowIcon(wizardIcon());
    setObjectName(QStringLiteral("wizard"));
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);

    auto *layout = new QVBoxLayout(this);
    buildMenu();
    m_pageArea = new QWidget(this);
    m_pageLayout = new QVBoxLayout(m_pageArea);
    m_pageLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pageArea, 1);
    buildButtons(layout);
    buildStatusLine(layout);
    m_runner = new AppletRunner(services, [this](const QString &text) { showStatus(text); }, this);
    m_context.runApplet = [this] { whenSafe([this] { runApplet(); }); };
    resize(940, 680);

    // Start-up: first page, nothing to go back to; the project named on the command line
    // opens once the window shows, so that what it says appears over the window.
    m_context.flags = WalkFlags{};
    m_browser = store.read(QString(), QStringLiteral("Browser"));
    setButtonsShown(false);
    m_menuItems[SaveAllFilesItem]->setEnabled(false);
    m_menuItems[SaveProjectItem]->setEnabled(false);
    setFirstPageMode(true);
    showPage();
}

// The page goes while the window is whole: its editors' histories report as they are cleared.
WizardWindow::~WizardWindow() { dropPage(); }

// Taking the page down is no edit: the watch on its fields ends first.
void WizardWindow::dropPage()
{
    if (!m_page)
        return;
    for (QObject *child : m_page->findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
    m_pageLayout->removeWidget(m_page);
    delete m_page;
    m_page = nullptr;
}

void WizardWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_projectPath.isEmpty())
        QTimer::singleShot(0, this, [this, path = std::exchange(m_projectPath, QString())] { openProject(path); });
}

QPushButton *WizardWindow::button(int id) const { return m_buttons.value(id); }

void WizardWindow::buildMenu()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    // The desktop's own keys for opening, saving and quitting, shown in the menu.
    static const QHash<int, QKeySequence::StandardKey> keys = {
        {OpenProjectItem, QKeySequence::Open}, {SaveProjectItem, QKeySequence::Save}, {ExitItem, QKeySequence::Quit}};
    auto add = [this](QMenu *menu, int id, const QString &caption) {
        QAction *action = menu->addAction(caption);
        if (keys.contains(id)) {
            action->setShortcut(keys.value(id));
            addAction(action); // the key works wherever the focus is in the window
        }
        action->setObjectName(QStringLiteral("m%1").arg(id));
        connect(action, &QAction::triggered, this, [this, id] { whenSafe([this, id] { runCommand(id); }); });
        m_menuItems.insert(id, action);
    };
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    add(file, OpenProjectItem, QStringLiteral("&Open project..."));
    add(file, SaveProjectItem, QStringLiteral("&Save project..."));
    file->addSeparator();
    add(file, SaveAllFilesItem, QStringLiteral("Save all files to..."));
    file->addSeparator();
    add(file, ExitItem, QStringLiteral("E&xit"));
    QMenu *options = bar->addMenu(QStringLiteral("&Options"));
    add(options, ChangeBrowserItem, QStringLiteral("Change browser..."));
    add(options, EffectsInPreviewItem, QStringLiteral("&Play Vexa Java's effects in the preview"));
    m_menuItems[EffectsInPreviewItem]->setCheckable(true);
    m_menuItems[EffectsInPreviewItem]->setChecked(PreviewPage::effectsWanted(m_context.store));
    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    add(help, AppletInfoItem, QStringLiteral("A&pplet info"));
    help->addSeparator();
    add(help, InstructionsItem, QStringLiteral("&Instructions"));
    add(help, FaqItem, QStringLiteral("Tech. &FAQ"));
    add(help, ScrollTextHelpItem, QStringLiteral("&Scrolltext parameters"));
    help->addSeparator();
    add(help, HomePageItem, QStringLiteral("&Home Page"));
    help->addSeparator();
    add(help, CopyrightItem, QStringLiteral("Cop&yright"));
    add(help, AboutItem, QStringLiteral("&About..."));
}

void WizardWindow::buildButtons(QVBoxLayout *layout)
{
    auto *row = new QHBoxLayout;
    auto add = [this, row](int id, const QString &caption, std::function<void()> slot) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("c%1").arg(id));
        // No accessible name of its own: screen readers read the caption, which Next changes.
        const QString tip = StringTable::text(id);
        button->setToolTip(id == ExitButton ? QString() : tip);
        connect(button, &QPushButton::clicked, this, [this, slot] { whenSafe(slot); });
        m_buttons.insert(id, button);
        row->addWidget(button);
    };
    add(DefaultsButton, QStringLiteral("&Default values"), [this] { loadDefaults(); });
    add(PreviewButton, QStringLiteral("Preview..."), [this] { preview(); });
    add(RunButton, QStringLiteral("Run applet"), [this] { runApplet(); });
    // F5 runs the applet from any page of it, the code page's own button included.
    auto *runKey = new QAction(this);
    runKey->setObjectName(QStringLiteral("runKey"));
    runKey->setShortcut(Qt::Key_F5);
    addAction(runKey);
    connect(runKey, &QAction::triggered, this, [this] { whenSafe([this] { runApplet(); }); });
    row->addStretch(1);
    add(PreviousButton, QStringLiteral("< &Previous"), [this] { previous(); });
    add(NextButton, StringTable::text(Str::NextCaption), [this] { next(); });
    add(ExitButton, QStringLiteral("E&xit"), [this] { exitWizard(); });
    layout->addLayout(row);
}

void WizardWindow::buildStatusLine(QVBoxLayout *layout)
{
    auto *bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    m_statusText = new QLabel(bar);
    m_statusText->setObjectName(QStringLiteral("status"));
    m_statusText->setTextFormat(Qt::PlainText);
    // A long reason (a viewer that cannot start) is cut at the window's edge rather than
    // widening the window; the tooltip holds all of it.
    m_statusText->setMinimumWidth(1);
    m_statusFolder = new QLabel(bar);
    m_statusFolder->setObjectName(QStringLiteral("statusFolder"));
    m_statusFolder->setTextFormat(Qt::RichText);
    m_statusFolder->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_statusFolder->setToolTip(QStringLiteral("Open the folder"));
    m_statusFolder->setFocusPolicy(Qt::NoFocus); // no folder to follow yet
    connect(m_statusFolder, &QLabel::linkActivated, this, [this](const QString &link) {
        m_context.services.openFolder(QUrl(link).toLocalFile());
    });
    bar->addWidget(m_statusText);
    bar->addWidget(m_statusFolder, 1);
    layout->addWidget(bar);
    m_context.showStatus = [this](const QString &text, const QString &folder) { showStatus(text, folder); };
    m_statusTimeout = new QTimer(this);
    m_statusTimeout->setObjectName(QStringLiteral("statusTimeout"));
    m_statusTimeout->setSingleShot(true);
    m_statusTimeout->setInterval(StatusLifetimeMs);
    connect(m_statusTimeout, &QTimer::timeout, this, [this] { showStatus(QString()); });
}

void WizardWindow::showStatus(const QString &text, const QString &folder)
{
    m_statusText->setText(text);
    m_statusText->setToolTip(text);
    m_statusFolder->setText(folder.isEmpty() ? QString()
                                             : QStringLiteral("<a href=\"%1\">%2</a>")
                                                   .arg(QUrl::fromLocalFile(QDir::fromNativeSeparators(folder))
                                                            .toString(QUrl::FullyEncoded),
                                                        folder.toHtmlEscaped()));
    m_statusFolder->setAccessibleName(folder);
    // The folder link is a stop of the Tab chain only while there is one to follow.
    m_statusFolder->setFocusPolicy(folder.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    // Old news misleads: a note lasts until the page changes, a later action fails, or
    // its time is up.
    if (text.isEmpty())
        m_statusTimeout->stop();
    else
        m_statusTimeout->start();
}

// As desktop programs name their document: "name.vxp - Vexa Java" while the values of the
// project last saved or opened are shown, else "BLOBS - Vexa Java" for the applet shown (on
// the selection page, the one chosen there), else "Vexa Java". A project changed since it
// was saved or opened is marked ("name.vxp* - Vexa Java"); an applet's own values are kept
// in the settings as they change, so they carry no mark.
void WizardWindow::updateTitle()
{
    if (m_projectApplet != m_context.appletId)
        m_projectFile.clear(); // another applet was entered: the project is not its document
    const QString applet = m_pageId == PageFlow::SelectionPage && m_page ? SelectionPage::selectedApplet(*m_page)
                           : m_pageId == PageFlow::SelectionPage       ? QString()
                                                                       : m_context.appletId;
    const bool project = !m_projectFile.isEmpty() && applet == m_projectApplet;
    const QString document = project ? QFileInfo(m_projectFile).fileName() : applet;
    setWindowTitle(document.isEmpty() ? SettingsStore::Product
                                      : document + QStringLiteral("[*] - ") + SettingsStore::Product);
    if (!project)
        setWindowModified(false);
}

void WizardWindow::setProjectFile(const QString &file)
{
    m_projectFile = file;
    m_projectApplet = m_context.appletId;
    m_projectValues = storedValues();
    setWindowModified(false);
    updateTitle();
}

QMap<QString, QString> WizardWindow::storedValues() const
{
    QMap<QString, QString> values;
    for (const QString &key : m_context.store.keys(m_context.appletId))
        values.insert(key, m_context.store.read(m_context.appletId, key));
    return values;
}

// A user's edit on the page marks the project changed at once; storing the page then
// compares the stored values with the project's, so an edit taken back clears the mark.
void WizardWindow::markEdited()
{
    // The selection page chooses an applet, it changes none of its values.
    if (m_pageId != PageFlow::SelectionPage && !m_projectFile.isEmpty() && m_projectApplet == m_context.appletId)
        setWindowModified(true);
}

void WizardWindow::compareWithProject()
{
    if (!m_projectFile.isEmpty() && m_projectApplet == m_context.appletId)
        setWindowModified(storedValues() != m_projectValues);
}

void WizardWindow::watchEdits()
{
    const auto edited = [this] { markEdited(); };
    for (auto *edit : m_page->findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textEdited, this, edited);
    for (auto *area : m_page->findChildren<QPlainTextEdit *>())
        connect(area, &QPlainTextEdit::textChanged, this, edited);
    for (auto *combo : m_page->findChildren<QComboBox *>())
        connect(combo, &QComboBox::activated, this, edited);
    for (auto *button : m_page->findChildren<QAbstractButton *>()) {
        if (button->isCheckable())
            connect(button, &QAbstractButton::clicked, this, edited);
    }
    for (QUndoStack *history : m_page->findChildren<QUndoStack *>())
        connect(history, &QUndoStack::indexChanged, this, edited);
}

void WizardWindow::showPage()
{
    dropPage();
    updateTitle();
    showStatus(QString()); // the note belonged to the page that made it
    m_page = new Page(m_pageId, m_context, m_pageArea);
    connect(m_page, &Page::selectedAppletChanged, this, &WizardWindow::appletChosen);
    m_pageLayout->addWidget(m_page);
    m_page->load(false);
    watchEdits();
    m_page->show();
    // Tab starts in the page; Enter stays with Next.
    m_page->setFocus();
}

// A dialog runs an event loop of its own, with the code that opened it (a page's handler,
// say) waiting under it. Only code can ask for a command then, as the dialog blocks the
// window; the command waits until that loop has ended, so no page is destroyed or
// reloaded under code that still uses it.
void WizardWindow::whenSafe(const std::function<void()> &command)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == this) {
        command();
        return;
    }
    const int level = QThread::currentThread()->loopLevel();
    auto *wait = new QTimer(this);
    wait->setInterval(50);
    connect(wait, &QTimer::timeout, this, [this, wait, level, command] {
        if (QThread::currentThread()->loopLevel() >= level)
            return;
        wait->deleteLater();
        whenSafe(command);
    });
    wait->start();
}

void WizardWindow::appletChosen(const QString &appletId)
{
    m_menuItems[AppletInfoItem]->setText(StringTable::text(Str::AppletInfoCaption).arg(appletId));
    updateTitle();
}

void WizardWindow::setButtonsShown(bool shown)
{
    m_buttons[DefaultsButton]->setVisible(shown);
    m_buttons[PreviewButton]->setVisible(shown);
    m_buttons[RunButton]->setVisible(shown);
}

void WizardWindow::setPublishMode(bool on)
{
    QPushButton *next = m_buttons[NextButton];
    QPushButton *previous = m_buttons[PreviousButton];
    next->setText(on ? StringTable::text(Str::Publish) : StringTable::text(Str::NextCaption));
    next->setDefault(!on);
    previous->setDefault(on);
    if (on)
        previous->setFocus();
}

void WizardWindow::setFirstPageMode(bool on)
{
    m_buttons[PreviousButton]->setEnabled(!on);
    if (on) {
        m_buttons[NextButton]->setDefault(true);
        m_buttons[NextButton]->setFocus();
    }
}

void WizardWindow::arriveAfterNext()
{
    switch (m_pageId) {
    case PageFlow::SelectionPage:
        m_menuItems[SaveProjectItem]->setEnabled(false);
        break;
    case PageFlow::CodePage:
        m_menuItems[SaveAllFilesItem]->setEnabled(true);
        setButtonsShown(false);
        setPublishMode(true);
        break;
    case PageFlow::LinkPage:
        break;
    default:
        m_menuItems[SaveAllFilesItem]->setEnabled(false);
        m_menuItems[OpenProjectItem]->setEnabled(true);
        m_menuItems[SaveProjectItem]->setEnabled(true);
        setButtonsShown(true);
        break;
    }
}

void WizardWindow::arriveAfterPrevious()
{
    if (m_pageId == PageFlow::SelectionPage) {
        m_menuItems[SaveProjectItem]->setEnabled(false);
        setButtonsShown(false);
        setFirstPageMode(true);
        return;
    }
    setButtonsShown(true);
    if (m_pageId != PageFlow::LinkPage)
        m_menuItems[SaveAllFilesItem]->setEnabled(false);
}

void WizardWindow::next()
{
    if (!m_page || !m_page->validate())
        return;
    m_page->store();
    m_context.store.sync();
    compareWithProject();
    if (m_pageId == PageFlow::CodePage) {
        m_context.services.showInfo(InfoNotice{StringTable::text(Str::Publish), StringTable::text(Str::PublishNotice),
                                               StringTable::text(Str::PublishLink), QStringLiteral("STEP1")});
    } else {
        m_pageId = PageFlow::next(m_pageId, m_context.appletId, m_context.flags);
    }
    // Without an applet the walk stays on the selection page, where there is no way back.
    m_buttons[PreviousButton]->setEnabled(m_pageId != PageFlow::SelectionPage);
    arriveAfterNext();
    showPage();
}

void WizardWindow::previous()
{
    if (!m_page || !m_page->canGoBack())
        return;
    m_page->store();
    m_context.store.sync();
    compareWithProject();
    setPublishMode(false);
    m_pageId = PageFlow::previous(m_pageId, m_context.appletId, m_context.flags);
    arriveAfterPrevious();
    showPage();
}

void WizardWindow::loadDefaults()
{
    if (m_page) {
        m_page->load(true);
        markEdited();
    }
}

bool WizardWindow::storePage()
{
    if (!m_page || !m_page->validate())
        return false;
    m_page->store();
    m_context.store.sync();
    compareWithProject();
    return true;
}

void WizardWindow::preview()
{
    if (storePage())
        PublishActions(m_context).showPreview();
}

void WizardWindow::runApplet()
{
    if (m_pageId == PageFlow::SelectionPage || !storePage())
        return;
    PreviewPage page(m_context.store, m_context.folders, m_context.services);
    if (!page.write(m_context.appletId, false)) {
        showStatus(QString()); // the cause has been reported
        return;
    }
    m_runner->run(m_context.appletId, page.path(m_context.appletId));
}

bool WizardWindow::exitWizard()
{
    if (!m_context.services.ask(message(Str::ReallyExit, MessageIcon::Question)))
        return false;
    keepUnsavedSettings();
    m_closing = true;
    QDialog::reject();
    return true;
}

// Values a failed save kept in memory would end with the program: the user may try again
// (another program may have let go of the store) or keep the applet's values in a project.
void WizardWindow::keepUnsavedSettings()
{
    SettingsStore &store = m_context.store;
    while (!store.sync() && store.hasUnsavedChanges()) {
        Message retry = message(Str::SettingsUnsavedAtExit, MessageIcon::Question);
        retry.text = retry.text.arg(store.fileName(), store.saveProblem());
        if (m_context.services.ask(retry))
            continue;
        Message project = message(Str::SaveProjectAtExit, MessageIcon::Question);
        project.text = project.text.arg(m_context.appletId);
        if (m_menuItems[SaveProjectItem]->isEnabled() && m_context.services.ask(project))
            runCommand(SaveProjectItem);
        return;
    }
}

void WizardWindow::reject() { exitWizard(); }

void WizardWindow::closeEvent(QCloseEvent *event)
{
    if (m_closing || exitWizard())
        event->accept();
    else
        event->ignore();
}

int WizardWindow::openProject(const QString &path)
{
    QString file = path;
    if (file.isEmpty()) {
        file = m_context.services.openFile(StringTable::text(Str::ProjectFilter));
        if (file.isEmpty())
            return -1;
    }
    const bool onSelectionPage = m_pageId == PageFlow::SelectionPage;
    QString applet = m_context.appletId;
    int result = ProjectFile(m_context.store, m_context.services).open(file, &applet, onSelectionPage);
    if (result != 1) {
        showStatus(QString());
        return result;
    }
    if (onSelectionPage) {
        if (!SelectionPage::selectApplet(*m_page, applet)) {
            m_page->load(false);
            showStatus(QString());
            return 0;
        }
        next(); // as the user would: store the choice and go to the applet's first page
    } else {
        m_page->load(false);
    }
    setProjectFile(file);
    showStatus(QStringLiteral("Project opened"));
    return result;
}

int WizardWindow::saveProject()
{
    const QString file = m_context.services.saveFile(StringTable::text(Str::ProjectFilter), QStringLiteral("vxp"));
    if (file.isEmpty())
        return -1;
    if (!m_page || !m_page->validate())
        return 0;
    m_page->store();
    m_context.store.sync();
    compareWithProject();
    const int result = ProjectFile(m_context.store, m_context.services).save(m_context.appletId, file);
    showStatus(result == 1 ? QStringLiteral("Project saved") : QString());
    if (result == 1)
        setProjectFile(file);
    return result;
}

void WizardWindow::runCommand(int id)
{
    HelpTopics help(m_context.folders, m_context.services);
    switch (id) {
    case OpenProjectItem:
        openProject();
        break;
    case SaveProjectItem:
        if (saveProject() == 0)
            ProjectFile(m_context.store, m_context.services).reportSaveFailure();
        break;
    case SaveAllFilesItem:
        PublishActions(m_context).saveAllFiles();
        break;
    case ExitItem:
        exitWizard();
        break;
    case ChangeBrowserItem:
        if (const auto browser = m_context.services.chooseBrowser(m_browser)) {
            m_browser = *browser;
            m_context.store.write(QString(), QStringLiteral("Browser"), m_browser);
            m_context.store.sync();
        }
        break;
    case AppletInfoItem:
        help.open(m_pageId == PageFlow::SelectionPage ? SelectionPage::selectedApplet(*m_page)
                                                      : m_context.appletId);
        break;
    case InstructionsItem:
        help.open(QStringLiteral("instruction"));
        break;
    case FaqItem:
        help.open(QStringLiteral("faq"));
        break;
    case ScrollTextHelpItem:
        help.open(QStringLiteral("topic_scrtext"));
        break;
    case CopyrightItem:
        help.open(QStringLiteral("copyright"));
        break;
    case HomePageItem:
        m_context.services.showInBrowser(Addresses::homePage());
        break;
    case AboutItem:
        m_context.services.showAbout();
        break;
    case EffectsInPreviewItem:
        m_context.store.write(QString(), QStringLiteral("EffectsInPreview"),
                              m_menuItems[EffectsInPreviewItem]->isChecked() ? QStringLiteral("YES")
                                                                             : QStringLiteral("NO"));
        m_context.store.sync();
        break;
    default:
        break;
    }
}

} // namespace vexa
