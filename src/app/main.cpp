// Vexa Java: the wizard window over the user's settings and the installation data.
#include "wizard/QtServices.h"
#include "settings/Folders.h"
#include "settings/SettingsStore.h"
#include "wizard/QuitAfterFirstPaint.h"
#include "wizard/WizardIcon.h"
#include "wizard/WizardWindow.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstring>

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Configures Java applets for web pages: choose an applet, fill in its settings page by page,\n"
        "preview the page in a browser and copy the applet tag with every file it needs.\n"
        "Settings are kept per user; a project file (.vxp) holds the settings of one applet."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("A project file (.vxp) to open."),
                                 QStringLiteral("[project]"));
}

// --help and --version answer without a window, so they work where no desktop runs.
bool asksForText(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"--help", "-h", "--help-all", "--version", "-v"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(vexa::SettingsStore::Organisation);
    QCoreApplication::setApplicationName(vexa::SettingsStore::Product);
    QCoreApplication::setApplicationVersion(QStringLiteral(VEXAJAVA_VERSION));
}

} // namespace

int main(int argc, char **argv)
{
    if (asksForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        QCommandLineParser parser;
        describe(parser);
        parser.process(app); // prints and exits
        return 0;
    }
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("org.vexajava.VexaJava"));
    QApplication::setWindowIcon(vexa::wizardIcon());

    QCommandLineParser parser;
    describe(parser);
    parser.process(app);
    const QString project = parser.positionalArguments().value(0);

    // The store and the folders are read once; the services report what goes wrong, over the
    // window: what is found before it shows waits for it.
    vexa::HoldingReporter reporter;
    vexa::SettingsStore store(reporter);
    vexa::Folders folders(store);
    vexa::QtServices qtServices(store, folders);

    vexa::WizardWindow window(store, folders, qtServices, project);
    qtServices.setParentWindow(&window);
    // For timing the start (bench/start-vs-floor.sh): the program ends after its first paint.
    vexa::QuitAfterFirstPaint quitter;
    if (qEnvironmentVariableIsSet("VEXAJAVA_QUIT_AFTER_FIRST_PAINT"))
        window.installEventFilter(&quitter);
    window.show();
    // Said once, over the window, before anything can fail because of it.
    reporter.forwardTo(qtServices);
    if (const vexa::Message problem = folders.problem(); problem.id != 0)
        qtServices.report(problem);
    const int result = app.exec() >= 0 ? 0 : 1;
    store.sync();
    return result;
}
