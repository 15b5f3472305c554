#include "ScrollTextControls.h"

#include "Addresses.h"
#include "AppletFolderCopy.h"
#include "InstalledFonts.h"
#include "controls/ControlPage.h"
#include "publish/VexaFont.h"
#include "services/Services.h"
#include "settings/IniText.h"
#include "settings/ScrollTextFiles.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>

#include <cerrno>

namespace vexa {
namespace {

constexpr int Text = 1013;
constexpr int TextFromFile = 1015;
constexpr int StandardFonts = 1340;
constexpr int FontFile = 4023;
constexpr int BrowseFont = 4024;
constexpr int DownloadFonts = 4037;
constexpr int Preview = 1065;

const char *const JavaFonts[] = {"Courier", "Dialog", "TimesRoman", "Helvetica"};

void repaintPreview(ControlPage &page)
{
    if (QWidget *preview = page.control(Preview)) preview->update();
}

void textFromFile(ControlPage &page)
{
    Services &services = page.context().services;
    const QString path = services.openFile(StringTable::text(Str::TextFilter));
    if (path.isEmpty()) return;
    QString text;
    if (!ScrollTextControls::readTextFile(path, &text)) {
        services.showMessage(message(Str::ErrorReadingScrollText, MessageIcon::Exclamation));
        return;
    }
    page.setText(Text, text);
}

// The font list of the page: 1050 on the scroll text page, 1516 on the menu pages.
QComboBox *fontList(ControlPage &page)
{
    return page.control<QComboBox>(page.pageId() == 133 ? 1050 : 1516);
}

void standardFonts(ControlPage &page)
{
    QComboBox *list = fontList(page);
    if (!list) return;
    if (page.isChecked(StandardFonts)) {
        list->clear();
        for (const char *font : JavaFonts)
            list->addItem(QLatin1String(font));
        list->setCurrentIndex(list->findText(QStringLiteral("Courier")));
    } else if (page.isLoading() ||
               page.context().services.ask(message(Str::NonStandardFonts, MessageIcon::Exclamation))) {
        list->clear();
        list->addItems(InstalledFonts::families());
        list->setCurrentIndex(list->count() > 0 ? 0 : -1);
    } else {
        // Back to the standard fonts, keeping the list and its choice as they were.
        const QSignalBlocker quiet(page.control(StandardFonts));
        page.setChecked(StandardFonts, true);
    }
    repaintPreview(page);
}


void browseFont(ControlPage &page)
{
    Services &services = page.context().services;
    const QString path = services.openFile(StringTable::text(Str::VexaFontFilter));
    if (path.isEmpty()) return;
    const FontProperties font = VexaFont::read(path);
    if (!font.valid) {
        // The field keeps its font, and the properties shown stay that font's.
        services.showMessage(message(Str::IncorrectVexaFont, MessageIcon::Stop));
        return;
    }
    // The glyphs: the name up to its first dot, with ".gif", beside the font file.
    const QFileInfo info(path);
    const QString glyphs = info.absolutePath() + QLatin1Char('/') +
                           info.fileName().section(QLatin1Char('.'), 0, 0) + QStringLiteral(".gif");
    if (!QFileInfo(glyphs).isFile()) {
        // Checked first, so a font without its picture is not copied half.
        AppletFolderCopy::reportFailure(glyphs, qt_error_string(ENOENT), services);
        return;
    }
    if (!AppletFolderCopy::intoAppletFolder(page, path) || !AppletFolderCopy::intoAppletFolder(page, glyphs))
        return;
    page.setText(FontFile, AppletFolderCopy::bareName(path));
    ScrollTextControls::showFontProperties(page, font);
}

void downloadFonts(ControlPage &page)
{
    Services &services = page.context().services;
    services.showInBrowser(Addresses::fontCollection());
}

} // namespace

void ScrollTextControls::showNamedFont(ControlPage &page)
{
    const QString name = page.text(FontFile);
    const QString path = AppletFolderCopy::pathInAppletFolder(page, name);
    const FontProperties font = name.isEmpty() ? FontProperties{} : VexaFont::read(path);
    showFontProperties(page, font);
    if (name.isEmpty() || font.valid)
        return;
    const QString folder = QFileInfo(path).absolutePath();
    page.context().status(QFileInfo::exists(path)
                              ? QStringLiteral("The font \"%1\" in the applet folder is not a Vexa Font file: "
                                               "choose another with \"Browse font...\".")
                                    .arg(name)
                              : QStringLiteral("The font \"%1\" is not in the applet folder: choose it with "
                                               "\"Browse font...\", or put it and its picture there.")
                                    .arg(name),
                          folder);
}

bool ScrollTextControls::readTextFile(const QString &path, QString *text)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return false; // a pipe or a device may never end
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    // Four bytes per character at most; the field keeps no more than a scroll text holds.
    QByteArray bytes = file.read(qint64(ScrollTextFiles::MaxLength + 1) * 4);
    if (file.error() != QFileDevice::NoError) return false;
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul); // the text ends at its first NUL
    else if (!file.atEnd()) {
        // Cut on a character boundary so the text still reads as UTF-8.
        while (!bytes.isEmpty() && (quint8(bytes.back()) & 0xC0) == 0x80)
            bytes.chop(1);
        if (!bytes.isEmpty() && quint8(bytes.back()) >= 0xC0) bytes.chop(1);
    }
    *text = IniText::decode(bytes).left(ScrollTextFiles::MaxLength);
    return true;
}

void ScrollTextControls::connect(ControlPage &page)
{
    const int id = page.pageId();
    if (id == 133 || id == 208) page.onChange(TextFromFile, [&page] { textFromFile(page); });
    if (id == 133 || id == 195 || id == 201) {
        // The load runs it too: it shows the list its switch asks for.
        page.onChange(StandardFonts, [&page] { standardFonts(page); });
    }
    if (id == 208) {
        page.onChange(BrowseFont, [&page] { browseFont(page); });
        page.onChange(DownloadFonts, [&page] { downloadFonts(page); });
    }
}

void ScrollTextControls::showFontProperties(ControlPage &page, const FontProperties &font)
{
    auto number = [&font](int value) { return font.valid ? QString::number(value) : QString(); };
    page.setText(4027, number(font.width));
    page.setText(4028, number(font.height));
    page.setText(4029, number(font.verticalSpacing));
    page.setText(4030, font.characters);
    page.setText(4031, font.comment);
}

} // namespace vexa
