#include "FilePublisher.h"

#include "io/FileCopy.h"

#include "PreviewPage.h"
#include "Reporter.h"
#include "catalogue/Catalogue.h"
#include "settings/Folders.h"
#include "settings/InstallData.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "viewer/MovingPicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <cerrno>
#include <vector>

namespace vexa {
namespace {

enum class Rule {
    Fixed,           // the file `text`
    FixedIf,         // the file `text` when setting `key` equals `value`
    Always,          // the file named by setting `text`
    UnlessNo,        // ... skipped when it is "NO"
    UnlessNoOrEmpty, // ... skipped when it is "NO" or empty
    ImageList,       // `text` + 1, 2, ... up to the first empty, missing or "NO"
    SixImages,       // `text` + 1 to 6, all six
    IconList,        // `text` + 0, 1, ... up to the first empty
    BlurFrames,      // ImgsValue + k + FormatValue for k = 1 to NumImages
    FontAndPicture,  // the font file of setting `text` if set, then its picture
    LocalFile,       // the file named by setting `text` when it is a file of the applet folder;
                     // a web address (or anything else) is left for the browser to fetch
};

struct FileRow {
    Rule rule;
    const char *text;
    const char *key = nullptr;
    const char *value = nullptr;
};

struct AppletFiles {
    const char *id;
    std::vector<FileRow> rows;
};

// Each applet's own files, in the order they are copied.
const std::vector<AppletFiles> &appletFiles()
{
    static const std::vector<AppletFiles> table = {
        {"BUMP",
         {{Rule::Fixed, "vexabump.class"}, {Rule::Always, "ImageFile"}, {Rule::UnlessNo, "AltImageFile"}}},
        {"FLAG", {{Rule::Fixed, "VxFlag.class"}}},
        {"IFSFRACT", {{Rule::Fixed, "VxFract.class"}, {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"LAKE", {{Rule::Fixed, "VxLake.class"}, {Rule::Always, "ImageFile"}}},
        {"BLOBS", {{Rule::Fixed, "blob.class"}, {Rule::Fixed, "blobs.class"}}},
        {"CUBEMENU",
         {{Rule::Fixed, "CubeMenu.class"}, {Rule::SixImages, "Image_"}, {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"DEFORM", {{Rule::Fixed, "Deform.class"}, {Rule::Always, "Image"}}},
        {"FIRE", {{Rule::Fixed, "fire.class"}}},
        {"LENS", {{Rule::Fixed, "VxLens.class"}, {Rule::Always, "ImageFile"}}},
        {"FLAGLOAD",
         {{Rule::Fixed, "FlagLoad.class"}, {Rule::Always, "FlagLoad"}, {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"CFADE", {{Rule::Fixed, "VxFade.class"}, {Rule::ImageList, "Image_"}}},
        {"FLOZOIDS", {{Rule::Fixed, "flozoids.class"}, {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"BLUR",
         {{Rule::Fixed, "vxblur.class"},
          {Rule::BlurFrames, "ImgsValue"},
          {Rule::UnlessNoOrEmpty, "AudioPing"},
          {Rule::UnlessNoOrEmpty, "AudioPong"}}},
        {"FLUID", {{Rule::Fixed, "fluid.class"}}},
        {"HUEROT", {{Rule::Fixed, "huerot.class"}, {Rule::Always, "ImageFile"}}},
        {"LIFE2D", {{Rule::Fixed, "life2d.class"}}},
        {"MANDEL", {{Rule::Fixed, "mandel.class"}}},
        {"ROT", {{Rule::Fixed, "Rot2.class"}, {Rule::Always, "ImageFile"}, {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"PLASMA", {{Rule::Fixed, "Plasma3.class"}}},
        {"TUNNEL", {{Rule::Fixed, "tunnel.class"}, {Rule::Always, "ImageFile"}}},
        {"TMAPCUBE",
         {{Rule::Fixed, "TmapCube.class"}, {Rule::SixImages, "Image_"}, {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"VOXEL", {{Rule::Fixed, "voxel.class"}, {Rule::UnlessNoOrEmpty, "ImageFile"}}}, // its land map
        {"TUNNEL3D", {{Rule::Fixed, "tunnel3d.class"}, {Rule::Always, "ImageFile"}}},
        {"WATER", {{Rule::Fixed, "VxWater.class"}, {Rule::Always, "ImageFile"}}},
        {"WARP", {{Rule::Fixed, "Warp.class"}, {Rule::Always, "ImageFile"}}},
        {"WORMHOLE", {{Rule::Fixed, "wormhole.class"}}},
        {"GALAXY", {{Rule::Fixed, "galaxy.class"}}},
        {"BOOKFLIP", {{Rule::Fixed, "bookflip.class"}, {Rule::ImageList, "Image_"}}},
        {"MOSAIC",
         {{Rule::Fixed, "mosaic.class"}, {Rule::ImageList, "Image_"}, {Rule::UnlessNo, "BackImage"}}},
        // The optional maps hold "NO" when switched off, never a file of that name.
        {"VEXA3D LIGHT",
         {{Rule::Fixed, "vexa3d.class"},
          {Rule::Fixed, "vexa3ds0.class"},
          {Rule::Fixed, "vexa3ds1.class"},
          {Rule::Fixed, "Box01.class"},
          {Rule::Fixed, "Cone01.class"},
          {Rule::Fixed, "Sphere01.class"},
          {Rule::Fixed, "Sphere02.class"},
          {Rule::UnlessNoOrEmpty, "Texture0"},
          {Rule::UnlessNoOrEmpty, "Texture1"},
          {Rule::UnlessNoOrEmpty, "Texture2"},
          {Rule::UnlessNoOrEmpty, "PhongMap"},
          {Rule::UnlessNoOrEmpty, "GPhongMap"}}},
        {"TEXTSCROLLER", {{Rule::Fixed, "txtscroll.class"}, {Rule::UnlessNo, "BackImage"}}},
        {"WOBBLER", {{Rule::Fixed, "wobbler.class"}, {Rule::Always, "Image"}}},
        {"WHEELMENU",
         {{Rule::Fixed, "wheelmenu.class"},
          {Rule::Always, "Font"},
          {Rule::UnlessNoOrEmpty, "BackImage"},
          {Rule::UnlessNoOrEmpty, "TextureFile"}}},
        {"MORPHMENU",
         {{Rule::Fixed, "morphmenu.class"},
          {Rule::Fixed, "morphmenub.class"},
          {Rule::Fixed, "morphmenuc.class"},
          {Rule::FixedIf, "mmgalaxy.class", "BackFx", "mmgalaxy"},
          {Rule::FixedIf, "mmblob.class", "BackFx", "mmblobs"},
          {Rule::FixedIf, "mmblobs.class", "BackFx", "mmblobs"},
          {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"TREEMENU",
         {{Rule::Fixed, "treemenu.class"}, {Rule::IconList, "Icon_"}, {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"VEXACAM", {{Rule::Fixed, "vexacam.class"}, {Rule::LocalFile, "ImageFile"}}},
        {"VEXAPAINT",
         {{Rule::Fixed, "vexapaint.class"},
          {Rule::Fixed, "vexapaintb.class"},
          {Rule::Fixed, "vexapaintc.class"},
          {Rule::Fixed, "vexapaintd.class"},
          {Rule::Fixed, "vexapainte.class"},
          {Rule::UnlessNoOrEmpty, "BackImage"}}},
        {"SOLIDSCROLLER", {{Rule::Fixed, "solidscr.class"}, {Rule::FontAndPicture, "FontIndex"}}},
        {"SNOW", {{Rule::Fixed, "vxsnow.class"}, {Rule::UnlessNoOrEmpty, "BackImage"}}},
        // Its own class, the one the tag's code attribute names.
        {"FIREWORKS",
         {{Rule::Fixed, "firewks.class"},
          {Rule::UnlessNoOrEmpty, "BackImage"},
          {Rule::UnlessNoOrEmpty, "AudioFile"}}},
    };
    return table;
}

// The applets that do without the common class file "vexa.class".
const char *const withoutCommonClass[] = {"IFSFRACT",  "FLOZOIDS",      "BLUR", "TEXTSCROLLER",
                                          "VEXAPAINT", "SOLIDSCROLLER", "SNOW", "FIREWORKS"};

const QString No = QStringLiteral("NO");

// The leading decimal number of `text`, as the frame count is typed; 0 when none.
int leadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    qint64 n = 0;
    for (const QChar c : t) {
        if (!c.isDigit() || c.unicode() > 0x7F)
            break;
        n = qMin<qint64>(n * 10 + (c.unicode() - '0'), 0x7FFFFFFF);
    }
    return int(n);
}

// The font's picture: the name up to its first "." (unless the name starts with it), ".gif".
QString fontPicture(const QString &font)
{
    const qsizetype dot = font.indexOf(QLatin1Char('.'));
    return (dot > 0 ? font.left(dot) : font) + QStringLiteral(".gif");
}

bool containsPathCharacter(const QString &text)
{
    return text.contains(QLatin1Char('/')) || text.contains(QLatin1Char('\\')) || text.contains(QChar(0));
}

class Planner {
public:
    Planner(const SettingsStore &store, const QString &appletId, const QString &appletFolder)
        : m_store(store), m_appletId(appletId), m_appletFolder(appletFolder)
    {
    }

    QString value(const QString &key) const { return m_store.read(m_appletId, key); }

    void fixed(const QString &name) { files.append(PublishFile{name, QString(), QString(), false}); }

    void keyed(const QString &key) { keyed(key, value(key)); }
    void keyed(const QString &key, const QString &stored)
    {
        files.append(PublishFile{stored, key, stored, false});
    }

    void row(const FileRow &row)
    {
        const QString text = QLatin1String(row.text);
        switch (row.rule) {
        case Rule::Fixed:
            fixed(text);
            break;
        case Rule::FixedIf:
            if (value(QLatin1String(row.key)) == QLatin1String(row.value))
                fixed(text);
            break;
        case Rule::Always:
            keyed(text);
            break;
        case Rule::UnlessNo:
            if (value(text) != No)
                keyed(text);
            break;
        case Rule::UnlessNoOrEmpty: {
            const QString v = value(text);
            if (!v.isEmpty() && v != No)
                keyed(text, v);
            break;
        }
        case Rule::ImageList:
            for (int n = 1;; ++n) {
                const QString key = text + QString::number(n);
                const QString v = value(key);
                if (v.isEmpty() || v == No)
                    break;
                keyed(key, v);
            }
            break;
        case Rule::SixImages:
            for (int n = 1; n <= 6; ++n)
                keyed(text + QString::number(n));
            break;
        case Rule::IconList:
            for (int n = 0;; ++n) {
                const QString key = text + QString::number(n);
                const QString v = value(key);
                if (v.isEmpty())
                    break;
                keyed(key, v);
            }
            break;
        case Rule::BlurFrames:
            blurFrames();
            break;
        case Rule::LocalFile: {
            const QString v = value(text);
            if (FilePublisher::isBareFileName(v) && QFileInfo(m_appletFolder + QLatin1Char('/') + v).isFile())
                keyed(text, v);
            break;
        }
        case Rule::FontAndPicture: {
            const QString font = value(text);
            if (font.isEmpty())
                break;
            keyed(text, font);
            files.append(PublishFile{fontPicture(font), text, font, false});
            break;
        }
        }
    }

    void blurFrames()
    {
        const QString stem = value(QStringLiteral("ImgsValue"));
        const QString format = value(QStringLiteral("FormatValue"));
        // A refused name names the setting that makes it a path.
        const bool formatIsPath = containsPathCharacter(format) && !containsPathCharacter(stem);
        const QString key = formatIsPath ? QStringLiteral("FormatValue") : QStringLiteral("ImgsValue");
        const int count = leadingNumber(value(QStringLiteral("NumImages")));
        for (int k = 1; k <= count; ++k) {
            const QString name = stem + QString::number(k) + format;
            files.append(PublishFile{name, key, formatIsPath ? format : stem, false});
            // Copying stops at a missing frame; a huge count must not outlast the files.
            if (!FilePublisher::isBareFileName(name) ||
                !QFileInfo::exists(m_appletFolder + QLatin1Char('/') + name))
                break;
        }
    }

    QList<PublishFile> files;

private:
    const SettingsStore &m_store;
    const QString m_appletId;
    const QString m_appletFolder;
};


} // namespace

FilePublisher::FilePublisher(const SettingsStore &store, const Folders &folders, Reporter &reporter)
    : m_store(store), m_folders(folders), m_reporter(reporter)
{
}

bool FilePublisher::isBareFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        containsPathCharacter(name))
        return false;
    const bool drive = name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).unicode() < 0x80 &&
                       name.at(0).isLetter();
    return !drive;
}

QList<PublishFile> FilePublisher::plannedFiles(const QString &appletId) const
{
    Planner plan(m_store, appletId, m_folders.appletFolder(appletId));
    plan.files.append(PublishFile{PreviewPage::buttonImage(), QString(), QString(), true});
    for (const AppletFiles &applet : appletFiles()) {
        if (appletId == QLatin1String(applet.id)) {
            for (const FileRow &row : applet.rows)
                plan.row(row);
            break;
        }
    }
    bool commonClass = true;
    for (const char *id : withoutCommonClass)
        commonClass = commonClass && appletId != QLatin1String(id);
    if (commonClass)
        plan.fixed(QStringLiteral("vexa.class"));
    plan.fixed(supportClassFile());
    if (appletId != QLatin1String("VEXAPAINT"))
        plan.row(FileRow{Rule::UnlessNoOrEmpty, "OverImage"});
    const QString archive = Catalogue::archive(appletId);
    if (!archive.isEmpty())
        plan.fixed(archive);
    const QString scrollText = Catalogue::scrollTextFile(appletId);
    if (!scrollText.isEmpty())
        plan.fixed(scrollText);
    return plan.files;
}

// Before anything is written, every name must stay in its folder.
bool FilePublisher::namesAreSafe(const QList<PublishFile> &files)
{
    for (const PublishFile &file : files) {
        if (!isBareFileName(file.name)) {
            refuseUnsafe(file);
            return false;
        }
    }
    return true;
}

bool FilePublisher::isAppletCode(const QString &name)
{
    return name.endsWith(QLatin1String(".class"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".jar"), Qt::CaseInsensitive);
}

// The applets' own classes and archives do not come with the program, so a fresh
// installation lacks them: the message names the file, the folder it belongs in and,
// for the applet's code, every file the applet needs.
QStringList FilePublisher::missingFiles(const QString &appletId) const
{
    QStringList code, others;
    for (const PublishFile &file : plannedFiles(appletId)) {
        const QString source = (file.fromAppletDirectory ? m_folders.appletDirectory() : m_folders.appletFolder(appletId)) +
                               QLatin1Char('/') + file.name;
        if (!QFileInfo::exists(source))
            (isAppletCode(file.name) ? code : others) << file.name;
    }
    return code + others;
}

void FilePublisher::reportMissing(const QString &folder, const QString &name)
{
    Message m = message(Str::PublishFileMissing, MessageIcon::Stop);
    m.text = m.text.arg(name, QDir::toNativeSeparators(folder));
    if (isAppletCode(name))
        m.text += QLatin1Char('\n') + StringTable::text(Str::AppletFilesAdvice)
                                         .arg(m_appletCode.join(QLatin1String(", ")), QDir::toNativeSeparators(folder));
    m_reporter.report(m);
}

bool FilePublisher::copyAllFiles(const QString &appletId, const QString &htmlPath)
{
    const QString destination = QFileInfo(htmlPath).absolutePath();
    m_copied = 0;
    m_upToDate = 0;
    QList<PublishFile> files = plannedFiles(appletId);
    if (!namesAreSafe(files))
        return fail();
    PreviewPage page(m_store, m_folders, m_reporter);
    page.setEffects(m_effects);
    const bool playsEffect = page.playsEffect(appletId);
    if (playsEffect)
        files.append(PublishFile{PreviewPage::playerName(), QString(), QString(), false, true});
    m_appletCode.clear();
    for (const PublishFile &file : files) {
        if (isAppletCode(file.name))
            m_appletCode << file.name;
    }
    const QString appletFolder = m_folders.appletFolder(appletId);
    auto sourceFolder = [&](const PublishFile &file) {
        return file.fromProgram ? InstallData::dir()
               : file.fromAppletDirectory ? m_folders.appletDirectory() : appletFolder;
    };
    if (!page.write(appletId, true))
        return fail();
    // A page whose files are not all there would not run: nothing goes to the
    // destination until every file is known to be there. Played by our own effect, the page
    // runs without the applet's code: what is missing of it is named, and left out.
    QStringList absentCode;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const PublishFile &file = files[i];
        const QString source = sourceFolder(file) + QLatin1Char('/') + file.name;
        if (!QFileInfo::exists(source) && !QFileInfo(source).isSymLink() &&
            !FileCopy::samePath(source, destination + QLatin1Char('/') + file.name)) {
            if (playsEffect && isAppletCode(file.name)) {
                absentCode << files.takeAt(i--).name;
                continue;
            }
            reportMissing(sourceFolder(file), file.name);
            return fail();
        }
    }
    if (!absentCode.isEmpty()) {
        Message note = message(Str::EffectWithoutAppletCode, MessageIcon::Information);
        note.text = note.text.arg(QDir::toNativeSeparators(appletFolder), absentCode.join(QLatin1String(", ")));
        m_reporter.report(note);
    }
    QByteArray picture;
    const QString pictureName = MovingPicture::fileName(htmlPath, appletId);
    // Nor while a file the user protected is in the way: the page and the picture are always
    // written, the other files when they differ.
    QList<QPair<QString, QString>> written = {{QString(), htmlPath}}; // source, target
    if (m_movingPicture)
        written.append({QString(), destination + QLatin1Char('/') + pictureName});
    for (const PublishFile &file : files)
        written.append({sourceFolder(file) + QLatin1Char('/') + file.name, destination + QLatin1Char('/') + file.name});
    for (const auto &[source, target] : std::as_const(written)) {
        const QString refused = FileCopy::refusedTarget(target);
        const QFileInfo from(source), to(target);
        const bool current = !source.isEmpty() && from.size() == to.size() && from.lastModified() == to.lastModified();
        if (!refused.isEmpty() && !current && !FileCopy::samePath(source, target)) {
            m_reporter.report(FileCopy::describe(FileError{target, refused}));
            return fail();
        }
    }
    if (m_movingPicture) {
        // Recorded from the page as it is, then named in the page that is copied.
        const Recorder record = m_recorder ? m_recorder : Recorder(&MovingPicture::record);
        const QString problem = record(page.path(appletId), MovingPicture::DefaultSeconds,
                                       MovingPicture::DefaultFramesPerSecond, &picture, m_waiting);
        if (!problem.isEmpty()) {
            Message failed = message(Str::MovingPictureFailed, MessageIcon::Stop);
            failed.text = failed.text.arg(problem);
            m_reporter.report(failed);
            return false;
        }
        if (!page.write(appletId, true, pictureName))
            return fail();
    }
    const QString pagePath = page.path(appletId);
    if (!FileCopy::samePath(pagePath, htmlPath) && !copyContents(pagePath, htmlPath))
        return fail();
    ++m_copied;
    if (m_movingPicture) {
        const FileError error = FileCopy::write(destination + QLatin1Char('/') + pictureName, picture,
                                                FileCopy::Durability::Replaceable);
        if (!error.ok()) {
            m_reporter.report(FileCopy::describe(error));
            return fail();
        }
        ++m_copied;
    }

    QList<QPair<QString, QString>> copies;
    for (const PublishFile &file : files)
        copies.append({sourceFolder(file), file.name});
    return copyFiles(copies, destination) || fail();
}

bool FilePublisher::copyFile(const QString &sourceFolder, const QString &destinationFolder,
                             const QString &name)
{
    return copyFiles({{sourceFolder, name}}, destinationFolder);
}

// Every file is checked first, in order; the copies then run side by side, and the first
// failure in order is reported. A file named twice is copied once, and found up to date
// the second time, as one copy after the other would.
bool FilePublisher::copyFiles(const QList<QPair<QString, QString>> &files, const QString &destinationFolder)
{
    QList<QPair<QString, QString>> copies; // source, target
    QHash<QString, qsizetype> firstCopy;   // target -> its place in copies
    QList<qsizetype> copyOf;               // for each file: its place in copies, -1 for none
    for (const auto &[sourceFolder, name] : files) {
        const QString source = sourceFolder + QLatin1Char('/') + name;
        const QString target = destinationFolder + QLatin1Char('/') + name;
        if (!isBareFileName(name)) {
            m_reporter.report(FileCopy::describe(FileError{source, qt_error_string(EINVAL)}, source));
            return false;
        }
        if (FileCopy::samePath(source, target)) {
            copyOf.append(-1);
            continue;
        }
        if (!QFileInfo::exists(source) && !QFileInfo(source).isSymLink()) {
            reportMissing(sourceFolder, name);
            return false;
        }
        const auto known = firstCopy.constFind(target);
        if (known != firstCopy.constEnd()) {
            copyOf.append(*known);
            continue;
        }
        firstCopy.insert(target, copies.size());
        copyOf.append(copies.size());
        copies.append({source, target});
    }
    const QList<FileCopy::Update> results = FileCopy::updateAll(copies);
    QList<bool> counted(copies.size(), false);
    for (const qsizetype i : std::as_const(copyOf)) {
        if (i < 0) {
            ++m_copied; // the file is already where it is to go
            continue;
        }
        const FileCopy::Update &result = results.at(i);
        if (!result.error.ok()) {
            m_reporter.report(FileCopy::describe(result.error, copies.at(i).first));
            return false;
        }
        ++(result.upToDate || counted.at(i) ? m_upToDate : m_copied);
        counted[i] = true;
    }
    return true;
}

QString FilePublisher::countsText() const
{
    QString text = QStringLiteral("%1 %2 copied").arg(m_copied).arg(m_copied == 1 ? "file" : "files");
    if (m_upToDate > 0)
        text += QStringLiteral(", %1 up to date").arg(m_upToDate);
    return text;
}

bool FilePublisher::copyContents(const QString &source, const QString &target)
{
    const FileError error = FileCopy::copy(source, target);
    if (error.ok())
        return true;
    m_reporter.report(FileCopy::describe(error, source));
    return false;
}

// An empty name would copy the folder itself, a path would reach outside it.
void FilePublisher::refuseUnsafe(const PublishFile &file)
{
    Message refused = message(Str::UnsafeFileName, MessageIcon::Exclamation);
    refused.text = refused.text.arg(file.key, file.value);
    m_reporter.report(refused);
}

bool FilePublisher::fail()
{
    m_reporter.report(message(Str::ErrorCopyingFile, MessageIcon::Stop));
    return false;
}

} // namespace vexa
