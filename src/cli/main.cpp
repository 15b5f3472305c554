#include "CliCommands.h"

#include "settings/SettingsStore.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(vexa::SettingsStore::Organisation);
    QCoreApplication::setApplicationName(vexa::SettingsStore::Product);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return vexa::CliCommands(stdout, stderr).run(arguments);
}
