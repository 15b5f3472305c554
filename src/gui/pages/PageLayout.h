#pragma once

#include <QHash>

class QWidget;

namespace vexa {

struct PageTemplate;

// Lays out a page from its template: group boxes in up to two columns, each an
// aligned grid of label, field and the buttons beside it. Returns the widgets by
// control id.
// Puts `preview` in a group of its own at the foot of the page's shorter column.
void addPreviewToLayout(QWidget *page, QWidget *preview);
QHash<int, QWidget *> buildPageLayout(QWidget *page, const PageTemplate &pageTemplate);

// The tooltip of a control on a page: the string whose id is the control id.
QString controlTooltip(int pageId, int controlId);

} // namespace vexa
