#include "PageLayout.h"

#include "controls/ColourSwatch.h"
#include "PageTables.h"
#include "PageTemplates.h"
#include "TextArea.h"
#include "controls/UpDown.h"
#include "publish/ProjectFile.h"
#include "strings/StringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QSet>
#include <QVBoxLayout>

#include <algorithm>

namespace vexa {
namespace {

using Row = QList<const ControlSpec *>;

struct Group {
    QString caption;
    QList<Row> rows;
};

bool isCaptioned(ControlKind kind)
{
    return kind == ControlKind::Check || kind == ControlKind::Radio || kind == ControlKind::Button ||
           kind == ControlKind::Label;
}

// A field that only shows values: still selectable and copyable, but drawn on the window's
// colour like static text, so that nobody mistakes it for a field to type into.
void makeReadOnly(QWidget *field)
{
    QPalette palette = field->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
    field->setPalette(palette);
}

constexpr char QualifierProperty[] = "nameQualifier";

// What screen readers say of a control that has no tooltip to describe it.
QString accessibleDescription(int pageId, int controlId)
{
    if (pageId == 134 && controlId == 1055)
        return QStringLiteral("The applet tag to paste into your HTML page");
    return QString();
}

bool isTall(ControlKind kind)
{
    return kind == ControlKind::TextArea || kind == ControlKind::List || kind == ControlKind::Tree ||
           kind == ControlKind::Frame;
}

constexpr int MaxShortField = 8; // characters

QWidget *createWidget(const ControlSpec &control, int pageId, QWidget *parent)
{
    const QString caption = control.caption ? QString::fromUtf8(control.caption) : QString();
    switch (control.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, parent);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::Edit: {
        auto *edit = new QLineEdit(parent);
        const int limit = lengthLimit(pageId, control.id);
        edit->setMaxLength(limit > 0 ? limit : ProjectFile::MaxValueLength);
        // A short field (a number, a small code) is as wide as what it takes, not the page.
        if (limit > 0 && limit <= MaxShortField)
            edit->setMaximumWidth(qMax(80, edit->fontMetrics().horizontalAdvance(QString(limit + 1, QLatin1Char('0'))) + 16));
        if (isReadOnlyField(pageId, control.id)) {
            edit->setReadOnly(true);
            makeReadOnly(edit);
        }
        edit->setMinimumWidth(80);
        return edit;
    }
    case ControlKind::TextArea: {
        auto *area = new TextArea(parent);
        if (isReadOnlyField(pageId, control.id)) {
            area->setReadOnly(true);
            makeReadOnly(area);
        }
        area->setTabChangesFocus(true);
        return area;
    }
    case ControlKind::Check:
        return new QCheckBox(caption, parent);
    case ControlKind::Radio:
        return new QRadioButton(caption, parent);
    case ControlKind::Combo: {
        // Sized to its items when the page is first shown: a page's items are in by then
        // (a list whose items change later says so itself), and a box that follows every
        // change makes its drop-down list at once, a third of the time a page takes to make.
        auto *combo = new QComboBox(parent);
        combo->addItems(comboItems(pageId, control.id));
        return combo;
    }
    case ControlKind::List:
        return new QListWidget(parent);
    case ControlKind::Tree: {
        auto *tree = new QTreeWidget(parent);
        tree->setHeaderHidden(true);
        return tree;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(caption, parent);
        button->setAutoDefault(false); // Enter stays with the wizard's Next
        return button;
    }
    case ControlKind::Swatch:
        return new ColourSwatch(parent);
    case ControlKind::Spinner:
        return new UpDown(parent);
    case ControlKind::Frame: {
        auto *frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        frame->setMinimumHeight(60);
        return frame;
    }
    }
    return new QWidget(parent);
}

QList<Group> groupsOf(const PageTemplate &pageTemplate)
{
    QList<Group> groups;
    for (const ControlSpec &control : pageTemplate.controls) {
        const QString caption = control.group ? QString::fromUtf8(control.group) : QString();
        auto it = std::find_if(groups.begin(), groups.end(), [&](const Group &g) { return g.caption == caption; });
        if (it == groups.end()) {
            groups.append(Group{caption, {}});
            it = groups.end() - 1;
        }
        if (control.sameRow && !it->rows.isEmpty())
            it->rows.last().append(&control);
        else
            it->rows.append(Row{&control});
    }
    return groups;
}

int weight(const Group &group)
{
    int rows = 1;
    for (const Row &row : group.rows)
        rows += isTall(row.first()->kind) ? 4 : 1;
    return rows;
}


// Names a widget for code, tests and screen readers: object name "c" + id, tooltip,
// accessible name (its caption, its tooltip text, the text naming it, or its group's
// caption) and description. `qualifier` tells it apart from a namesake on the page.
void setUpWidget(QWidget *widget, const ControlSpec &control, int pageId, const QString &fallbackName,
                 const QString &qualifier, QHash<int, QWidget *> &controls)
{
    const QString tip = control.kind == ControlKind::Label ? QString() : controlTooltip(pageId, control.id);
    const QString caption = control.caption ? QString::fromUtf8(control.caption) : QString();
    if (control.id != 0) {
        widget->setObjectName(QStringLiteral("c%1").arg(control.id));
        controls.insert(control.id, widget);
    }
    widget->setToolTip(tip);
    const QString description = accessibleDescription(pageId, control.id);
    widget->setAccessibleDescription(description.isEmpty() ? tip : description);
    QString name = caption.isEmpty() ? tip.trimmed() : caption;
    if (name.isEmpty())
        name = fallbackName;
    name.remove(QLatin1Char('&'));
    // A label the page fills in later (a hint) is read by its own text, not by its group's.
    if (control.kind == ControlKind::Label && caption.isEmpty())
        name.clear();
    // A swatch shows the colour its button picks; arrows step the field they sit beside.
    if (control.kind == ControlKind::Swatch) {
        while (name.endsWith(QLatin1Char('.')))
            name.chop(1);
        name += QStringLiteral(" swatch");
    } else if (control.kind == ControlKind::Spinner) {
        name += QStringLiteral(" up/down");
    }
    widget->setAccessibleName(name);
    widget->setProperty(QualifierProperty, QString(qualifier).remove(QLatin1Char('&')));
}

// The page's controls that read alike, by name, in page order.
QHash<QString, QList<QWidget *>> namesakes(const PageTemplate &pageTemplate, const QHash<int, QWidget *> &controls)
{
    QHash<QString, QList<QWidget *>> byName;
    for (const ControlSpec &control : pageTemplate.controls) {
        QWidget *widget = controls.value(control.id);
        if (widget && control.kind != ControlKind::Label && !widget->accessibleName().isEmpty())
            byName[widget->accessibleName()].append(widget);
    }
    return byName;
}

// Controls that share a name on one page (three texture fields, say) add what tells them
// apart: the check box that switches them, or their group; those still alike are numbered.
void qualifySharedNames(const PageTemplate &pageTemplate, const QHash<int, QWidget *> &controls)
{
    auto byName = namesakes(pageTemplate, controls);
    for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
        if (it.value().size() < 2)
            continue;
        for (QWidget *widget : it.value()) {
            const QString qualifier = widget->property(QualifierProperty).toString();
            if (!qualifier.isEmpty() && qualifier != it.key())
                widget->setAccessibleName(QStringLiteral("%1 (%2)").arg(it.key(), qualifier));
        }
    }
    byName = namesakes(pageTemplate, controls);
    for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
        int number = 0;
        for (QWidget *widget : it.value()) {
            if (it.value().size() > 1)
                widget->setAccessibleName(QStringLiteral("%1 %2").arg(it.key()).arg(++number));
        }
    }
}

constexpr int MaxLabelWidth = 240;
constexpr char LeadButtonProperty[] = "leadsItsLine";

// Buttons that lead a line of companions ("Text..." and its colour swatch) share one
// width, so the companions stand in one column.
void alignLeadButtons(QWidget *box)
{
    QList<QWidget *> buttons;
    int width = 0;
    for (QWidget *widget : box->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (widget->property(LeadButtonProperty).toBool()) {
            buttons << widget;
            width = qMax(width, widget->sizeHint().width());
        }
    }
    if (buttons.size() > 1) {
        for (QWidget *button : buttons)
            button->setMinimumWidth(width);
    }
}

// A wrapped caption is as narrow as two lines allow (at most MaxLabelWidth) and never
// lower than its lines need there: a layout that squeezed it would cut its last line,
// since the page's minimum size knows nothing of wrapping.
void keepWrappedLinesWhole(QLabel *label)
{
    const int twoLines = 2 * label->fontMetrics().lineSpacing() + 2 * label->margin();
    int width = MaxLabelWidth;
    for (int narrower = MaxLabelWidth - 10; narrower >= 80 && label->heightForWidth(narrower) <= twoLines;
         narrower -= 10)
        width = narrower;
    label->setMinimumSize(width, label->heightForWidth(width));
}

// One row of a group: a field with its label and the buttons beside it, a check box
// or button with its companions, or a static text.
// `group` is the group's caption; `switchCaption` the caption of the check box met last in
// the group, which names the fields it switches on the rows after it.
void addRow(QGridLayout *grid, int line, const Row &row, int pageId, QWidget *box, const QString &group,
            QString &switchCaption, QHash<int, QWidget *> &controls)
{
    const ControlSpec &first = *row.first();
    const QString firstCaption = first.caption ? QString::fromUtf8(first.caption) : QString();
    if (first.kind == ControlKind::Check)
        switchCaption = firstCaption;
    const QString qualifier = switchCaption.isEmpty() ? group : switchCaption;
    if (row.size() > 1 && isCaptioned(first.kind) && first.kind != ControlKind::Label) {
        // A check box or button with its companions (a swatch, a field): side by side.
        auto *line_ = new QHBoxLayout;
        for (const ControlSpec *control : row) {
            QWidget *widget = createWidget(*control, pageId, box);
            setUpWidget(widget, *control, pageId, QString(firstCaption).remove(QLatin1Char('&')), qualifier,
                        controls);
            if (control == row.first() && control->kind == ControlKind::Button)
                widget->setProperty(LeadButtonProperty, true);
            line_->addWidget(widget, control->kind == ControlKind::Edit ? 1 : 0);
        }
        line_->addStretch(0);
        grid->addLayout(line_, line, 0, 1, -1);
        return;
    }
    int col = 0;
    QLabel *namingLabel = nullptr; // a static text naming the field after it
    QString lastName;              // ... and the fields after that one on the row
    QWidget *previous = nullptr;
    QHBoxLayout *narrowField = nullptr; // a short field, with its arrows right beside it
    for (const ControlSpec *control : row) {
        QWidget *widget = createWidget(*control, pageId, box);
        if (namingLabel)
            lastName = namingLabel->text().trimmed();
        // A static text that is only a number ("1" to "4" over four speed fields) names its
        // field together with the group.
        const bool numberOnly = !lastName.isEmpty() && std::all_of(lastName.cbegin(), lastName.cend(),
                                                                   [](QChar c) { return c.isDigit(); });
        const QString fallback = control->kind == ControlKind::Spinner && previous ? previous->accessibleName()
                                 : lastName.isEmpty()                              ? group
                                 : numberOnly && !group.isEmpty()                  ? group + QLatin1Char(' ') + lastName
                                                                                   : lastName;
        setUpWidget(widget, *control, pageId, fallback, qualifier, controls);
        previous = widget;
        if (namingLabel)
            namingLabel->setBuddy(widget);
        namingLabel = nullptr;
        const QString caption = control->caption ? QString::fromUtf8(control->caption) : QString();

        if (col == 0 && !isCaptioned(control->kind)) {
            // A field: its caption, or its tooltip text, is its label.
            auto *label = new QLabel((caption.isEmpty() ? widget->toolTip() : caption).trimmed(), box);
            label->setBuddy(widget);
            if (control->id != 0)
                label->setObjectName(QStringLiteral("l%1").arg(control->id)); // shown and hidden with its field
            // Short labels stay on one line; long tooltip texts wrap.
            label->setWordWrap(label->text().size() > 30);
            label->setMaximumWidth(MaxLabelWidth);
            if (label->wordWrap())
                keepWrappedLinesWhole(label);
            // Captions and short fields keep to the left of their columns: a widget narrower
            // than its column would otherwise stand in its middle.
            grid->addWidget(label, line, 0, Qt::AlignLeft | (isTall(control->kind) ? Qt::AlignTop : Qt::AlignVCenter));
            if (widget->maximumWidth() < QWIDGETSIZE_MAX) {
                narrowField = new QHBoxLayout;
                narrowField->addWidget(widget);
                narrowField->addStretch(1);
                grid->addLayout(narrowField, line, 1);
            } else {
                grid->addWidget(widget, line, 1);
            }
            col = 2;
        } else if (control->kind == ControlKind::Spinner && narrowField) {
            narrowField->insertWidget(1, widget);
        } else if (control->kind == ControlKind::Label && row.size() > 1) {
            namingLabel = static_cast<QLabel *>(widget);
            namingLabel->setWordWrap(false);
            grid->addWidget(widget, line, col++);
        } else if (col == 0) {
            // Captioned controls take the label and field columns at their own size.
            const bool label = control->kind == ControlKind::Label;
            grid->addWidget(widget, line, 0, 1, label ? -1 : 2, label ? Qt::Alignment() : Qt::AlignLeft);
            col = 2;
        } else {
            const bool field = control->kind == ControlKind::Edit || control->kind == ControlKind::Combo;
            grid->addWidget(widget, line, col++, field ? Qt::Alignment() : Qt::AlignLeft);
        }
    }
}

} // namespace

QString controlTooltip(int pageId, int controlId)
{
    if (pageId == 206 && controlId == 1105)
        return StringTable::text(4035); // the paint applet's background is a colouring book
    return StringTable::text(controlId);
}

void addPreviewToLayout(QWidget *page, QWidget *preview)
{
    auto *columns = qobject_cast<QBoxLayout *>(page->layout());
    if (!columns)
        return;
    QBoxLayout *shortest = nullptr;
    for (int i = 0; i < columns->count(); ++i) {
        auto *column = qobject_cast<QBoxLayout *>(columns->itemAt(i)->layout());
        if (column && (!shortest || column->sizeHint().height() < shortest->sizeHint().height()))
            shortest = column;
    }
    if (!shortest)
        return;
    // The preview takes the room the column kept spare.
    if (const int last = shortest->count() - 1; last >= 0 && shortest->itemAt(last)->spacerItem())
        delete shortest->takeAt(last);
    auto *box = new QGroupBox(QStringLiteral("Live preview"), page);
    auto *inside = new QVBoxLayout(box);
    inside->addWidget(preview);
    shortest->addWidget(box, 1);
}

QHash<int, QWidget *> buildPageLayout(QWidget *page, const PageTemplate &pageTemplate)
{
    QHash<int, QWidget *> controls;
    const int pageId = pageTemplate.pageId;
    const QList<Group> groups = groupsOf(pageTemplate);

    // Split the groups, in order, into two columns of about equal height.
    int total = 0;
    for (const Group &group : groups)
        total += weight(group);
    auto *columns = new QHBoxLayout(page);
    columns->setContentsMargins(0, 0, 0, 0);
    QVBoxLayout *column = new QVBoxLayout;
    columns->addLayout(column, 1);
    int filled = 0;
    bool secondColumn = false;
    QSet<QVBoxLayout *> tallColumns;
    for (const Group &group : groups) {
        if (!secondColumn && filled > 0 && total > 14 && filled + weight(group) / 2 > total / 2) {
            if (!tallColumns.contains(column))
                column->addStretch(1);
            column = new QVBoxLayout;
            columns->addLayout(column, 1);
            secondColumn = true;
        }
        filled += weight(group);

        QWidget *box = group.caption.isEmpty() ? new QWidget(page) : new QGroupBox(group.caption, page);
        auto *grid = new QGridLayout(box);
        if (group.caption.isEmpty())
            grid->setContentsMargins(0, 0, 0, 0);
        grid->setColumnStretch(1, 1);
        int line = 0;
        QString switchCaption;
        for (const Row &row : group.rows)
            addRow(grid, line++, row, pageId, box, group.caption, switchCaption, controls);
        alignLeadButtons(box);
        // A group with a text box, list or tree takes the height the page has to spare.
        const bool tall = std::any_of(group.rows.begin(), group.rows.end(),
                                      [](const Row &row) { return isTall(row.first()->kind); });
        column->addWidget(box, tall ? 1 : 0);
        if (tall)
            tallColumns.insert(column);
    }
    if (!tallColumns.contains(column))
        column->addStretch(1);
    qualifySharedNames(pageTemplate, controls);
    return controls;
}

} // namespace vexa
