#include "PageLayout.h"

#include "ColourSwatch.h"
#include "PageTables.h"
#include "PageTemplates.h"
#include "UpDown.h"
#include "strings/StringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QSet>
#include <QVBoxLayout>

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

bool isTall(ControlKind kind)
{
    return kind == ControlKind::TextArea || kind == ControlKind::List || kind == ControlKind::Tree ||
           kind == ControlKind::Frame;
}

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
        if (const int limit = lengthLimit(pageId, control.id))
            edit->setMaxLength(limit);
        edit->setReadOnly(isReadOnlyField(pageId, control.id));
        edit->setMinimumWidth(80);
        return edit;
    }
    case ControlKind::TextArea: {
        auto *area = new QPlainTextEdit(parent);
        area->setReadOnly(isReadOnlyField(pageId, control.id));
        area->setTabChangesFocus(true);
        return area;
    }
    case ControlKind::Check:
        return new QCheckBox(caption, parent);
    case ControlKind::Radio:
        return new QRadioButton(caption, parent);
    case ControlKind::Combo: {
        auto *combo = new QComboBox(parent);
        combo->addItems(comboItems(pageId, control.id));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
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
// accessible name (its caption, its tooltip text, or the text naming it) and description.
void setUpWidget(QWidget *widget, const ControlSpec &control, int pageId, const QString &fallbackName,
                 QHash<int, QWidget *> &controls)
{
    const QString tip = control.kind == ControlKind::Label ? QString() : controlTooltip(pageId, control.id);
    const QString caption = control.caption ? QString::fromUtf8(control.caption) : QString();
    if (control.id != 0) {
        widget->setObjectName(QStringLiteral("c%1").arg(control.id));
        controls.insert(control.id, widget);
    }
    widget->setToolTip(tip);
    widget->setAccessibleDescription(tip);
    QString name = caption.isEmpty() ? tip.trimmed() : caption;
    if (name.isEmpty())
        name = fallbackName;
    widget->setAccessibleName(name.remove(QLatin1Char('&')));
}

// One row of a group: a field with its label and the buttons beside it, a check box
// or button with its companions, or a static text.
void addRow(QGridLayout *grid, int line, const Row &row, int pageId, QWidget *box, QHash<int, QWidget *> &controls)
{
    const ControlSpec &first = *row.first();
    const QString firstCaption = first.caption ? QString::fromUtf8(first.caption) : QString();
    if (row.size() > 1 && isCaptioned(first.kind) && first.kind != ControlKind::Label) {
        // A check box or button with its companions (a swatch, a field): side by side.
        auto *line_ = new QHBoxLayout;
        for (const ControlSpec *control : row) {
            QWidget *widget = createWidget(*control, pageId, box);
            setUpWidget(widget, *control, pageId, QString(firstCaption).remove(QLatin1Char('&')), controls);
            line_->addWidget(widget, control->kind == ControlKind::Edit ? 1 : 0);
        }
        line_->addStretch(0);
        grid->addLayout(line_, line, 0, 1, -1);
        return;
    }
    int col = 0;
    QLabel *namingLabel = nullptr; // a static text naming the field after it
    QString lastName;              // ... and the fields after that one on the row
    for (const ControlSpec *control : row) {
        QWidget *widget = createWidget(*control, pageId, box);
        if (namingLabel)
            lastName = namingLabel->text().trimmed();
        setUpWidget(widget, *control, pageId, lastName, controls);
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
            label->setMaximumWidth(240);
            grid->addWidget(label, line, 0, isTall(control->kind) ? Qt::AlignTop : Qt::Alignment());
            grid->addWidget(widget, line, 1);
            col = 2;
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
        for (const Row &row : group.rows)
            addRow(grid, line++, row, pageId, box, controls);
        // A group with a text box, list or tree takes the height the page has to spare.
        const bool tall = std::any_of(group.rows.begin(), group.rows.end(),
                                      [](const Row &row) { return isTall(row.first()->kind); });
        column->addWidget(box, tall ? 1 : 0);
        if (tall)
            tallColumns.insert(column);
    }
    if (!tallColumns.contains(column))
        column->addStretch(1);
    return controls;
}

} // namespace vexa
