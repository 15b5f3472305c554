#include "TextArea.h"

#include <QMimeData>

namespace vexa {

TextArea::TextArea(QWidget *parent) : QPlainTextEdit(parent) {}

bool TextArea::canInsertFromMimeData(const QMimeData *source) const
{
    return source && source->hasText();
}

void TextArea::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText())
        QPlainTextEdit::insertFromMimeData(source);
}

} // namespace vexa
