#include "ColourSwatch.h"

#include <QPainter>

namespace vexa {

ColourSwatch::ColourSwatch(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedSize(sizeHint());
}

void ColourSwatch::setColour(const QColor &colour)
{
    m_colour = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), m_colour);
}

} // namespace vexa
