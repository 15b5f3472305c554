#include "WizardIcon.h"

#include <QPainter>
#include <QPixmap>

namespace vexa {

QIcon wizardIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal s = size / 32.0;
        painter.setPen(QPen(QColor(0x10, 0x20, 0x70), 2 * s));
        painter.setBrush(QColor(0xFF, 0xFF, 0x22));
        painter.drawRoundedRect(QRectF(5 * s, 11 * s, 17 * s, 16 * s), 3 * s, 3 * s);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(20 * s, 14 * s, 8 * s, 8 * s));
        painter.setPen(QPen(QColor(0x55, 0x3A, 0xEB), 2 * s));
        painter.drawArc(QRectF(8 * s, 2 * s, 5 * s, 8 * s), 90 * 16, 180 * 16);
        painter.drawArc(QRectF(14 * s, 2 * s, 5 * s, 8 * s), 90 * 16, 180 * 16);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace vexa
