#include "ControlPage.h"

#include "ColourSwatch.h"
#include "settings/SettingsStore.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace vexa {

ControlPage::ControlPage(int pageId, PageContext &context, QWidget *parent)
    : QWidget(parent), m_pageId(pageId), m_context(context)
{
}

bool ControlPage::isActive(int id) const
{
    QWidget *widget = control(id);
    return widget && widget->isEnabled();
}

QString ControlPage::text(int id) const
{
    QWidget *widget = control(id);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *area = qobject_cast<QPlainTextEdit *>(widget))
        return area->toPlainText();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    return QString();
}

void ControlPage::setText(int id, const QString &text)
{
    QWidget *widget = control(id);
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        if (m_loading && text.size() > edit->maxLength())
            m_cutFields.append({id, int(text.size())});
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto *area = qobject_cast<QPlainTextEdit *>(widget)) {
        area->setPlainText(text);
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        label->setText(text);
    } else if (qobject_cast<QComboBox *>(widget)) {
        selectComboItem(id, text, nullptr);
    }
}

bool ControlPage::isChecked(int id) const
{
    auto *button = control<QAbstractButton>(id);
    return button && button->isChecked();
}

void ControlPage::setChecked(int id, bool checked)
{
    if (auto *button = control<QAbstractButton>(id))
        button->setChecked(checked);
}

void ControlPage::setEnabled(int id, bool enabled)
{
    if (QWidget *widget = control(id))
        widget->setEnabled(enabled);
}

void ControlPage::setVisible(int id, bool visible)
{
    if (QWidget *widget = control(id))
        widget->setVisible(visible);
    if (auto *label = findChild<QLabel *>(QStringLiteral("l%1").arg(id)))
        label->setVisible(visible);
}

void ControlPage::selectComboItem(int id, const QString &value, const char *fallback)
{
    auto *combo = control<QComboBox>(id);
    if (!combo)
        return;
    int index = combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 && fallback)
        index = combo->findText(QString::fromUtf8(fallback), Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index < 0 && combo->count() > 0 ? 0 : index);
}

void ControlPage::setColour(int swatchId, const QColor &colour)
{
    m_colours.insert(swatchId, colour);
    if (auto *swatch = control<ColourSwatch>(swatchId))
        swatch->setColour(colour);
}

QString ControlPage::section() const { return m_pageId == 129 ? SettingsStore::ApplicationSection : appletId(); }

QString ControlPage::read(const QString &key) const { return m_context.store.read(m_loadSection, key); }

void ControlPage::write(const QString &key, const QString &value)
{
    if (m_shown)
        m_shown->append({key, value});
    else
        m_context.store.write(section(), key, value);
}

void ControlPage::runHandler(int id)
{
    const auto handler = m_handlers.value(id);
    if (handler)
        handler();
}

void ControlPage::onChange(int id, std::function<void()> handler)
{
    setHandler(id, handler);
    QWidget *widget = control(id);
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        if (!button->isCheckable()) {
            connect(button, &QAbstractButton::clicked, this, handler);
            return;
        }
        const bool radio = qobject_cast<QRadioButton *>(button) != nullptr;
        connect(button, &QAbstractButton::toggled, this, [this, radio, handler](bool checked) {
            // A radio set changes twice, once per button; the one that became checked acts.
            if (!m_loading && (checked || !radio))
                handler();
        });
    } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        connect(combo, QOverload<int>::of(&QComboBox::activated), this, handler);
    }
}

void ControlPage::refreshSwatches()
{
    for (auto it = m_colours.constBegin(); it != m_colours.constEnd(); ++it) {
        if (auto *swatch = control<ColourSwatch>(it.key()))
            swatch->setColour(it.value());
    }
}

} // namespace vexa
