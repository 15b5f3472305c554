#include "CliCommands.h"

#include "Reporter.h"
#include "catalogue/Catalogue.h"
#include "publish/FilePublisher.h"
#include "publish/ImageSize.h"
#include "publish/PreviewPage.h"
#include "publish/ProjectFile.h"
#include "publish/VexaFont.h"
#include "settings/Folders.h"
#include "settings/InstallData.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"
#include "tag/TagGenerator.h"

#include <QHash>

#include <functional>
#include <memory>

namespace vexa {
namespace {

constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int WrongUsage = 2;

void writeText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// Messages of the core, as the program's own texts on standard error.
class StreamReporter : public Reporter {
public:
    explicit StreamReporter(std::FILE *stream) : m_stream(stream) {}
    void report(const Message &message) override { writeText(m_stream, message.text + QLatin1Char('\n')); }

private:
    std::FILE *m_stream;
};

// What a command works with: the user's store and installation, created on first use.
class Session {
public:
    Session(std::FILE *out, std::FILE *err) : out(out), err(err), reporter(err) {}

    SettingsStore &store()
    {
        if (!m_store)
            m_store = std::make_unique<SettingsStore>(reporter);
        return *m_store;
    }
    Folders &folders()
    {
        if (!m_folders) {
            m_folders = std::make_unique<Folders>(store());
            if (const Message problem = m_folders->problem(); problem.id != 0)
                reporter.report(problem);
        }
        return *m_folders;
    }
    void print(const QString &text) { writeText(out, text); }
    int usageError(const QString &text)
    {
        writeText(err, text + QStringLiteral("\nTry 'vexajava-cli --help'.\n"));
        return WrongUsage;
    }
    // Writes the store to disk; an unwritable store has been reported by then.
    int finish(bool ok) { return (m_store && !m_store->sync()) || !ok ? Failure : Success; }

    std::FILE *out;
    std::FILE *err;
    StreamReporter reporter;

private:
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<Folders> m_folders;
};

struct Arguments {
    QStringList positional;
    QHash<QString, QString> options; // "--copied" -> "", "--applet" -> value
};

struct Command {
    const char *name;
    const char *synopsis;
    const char *description;
    int positionalCount;
    bool firstIsApplet; // the first argument names an applet of the catalogue
    QStringList flagOptions;
    QStringList valueOptions;
    std::function<int(Session &, const Arguments &)> run;
};

int unknownApplet(Session &session, const QString &appletId)
{
    return session.usageError(QStringLiteral("Unknown applet \"%1\" (see 'vexajava-cli catalogue').").arg(appletId));
}

int catalogue(Session &session, const Arguments &)
{
    for (const AppletRecord &record : Catalogue::applets())
        session.print(QStringLiteral("%1\t%2\t%3\n").arg(QLatin1String(record.id)).arg(record.category).arg(
            QLatin1String(record.folder)));
    return Success;
}

int get(Session &session, const Arguments &args)
{
    session.print(session.store().read(args.positional[0], args.positional[1]) + QLatin1Char('\n'));
    return Success;
}

int set(Session &session, const Arguments &args)
{
    if (!session.store().write(args.positional[0], args.positional[1], args.positional[2])) {
        writeText(session.err, QStringLiteral("The key \"%1\" cannot be written into section \"%2\".\n")
                                   .arg(args.positional[1], args.positional[0]));
        return Failure;
    }
    return session.finish(true);
}

int tag(Session &session, const Arguments &args)
{
    session.print(TagGenerator(session.store()).generate(args.positional[0]));
    return Success;
}

int preview(Session &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    PreviewPage page(session.store(), session.folders(), session.reporter);
    if (!page.write(applet, args.options.contains(QStringLiteral("--copied"))))
        return Failure;
    session.print(page.path(applet) + QLatin1Char('\n'));
    return Success;
}

int saveProject(Session &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    ProjectFile project(session.store(), session.reporter);
    if (project.save(applet, args.positional[1]) != 1) {
        project.reportSaveFailure();
        return Failure;
    }
    return Success;
}

int openProject(Session &session, const Arguments &args)
{
    const bool onSelectionPage = !args.options.contains(QStringLiteral("--applet"));
    QString applet = args.options.value(QStringLiteral("--applet"));
    if (!onSelectionPage && !Catalogue::contains(applet))
        return unknownApplet(session, applet);
    ProjectFile project(session.store(), session.reporter);
    const int result = project.open(args.positional[0], &applet, onSelectionPage);
    if (result == 0 && onSelectionPage && !project.fileApplet().isEmpty() &&
        !Catalogue::contains(project.fileApplet())) {
        // The wizard stays on its selection page; here the user is told why.
        Message unknown = message(Str::ProjectUnknownApplet, MessageIcon::Stop);
        unknown.text = unknown.text.arg(project.fileApplet());
        session.reporter.report(unknown);
    }
    const int status = session.finish(result == 1);
    if (status == Success)
        session.print(applet + QLatin1Char('\n')); // only what was really opened
    return status;
}

int publish(Session &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    FilePublisher publisher(session.store(), session.folders(), session.reporter);
    return publisher.copyAllFiles(applet, args.positional[1]) ? Success : Failure;
}

int reset(Session &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    if (!args.options.contains(QStringLiteral("--yes")))
        return session.usageError(
            QStringLiteral("reset discards every stored value of %1; repeat it with --yes to confirm.").arg(applet));
    session.store().resetToDefaults(applet);
    return session.finish(true);
}

int imageSize(Session &session, const Arguments &args)
{
    const ImageInfo info = ImageSize::read(args.positional[0], session.reporter);
    if (!info.found)
        return Failure;
    session.print(QStringLiteral("%1 %2 %3\n").arg(info.extension).arg(info.width).arg(info.height));
    return Success;
}

int fontInfo(Session &session, const Arguments &args)
{
    const FontProperties font = VexaFont::read(args.positional[0]);
    if (!font.valid) {
        session.reporter.report(message(Str::IncorrectVexaFont, MessageIcon::Stop));
        return Failure;
    }
    session.print(QStringLiteral("%1\n%2\n%3\n%4\n%5\n")
                      .arg(QString::number(font.width), QString::number(font.height),
                           QString::number(font.verticalSpacing), font.characters, font.comment));
    return Success;
}

const std::vector<Command> &commands()
{
    // name, synopsis, description, positional count, first is an applet, flags, options, handler
    static const std::vector<Command> table = {
        {"catalogue", "catalogue", "One line per applet: id, a tab, category number, a tab, folder name.", 0,
         false, {}, {}, catalogue},
        {"get", "get SECTION KEY", "Print the stored value of KEY in SECTION (empty section: Application).", 2,
         false, {}, {}, get},
        {"set", "set SECTION KEY VALUE", "Store VALUE under KEY in SECTION.", 3, false, {}, {}, set},
        {"tag", "tag APPLET", "Write the applet tag of APPLET to standard output, exactly its bytes.", 1, true,
         {}, {}, tag},
        {"preview", "preview APPLET [--copied]",
         "Write the preview page into the applet folder and print its path; --copied refers to the button "
         "image in the page's own folder.",
         1, true, {"--copied"}, {}, preview},
        {"save-project", "save-project APPLET FILE", "Save the settings of APPLET to the project FILE (.vxp).", 2,
         true, {}, {}, saveProject},
        {"open-project", "open-project FILE [--applet APPLET]",
         "Open a project FILE into the store and print its applet. Without --applet the applet comes from the "
         "file, as on the selection page; with it the file must belong to APPLET.",
         1, false, {}, {"--applet"}, openProject},
        {"publish", "publish APPLET HTMLFILE",
         "Write the page HTMLFILE and copy every file the applet needs beside it.", 2, true, {}, {}, publish},
        {"reset", "reset APPLET --yes",
         "Discard the stored values of APPLET and start it over from its default values.", 1, true, {"--yes"}, {},
         reset},
        {"image-size", "image-size FILE", "Print the type, width and height of a GIF or JPEG picture.", 1, false,
         {}, {}, imageSize},
        {"font-info", "font-info FILE",
         "Print width, height, vertical spacing, characters and comment of a VexaFont file, one per line.", 1,
         false, {}, {}, fontInfo},
    };
    return table;
}

// Splits options from positional arguments; false with a message on anything unexpected.
bool parse(const Command &command, const QStringList &raw, Arguments *args, QString *error)
{
    for (int i = 0; i < raw.size(); ++i) {
        const QString &word = raw[i];
        if (command.flagOptions.contains(word)) {
            args->options.insert(word, QString());
        } else if (command.valueOptions.contains(word)) {
            if (i + 1 >= raw.size()) {
                *error = QStringLiteral("%1 needs a value.").arg(word);
                return false;
            }
            args->options.insert(word, raw[++i]);
        } else if (word.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("Unknown option %1.").arg(word);
            return false;
        } else {
            args->positional << word;
        }
    }
    if (args->positional.size() != command.positionalCount) {
        *error = QStringLiteral("Usage: vexajava-cli %1").arg(QLatin1String(command.synopsis));
        return false;
    }
    return true;
}

} // namespace

QString CliCommands::helpText()
{
    QString text = QStringLiteral(
        "Usage: vexajava-cli COMMAND [ARGUMENTS]\n"
        "       vexajava-cli --help | --version\n"
        "Configures the Vexa Java applets without the wizard window. It works on the same per-user settings\n"
        "and installation data as the program.\n\nCommands:\n");
    for (const Command &command : commands())
        text += QStringLiteral("  %1\n      %2\n").arg(QLatin1String(command.synopsis),
                                                      QLatin1String(command.description));
    text += QStringLiteral("\nApplet ids with a blank need quotes, for example \"VEXA3D LIGHT\".\n"
                           "Messages go to standard error. Exit status: 0 success, 1 failure, 2 wrong usage.\n");
    return text;
}

int CliCommands::run(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        writeText(m_err, helpText());
        return WrongUsage;
    }
    if (arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("-h") ||
        arguments.first() == QLatin1String("help")) {
        writeText(m_out, helpText());
        return Success;
    }
    if (arguments.first() == QLatin1String("--version")) {
        writeText(m_out, QStringLiteral("vexajava-cli (%1)\n").arg(InstallData::versionText()));
        return Success;
    }
    Session session(m_out, m_err);
    for (const Command &command : commands()) {
        if (arguments.first() != QLatin1String(command.name))
            continue;
        Arguments args;
        QString error;
        if (!parse(command, arguments.mid(1), &args, &error))
            return session.usageError(error);
        if (!command.firstIsApplet)
            return command.run(session, args);
        const QString applet = args.positional.first();
        if (!Catalogue::contains(applet))
            return unknownApplet(session, applet);
        // An applet used for the first time starts from its default values, as in the wizard.
        const bool started = session.store().startFromDefaults(applet);
        const int status = command.run(session, args);
        if (started)
            session.store().sync(); // an unwritable store reports itself; the output stands
        return status;
    }
    return session.usageError(QStringLiteral("Unknown command \"%1\".").arg(arguments.first()));
}

} // namespace vexa
