#include "UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace vexa {

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
        auto *button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFixedSize(18, 11);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAccessibleName(arrow == Qt::UpArrow ? tr("Up") : tr("Down"));
        connect(button, &QToolButton::clicked, this, arrow == Qt::UpArrow ? &UpDown::up : &UpDown::down);
        layout->addWidget(button);
    }
}

} // namespace vexa
