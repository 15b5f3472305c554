#pragma once

#include <QWidget>

namespace vexa {

// The small up and down arrows beside an edit field.
class UpDown : public QWidget {
    Q_OBJECT

public:
    explicit UpDown(QWidget *parent = nullptr);

signals:
    void up();
    void down();
};

} // namespace vexa
