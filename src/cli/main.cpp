#include "CliCommands.h"

#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringDecoder>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    // Only the gallery draws text, which needs the GUI's fonts; no display is used for it.
    const bool drawsText = argc > 2 && std::strcmp(argv[1], "render") == 0 && std::strcmp(argv[2], "--sheet") == 0;
    if (drawsText && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(drawsText ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication::setOrganizationName(vexa::SettingsStore::Organisation);
    QCoreApplication::setApplicationName(vexa::SettingsStore::Product);
    // The arguments as given: a value may begin with U+FEFF, which the usual decoding drops.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8,
                            QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        arguments << utf8(QByteArray(argv[i]));
    }
    // Each command has written and synced what it had to by the time it returns, and the
    // process ends here: taking a store of many thousand values apart again would cost more
    // than the command itself, so it is left to the system.
    auto *commands = new vexa::CliCommands(stdout, stderr);
    const int status = commands->run(arguments);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
