#include "ProcessSandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace vexa {
namespace {

constexpr int ProbeWaitMs = 5000;

// What a Java runtime with a window needs of the system besides /usr: the dynamic linker's
// cache, fonts, time zone and the runtime's own settings (Debian keeps them below /etc).
const char *const SystemFiles[] = {"/etc/ld.so.cache",  "/etc/ld.so.conf", "/etc/ld.so.conf.d",
                                   "/etc/fonts",        "/etc/localtime",  "/etc/timezone",
                                   "/var/cache/fontconfig"};
// Top folders that are links into /usr on a merged system and folders of their own elsewhere.
const char *const TopFolders[] = {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"};
// The only variables the viewer sees: nothing of the user's environment reaches the applets.
const char *const KeptVariables[] = {"LANG", "LC_ALL", "LC_CTYPE", "LC_MESSAGES"};
const QString XauthorityInside = QStringLiteral("/tmp/.Xauthority");

void bind(QStringList &arguments, const char *how, const QString &path)
{
    arguments << QLatin1String(how) << path << path;
}

QString xauthority()
{
    const QString named = qEnvironmentVariable("XAUTHORITY");
    const QString file = named.isEmpty() ? QDir::homePath() + QStringLiteral("/.Xauthority") : named;
    return QFileInfo(file).isFile() ? file : QString();
}

} // namespace

QString ProcessSandbox::displaySocket(const QString &display)
{
    static const QRegularExpression local(QStringLiteral("^(?:unix)?:(\\d+)(?:\\.\\d+)?$"));
    const QRegularExpressionMatch match = local.match(display);
    return match.hasMatch() ? QStringLiteral("/tmp/.X11-unix/X") + match.captured(1) : QString();
}

QString ProcessSandbox::availability()
{
    const QString bwrap = QStandardPaths::findExecutable(QStringLiteral("bwrap"));
    if (bwrap.isEmpty())
        return QStringLiteral("bubblewrap (bwrap) is not installed");
    static QMutex lock;
    static QHash<QString, QString> known; // per bwrap program: empty, or why it cannot run
    const QMutexLocker locked(&lock);
    if (const auto it = known.constFind(bwrap); it != known.constEnd())
        return *it;
    QProcess probe;
    probe.setStandardInputFile(QProcess::nullDevice());
    probe.start(bwrap, {QStringLiteral("--unshare-all"), QStringLiteral("--die-with-parent"),
                        QStringLiteral("--ro-bind"), QStringLiteral("/"), QStringLiteral("/"),
                        QStringLiteral("--proc"), QStringLiteral("/proc"), QStringLiteral("--dev"),
                        QStringLiteral("/dev"), QStringLiteral("true")});
    QString why;
    if (!probe.waitForFinished(ProbeWaitMs)) {
        probe.kill();
        probe.waitForFinished();
        why = QStringLiteral("bubblewrap (bwrap) cannot run here (%1)").arg(probe.errorString());
    } else if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(probe.readAllStandardError()).trimmed().section(QLatin1Char('\n'), 0, 0);
        why = QStringLiteral("bubblewrap (bwrap) cannot run here (%1)")
                  .arg(said.isEmpty() ? QStringLiteral("status %1").arg(probe.exitCode()) : said);
    }
    known.insert(bwrap, why);
    return why;
}

ProcessSandbox::Command ProcessSandbox::wrap(const QString &program, const QStringList &arguments,
                                             const Folders &folders)
{
    Command command{program, arguments, availability()};
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString socket = displaySocket(display);
    if (command.unavailable.isEmpty() && !display.isEmpty() && !QFileInfo::exists(socket))
        command.unavailable = QStringLiteral("the display \"%1\" is reached over the network, which the process "
                                             "sandbox closes")
                                  .arg(display);
    if (!command.unavailable.isEmpty())
        return command;

    QStringList wrapped = {QStringLiteral("--unshare-all"), QStringLiteral("--die-with-parent"),
                           QStringLiteral("--new-session"), QStringLiteral("--clearenv")};
    bind(wrapped, "--ro-bind", QStringLiteral("/usr"));
    for (const char *top : TopFolders) {
        const QFileInfo folder{QString::fromLatin1(top)};
        if (folder.isSymLink())
            wrapped << QStringLiteral("--symlink") << folder.symLinkTarget() << folder.filePath();
        else if (folder.isDir())
            bind(wrapped, "--ro-bind", folder.filePath());
    }
    for (const char *file : SystemFiles)
        bind(wrapped, "--ro-bind-try", QLatin1String(file));
    for (const QFileInfo &settings : QDir(QStringLiteral("/etc")).entryInfoList({QStringLiteral("java*")}, QDir::Dirs))
        bind(wrapped, "--ro-bind", settings.filePath());
    wrapped << QStringLiteral("--proc") << QStringLiteral("/proc") << QStringLiteral("--dev") << QStringLiteral("/dev")
            << QStringLiteral("--tmpfs") << QStringLiteral("/tmp");
    if (!socket.isEmpty()) {
        bind(wrapped, "--ro-bind", socket);
        wrapped << QStringLiteral("--setenv") << QStringLiteral("DISPLAY") << display;
    }
    if (const QString cookies = xauthority(); !cookies.isEmpty())
        wrapped << QStringLiteral("--ro-bind") << cookies << XauthorityInside << QStringLiteral("--setenv")
                << QStringLiteral("XAUTHORITY") << XauthorityInside;
    // The runtime's cache of the system's fonts, as Java programs of the user's made it: read
    // at every start, made afresh (a twentieth of a second) where it is missing.
    wrapped << QStringLiteral("--ro-bind-try") << QDir::homePath() + QStringLiteral("/.java/fonts")
            << QStringLiteral("/tmp/.java/fonts");
    for (const QString &folder : folders.readOnly)
        bind(wrapped, "--ro-bind", folder);
    bind(wrapped, "--bind", folders.writable);
    for (const char *variable : KeptVariables) {
        if (qEnvironmentVariableIsSet(variable))
            wrapped << QStringLiteral("--setenv") << QLatin1String(variable) << qEnvironmentVariable(variable);
    }
    wrapped << QStringLiteral("--setenv") << QStringLiteral("PATH") << QStringLiteral("/usr/bin:/bin")
            << QStringLiteral("--setenv") << QStringLiteral("HOME") << QStringLiteral("/tmp")
            << QStringLiteral("--chdir") << folders.writable << QStringLiteral("--") << program << arguments;
    return Command{QStandardPaths::findExecutable(QStringLiteral("bwrap")), wrapped, QString()};
}

} // namespace vexa
