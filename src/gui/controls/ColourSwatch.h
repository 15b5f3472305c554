#pragma once

#include <QColor>
#include <QFrame>

namespace vexa {

// A small framed patch painted in the colour it holds.
class ColourSwatch : public QFrame {
    Q_OBJECT

public:
    explicit ColourSwatch(QWidget *parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);
    QSize sizeHint() const override { return {40, 20}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour = Qt::black;
};

} // namespace vexa
