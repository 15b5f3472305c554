#include "CliCommands.h"

#include "EffectPlayer.h"

#include "Reporter.h"
#include "catalogue/Catalogue.h"
#include "io/FileCopy.h"
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
#include "viewer/AppletViewer.h"
#include "viewer/MovingPicture.h"

#include <QBuffer>
#include <QPainter>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace vexa {

constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int WrongUsage = 2;

static void writeText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// Messages of the core, as the program's own texts on standard error.
class CliReporter : public Reporter {
public:
    explicit CliReporter(std::FILE *stream) : m_stream(stream) {}
    void report(const Message &message) override { writeText(m_stream, message.text + QLatin1Char('\n')); }

private:
    std::FILE *m_stream;
};

// What a command works with: the user's store and installation, created on first use.
class CliSession {
public:
    CliSession(std::FILE *out, std::FILE *err) : out(out), err(err), reporter(err) {}

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
    CliReporter reporter;

private:
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<Folders> m_folders;
};

namespace {

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
    std::function<int(CliSession &, const Arguments &)> run;
};

int unknownApplet(CliSession &session, const QString &appletId)
{
    return session.usageError(QStringLiteral("Unknown applet \"%1\" (see 'vexajava-cli catalogue').").arg(appletId));
}

int catalogue(CliSession &session, const Arguments &)
{
    for (const AppletRecord &record : Catalogue::applets())
        session.print(QStringLiteral("%1\t%2\t%3\n").arg(QLatin1String(record.id)).arg(record.category).arg(
            QLatin1String(record.folder)));
    return Success;
}

int get(CliSession &session, const Arguments &args)
{
    const QString value = session.store().read(args.positional[0], args.positional[1]);
    if (session.store().isInMemoryOnly())
        return Failure; // said why; an empty value would pass for a stored one
    session.print(value + QLatin1Char('\n'));
    return Success;
}

int set(CliSession &session, const Arguments &args)
{
    // An applet never used before starts from its default values, as in the wizard.
    session.store().startFromDefaults(args.positional[0]);
    if (!session.store().write(args.positional[0], args.positional[1], args.positional[2])) {
        writeText(session.err, QStringLiteral("The key \"%1\" cannot be written into section \"%2\".\n")
                                   .arg(args.positional[1], args.positional[0]));
        return Failure;
    }
    return session.finish(true);
}

int tag(CliSession &session, const Arguments &args)
{
    session.print(TagGenerator(session.store()).generate(args.positional[0]));
    return Success;
}

int preview(CliSession &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    PreviewPage page(session.store(), session.folders(), session.reporter);
    page.setEffects(args.options.contains(QStringLiteral("--effects")));
    if (!page.write(applet, args.options.contains(QStringLiteral("--copied"))))
        return Failure;
    session.print(page.path(applet) + QLatin1Char('\n'));
    return Success;
}

int saveProject(CliSession &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    ProjectFile project(session.store(), session.reporter);
    if (project.save(applet, args.positional[1]) != 1) {
        project.reportSaveFailure();
        return Failure;
    }
    return Success;
}

int openProject(CliSession &session, const Arguments &args)
{
    const bool onSelectionPage = !args.options.contains(QStringLiteral("--applet"));
    QString applet = args.options.value(QStringLiteral("--applet"));
    if (!onSelectionPage && !Catalogue::contains(applet))
        return unknownApplet(session, applet);
    // The file is read while the store loads: neither needs the other until the values go in.
    auto reading = std::async(std::launch::async, [path = args.positional[0]] { return ProjectFile::read(path); });
    ProjectFile project(session.store(), session.reporter);
    const int result = project.open(reading.get(), &applet, onSelectionPage);
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

// Which engine makes a moving picture: --engine ours|java, else the one that can.
std::optional<EffectPlayer::Engine> engineOf(const Arguments &args)
{
    const QString engine = args.options.value(QStringLiteral("--engine"));
    if (!args.options.contains(QStringLiteral("--engine")))
        return EffectPlayer::Engine::Automatic;
    if (engine == QLatin1String("ours"))
        return EffectPlayer::Engine::Ours;
    if (engine == QLatin1String("java"))
        return EffectPlayer::Engine::Java;
    return std::nullopt;
}

int publish(CliSession &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    FilePublisher publisher(session.store(), session.folders(), session.reporter);
    publisher.setMovingPicture(args.options.contains(QStringLiteral("--moving-picture")));
    publisher.setEffects(args.options.contains(QStringLiteral("--effects")));
    const std::optional<EffectPlayer::Engine> engine = engineOf(args);
    if (!engine)
        return session.usageError(QStringLiteral("--engine takes ours or java."));
    publisher.setRecorder([engine](const QString &page, int seconds, int fps, QByteArray *webp,
                                   const std::function<void()> &waiting) {
        return EffectPlayer::recordMovingPicture(page, seconds, fps, webp, *engine, waiting);
    });
    if (!publisher.copyAllFiles(applet, args.positional[1]))
        return Failure;
    session.print(publisher.countsText() + QLatin1Char('\n'));
    return Success;
}

// A whole number of an option within its limits; nothing when it is not one.
std::optional<int> number(const Arguments &args, const QString &option, int fallback, int least, int most)
{
    if (!args.options.contains(option))
        return fallback;
    bool ok = false;
    const int value = args.options.value(option).toInt(&ok);
    return ok && value >= least && value <= most ? std::optional<int>(value) : std::nullopt;
}

// The viewer runs the page in the applet folder, written as for a preview.
std::optional<QString> writtenPreview(CliSession &session, const QString &applet)
{
    PreviewPage page(session.store(), session.folders(), session.reporter);
    if (!page.write(applet, false))
        return std::nullopt;
    return page.path(applet);
}

int failed(CliSession &session, const QString &problem)
{
    writeText(session.err, problem + QLatin1Char('\n'));
    return Failure;
}

// The viewer writes the picture into a folder of its own; the user's file is then replaced
// in one step, and never when it is something other than a file.
int keep(CliSession &session, const QString &made, const QString &target)
{
    const FileError error = FileCopy::copy(made, target, FileCopy::Durability::Durable);
    if (error.ok())
        return Success;
    session.reporter.report(FileCopy::describe(error));
    return Failure;
}

// A picture saved from the viewer's menu lands in its private folder; it is kept in the
// current folder under the same name, never over a file that is there.
void keepPicture(CliSession &session, const QString &made, const QString &privateFolder)
{
    const QFileInfo source(made);
    if (source.absolutePath() != QDir(privateFolder).absolutePath() || !source.isFile())
        return; // not a picture the viewer made
    QString target = QDir::current().filePath(source.fileName());
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = QDir::current().filePath(QStringLiteral("%1-%2.png").arg(source.completeBaseName()).arg(n));
    const FileError error = FileCopy::copy(made, target, FileCopy::Durability::Durable);
    if (error.ok())
        session.print(QStringLiteral("Picture: %1\n").arg(QDir::toNativeSeparators(target)));
    else
        session.reporter.report(FileCopy::describe(error));
}

// Fails with the lines of `problem` not already printed.
int failedBeyond(CliSession &session, const QString &problem, const QStringList &said)
{
    QStringList lines = problem.split(QLatin1Char('\n'));
    lines.removeIf([&said](const QString &line) { return said.contains(line); });
    if (!lines.isEmpty())
        writeText(session.err, lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    return Failure;
}

constexpr int MaxAfterMs = 600000;
constexpr int ScreenshotAllowanceMs = 15000; // the viewer's start, the applet's init() and its end

int run(CliSession &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    const QString screenshot = args.options.value(QStringLiteral("--screenshot"));
    const std::optional<int> after = number(args, QStringLiteral("--after"), 1000, 0, MaxAfterMs);
    if (!after)
        return session.usageError(QStringLiteral("--after takes milliseconds from 0 to %1.").arg(MaxAfterMs));
    if (screenshot.isEmpty() && args.options.contains(QStringLiteral("--after")))
        return session.usageError(QStringLiteral("--after goes with --screenshot."));
    const std::optional<QString> page = writtenPreview(session, applet);
    if (!page)
        return Failure;
    QStringList options = {QStringLiteral("--title"), applet};
    QTemporaryDir work;
    const QString shot = work.filePath(QStringLiteral("applet.png"));
    if (!screenshot.isEmpty())
        options << QStringLiteral("--screenshot") << shot << QStringLiteral("--after") << QString::number(*after);
    options << QStringLiteral("--pictures") << work.path();
    // The viewer's messages are printed as they come; a failure adds only what they did not say.
    QStringList said;
    auto print = [&session, &said, &work](const ViewerEvent &event) {
        if (event.kind == ViewerEvent::Kind::Document)
            session.print(QStringLiteral("Document: %1 (target %2)\n").arg(event.text, event.target));
        else if (event.kind == ViewerEvent::Kind::Picture)
            keepPicture(session, event.text, work.path());
        else if (event.kind == ViewerEvent::Kind::Message) {
            said << event.text;
            writeText(session.err, event.text + QLatin1Char('\n'));
        }
    };
    const int timeout = screenshot.isEmpty() ? 0 : *after + ScreenshotAllowanceMs;
    if (const QString problem = AppletViewer::run(*page, options, work.path(), timeout, print); !problem.isEmpty())
        return failedBeyond(session, problem, said);
    return screenshot.isEmpty() ? Success : keep(session, shot, screenshot);
}

int record(CliSession &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    const std::optional<int> seconds = number(args, QStringLiteral("--seconds"), MovingPicture::DefaultSeconds, 1,
                                              MovingPicture::MaxSeconds);
    const std::optional<int> fps = number(args, QStringLiteral("--fps"), MovingPicture::DefaultFramesPerSecond, 1,
                                          MovingPicture::MaxFramesPerSecond);
    if (!seconds || !fps)
        return session.usageError(QStringLiteral("--seconds takes 1 to %1, --fps 1 to %2.")
                                      .arg(MovingPicture::MaxSeconds)
                                      .arg(MovingPicture::MaxFramesPerSecond));
    const std::optional<QString> page = writtenPreview(session, applet);
    if (!page)
        return Failure;
    QByteArray picture;
    const std::optional<EffectPlayer::Engine> engine = engineOf(args);
    if (!engine)
        return session.usageError(QStringLiteral("--engine takes ours or java."));
    if (const QString problem = EffectPlayer::recordMovingPicture(*page, *seconds, *fps, &picture, *engine);
        !problem.isEmpty())
        return failed(session, problem);
    const FileError error = FileCopy::write(args.positional[1], picture, FileCopy::Durability::Durable);
    if (!error.ok()) {
        session.reporter.report(FileCopy::describe(error));
        return Failure;
    }
    return Success;
}

// Frames beyond this would take the engine minutes to reach.
constexpr int MaxRenderFrame = 100000;

int render(CliSession &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    const std::optional<int> frame = number(args, QStringLiteral("--frame"), 50, 0, MaxRenderFrame);
    if (!frame)
        return session.usageError(QStringLiteral("--frame takes 0 to %1.").arg(MaxRenderFrame));
    if (!EffectPlayer::knows(applet))
        return failed(session, QStringLiteral("Vexa Java has no effect of its own for %1 yet.").arg(applet));
    EffectPlayer player;
    if (const QString problem = player.open(session.store(), session.folders(), applet); !problem.isEmpty())
        return failed(session, problem);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    player.frame(quint32(*frame)).save(&buffer, "PNG");
    const FileError error = FileCopy::write(args.positional[1], png, FileCopy::Durability::Durable);
    if (!error.ok()) {
        session.reporter.report(FileCopy::describe(error));
        return Failure;
    }
    return Success;
}

// Every effect at its default values, frame N, with its applet's name: the gallery.
int renderSheet(CliSession &session, const Arguments &args)
{
    const std::optional<int> frame = number(args, QStringLiteral("--frame"), 50, 0, MaxRenderFrame);
    if (!frame)
        return session.usageError(QStringLiteral("--frame takes 0 to %1.").arg(MaxRenderFrame));
    constexpr int Columns = 4, CellWidth = 240, CellHeight = 150, Caption = 22;
    QList<QPair<QString, QImage>> cells;
    for (const AppletRecord &record : Catalogue::applets()) {
        const QString applet = QLatin1String(record.id);
        if (!EffectPlayer::knows(applet))
            continue;
        EffectPlayer player;
        SettingsStore &store = session.store();
        const SettingsStore::Overlay defaults(store, applet, store.values(applet + SettingsStore::DefaultSuffix));
        if (const QString problem = player.open(store, session.folders(), applet); !problem.isEmpty())
            return failed(session, QStringLiteral("%1: %2").arg(applet, problem));
        // A copy: the frame is a view of the player's bytes, which go with the player.
        cells.append({applet, player.frame(quint32(*frame)).copy().scaled(CellWidth, CellHeight, Qt::KeepAspectRatio,
                                                                            Qt::SmoothTransformation)});
    }
    const int rows = int((cells.size() + Columns - 1) / Columns);
    QImage sheet(Columns * CellWidth, rows * (CellHeight + Caption), QImage::Format_RGB32);
    sheet.fill(QColor(32, 32, 32));
    QPainter painter(&sheet);
    painter.setPen(Qt::white);
    for (int i = 0; i < cells.size(); ++i) {
        const QRect cell((i % Columns) * CellWidth, (i / Columns) * (CellHeight + Caption), CellWidth, CellHeight);
        const QImage &picture = cells[i].second;
        painter.drawImage(cell.x() + (CellWidth - picture.width()) / 2, cell.y() + (CellHeight - picture.height()) / 2,
                          picture);
        painter.drawText(QRect(cell.x(), cell.bottom(), CellWidth, Caption), Qt::AlignCenter, cells[i].first);
    }
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    sheet.save(&buffer, "PNG");
    const FileError error = FileCopy::write(args.positional[0], png, FileCopy::Durability::Durable);
    if (!error.ok()) {
        session.reporter.report(FileCopy::describe(error));
        return Failure;
    }
    return Success;
}

int reset(CliSession &session, const Arguments &args)
{
    const QString applet = args.positional[0];
    if (!args.options.contains(QStringLiteral("--yes")))
        return session.usageError(
            QStringLiteral("reset discards every stored value of %1; repeat it with --yes to confirm.").arg(applet));
    session.store().resetToDefaults(applet);
    return session.finish(true);
}

int imageSize(CliSession &session, const Arguments &args)
{
    const ImageInfo info = ImageSize::read(args.positional[0], session.reporter);
    if (!info.found)
        return Failure;
    session.print(QStringLiteral("%1 %2 %3\n").arg(info.extension).arg(info.width).arg(info.height));
    return Success;
}

int fontInfo(CliSession &session, const Arguments &args)
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
        {"preview", "preview APPLET [--copied] [--effects]",
         "Write the preview page into the applet folder and print its path; --copied refers to the button "
         "image in the page's own folder; --effects plays Vexa Java's own effect in browsers without Java.",
         1, true, {"--copied", "--effects"}, {}, preview},
        {"save-project", "save-project APPLET FILE", "Save the settings of APPLET to the project FILE (.vxp).", 2,
         true, {}, {}, saveProject},
        {"open-project", "open-project FILE [--applet APPLET]",
         "Open a project FILE into the store and print its applet. Without --applet the applet comes from the "
         "file, as on the selection page; with it the file must belong to APPLET.",
         1, false, {}, {"--applet"}, openProject},
        {"publish", "publish APPLET HTMLFILE [--moving-picture] [--engine ours|java] [--effects]",
         "Write the page HTMLFILE and copy every file the applet needs beside it; --moving-picture also records "
         "the applet as HTMLFILE's name-<applet folder>.webp, shown by browsers without Java (this runs the "
         "applet, sandboxed as for run, or draws Vexa Java's own effect where the applet's code is missing; "
         "--engine chooses); --effects copies vexajava-effects.js beside the page, which then plays Vexa Java's "
         "own effect in browsers without Java.",
         2, true, {"--moving-picture", "--effects"}, {"--engine"}, publish},
        {"run", "run APPLET [--screenshot FILE.png] [--after MS]",
         "Write the preview page and run the applet in the applet viewer (it needs a desktop and Java 17). "
         "--screenshot saves the applet's area MS milliseconds (default 1000) after it started and ends. "
         "Applets run sandboxed: they read only their page's folder, and may not write files, use the network, "
         "start programs or end the viewer; with bubblewrap installed the viewer also runs in a process sandbox.",
         1, true, {}, {"--screenshot", "--after"}, run},
        {"record", "record APPLET FILE.webp [--seconds S] [--fps N] [--engine ours|java]",
         "Save S seconds (default 3) of the applet, N frames a second (default 15), as an animated WebP "
         "picture: run in the applet viewer, or drawn by Vexa Java's own effect where the applet's code is "
         "missing (--engine chooses).",
         2, true, {}, {"--seconds", "--fps", "--engine"}, record},
        {"render --sheet", "render --sheet FILE.png [--frame N]",
         "Draw frame N (default 50) of every effect Vexa Java has, at its default values, each with its "
         "applet's name, as one PNG picture.",
         1, false, {}, {"--frame"}, renderSheet},
        {"render", "render APPLET FILE.png [--frame N]",
         "Draw frame N (default 50) of the applet's own effect, made by Vexa Java from its values, as a PNG "
         "picture.",
         2, true, {}, {"--frame"}, render},
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

CliCommands::CliCommands(std::FILE *out, std::FILE *err) : m_out(out), m_err(err) {}

CliCommands::~CliCommands() = default;

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
    m_session = std::make_unique<CliSession>(m_out, m_err);
    CliSession &session = *m_session;
    for (const Command &command : commands()) {
        // A command's name may be two words ("render --sheet").
        const QStringList name = QString::fromLatin1(command.name).split(QLatin1Char(' '));
        if (arguments.mid(0, name.size()) != name)
            continue;
        Arguments args;
        QString error;
        if (!parse(command, arguments.mid(name.size()), &args, &error))
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
