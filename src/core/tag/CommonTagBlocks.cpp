#include "CommonTagBlocks.h"

#include "MenuTagBlocks.h"
#include "TagText.h"
#include "catalogue/Catalogue.h"
#include "settings/SettingsStore.h"

#include <QStringList>

namespace vexa {
namespace {

const QStringList kMenuApplets = {"CUBEMENU", "WHEELMENU", "MORPHMENU", "TREEMENU"};

// Applets with a link and status message per image or menu item.
const QStringList kOwnLinkApplets = {"CFADE", "CUBEMENU", "BOOKFLIP", "MOSAIC", "WHEELMENU", "MORPHMENU", "TREEMENU"};

const QStringList kPriorityLApplets = {"CUBEMENU", "TMAPCUBE"};
const QStringList kFixNetscapeApplets = {"BLOBS", "FIRE", "PLASMA", "VOXEL", "GALAXY"};
const QStringList kNoOverImage = {"VEXAPAINT"};
const QStringList kNoSyncApplets = {"BLUR"};

struct Row {
    const char *key;
    const char *param;
};

const Row kFloatRows[] = {{"FloatMode", "floatmode"}, {"Width", "floatw"},        {"Height", "floath"},
                          {"FloatX", "floatx"},       {"FloatY", "floaty"},       {"FloatTitle", "floatitle"},
                          {"FloatInFront", "floatinfront"}};

const Row kScrollTextRows[] = {
    {"TextMode", "texttype"},         {"TextVSpace", "textvspace"},       {"TextSizeMin", "textminfont"},
    {"TextSizeMax", "textmaxfont"},   {"YOffset", "textoffset"},          {"Textspeed", "textspeed"},
    {"TextFont", "textfont"},         {"TextBold", "textbold"},           {"TextItalic", "textitalic"},
    {"TextSize", "textsize"},         {"TextShadow", "textshadow"},       {"TextSColRed", "TextSColR"},
    {"TextSColGreen", "TextSColG"},   {"TextSColBlu", "TextSColB"},       {"TextColRed", "TextColR"},
    {"TextColGreen", "TextColG"},     {"TextColBlu", "TextColB"},         {"TextJumpAmpl", "TextJumpAmp"},
    {"TextJumpSpeed", "TextJumpSpd"}, {"TextSineAmpl", "TextSineAmp"},    {"TextSineSpeed", "TextSineSpd"},
    {"TextSineAngle", "TextSineAngle"}};

// Link and tuning rows with the applets that do not get them.
struct TuningRow {
    const char *key;
    const char *param;
    const QStringList *skippedFor;
};

const TuningRow kTuningRows[] = {{"RegLink", "reglink", &kOwnLinkApplets},
                                 {"RegNewFrame", "regnewframe", nullptr},
                                 {"RegFrameName", "regframename", nullptr},
                                 {"StatusMsg", "statusmsg", &kOwnLinkApplets},
                                 {"MemDelay", "memdelay", &kNoSyncApplets},
                                 {"TaskPriority", "priority", nullptr}};

class Writer {
public:
    Writer(const SettingsStore &store, const QString &appletId, TagText &tag)
        : m_store(store), m_appletId(appletId), m_tag(tag)
    {
    }

    QString value(const char *key) const { return m_store.read(m_appletId, QLatin1String(key)); }
    void row(const Row &row) { m_tag.param(QLatin1String(row.param), value(row.key)); }

    void floatingWindow()
    {
        if (!kMenuApplets.contains(m_appletId))
            return;
        for (const Row &r : kFloatRows)
            row(r);
    }

    void menuItems()
    {
        if (m_appletId == QLatin1String("WHEELMENU") || m_appletId == QLatin1String("MORPHMENU"))
            MenuTagBlocks::appendMenuList(m_store, m_appletId, m_tag);
        else if (m_appletId == QLatin1String("TREEMENU"))
            MenuTagBlocks::appendTree(m_store, m_tag);
    }

    void overImage()
    {
        if (kNoOverImage.contains(m_appletId))
            return;
        const QString image = value("OverImage");
        m_tag.param(QStringLiteral("overimg"), image.isEmpty() ? QStringLiteral("NO") : image);
        row({"OverImgX", "overimgX"});
        row({"OverImgY", "overimgY"});
    }

    void scrollText()
    {
        if (!Catalogue::hasCommonScrollText(m_appletId))
            return;
        const QString file = value("Textscroll");
        m_tag.param(QStringLiteral("textscroll"), file);
        if (file == QLatin1String("NO"))
            return;
        for (const Row &r : kScrollTextRows)
            row(r);
    }

    void linkAndTuning()
    {
        if (m_appletId == QLatin1String("VEXAPAINT"))
            return;
        for (const TuningRow &r : kTuningRows) {
            if (!r.skippedFor || !r.skippedFor->contains(m_appletId))
                row({r.key, r.param});
        }
        if (kPriorityLApplets.contains(m_appletId))
            m_tag.param(QStringLiteral("priorityL"), QStringLiteral("3"));
        if (!kNoSyncApplets.contains(m_appletId))
            row({"MinSYNC", "MinSYNC"});
        if (kFixNetscapeApplets.contains(m_appletId))
            row({"FixNetscape", "fixnetscape"});
    }

    void close(const QString &beforeMessage)
    {
        if (!beforeMessage.isEmpty())
            m_tag.line(beforeMessage);
        m_tag.line(value("NoJavaMsg"));
        m_tag.line(QStringLiteral("</applet>"));
    }

private:
    const SettingsStore &m_store;
    const QString &m_appletId;
    TagText &m_tag;
};

} // namespace

bool CommonTagBlocks::isMenuApplet(const QString &appletId) { return kMenuApplets.contains(appletId); }
bool CommonTagBlocks::isOwnLinkApplet(const QString &appletId) { return kOwnLinkApplets.contains(appletId); }

bool CommonTagBlocks::carriesKey(const QString &appletId, const QString &key)
{
    if (key.startsWith(QLatin1String("OverImg")) || key == QLatin1String("OverImage"))
        return !kNoOverImage.contains(appletId);
    if (appletId == QLatin1String("VEXAPAINT"))
        return false; // no link and tuning block at all
    if (key == QLatin1String("MinSYNC"))
        return !kNoSyncApplets.contains(appletId);
    if (key == QLatin1String("FixNetscape"))
        return kFixNetscapeApplets.contains(appletId);
    for (const TuningRow &row : kTuningRows) {
        if (key == QLatin1String(row.key))
            return !row.skippedFor || !row.skippedFor->contains(appletId);
    }
    return true;
}

void CommonTagBlocks::append(const SettingsStore &store, const QString &appletId, TagText &tag,
                             const QString &beforeMessage)
{
    Writer writer(store, appletId, tag);
    writer.floatingWindow();
    writer.menuItems();
    writer.overImage();
    writer.scrollText();
    writer.linkAndTuning();
    writer.close(beforeMessage);
}

} // namespace vexa
