// Vexa Java: the wizard window over the user's settings and the installation data.
#include "services/QtServices.h"
#include "settings/Folders.h"
#include "settings/SettingsStore.h"
#include "wizard/WizardIcon.h"
#include "wizard/WizardWindow.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(vexa::SettingsStore::Organisation);
    QApplication::setApplicationName(vexa::SettingsStore::Product);
    QApplication::setWindowIcon(vexa::wizardIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Configures Java applets for web pages."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("A project file (.vxp) to open."));
    parser.process(app);
    const QString project = parser.positionalArguments().value(0);

    // The store and the folders are read once; the services report what goes wrong.
    vexa::QtServices *services = nullptr;
    struct Forwarder : vexa::Reporter {
        vexa::QtServices **target;
        void report(const vexa::Message &m) override { if (*target) (*target)->report(m); }
    } forwarder;
    forwarder.target = &services;
    vexa::SettingsStore store(forwarder);
    vexa::Folders folders(store);
    vexa::QtServices qtServices(store, folders);
    services = &qtServices;

    vexa::WizardWindow window(store, folders, qtServices, project);
    qtServices.setParentWindow(&window);
    window.show();
    const int result = app.exec() >= 0 ? 0 : 1;
    store.sync();
    return result;
}
