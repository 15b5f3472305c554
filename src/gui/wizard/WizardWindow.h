#pragma once

#include "pages/Page.h"
#include "controls/PageContext.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

#include <functional>

class QAction;
class QLabel;
class QTimer;
class QPushButton;
class QVBoxLayout;

namespace vexa {

class AppletRunner;

// The program's one window: the menu, the page area with exactly one page, and the
// five buttons. It owns the walk: the current page id, the current applet and the
// wizard flags.
class WizardWindow : public QDialog {
    Q_OBJECT

public:
    // Button and menu ids.
    enum : int {
        NextButton = 1001,
        PreviousButton = 1000,
        DefaultsButton = 1318,
        PreviewButton = 1319,
        RunButton = 5140,
        ExitButton = 2,
        OpenProjectItem = 32784,
        SaveProjectItem = 32785,
        SaveAllFilesItem = 32783,
        ExitItem = 57665,
        ChangeBrowserItem = 32774,
        AppletInfoItem = 32776,
        InstructionsItem = 32781,
        FaqItem = 32797,
        ScrollTextHelpItem = 32779,
        HomePageItem = 32782,
        CopyrightItem = 32780,
        AboutItem = 16,
        EffectsInPreviewItem = 40001, // ours: the preview plays Vexa Java's own effects
    };

    WizardWindow(SettingsStore &store, Folders &folders, Services &services, const QString &projectPath = QString(),
                 QWidget *parent = nullptr);
    ~WizardWindow() override;

    int currentPageId() const { return m_pageId; }
    Page *currentPage() const { return m_page; }
    const PageContext &context() const { return m_context; }
    QAction *menuItem(int id) const { return m_menuItems.value(id); }
    QPushButton *button(int id) const;
    // How long a note stays in the status line.
    static constexpr int StatusLifetimeMs = 30000;
    // The status line under the buttons: what the last publishing or project command did.
    QLabel *statusLine() const { return m_statusText; }
    QLabel *statusFolder() const { return m_statusFolder; }
    void showStatus(const QString &text, const QString &folder = QString());
    void updateTitle();
    void setProjectFile(const QString &file);
    QMap<QString, QString> storedValues() const;
    void watchEdits();
    void dropPage();
    void markEdited();
    void compareWithProject();

    // The buttons' operations.
    void next();
    void previous();
    void loadDefaults();
    void preview();
    // Runs the applet in the applet viewer, or shows the change in the open one.
    void runApplet();
    AppletRunner &appletRunner() const { return *m_runner; }
    // Exit with confirmation; true when the window closed.
    bool exitWizard();

    // Menu commands (projects, publishing, browser, help).
    int openProject(const QString &path = QString());
    int saveProject();
    void runCommand(int id);

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void keepUnsavedSettings();
    void buildMenu();
    void buildButtons(QVBoxLayout *layout);
    void buildStatusLine(QVBoxLayout *layout);
    void showPage();
    void setPublishMode(bool on);
    void setFirstPageMode(bool on);
    void arriveAfterNext();
    void arriveAfterPrevious();
    void setButtonsShown(bool shown);
    void appletChosen(const QString &appletId);
    // Checks and stores the page's values, as leaving it would; false when they are refused.
    bool storePage();
    // Runs a button's or menu item's command now, or once a dialog's event loop has ended.
    void whenSafe(const std::function<void()> &command);

    PageContext m_context;
    QString m_browser;
    QString m_projectPath;
    int m_pageId = 129;
    QPointer<Page> m_page;
    QWidget *m_pageArea = nullptr;
    QVBoxLayout *m_pageLayout = nullptr;
    QHash<int, QPushButton *> m_buttons;
    QHash<int, QAction *> m_menuItems;
    QLabel *m_statusText = nullptr;
    QLabel *m_statusFolder = nullptr; // the folder named by the status, as a link
    QTimer *m_statusTimeout = nullptr;
    AppletRunner *m_runner = nullptr;
    QString m_projectFile;   // the project last saved or opened, while its applet is current
    QString m_projectApplet;
    QMap<QString, QString> m_projectValues; // the applet's values as the project holds them
    bool m_closing = false;
};

} // namespace vexa
