#include "PageSpecials.h"
#include "PageTables.h"

#include "CharacterSets.h"
#include "Page.h"
#include "PageHandlers.h"
#include "SelectionPage.h"
#include "editors/AppletSizeRules.h"
#include "editors/ImageListEditor.h"
#include "EffectPlayer.h"
#include "editors/MenuTreeEditor.h"
#include "editors/ScrollTextControls.h"
#include "catalogue/Catalogue.h"
#include "publish/PreviewPage.h"
#include "publish/VexaFont.h"
#include "Reporter.h"
#include "services/Services.h"
#include "settings/Folders.h"
#include "settings/ScrollTextFiles.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"
#include "tag/CommonTagBlocks.h"
#include "tag/TagGenerator.h"
#include "pages/PublishActions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace vexa {
namespace {

constexpr int ScrollText = 1013;
constexpr int TextLimit = ScrollTextFiles::MaxLength;

bool isOwnLinkApplet(const QString &appletId) { return CommonTagBlocks::isOwnLinkApplet(appletId); }

// --- scroll text (pages 133 and 208) ---

void loadScrollText(Page &page)
{
    QString text;
    PageContext &context = page.context();
    ScrollTextFiles files(context.folders, context.services);
    if (!files.load(page.appletId(), &text, PreviewPage::charsetFor(context.store, page.appletId())))
        text.clear();
    page.setText(ScrollText, text);
}

void storeScrollText(Page &page)
{
    QString text = page.text(ScrollText).left(TextLimit);
    // The applets read the text line by line: a text without any line end gets one.
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        text = text.left(TextLimit - 2) + QStringLiteral("\r\n");
    PageContext &context = page.context();
    ScrollTextFiles(context.folders, context.services)
        .save(page.appletId(), text, PreviewPage::charsetFor(context.store, page.appletId()));
}

// --- link page (155) ---

void loadLink(Page &page, const Binding &binding, const QString &value)
{
    const QString key = QLatin1String(binding.key);
    if (key == QLatin1String("RegLink")) {
        if (isOwnLinkApplet(page.appletId()))
            return;
        page.setChecked(1232, value != QLatin1String("NO"));
        page.setText(1233, value == QLatin1String("NO") ? QString() : value);
    } else if (key == QLatin1String("RegNewFrame")) {
        const bool newFrame = value == QLatin1String("YES");
        if (newFrame)
            page.setChecked(1232, true);
        page.setChecked(1231, newFrame);
        if (!newFrame) {
            page.setText(1249, QString());
            page.selectComboItem(1250, QStringLiteral("_blank"), nullptr);
        }
    } else if (key == QLatin1String("RegFrameName")) {
        if (!page.isChecked(1231))
            return;
        auto *combo = page.control<QComboBox>(1250);
        if (combo && combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) {
            page.selectComboItem(1250, value, nullptr);
        } else {
            page.selectComboItem(1250, StringTable::text(Str::OtherTarget), nullptr);
            page.setText(1249, value);
        }
        page.runHandler(1250);
    }
}

bool storeLink(Page &page, const Binding &binding)
{
    const QString key = QLatin1String(binding.key);
    if (key == QLatin1String("RegLink")) {
        page.write(key, page.isChecked(1232) ? page.text(1233) : QStringLiteral("NO"));
    } else if (key == QLatin1String("RegNewFrame")) {
        page.write(key, page.isChecked(1231) ? QStringLiteral("YES") : QStringLiteral("NO"));
    } else if (key == QLatin1String("RegFrameName")) {
        QString frame = QStringLiteral("_blank");
        if (page.isChecked(1231)) {
            frame = page.text(1250);
            if (frame == StringTable::text(Str::OtherTarget))
                frame = page.text(1249);
        }
        page.write(key, frame);
    }
    return true;
}

// --- per-page preparation ---

// The expert page's fields and the stored values they choose.
struct ExpertField {
    int control;
    const char *key;
};
constexpr ExpertField ExpertFields[] = {{1057, "MemDelay"},    {1058, "TaskPriority"}, {1059, "MinSYNC"},
                                        {1060, "FixNetscape"}, {1142, "StatusMsg"},    {1326, "OverImage"},
                                        {1315, "OverImage"},   {1314, "OverImage"},    {1316, "OverImgX"},
                                        {1317, "OverImgY"}};

void setUpExpertPage(Page &page)
{
    // A field is there to choose what the tag writes: enabled only where the tag carries it.
    for (const ExpertField &field : ExpertFields) {
        if (!CommonTagBlocks::carriesKey(page.appletId(), QLatin1String(field.key)))
            page.setEnabled(field.control, false);
    }
    page.setText(1316, QStringLiteral("0"));
    page.setText(1317, QStringLiteral("0"));
}

void setUpLinkPage(Page &page)
{
    if (isOwnLinkApplet(page.appletId())) {
        // Their links belong to images or menu items: the page's own address is never read
        // nor stored, so it must not stay open (and required) either.
        page.setEnabled(1232, false);
        page.setEnabled(1233, false);
    }
    if (page.appletId() == QLatin1String("VEXAPAINT")) {
        page.setChecked(1232, false);
        page.setEnabled(1232, false);
    }
}

void setUpScriptObjects(Page &page)
{
    const QString script = page.context().store.read(page.appletId(), QStringLiteral("Script"));
    const bool objects = script == QLatin1String("Objects");
    page.setVisible(1391, objects);
    page.setVisible(1407, objects);
    page.setVisible(1421, !objects);
    page.setVisible(1420, !objects);
    for (int id : {1100, 1101, 1102, 1394, 1396, 1397, 1398, 1399, 1400, 1401, 1402, 1403, 1411, 1412, 1413})
        page.setEnabled(id, objects);
    page.setEnabled(1414, !objects);
    page.setText(1415, QStringLiteral("Vexa 3D script \"%1\" parameters")
                           .arg(objects ? QStringLiteral("Objects") : QStringLiteral("Labyrinth")));
}

void setUpCodePage(Page &page)
{
    PageContext &context = page.context();
    if (auto *button = page.control<QAbstractButton>(1003))
        QObject::connect(button, &QAbstractButton::clicked, &page, [&context] {
            PublishActions(context).showPreview(); // with or without the effect, as chosen now
        });
    if (auto *button = page.control<QAbstractButton>(1312))
        QObject::connect(button, &QAbstractButton::clicked, &page, [&page] {
            page.context().services.setClipboardText(page.text(1055));
            page.context().status(QStringLiteral("HTML code copied to the clipboard"));
        });
    if (auto *button = page.control<QAbstractButton>(1056))
        QObject::connect(button, &QAbstractButton::clicked, &page,
                         [&context] { PublishActions(context).saveAllFiles(); });
    if (auto *button = page.control<QAbstractButton>(5141))
        QObject::connect(button, &QAbstractButton::clicked, &page, [&context] {
            if (context.runApplet)
                context.runApplet();
        });
    // One choice for every applet, kept until the user changes it.
    page.setChecked(5142, PublishActions::movingPictureWanted(context.store));
    if (auto *box = page.control<QAbstractButton>(5142))
        QObject::connect(box, &QAbstractButton::toggled, &page,
                         [&context](bool on) { PublishActions::setMovingPictureWanted(context.store, on); });
    // Each applet's own choice, offered where Vexa Java has an effect for it.
    page.setEnabled(5143, EffectPlayer::knows(context.appletId));
    page.setChecked(5143, PublishActions::effectsWanted(context.store, context.appletId));
    if (auto *box = page.control<QAbstractButton>(5143))
        QObject::connect(box, &QAbstractButton::toggled, &page, [&context](bool on) {
            PublishActions::setEffectsWanted(context.store, context.appletId, on);
        });
#ifndef Q_OS_WIN
    // Active desktop items exist only on Windows desktops that show web content.
    page.setVisible(4004, false);
#endif
}

} // namespace

void PageSpecials::setUp(Page &page)
{
    switch (page.pageId()) {
    case 129:
        SelectionPage::setUp(page);
        break;
    case 131:
        page.setChecked(1070, true);
        page.setChecked(1072, true);
        break;
    case 133:
        page.setChecked(1340, true);
        break;
    case 134:
        setUpCodePage(page);
        break;
    case 135:
        setUpExpertPage(page);
        break;
    case 155:
        setUpLinkPage(page);
        break;
    case 183:
        setUpScriptObjects(page);
        break;
    default:
        break;
    }
    PageHandlers::connect(page);
}

bool PageSpecials::loadKey(Page &page, const Binding &binding, const QString &value)
{
    const QString key = QLatin1String(binding.key);
    switch (page.pageId()) {
    case 129:
        if (key == QLatin1String("LastCateg"))
            SelectionPage::loadCategory(page, value);
        else
            SelectionPage::loadApplet(page, value);
        return true;
    case 155:
        loadLink(page, binding, value);
        return true;
    case 183: // the object keys belong to the "Objects" script only
        return value == QLatin1String("Objects");
    case 208:
        loadScrollText(page);
        return true;
    default:
        return true;
    }
}

bool PageSpecials::storeKey(Page &page, const Binding &binding)
{
    const QString key = QLatin1String(binding.key);
    switch (page.pageId()) {
    case 129:
        if (key == QLatin1String("LastCateg"))
            SelectionPage::storeCategory(page);
        else
            SelectionPage::storeApplet(page);
        return true;
    case 155:
        return storeLink(page, binding);
    case 183:
        return page.context().store.read(page.appletId(), QStringLiteral("Script")) == QLatin1String("Objects");
    case 208:
        storeScrollText(page);
        return true;
    default:
        return true;
    }
}

void PageSpecials::afterLoad(Page &page)
{
    PageContext &context = page.context();
    // The list's history starts from the loaded size, factor and extra height.
    AppletSizeRules::takeLoadedValues(page);
    if (ImageListEditor *images = ImageListEditor::of(page))
        images->load(page.loadsDefaults());
    switch (page.pageId()) {
    case 133:
        loadScrollText(page);
        break;
    case 134: {
        const QString tag = TagGenerator(context.store).generate(context.appletId);
        // Wrapping a line of hundreds of thousands of characters (a value edited outside
        // the program) would hold the page for many seconds; such a tag is shown unwrapped.
        constexpr int LongestWrappedLine = 10000;
        qsizetype longest = 0;
        for (QStringView line : QStringView(tag).split(u'\n'))
            longest = qMax(longest, line.size());
        if (auto *area = page.control<QPlainTextEdit>(1055))
            area->setLineWrapMode(longest > LongestWrappedLine ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        page.setText(1055, tag);
        PreviewPage(context.store, context.folders, context.services).write(context.appletId, false);
        break;
    }
    case 155:
        page.runHandler(1232); // the address and target follow the link switch
        break;
    case 135:
        if (isOwnLinkApplet(page.appletId())) {
            page.setText(1142, QString());
            page.setEnabled(1142, false);
        }
        break;
    case 195:
        page.runHandler(1505); // the plug-in index follows "Back Fx/Plug-in"
        break;
    case 197:
        if (MenuTreeEditor *menu = MenuTreeEditor::of(page))
            menu->load(page.loadsDefaults());
        break;
    case 208:
        ScrollTextControls::showNamedFont(page);
        break;
    default:
        break;
    }
}

void PageSpecials::afterStore(Page &page)
{
    PageContext &context = page.context();
    if (ImageListEditor *images = ImageListEditor::of(page))
        images->store();
    switch (page.pageId()) {
    case 133:
        storeScrollText(page);
        break;
    case 195:
        page.runHandler(1505); // the plug-in index follows "Back Fx/Plug-in"
        break;
    case 197:
        if (MenuTreeEditor *menu = MenuTreeEditor::of(page))
            menu->store();
        break;
    case 198:
    case 208:
        page.write(QStringLiteral("Textscroll"), Catalogue::scrollTextFile(page.appletId()));
        if (page.pageId() == 198)
            context.flags.scrollText = true;
        break;
    default:
        break;
    }
}

bool PageSpecials::scrollTextToConvert(Page &page, QString *text)
{
    PageContext &context = page.context();
    const QString file = Catalogue::scrollTextFile(page.appletId());
    if (!page.control(4068) || file.isEmpty() ||
        page.text(4068) == PreviewPage::charsetFor(context.store, page.appletId()) ||
        !QFileInfo::exists(context.folders.appletFolder(page.appletId()) + QLatin1Char('/') + file))
        return false;
    SilentReporter quiet; // a file that cannot be read is reported where the text is shown
    return ScrollTextFiles(context.folders, quiet)
        .load(page.appletId(), text, PreviewPage::charsetFor(context.store, page.appletId()));
}

void PageSpecials::convertScrollText(Page &page)
{
    QString text;
    if (!scrollTextToConvert(page, &text))
        return;
    PageContext &context = page.context();
    if (ScrollTextFiles(context.folders, context.services).save(page.appletId(), text, page.text(4068)))
        context.status(QStringLiteral("The scroll text file \"%1\" is now written in %2.")
                           .arg(Catalogue::scrollTextFile(page.appletId()), page.text(4068)));
}

void PageSpecials::loadCharacterSet(Page &page, const QString &charset)
{
    const QString name = CharacterSets::nameOf(charset);
    page.selectComboItem(4069, name.isEmpty() ? CharacterSets::other() : name, nullptr);
    page.setText(4068, charset);
    page.runHandler(4069);
}

} // namespace vexa
