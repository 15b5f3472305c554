#include "Page.h"

#include "PageHandlers.h"
#include "PageLayout.h"
#include "PageSpecials.h"
#include "PageTables.h"
#include "PageTemplates.h"
#include "PageValidation.h"
#include "catalogue/Catalogue.h"
#include "editors/EffectView.h"
#include "services/Services.h"
#include "settings/SettingsStore.h"
#include "strings/StringIds.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace vexa {

Page::Page(int pageId, PageContext &context, QWidget *parent) : ControlPage(pageId, context, parent)
{
    setObjectName(QStringLiteral("page%1").arg(pageId));
    if (const PageTemplate *pageTemplate = findPageTemplate(pageId))
        m_controls = buildPageLayout(this, *pageTemplate);
    // The applet's own pages show its effect running, as far as Vexa Java has one of its own.
    static const QList<int> CommonPages = {129, 133, 134, 135, 155, 211};
    if (!CommonPages.contains(pageId) && EffectPlayer::knows(context.appletId))
        addPreviewToLayout(this, new EffectView(context, [this] { return shownValues(); }, this));
    PageSpecials::setUp(*this);
}

Page::~Page()
{
    // Closing the controls moves the focus and the selection: handlers that would run then
    // see the page closing (while its tables still exist) and do nothing.
    m_closing = true;
    qDeleteAll(findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly));
}

void Page::load(bool useDefaults)
{
    m_loading = true;
    m_loadSection = section() + (useDefaults && m_pageId != 129 ? SettingsStore::DefaultSuffix : QString());
    for (const Binding &binding : pageBindings(m_pageId)) {
        const QString value = read(QLatin1String(binding.key));
        if (binding.kind == BindingKind::Special) {
            if (!PageSpecials::loadKey(*this, binding, value))
                break;
            continue;
        }
        loadBinding(binding, value);
        if (binding.updatesAfterLoad)
            runHandler(binding.control);
    }
    PageSpecials::afterLoad(*this);
    PageHandlers::refresh(*this);
    loadCommonTail();
    refreshSwatches();
    m_loading = false;
    reportCutFields();
}

// A stored value longer than its field takes (edited outside the program) is cut by
// the field; the user hears of it before leaving the page stores the cut value.
void Page::reportCutFields()
{
    if (m_cutFields.isEmpty())
        return;
    QStringList fields;
    for (const auto &[id, length] : std::as_const(m_cutFields)) {
        const auto *edit = control<QLineEdit>(id);
        fields << QStringLiteral("\"%1\" (%2 of %3 characters kept)")
                      .arg(edit->accessibleName())
                      .arg(edit->maxLength())
                      .arg(length);
    }
    m_cutFields.clear();
    Message m = message(Str::StoredValueCut, MessageIcon::Exclamation);
    m.text = m.text.arg(fields.join(QLatin1String(", ")));
    m_context.services.showMessage(m);
}

void Page::loadBinding(const Binding &binding, const QString &value)
{
    const int id = binding.control;
    switch (binding.kind) {
    case BindingKind::Text:
    case BindingKind::ShowOnly:
        setText(id, value);
        break;
    case BindingKind::TextIfSet:
        setText(id, value == QLatin1String("NO") ? QString() : value);
        break;
    case BindingKind::Combo:
        selectComboItem(id, value, binding.fallback);
        break;
    case BindingKind::CheckYes:
        setChecked(id, value == QLatin1String("YES"));
        break;
    case BindingKind::CheckUnlessNo:
        setChecked(id, value != QLatin1String("NO"));
        break;
    case BindingKind::CheckOne:
        setChecked(id, value == QLatin1String("1"));
        break;
    case BindingKind::CheckUnlessZero:
        setChecked(id, value != QLatin1String("0"));
        break;
    case BindingKind::RadioPair: {
        const bool first = value == QLatin1String(binding.onValue);
        setChecked(id, first);
        setChecked(binding.second, !first);
        break;
    }
    case BindingKind::OptionalFile:
    case BindingKind::OptionalFileIfSet: {
        const bool set = value != QLatin1String("NO") &&
                         (binding.kind == BindingKind::OptionalFile || !value.isEmpty());
        setChecked(id, set);
        setText(binding.second, set ? value : QString());
        break;
    }
    case BindingKind::Component: {
        QColor colour = this->colour(id);
        const int component = qBound(0, value.toInt(), 255);
        if (binding.second == 0)
            colour.setRed(component);
        else if (binding.second == 1)
            colour.setGreen(component);
        else
            colour.setBlue(component);
        m_colours.insert(id, colour);
        break;
    }
    case BindingKind::HexColour: {
        const uint rgb = value.toUInt(nullptr, 16);
        m_colours.insert(id, QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF)));
        break;
    }
    case BindingKind::Special:
        break;
    }
}

void Page::store()
{
    for (const Binding &binding : pageBindings(m_pageId)) {
        if (binding.kind == BindingKind::Special) {
            if (!PageSpecials::storeKey(*this, binding))
                break;
            continue;
        }
        storeBinding(binding);
    }
    PageSpecials::afterStore(*this);
    storeCommonTail();
}

SettingsStore::Values Page::shownValues()
{
    SettingsStore::Values shown;
    m_shown = &shown;
    for (const Binding &binding : pageBindings(m_pageId)) {
        if (binding.kind != BindingKind::Special)
            storeBinding(binding);
    }
    m_shown = nullptr;
    return shown;
}

void Page::storeBinding(const Binding &binding)
{
    const QString key = QLatin1String(binding.key);
    const int id = binding.control;
    auto yesNo = [](bool on) { return on ? QStringLiteral("YES") : QStringLiteral("NO"); };
    switch (binding.kind) {
    case BindingKind::Text:
    case BindingKind::TextIfSet:
    case BindingKind::Combo:
        write(key, text(id));
        break;
    case BindingKind::ShowOnly:
    case BindingKind::Special:
        break;
    case BindingKind::CheckYes:
    case BindingKind::CheckUnlessNo:
        write(key, yesNo(isChecked(id)));
        break;
    case BindingKind::CheckOne:
    case BindingKind::CheckUnlessZero:
        write(key, isChecked(id) ? QStringLiteral("1") : QStringLiteral("0"));
        break;
    case BindingKind::RadioPair:
        write(key, QLatin1String(isChecked(id) ? binding.onValue : binding.offValue));
        break;
    case BindingKind::OptionalFile:
    case BindingKind::OptionalFileIfSet:
        write(key, isChecked(id) ? text(binding.second) : QStringLiteral("NO"));
        break;
    case BindingKind::Component: {
        const QColor c = colour(id);
        write(key, QString::number(binding.second == 0 ? c.red() : binding.second == 1 ? c.green() : c.blue()));
        break;
    }
    case BindingKind::HexColour: {
        const QColor c = colour(id);
        write(key, QString::number(uint(c.red()) | uint(c.green()) << 8 | uint(c.blue()) << 16, 16));
        break;
    }
    }
}

void Page::loadCommonTail()
{
    const QString scrollFile = Catalogue::scrollTextFile(appletId());
    if (isActive(EnableScrollText)) {
        setChecked(EnableScrollText, !scrollFile.isEmpty() && read(QStringLiteral("Textscroll")) == scrollFile);
        runHandler(EnableScrollText);
        m_context.flags.scrollText = isChecked(EnableScrollText);
    }
    if (isActive(FloatMode)) {
        setChecked(FloatMode, read(QStringLiteral("FloatMode")) == QLatin1String("YES"));
        runHandler(FloatMode);
        m_context.flags.floatWindow = isChecked(FloatMode);
    }
    if (control(4068))
        PageSpecials::loadCharacterSet(*this, read(QStringLiteral("CharSet")));
}

void Page::storeCommonTail()
{
    if (isActive(EnableScrollText))
        write(QStringLiteral("Textscroll"),
              isChecked(EnableScrollText) ? Catalogue::scrollTextFile(appletId()) : QStringLiteral("NO"));
    if (isActive(FloatMode))
        write(QStringLiteral("FloatMode"), isChecked(FloatMode) ? QStringLiteral("YES") : QStringLiteral("NO"));
    if (control(4068)) {
        PageSpecials::convertScrollText(*this); // before the new set is stored: it reads the file in the old one
        write(QStringLiteral("CharSet"), text(4068));
    }
}

bool Page::validate() { return PageValidation::validate(*this); }

bool Page::canGoBack() { return PageValidation::canGoBack(*this); }

} // namespace vexa
