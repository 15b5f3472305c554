// The pictures and the font that the default values name ship in the applet folders,
// at the sizes the applets' pages derive from those same defaults: a fresh user's
// preview shows them, the pages accept their defaults unchanged and publishing
// finds every file it copies.

#include "TestSupport.h"
#include "catalogue/Catalogue.h"
#include "publish/ImageSize.h"
#include "publish/VexaFont.h"
#include "settings/DefaultSections.h"
#include "settings/InstallData.h"
#include "tag/MenuKeys.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSize>
#include <QTest>

#include <cmath>

using namespace vexa;

namespace {

enum class Rule {
    AppletSize,     // the applet is the picture: Width/Res x Height/Res
    UnscaledSize,   // Width x Height; the page leaves the resolution out
    LakePicture,    // the applet adds the reflection: Height = picture height x Res x 2 (1.5 when half)
    BookPage,       // Height adds the extra height: (Height - ExtraH)/Res
    MosaicPicture,  // the picture with the page's tile margins fills the applet
    CubeFace,       // 128x128 or 256x256
    PowerOfTwo,     // pictures the applet wraps
    TunnelTexture,  // ImageWidth x ImageHeight
    AnyPicture,     // the page sets no size
    Texture3D,      // GIF, 64x64 or 128x128
    TreeIcon,       // 16x16 or 32x16 (closed and open) on items with children, 16x16 on leaves
    BlurFrames,     // ImgsValue 1..NumImages FormatValue, Width x Height (halved when doubled)
    Font,           // a VexaFont and its glyph strip
};

struct Expectation {
    const char *applet;
    const char *keys; // a key, or a pattern of numbered keys
    Rule rule;
};

// Every default that names a file. A new one must come with its file and a row here.
const Expectation Table[] = {
    {"BLUR", "FormatValue", Rule::BlurFrames},
    {"BUMP", "ImageFile", Rule::AppletSize},
    {"CFADE", "Image_\\d+", Rule::AppletSize},
    {"CUBEMENU", "Image_\\d+", Rule::CubeFace},
    {"DEFORM", "Image", Rule::AppletSize},
    {"FLAGLOAD", "FlagLoad", Rule::UnscaledSize},
    {"HUEROT", "ImageFile", Rule::AppletSize},
    {"LAKE", "ImageFile", Rule::LakePicture},
    {"LENS", "ImageFile", Rule::AppletSize},
    {"ROT", "ImageFile", Rule::PowerOfTwo},
    {"TMAPCUBE", "Image_\\d+", Rule::CubeFace},
    {"TUNNEL", "ImageFile", Rule::TunnelTexture},
    {"TUNNEL3D", "ImageFile", Rule::AnyPicture},
    {"WARP", "ImageFile", Rule::PowerOfTwo},
    {"WATER", "ImageFile", Rule::AppletSize},
    {"BOOKFLIP", "Image_\\d+", Rule::BookPage},
    {"MOSAIC", "Image_\\d+", Rule::MosaicPicture},
    {"VEXA3D LIGHT", "Texture[012]|PhongMap", Rule::Texture3D},
    {"WOBBLER", "Image", Rule::PowerOfTwo},
    {"TREEMENU", "Icon_\\d+", Rule::TreeIcon},
    {"VEXACAM", "ImageFile", Rule::AppletSize},
    {"SOLIDSCROLLER", "FontIndex", Rule::Font},
    {"SNOW", "BackImage", Rule::UnscaledSize},
};

// Values that look like a picture, font or sound file.
const QRegularExpression FileLike(QStringLiteral("\\.(jpe?g|gif|png|bmp|vxf|au|wav|midi?)\\s*$"),
                                  QRegularExpression::CaseInsensitiveOption);

bool keyMatches(const Expectation &row, const QString &key)
{
    const QRegularExpression pattern(QStringLiteral("^(%1)$").arg(QLatin1String(row.keys)),
                                     QRegularExpression::CaseInsensitiveOption);
    return pattern.match(key).hasMatch();
}

QString sectionOf(const QString &applet) { return applet + QStringLiteral("_DEF"); }

QString appletFolder(const QString &applet)
{
    return InstallData::dir() + QLatin1Char('/') + InstallData::defaultAppletDirName() + QLatin1Char('/') +
           Catalogue::folderName(applet);
}

// The frame marker of a JPEG, walked segment by segment; 0 when there is none.
int jpegFrameCode(const QByteArray &bytes)
{
    auto byte = [&](qsizetype i) { return i < bytes.size() ? int(uchar(bytes.at(i))) : 0; };
    qsizetype i = 2;
    while (byte(i) == 0xFF) {
        while (byte(i) == 0xFF)
            ++i;
        const int code = byte(i);
        if (code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC)
            return code;
        i += 1 + (byte(i + 1) << 8 | byte(i + 2));
    }
    return 0;
}

// The applet size the mosaic page makes of a picture: the picture plus the margins
// its tiles fly out into.
QSize mosaicFrame(int w, int h, int tileWidth, int tileHeight)
{
    const double tw = tileWidth == 0 ? 1 : tileWidth;
    const double th = tileHeight == 0 ? 1 : tileHeight;
    auto margin = [](double edge) {
        const int a = int(std::ceil(edge));
        return a < 0 ? 1 - a : 0;
    };
    const double x = w / 2.0 - 256.0 * w / (512.0 - h / tw);
    const double y = h / 2.0 - 256.0 * h / (512.0 - w / th);
    return QSize(w + 2 * margin(x), h + 2 * margin(y));
}

QSize divided(QSize size, int by) { return QSize(size.width() / by, size.height() / by); }

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

class Defaults {
public:
    Defaults(const DefaultSections &sections, const QString &applet)
        : m_sections(sections), m_section(sectionOf(applet))
    {
    }
    QString text(const QString &key) const { return m_sections.value(m_section, key); }
    int number(const char *key, int fallback = 0) const
    {
        bool ok = false;
        const int n = text(QLatin1String(key)).trimmed().toInt(&ok);
        return ok ? n : fallback;
    }
    int res() const { return qMax(1, number("Res", 1)); }
    QSize applet() const { return QSize(number("Width"), number("Height")); }

private:
    const DefaultSections &m_sections;
    QString m_section;
};

// Which icons of the tree menu's defaults sit on items with children, which on leaves.
void treeIconUse(QSet<int> *onFolders, QSet<int> *onLeaves)
{
    test::TestEnvironment env(InstallData::defaultsFile());
    QList<MenuKeys::TreeEntry> entries;
    MenuKeys::walkTree(env.store(), [&](const MenuKeys::TreeEntry &e) { entries << e; },
                       sectionOf(MenuKeys::TreeSection));
    for (int i = 0; i < entries.size(); ++i) {
        bool ok = false;
        const int icon = entries[i].icon.toInt(&ok);
        if (!ok) continue;
        const bool folder = i + 1 < entries.size() && entries[i + 1].depth > entries[i].depth;
        (folder ? onFolders : onLeaves)->insert(icon);
    }
}

// Empty when the picture's size is the one the rule asks for.
QString sizeProblem(Rule rule, const Defaults &d, const QString &key, const ImageInfo &info)
{
    const QSize size(info.width, info.height);
    auto expect = [&](QSize wanted) {
        return size == wanted ? QString()
                              : QStringLiteral("%1x%2, want %3x%4")
                                    .arg(size.width()).arg(size.height()).arg(wanted.width()).arg(wanted.height());
    };
    const QSize applet = d.applet();
    switch (rule) {
    case Rule::AppletSize:
        return expect(divided(applet, d.res()));
    case Rule::UnscaledSize:
        return expect(applet);
    case Rule::LakePicture: {
        const double factor = d.text(QStringLiteral("HalfReflect")) == QLatin1String("YES") ? 1.5 : 2.0;
        if (qint64(info.height * d.res() * factor) != applet.height())
            return QStringLiteral("height %1 does not give Height %2").arg(info.height).arg(applet.height());
        return expect(QSize(applet.width() / d.res(), info.height));
    }
    case Rule::BookPage:
        return expect(divided(QSize(applet.width(), applet.height() - d.number("ExtraH")), d.res()));
    case Rule::MosaicPicture: {
        const QSize frame =
            mosaicFrame(info.width, info.height, d.number("TilesWidth"), d.number("TilesHeight")) * d.res();
        // Whole tile margins cannot always meet the applet exactly; one pixel to spare is fine.
        const QSize spare = applet - frame;
        if (spare.width() < 0 || spare.width() > 1 || spare.height() < 0 || spare.height() > 1)
            return QStringLiteral("%1x%2 makes an applet of %3x%4")
                .arg(info.width).arg(info.height).arg(frame.width()).arg(frame.height());
        return QString();
    }
    case Rule::CubeFace:
        return size == QSize(128, 128) || size == QSize(256, 256) ? QString() : expect(QSize(128, 128));
    case Rule::PowerOfTwo:
        return isPowerOfTwo(info.width) && isPowerOfTwo(info.height) ? QString()
                                                                       : QStringLiteral("not powers of two");
    case Rule::TunnelTexture:
        return expect(QSize(d.number("ImageWidth"), d.number("ImageHeight")));
    case Rule::Texture3D:
        if (info.extension != QLatin1String(".gif")) return QStringLiteral("textures must be GIF");
        return size == QSize(64, 64) || size == QSize(128, 128) ? QString() : expect(QSize(64, 64));
    case Rule::TreeIcon: {
        QSet<int> onFolders, onLeaves;
        treeIconUse(&onFolders, &onLeaves);
        const int index = key.mid(key.indexOf(QLatin1Char('_')) + 1).toInt();
        if (onLeaves.contains(index) && size != QSize(16, 16)) return expect(QSize(16, 16));
        if (onFolders.contains(index) && size != QSize(16, 16) && size != QSize(32, 16))
            return expect(QSize(32, 16));
        return QString();
    }
    case Rule::BlurFrames: {
        const bool doubled = d.text(QStringLiteral("DoubleSize")) == QLatin1String("YES");
        return expect(doubled ? divided(applet, 2) : applet);
    }
    case Rule::AnyPicture:
    case Rule::Font:
        break;
    }
    return QString();
}

// Checks one picture file of an applet folder: there, of the type its name gives,
// baseline when a JPEG, and sized by the rule.
void checkPicture(const QString &applet, const QString &key, const QString &name, Rule rule, const Defaults &d)
{
    const QString where = applet + QLatin1Char(' ') + key + QStringLiteral(": ") + name;
    const QString path = appletFolder(applet) + QLatin1Char('/') + name;
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(where + " is missing"));
    RecordingReporter reporter;
    QStringList diagnostics;
    const ImageInfo info = ImageSize::read(path, reporter, &diagnostics);
    QVERIFY2(info.found, qPrintable(where + " is no GIF or JPEG"));
    QVERIFY2(diagnostics.isEmpty(), qPrintable(where + ": " + diagnostics.join(QLatin1Char('|'))));
    const QString suffix = QFileInfo(name).suffix().toLower();
    const QString type = suffix == QLatin1String("jpeg") ? QStringLiteral(".jpg") : QLatin1Char('.') + suffix;
    QVERIFY2(info.extension == type, qPrintable(where + " is really a " + info.extension));
    if (info.extension == QLatin1String(".jpg")) {
        // The applets' JPEG readers know only the baseline process.
        QVERIFY2(jpegFrameCode(test::TestEnvironment::readFile(path)) == 0xC0,
                 qPrintable(where + " is not a baseline JPEG"));
    }
    const QString problem = sizeProblem(rule, d, key, info);
    QVERIFY2(problem.isEmpty(), qPrintable(where + ": " + problem));
}

void checkFont(const QString &applet, const QString &name)
{
    const QString folder = appletFolder(applet) + QLatin1Char('/');
    const FontProperties font = VexaFont::read(folder + name);
    QVERIFY2(font.valid, qPrintable(name + " is no VexaFont"));
    QVERIFY(!font.characters.isEmpty());
    // Publishing copies the glyph picture under the font's name up to its first dot.
    const int dot = name.indexOf(QLatin1Char('.'));
    const QString picture = (dot > 0 ? name.left(dot) : name) + QStringLiteral(".gif");
    RecordingReporter reporter;
    const ImageInfo info = ImageSize::read(folder + picture, reporter);
    QVERIFY2(info.found && info.extension == QLatin1String(".gif"), qPrintable(picture + " is no GIF"));
    // One row of cells, one per character in the font's order.
    QCOMPARE(QSize(info.width, info.height), QSize(int(font.characters.size()) * font.width, font.height));
}

} // namespace

class SampleFilesTest : public QObject {
    Q_OBJECT

private slots:
    void defaultFilesShipFitting_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(Table)); ++i)
            QTest::newRow(qPrintable(QLatin1String(Table[i].applet) + QLatin1Char(' ') +
                                     QLatin1String(Table[i].keys)))
                << i;
    }

    void defaultFilesShipFitting()
    {
        QFETCH(int, row);
        const Expectation &e = Table[row];
        const QString applet = QLatin1String(e.applet);
        const DefaultSections sections = DefaultSections::load(InstallData::defaultsFile());
        const Defaults d(sections, applet);

        if (e.rule == Rule::BlurFrames) {
            const int frames = d.number("NumImages");
            QVERIFY(frames >= 2);
            for (int k = 1; k <= frames; ++k) {
                const QString name = d.text(QStringLiteral("ImgsValue")) + QString::number(k) +
                                     d.text(QStringLiteral("FormatValue"));
                checkPicture(applet, QStringLiteral("frame %1").arg(k), name, e.rule, d);
                if (QTest::currentTestFailed()) return;
            }
            return;
        }

        int files = 0;
        for (const QString &key : sections.keys(sectionOf(applet))) {
            const QString value = d.text(key);
            if (!keyMatches(e, key) || value.isEmpty() || value == QLatin1String("NO")) continue;
            ++files;
            if (e.rule == Rule::Font)
                checkFont(applet, value);
            else
                checkPicture(applet, key, value, e.rule, d);
            if (QTest::currentTestFailed()) return;
        }
        QVERIFY2(files > 0, "the row names no file: drop it or give the default its file");
    }

    // A default naming a file that the table does not know would go unchecked.
    void everyFileDefaultIsChecked()
    {
        const DefaultSections sections = DefaultSections::load(InstallData::defaultsFile());
        int seen = 0;
        for (const AppletRecord &record : Catalogue::applets()) {
            const QString applet = QLatin1String(record.id);
            for (const QString &key : sections.keys(sectionOf(applet))) {
                const QString value = sections.value(sectionOf(applet), key);
                if (!FileLike.match(value).hasMatch()) continue;
                ++seen;
                const bool known = std::any_of(std::begin(Table), std::end(Table), [&](const Expectation &e) {
                    return applet == QLatin1String(e.applet) && keyMatches(e, key);
                });
                QVERIFY2(known, qPrintable(applet + " " + key + "=" + value + " is not in the table"));
            }
        }
        QVERIFY(seen > 0); // the defaults were read at all
    }
};

QTEST_GUILESS_MAIN(SampleFilesTest)
#include "tst_sample_files.moc"
