#include "CliCommands.h"

#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QStringDecoder>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(vexa::SettingsStore::Organisation);
    QCoreApplication::setApplicationName(vexa::SettingsStore::Product);
    // The arguments as given: a value may begin with U+FEFF, which the usual decoding drops.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8,
                            QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        arguments << utf8(QByteArray(argv[i]));
    }
    return vexa::CliCommands(stdout, stderr).run(arguments);
}
